// The evaluation listing ("-eval", declared with the other batch modes in
// TestSuite.h) and the board preparation it shares with the evaluation benchmark.
#pragma once

class ChessBoard;

// Brings a board's counts, pawn-and-king key (kings included) and
// MatingMaterial up to date after SetupBoard, as a search finds them.
void PrepareForEvaluation(ChessBoard& board);
