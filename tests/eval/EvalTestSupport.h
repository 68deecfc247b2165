// Evaluation test helpers: boards as the search sees them.
#pragma once

#include "eval/PositionEvaluate.h"
#include "support/TestBoards.h"

constexpr int FullWindow = 110000;

// A board from FEN with a pawn-and-king key that includes the kings.
inline ChessBoard EvalBoard(const char* fen) {
    ChessBoard b = BoardFromFen(fen);
    b.PawnKingHash = PawnKingKey(b);
    return b;
}

inline int Evaluate(const ChessBoard& b, char side, int alpha = -FullWindow, int beta = FullWindow) {
    return PE.PosEval(side, alpha, beta, &b);
}
