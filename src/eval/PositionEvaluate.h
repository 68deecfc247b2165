// The static evaluation. Every term is computed from White's point of
// view into the global record PE; PosEval returns the score for the side
// to move. Units: a pawn is 800, a knight or bishop 3250, a rook 5000, a
// queen 9750.
#pragma once

#include <array>

#include "board/ChessBoard.h"
#include "eval/PawnHash.h"

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
    // return early, unrounded. Called at every leaf and quiescence node.
    int PosEval(char side, int alpha, int beta, const ChessBoard* board);
    // Material including pawns, for `side`.
    int MaterialOnly(char side, const ChessBoard* board) const;
    // Non-pawn material of one side alone.
    int SideMaterialValue(char side, const ChessBoard* board) const;

    // The terms below read the board through bb and return White's view;
    // PosEval calls them in a fixed order, each relying on the fields the
    // earlier steps filled.

    // Fills the attack maps from bb.
    void AttackMasks();
    // Lone minor piece against pawns, and doubled pawns by heavy support.
    int DynamicPieceAdjustments();

    // Pawn structure (PawnEval.cpp): the cached static part plus the passed-pawn
    // terms that depend on pieces and the side to move. Needs the king squares
    // and the attack maps.
    int PawnEval04(char side);
    // The passed-pawn terms of one colour that PawnEval04 adds on every call;
    // the breakdown of the evaluation calls them a colour at a time.
    void PawnDynamics(char colour, char side);
    // Rule of the square for one passer; `side` is the side to move.
    bool DoesPawnPromote(char colour, int rank, int promotionSquare, char side);
    // Would a queen on the square attack any of the targets on bb's occupancy?
    bool QueenAttacks(char colour, int square, u64 targets);
    // Pawn races in king-and-pawn endings: +-5700 or 0.
    int RuleofSquare(char side);

    // King safety (KingSafety.cpp). `colour` names the king examined.
    int KingEval(char side);
    int PawnShield(char colour);
    int PawnFilePenalty(char colour, u64 pawnsOnFile);
    int BitBoardRank(u64 square);
    int PawnStorm(char colour);
    int AttackCounts(char colour);

    // Pieces (PieceEval.cpp, Traps.cpp).
    int KnightEval(char side);
    int BishopEval(char side);
    int RookEval(char side);
    int QueenEval(char side);
    int Traps(char side);

    // End-game knowledge (Endgame.cpp).
    int DrawishEnding(char side);
    int TwoPieceEndings(char side);
    // Pawnless shortcut: true with the score for `side` when it decides.
    bool PawnlessEnding(char side, int material, int* score);
    // The extra-minor and opposite-bishop rules applied to White's final score.
    int ScaleEnding(int score, int material);

    // Driver steps of their own (PosEval.cpp), into MiddleGame and EndGame.
    void KingSafetyTerms();
    void MajorsOnSeventh();

private:
    // Blends the accumulators into the score by Phase and clears them.
    void Taper(int* score);
};

extern PositionEvaluate PE;
// The board of the evaluation in progress.
extern const ChessBoard* bb;

// Tables read by the move ordering too.
extern const std::array<int, 64> WKnightPost;
extern const std::array<int, 64> BKnightPost;
extern const int OpenFileControl[8];
extern const i16 Majorson7[16];
extern const int Passers[8];

// Pawn hash statistics, reset by the game loop.
extern i32 Phashattempts;
extern i32 Phashmisses;
// Empties the pawn hash; before a new game.
void ClearPawnHash();
