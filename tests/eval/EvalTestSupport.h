// Boards for the evaluation tests: set-up from FEN, the colour mirror, and
// random legal play to reach many varied positions.
#pragma once

#include <random>

#include "board/ChessBoard.h"

constexpr int FullWindow = 110000;

// A board from FEN as the search sees one: counts current, MatingMaterial
// set by the draw check, and a pawn-and-king key that includes the kings.
ChessBoard EvalBoard(const char* fen);
// PosEval of the board for `side`.
int Evaluate(const ChessBoard& board, char side, int alpha = -FullWindow, int beta = FullWindow);
// PosEval of the FEN position for its side to move.
int Evaluate(const char* fen);
// Runs the full evaluation of the board (which must outlive the checks)
// and clears the accumulators, so that one term can be called on its own.
void PrimeTerms(const ChessBoard& board, char side = 0);

// The board turned upside down with the colours exchanged and the other side to move.
ChessBoard Mirror(const ChessBoard& board);
// Plays one random legal move (side to move and castling rights kept up to
// date); false when there is none.
bool PlayRandomMove(ChessBoard& board, std::mt19937& rng);
