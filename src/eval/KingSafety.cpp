// King safety: king placement, the drive against a bare king, the pawn
// shield, pawn storms, and the pieces bearing on the king's neighbourhood.
#include "core/Status.h"
#include "eval/EvalGeometry.h"
#include "eval/EvalTables.h"
#include "eval/PositionEvaluate.h"

using namespace evalgeo;

namespace {

constexpr int BareKingDrive = 80; // per square of king distance
constexpr int MissingShieldPawn = 350;
constexpr int ShieldPawnStep = 35;      // per rank a shield pawn has advanced
constexpr int CoveredShieldLimit = 350; // a piece in front halves an empty king file above this
constexpr int StormRank4 = 100, StormRank5 = 300, StormRank6 = 600;
// Squares of a white king castled short (f1-h2) or long (a1-c2).
constexpr u64 CastledShort = 0xe0e0, CastledLong = 0x0707;

} // namespace

int PositionEvaluate::KingEval(char) {
    const ChessBoard& b = *bb;
    MiddleGame += WKingSquare[WhiteKingSquare] - BKingSquare[BlackKingSquare];
    EndGame += KingEnding[WhiteKingSquare] - KingEnding[BlackKingSquare];
    // With no pawns left the stronger side brings its king to the bare one.
    if (b.WhitePawnCount || b.BlackPawnCount) return 0;
    int d = Distance(WhiteKingSquare, BlackKingSquare);
    if (!BlackNonPawnCount && WhiteNonPawnCount) return -BareKingDrive * d;
    if (!WhiteNonPawnCount && BlackNonPawnCount) return BareKingDrive * d;
    return 0;
}

int PositionEvaluate::BitBoardRank(u64 square) {
    // The rank of the highest member; an empty set counts as rank 1.
    return square ? ((63 - __builtin_clzll(square)) >> 3) + 1 : 1;
}

int PositionEvaluate::PawnFilePenalty(char colour, u64 pawns) {
    i32& gaps = colour ? BlackShieldGaps : WhiteShieldGaps;
    if (!pawns) {
        ++gaps;
        return MissingShieldPawn;
    }
    // The shield pawn nearest the king; three steps out it no longer shields.
    if (colour == 0) {
        int r = BitBoardRank(pawns & (0 - pawns));
        if (r > 4) ++gaps;
        return (r - 2) * ShieldPawnStep;
    }
    int r = BitBoardRank(u64(1) << (63 - __builtin_clzll(pawns)));
    if (r < 5) ++gaps;
    return (7 - r) * ShieldPawnStep;
}

int PositionEvaluate::PawnShield(char colour) {
    const ChessBoard& b = *bb;
    (colour ? BlackShieldGaps : WhiteShieldGaps) = 0;
    int king = colour ? BlackKingSquare : WhiteKingSquare, f = king & 7;
    u64 pawns = colour ? b.BlackPawns : b.WhitePawns;
    u64 pieces = colour ? b.BlackPieces & ~b.BlackPawns : b.WhitePieces & ~b.WhitePawns;

    int p = 2 * PawnFilePenalty(colour, pawns & FileMask[f]);
    // A piece right in front of the king covers an open king file in part.
    if ((pieces & SafeBit(colour ? king - 8 : king + 8)) && p > CoveredShieldLimit) p /= 2;
    p += PawnFilePenalty(colour, pawns & FileMask[f == 7 ? 5 : f + 1]);
    p += PawnFilePenalty(colour, pawns & FileMask[f == 0 ? 2 : f - 1]);
    return p;
}

int PositionEvaluate::PawnStorm(char colour) {
    const ChessBoard& b = *bb;
    int enemyKing = colour ? WhiteKingSquare : BlackKingSquare;
    u64 pawns = (colour ? b.BlackPawns : b.WhitePawns) & WingFiles(enemyKing & 7);
    // Ranks 4, 5, 6 counted from the storming side.
    auto rank = [colour](int r) { return RankMask[colour ? 7 - r : r]; };
    return StormRank4 * PopCount(pawns & rank(3)) + StormRank5 * PopCount(pawns & rank(4)) +
           StormRank6 * PopCount(pawns & rank(5));
}

int PositionEvaluate::AttackCounts(char colour) {
    const ChessBoard& b = *bb;
    const Status& m = MainStatus;
    bool white = colour == 0;
    int king = white ? WhiteKingSquare : BlackKingSquare;
    u64 zone = white ? WhiteKingAttackMap : BlackKingAttackMap;
    int gaps = white ? WhiteShieldGaps : BlackShieldGaps, g1 = gaps + 1;

    // Enemy pieces (as seen from the king's side).
    u64 eKnights = white ? b.BlackKnights : b.WhiteKnights, eBishops = white ? b.BlackBishops : b.WhiteBishops;
    u64 eRooks = white ? b.BlackRooks : b.WhiteRooks, eQueens = white ? b.BlackQueens : b.WhiteQueens;
    u64 eKnightMap = white ? BlackKnightAttackMap : WhiteKnightAttackMap;
    int eKnightCount = white ? b.BlackKnightCount : b.WhiteKnightCount;
    int eBishopCount = white ? b.BlackBishopCount : b.WhiteBishopCount;
    int eRookCount = white ? b.BlackRookCount : b.WhiteRookCount;
    int eQueenCount = white ? b.BlackQueenCount : b.WhiteQueenCount;

    // 1. Which kinds of enemy piece reach the squares around the king.
    int types = 0, weight = 0;
    auto kind = [&](bool present, int w) {
        if (present) ++types, weight += w;
    };
    kind((white ? BlackPawnAttackMap : WhitePawnAttackMap) & zone, 1);
    kind((eKnightMap & (zone | SquareBit(king))) || (eKnights & zone), 1);
    kind((white ? BlackBishopAttackMap : WhiteBishopAttackMap) & zone, 1);
    kind((white ? BlackRookAttackMap : WhiteRookAttackMap) & zone, 2);
    kind((white ? BlackQueenAttackMap : WhiteQueenAttackMap) & zone, 4);

    // 2. A combined attack counts the attacked squares; it needs two kinds.
    int a = 0;
    if (types >= 2) {
        int attacked = PopCount(zone & (white ? BlackAttackMap : WhiteAttackMap));
        a = (15 * attacked + 125 * weight) * g1;
        if (types < 4) a = types * a / 4;
    }
    // 3.-5. Gaps in the shield weigh with the enemy's pieces and its heavy pieces on open wing files.
    a += 5 * gaps * (eKnightCount + eBishopCount + eRookCount + 2 * eQueenCount);
    u64 wing = WingFiles(king & 7);
    a += 10 * gaps * PopCount((eKnights | eBishops | eRooks | eQueens) & wing);
    u64 openForEnemy = white ? NoBlackPawnFiles : NoWhitePawnFiles;
    a += 30 * g1 * (PopCount((eRooks | eQueens) & wing & openForEnemy) - 1);

    // 6. Bishops and queens aimed along the long diagonals at a castled king.
    u64 kingBit = SquareBit(king);
    u64 eSliders = eBishops | eQueens;
    u64 kingSide = white ? CastledShort : CastledShort << 48, queenSide = white ? CastledLong : CastledLong << 48;
    u64 towardsA = m.DiagH2C7 | m.DiagG2B7 | m.DiagF2A7, towardsH = m.DiagC2H7 | m.DiagB2G7 | m.DiagA2F7;
    if (kingBit & kingSide) a += 10 * g1 * PopCount(eSliders & (white ? towardsA : towardsH));
    if (kingBit & queenSide) a += 10 * g1 * PopCount(eSliders & (white ? towardsH : towardsA));

    // 7. Without a queen the attack is far less dangerous.
    if (!eQueenCount) a /= 2;

    // 8. Own pieces next to the king and defenders reaching its neighbourhood.
    u64 ownMinorsMajors = white ? b.WhiteKnights | b.WhiteBishops | b.WhiteRooks | b.WhiteQueens
                                : b.BlackKnights | b.BlackBishops | b.BlackRooks | b.BlackQueens;
    int defence = 100 * PopCount(ownMinorsMajors & zone);
    if ((white ? WhiteBishopAttackMap : BlackBishopAttackMap) & zone) defence += 100;
    if ((white ? WhiteQueenAttackMap : BlackQueenAttackMap) & zone) defence += 500;
    if ((white ? WhiteKnightAttackMap : BlackKnightAttackMap) & zone) defence += 100;
    if ((white ? WhiteRookAttackMap : BlackRookAttackMap) & zone) defence += 100;
    return a - defence;
}
