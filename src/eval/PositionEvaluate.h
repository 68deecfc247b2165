// The static evaluation. Every term is computed from White's point of
// view into the global record PE; PosEval returns the score for the side
// to move. Units: a pawn is 800, a knight or bishop 3250, a rook 5000, a
// queen 9750.
#pragma once

#include "board/ChessBoard.h"

class PositionEvaluate {
public:
    u8 WhitePasserRank[10]; // rank of the most advanced passer on file f at index f + 1; 0 = none
    u8 WhitePasserCount;
    u8 BlackPasserRank[10];
    u8 BlackPasserCount;
    i32 Phase; // 1..24, 24 = no pieces left
    i32 MiddleGame;
    i32 EndGame;
    u64 OpenFiles;        // every square of every file without a pawn
    u64 NoWhitePawnFiles; // every square of every file without a white pawn
    u64 NoBlackPawnFiles;
    u64 WhiteKingFile, BlackKingFile;
    u64 WhitePawnAttacks, BlackPawnAttacks;
    i8 WhiteNonPawnCount, BlackNonPawnCount;
    i32 WhiteShieldGaps, BlackShieldGaps;
    i32 WhitePasserScore, BlackPasserScore;
    i32 WhiteKingSquare, BlackKingSquare;
    i32 WhiteDoubledPawns, BlackDoubledPawns;
    u64 WhitePawnAttackMap, BlackPawnAttackMap;
    u64 WhiteKnightAttackMap, WhiteBishopAttackMap, BlackBishopAttackMap, BlackKnightAttackMap;
    u64 WhiteRookAttackMap, BlackRookAttackMap, WhiteQueenAttackMap, BlackQueenAttackMap;
    u64 WhiteKingAttackMap, BlackKingAttackMap;
    u64 WhiteAttackMap, BlackAttackMap;

    // The score for `side` (0 White, 1 Black). The board's piece counts and
    // MatingMaterial must be current. Scores far outside [alpha, beta] may
    // return early, unrounded.
    int PosEval(char side, int alpha, int beta, const ChessBoard* board);
    // Material including pawns, for `side`.
    int MaterialOnly(char side, const ChessBoard* board) const;
    // Non-pawn material of one side alone.
    int SideMaterialValue(char side, const ChessBoard* board) const;
};

extern PositionEvaluate PE;
// The board of the evaluation in progress.
extern const ChessBoard* bb;

// Tables read by the move ordering too.
extern const int WKnightPost[64];
extern const int BKnightPost[64];
extern const int OpenFileControl[8];
extern const i16 Majorson7[16];
extern const int Passers[8];

// Pawn hash statistics, reset by the game loop.
extern i32 Phashattempts;
extern i32 Phashmisses;
void ClearPawnHash();
