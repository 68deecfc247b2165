// The legal moves of a position, for everything outside the search's own
// loops: the front ends, the books and the tools. A move is legal when the
// generators give it (the evasions when in check) and the mover's king is
// not attacked after it.
#pragma once

#include <vector>

#include "movegen/MoveGen.h"

// The legal moves of `side` with the given castling rights, in generation order.
std::vector<Move> LegalMoves(const ChessBoard& board, char side, char castling);
// The legal moves of the board's side to move with its own castling rights.
std::vector<Move> LegalMoves(const ChessBoard& board);
bool HasLegalMove(const ChessBoard& board);
// Is a move from `move.from` to `move.to` legal for the side to move? The
// promotion character is not compared: the generators promote to a queen,
// MakeMove to any piece.
bool IsLegal(const ChessBoard& board, const Move& move);
