// Which book answers for a position: the Polyglot book loaded from a file
// first, the built-in book only when that one has no move.
#pragma once

#include "movegen/MoveGen.h"

// A book move for `side` in the position, or false when neither book has
// one. `beforeBuiltIn`, when given, is called just before the built-in
// book is asked.
bool ChooseBookMove(const ChessBoard& board, char side, char castling, Move* move, void (*beforeBuiltIn)() = nullptr);
