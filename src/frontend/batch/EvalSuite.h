// The evaluation listing ("-eval") and the board preparation it shares with
// the evaluation benchmark.
#pragma once

class ChessBoard;

// Brings a board's counts, pawn-and-king key (kings included) and
// MatingMaterial up to date after SetupBoard, as a search finds them.
void PrepareForEvaluation(ChessBoard& board);

// Prints the evaluation of every position of an EPD file; returns the exit
// code (1 when the file cannot be read to its end).
int EvalSuite(const char* fileName);
