// Knights, bishops, rooks and queens: placement, outposts, safe mobility,
// the bishop pair and fianchetto, rooks on open files and behind passers,
// and queens adrift in the enemy camp.
#include "eval/EvalGeometry.h"
#include "eval/EvalTables.h"
#include "eval/PositionEvaluate.h"

using namespace evalgeo;

namespace {

constexpr int Fianchetto = 200;
constexpr int BishopPair = 500;
constexpr int RookOpenFileMg = 320, RookOpenFileEg = 140;
constexpr int RookHalfOpenFile = 50;
constexpr int RookBlockedMg = 100, RookBlockedEg = 200; // back rank, enemy pawn right in front
constexpr int RookBehindOwnPasserMg = 37, RookBehindOwnPasserEg = 75;
constexpr int RookBehindEnemyPasserMg = 18, RookBehindEnemyPasserEg = 37;
constexpr int QueenWithoutRetreat = 3250; // per missing unattacked square, of two

// Squares the piece reaches that are not its own men and not empty squares
// an enemy pawn guards.
int SafeMobility(u64 attacks, u64 own, u64 empty, u64 enemyPawnAttacks) {
    return PopCount(attacks & ~own & ~(empty & enemyPawnAttacks));
}

bool Single(u64 set) { return !(set & (set - 1)); }

} // namespace

int PositionEvaluate::KnightEval(char) {
    const ChessBoard& b = *bb;
    u64 empty = ~b.AllPieces;
    for (u64 set = b.WhiteKnights; set; set &= set - 1) {
        int s = __builtin_ctzll(set);
        MiddleGame += WKnightSquare[s];
        EndGame += KnightEnding[s];
        if (WKnightPost[s] && !(b.BlackPawns & (SafeBit(s + 7) | SafeBit(s + 9)))) MiddleGame += WKnightPost[s];
        int n = SafeMobility(b.KnightMask(SquareBit(s)), b.WhitePieces, empty, BlackPawnAttacks);
        MiddleGame += KnightMobility[n];
        EndGame += KnightMobility[n];
    }
    for (u64 set = b.BlackKnights; set; set &= set - 1) {
        int s = __builtin_ctzll(set);
        MiddleGame -= BKnightSquare[s];
        EndGame -= KnightEnding[s];
        if (BKnightPost[s] && !(b.WhitePawns & (SafeBit(s - 7) | SafeBit(s - 9)))) MiddleGame -= BKnightPost[s];
        int n = SafeMobility(b.KnightMask(SquareBit(s)), b.BlackPieces, empty, WhitePawnAttacks);
        MiddleGame -= KnightMobility[n];
        EndGame -= KnightMobility[n];
    }
    return 0;
}

int PositionEvaluate::BishopEval(char) {
    const ChessBoard& b = *bb;
    u64 empty = ~b.AllPieces;
    int mg[2] = {0, 0}, eg[2] = {0, 0}, pair[2] = {0, 0};
    for (int c = 0; c < 2; ++c) {
        u64 bishops = c ? b.BlackBishops : b.WhiteBishops;
        u64 own = c ? b.BlackPieces : b.WhitePieces, pawns = c ? b.BlackPawns : b.WhitePawns;
        u64 map = c ? BlackBishopAttackMap : WhiteBishopAttackMap;
        u64 enemyPawnAttacks = c ? WhitePawnAttacks : BlackPawnAttacks;
        const SquareTable& square = c ? BBishopSquare : WBishopSquare;
        // g2 with g3 and f2 or h2 (Black: g7, g6, f7 or h7).
        int g2 = c ? 54 : 14, g3 = c ? 46 : 22;
        u64 wing = SquareBit(g2 - 1) | SquareBit(g2 + 1);
        for (u64 set = bishops; set; set &= set - 1) {
            int s = __builtin_ctzll(set);
            u64 attacks = Single(bishops) ? map : b.BishopMask(SquareBit(s));
            int n = SafeMobility(attacks, own, empty, enemyPawnAttacks);
            mg[c] += square[s] + BishopMobility[n];
            eg[c] += BishopEnding[s] + BishopMobility[n];
            if (s == g2 && (pawns & SquareBit(g3)) && (pawns & wing)) mg[c] += Fianchetto;
        }
        if (!Single(bishops)) pair[c] = BishopPair;
    }
    MiddleGame += mg[0] - mg[1];
    EndGame += eg[0] - eg[1];
    return pair[0] - pair[1];
}

int PositionEvaluate::RookEval(char) {
    const ChessBoard& b = *bb;
    u64 empty = ~b.AllPieces;
    int halfOpen[2] = {0, 0};
    for (int c = 0; c < 2; ++c) {
        u64 rooks = c ? b.BlackRooks : b.WhiteRooks;
        u64 own = c ? b.BlackPieces : b.WhitePieces, enemyPawns = c ? b.WhitePawns : b.BlackPawns;
        u64 map = c ? BlackRookAttackMap : WhiteRookAttackMap;
        u64 enemyPawnAttacks = c ? WhitePawnAttacks : BlackPawnAttacks;
        u64 noOwnPawnFiles = c ? NoBlackPawnFiles : NoWhitePawnFiles;
        const u8* ownPassers = c ? BlackPasserRank : WhitePasserRank;
        const u8* enemyPassers = c ? WhitePasserRank : BlackPasserRank;
        int sign = c ? -1 : 1, backRank = c ? 7 : 0, forward = c ? -8 : 8;
        for (u64 set = rooks; set; set &= set - 1) {
            int s = __builtin_ctzll(set), f = s & 7, r = s >> 3;
            u64 attacks = Single(rooks) ? map : b.RookMask(SquareBit(s));
            int mob = RookMobility[SafeMobility(attacks, own, empty, enemyPawnAttacks)];
            MiddleGame += sign * mob;
            EndGame += sign * (14 * mob / 10);

            if (OpenFiles & SquareBit(s)) {
                MiddleGame += sign * RookOpenFileMg;
                EndGame += sign * RookOpenFileEg;
            } else {
                if (r == backRank && (enemyPawns & SafeBit(s + forward))) {
                    MiddleGame -= sign * RookBlockedMg;
                    EndGame -= sign * RookBlockedEg;
                }
                if (noOwnPawnFiles & SquareBit(s)) halfOpen[c] += RookHalfOpenFile;
            }
            // Behind a passer: below White's, above Black's.
            int ownPasser = ownPassers[f + 1], enemyPasser = enemyPassers[f + 1];
            if (ownPasser && (c ? r > ownPasser : r < ownPasser)) {
                MiddleGame += sign * RookBehindOwnPasserMg;
                EndGame += sign * RookBehindOwnPasserEg;
            }
            if (enemyPasser && (c ? r < enemyPasser : r > enemyPasser)) {
                MiddleGame += sign * RookBehindEnemyPasserMg;
                EndGame += sign * RookBehindEnemyPasserEg;
            }
        }
    }
    return halfOpen[0] - halfOpen[1];
}

int PositionEvaluate::QueenEval(char) {
    const ChessBoard& b = *bb;
    u64 empty = ~b.AllPieces;
    for (int c = 0; c < 2; ++c) {
        u64 queens = c ? b.BlackQueens : b.WhiteQueens;
        u64 own = c ? b.BlackPieces : b.WhitePieces;
        u64 map = c ? BlackQueenAttackMap : WhiteQueenAttackMap;
        u64 enemyPawnAttacks = c ? WhitePawnAttacks : BlackPawnAttacks;
        u64 enemyAttacks = c ? WhiteAttackMap : BlackAttackMap;
        u64 enemyCamp = c ? 0x00000000ffffffffULL : 0xffffffff00000000ULL;
        int sign = c ? -1 : 1;
        for (u64 set = queens; set; set &= set - 1) {
            int s = __builtin_ctzll(set);
            u64 q = SquareBit(s);
            u64 attacks = Single(queens) ? map : b.RookMask(q) | b.BishopMask(q);
            u64 safe = attacks & ~own & ~(empty & enemyPawnAttacks);
            MiddleGame += sign * QueenMobility[PopCount(safe)];
            EndGame += sign * QueenMobility[PopCount(safe)];
            // A queen deep in the enemy camp with fewer than two unguarded squares is in danger.
            if (q & enemyCamp) {
                int retreats = PopCount(safe & ~enemyAttacks);
                if (retreats < 2) EndGame -= sign * QueenWithoutRetreat * (2 - retreats);
            }
        }
    }
    return 0;
}
