// The evaluation of a position as a table of text, term group by term
// group, for the "eval" command of every front end, and the board
// preparation that every evaluation from outside a search needs.
#pragma once

#include <string>

#include "eval/EvalBreakdown.h"

// The table of a breakdown: a few header lines, then one row per group and
// one per amount no side owns (columns term, White, Black, Total), the last
// line "Total". Values are in pawns with two decimals; the Total column is
// the side to move's view and its printed rows add up to the printed total.
std::string FormatEvalTable(const EvalBreakdown& breakdown);

// The table of the board's evaluation for its side to move; the board as
// PosEval takes it (piece counts and MatingMaterial current).
std::string EvalTable(const ChessBoard& board);

// Brings a board's counts, pawn-and-king key (kings included) and
// MatingMaterial up to date after SetupBoard, as a search finds them.
void PrepareForEvaluation(ChessBoard& board);

// The table of a game position, prepared on a copy as "-eval" prepares it:
// the Total line is "-eval"'s value / 800. The evaluation's state (the
// evaluator, the pawn hash) is left as found, so a running search is not disturbed.
std::string PositionEvalTable(const ChessBoard& position);
