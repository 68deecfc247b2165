// Pawn structure: placement, isolated, backward, doubled, candidate and
// passed pawns. The part that depends only on pawns and kings is cached in
// the pawn hash; the passed-pawn terms that read pieces and the side to
// move are recomputed on every call.
#include <cstring>

#include "eval/EvalGeometry.h"
#include "eval/EvalTables.h"
#include "eval/PawnStructure.h"
#include "eval/PositionEvaluate.h"

using namespace evalgeo;

namespace {

// Amounts of the static part, in the pawn owner's own score.
constexpr int EdgePawnAwayFromKing = 5;
constexpr int BackwardPawn = 40;
constexpr int BackwardOnOpenFile = 80;
constexpr int CentralIsolated = 10;
constexpr int WeakOnOpenFile = 50; // isolated or doubled with no enemy pawn on the file
constexpr int IsolatedPasser = 50;
constexpr int BackwardPasserRefund = 80;
constexpr int NoPawns = -30;

} // namespace

PawnSide ScorePawns(u64 own, u64 enemy, int ownKing) {
    PawnSide p;
    int kingFile = ownKing & 7, kingRank = ownKing >> 3;
    // Pawns next to a king still on its back ranks shelter it rather than run.
    u64 kingZone = 0;
    if (kingRank <= 1)
        kingZone = (FileMask[kingFile] | AdjacentFiles[kingFile]) & ~(kingRank ? RanksUpTo[kingRank - 1] : 0);

    u64 backward = 0;
    unsigned doubledFiles = 0;
    for (u64 set = own; set; set &= set - 1) {
        int s = __builtin_ctzll(set), f = s & 7, r = s >> 3;
        u64 bit = u64(1) << s;
        bool enemyOnFile = enemy & FileMask[f];
        bool isolated = false;
        p.score += WPawnSquare[s];

        if (f == 0 || f == 7) {
            if (f == 0 ? kingFile >= 4 : kingFile <= 3) p.score -= EdgePawnAwayFromKing;
            if (!(own & AdjacentFiles[f])) {
                isolated = true;
                p.middleGame -= IsolatedPawn[f];
                p.endGame -= IsolatedPawn[f];
                if (!enemyOnFile) p.score -= WeakOnOpenFile;
            }
        } else if (u64 neighbours = own & AdjacentFiles[f]) {
            // Backward: every neighbour has gone past it, none can defend it.
            if (!(neighbours & RanksUpTo[r])) {
                backward |= bit;
                p.score -= enemyOnFile ? BackwardPawn : BackwardOnOpenFile;
            }
        } else {
            isolated = true;
            p.middleGame -= IsolatedPawn[f];
            p.endGame -= IsolatedPawn[f];
            if (f == 3 || f == 4) p.score -= CentralIsolated;
            if (!enemyOnFile) p.score -= WeakOnOpenFile;
        }

        if (u64 stoppers = enemy & WhiteSpan[s]) {
            if (!(kingZone & bit)) p.score += Passers[r] >> 2;
            // Candidate: a half-open file and more helpers than stoppers.
            if (!enemyOnFile && !isolated) {
                int helpers = PopCount(own & (FileMask[f] | AdjacentFiles[f])) - PopCount(own & BelowOnFile[s]);
                if (PopCount(stoppers) < helpers) p.passerScore += Passers[r] / 3;
            }
        } else {
            if (isolated) p.score += IsolatedPasser;
            if (backward & bit) {
                backward ^= bit;
                p.score += BackwardPasserRefund;
            }
            p.passerRank[f] = u8(r); // squares run upwards: the most advanced stays
            ++p.passerCount;
        }

        if (own & AboveOnFile[s]) {
            ++p.doubled;
            doubledFiles |= 1u << f;
            if (!enemyOnFile) p.score -= WeakOnOpenFile;
        }
    }
    p.middleGame += CentrePawn * PopCount(own & Centre);
    if (!own) p.score = NoPawns;

    // Passers are worth more when a pawn guards them or a passer stands beside them.
    for (int f = 0; f < 8; ++f) {
        int r = p.passerRank[f];
        if (!r) continue;
        int s = r * 8 + f;
        int left = f > 0 ? p.passerRank[f - 1] : 0, right = f < 7 ? p.passerRank[f + 1] : 0;
        const int* table = Passers;
        if (left) {
            if (std::abs(left - r) <= 1) table = ConnectedPassers;
        } else if (right) {
            if (std::abs(right - r) <= 1) table = ConnectedPassers;
        } else if (own & (SafeBit(f > 0 ? s - 9 : -1) | SafeBit(f < 7 ? s - 7 : -1))) {
            table = ProtectedPassers;
        }
        p.passerScore += doubledFiles & (1u << f) ? (table[r] * 15) >> 4 : table[r];
    }
    return p;
}

namespace {

// The static part of the board's pawn structure. Black is scored on the
// board seen upside down, which makes it the exact mirror of White.
PawnRecord ComputePawnRecord(const ChessBoard& b, int whiteKing, int blackKing) {
    PawnSide w = ScorePawns(b.WhitePawns, b.BlackPawns, whiteKing);
    PawnSide k = ScorePawns(Flip(b.BlackPawns), Flip(b.WhitePawns), blackKing ^ 56);
    PawnRecord r{};
    r.whitePawns = b.WhitePawns;
    r.blackPawns = b.BlackPawns;
    r.key = b.PawnKingHash;
    r.doubled = u8(w.doubled | k.doubled << 4);
    r.state = PawnRecord::Computed;
    r.middleGame = w.middleGame - k.middleGame;
    r.endGame = w.endGame - k.endGame;
    r.whiteScore = w.score;
    r.blackScore = k.score;
    r.whitePasserScore = w.passerScore;
    r.blackPasserScore = k.passerScore;
    for (int f = 0; f < 8; ++f) {
        r.whitePasserRank[f] = w.passerRank[f];
        r.blackPasserRank[f] = k.passerRank[f] ? u8(7 - k.passerRank[f]) : 0;
    }
    r.whitePasserCount = w.passerCount;
    r.blackPasserCount = k.passerCount;
    return r;
}

} // namespace

int PositionEvaluate::PawnEval04(char side) {
    const ChessBoard& b = *bb;
    ++Phashattempts;
    u64 pawns = b.WhitePawns | b.BlackPawns;
    PawnRecord& slot = PawnHashArray[b.PawnKingHash & 0xffff];
    if (!InPawnHash(b.PawnKingHash, pawns)) {
        slot = ComputePawnRecord(b, WhiteKingSquare, BlackKingSquare);
        ++Phashmisses;
    }

    const PawnRecord& r = slot;
    // A slot never written holds no set at all.
    const u64 written = r.state == PawnRecord::Empty ? 0 : ~u64(0);
    NoWhitePawnFiles = ~FileFill(r.whitePawns) & written;
    NoBlackPawnFiles = ~FileFill(r.blackPawns) & written;
    OpenFiles = NoWhitePawnFiles & NoBlackPawnFiles;
    WhitePawnAttacks = ((r.whitePawns & ~FileMask[7]) << 9) | ((r.whitePawns & ~FileMask[0]) << 7);
    BlackPawnAttacks = ((r.blackPawns & ~FileMask[7]) >> 7) | ((r.blackPawns & ~FileMask[0]) >> 9);
    WhiteDoubledPawns = r.doubled & 15;
    BlackDoubledPawns = r.doubled >> 4;
    WhitePasserScore = r.whitePasserScore;
    BlackPasserScore = r.blackPasserScore;
    WhitePasserRank[0] = WhitePasserRank[9] = BlackPasserRank[0] = BlackPasserRank[9] = 0;
    std::memcpy(WhitePasserRank + 1, r.whitePasserRank, 8);
    std::memcpy(BlackPasserRank + 1, r.blackPasserRank, 8);
    WhitePasserCount = r.whitePasserCount;
    BlackPasserCount = r.blackPasserCount;

    MiddleGame += r.middleGame;
    EndGame += r.endGame;
    if (WhitePasserCount) PawnDynamics(0, side);
    if (BlackPasserCount) PawnDynamics(1, side);
    return r.whiteScore - r.blackScore;
}

// Passed-pawn terms that depend on the pieces: the race against the enemy
// king, the distance of both kings, support by minor pieces, and a free
// path for a pawn about to promote.
void PositionEvaluate::PawnDynamics(char colour, char side) {
    const ChessBoard& b = *bb;
    const u8* ranks = colour ? BlackPasserRank : WhitePasserRank;
    i32& passerScore = colour ? BlackPasserScore : WhitePasserScore;
    int ownKing = colour ? BlackKingSquare : WhiteKingSquare;
    int enemyKing = colour ? WhiteKingSquare : BlackKingSquare;
    u64 minors = colour ? BlackBishopAttackMap | BlackKnightAttackMap : WhiteBishopAttackMap | WhiteKnightAttackMap;
    u64 enemyAttacks = colour ? WhiteAttackMap : BlackAttackMap;
    int sign = colour ? -1 : 1, step = colour ? -8 : 8;

    for (int f = 0; f < 8; ++f) {
        int r = ranks[f + 1];
        if (!r) continue;
        int rel = colour ? 7 - r : r, s = r * 8 + f;
        if (DoesPawnPromote(colour, r, colour ? f : f + 56, side)) passerScore += 150;

        int k = KingProximityPasserPenalty[rel];
        EndGame += sign * (((7 - Distance(ownKing, s)) * k) / 2);
        EndGame -= sign * (7 - Distance(enemyKing, s)) * k;

        u64 here = SafeBit(s), next = SafeBit(s + step), after = SafeBit(s + 2 * step);
        if (minors & here) passerScore += Passers[rel] >> 5;
        if (minors & next) passerScore += Passers[rel] >> 5;
        if (minors & after) passerScore += Passers[rel] >> 6;

        // A free, unguarded path to the last rank.
        if (rel == 6 && !(b.AllPieces & next) && !(enemyAttacks & (next | here))) EndGame += sign * Passers[6];
        if (rel == 5 && !(b.AllPieces & (next | after)) && !(enemyAttacks & (after | next | here)))
            EndGame += sign * Passers[5];
    }
}
