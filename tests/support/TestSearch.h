// Shared set-up of the search tests.
#pragma once

#include "movegen/LegalMoves.h"
#include "search/SearchRoutines.h"
#include "support/TestBoards.h"

// The search state of a new process: status, game history, tables, history and killers cleared.
void FreshSearch();
// Searches MainBoard to the depth (0: only a clock or node limit ends it), reporting to the observer.
Move SearchWith(SearchObserver& observer, int depth, int* score = nullptr);
// Plays the line on the board; false at the first move that is not legal there.
bool PlayLine(ChessBoard* board, const MoveLine& line);
inline bool IsMate(const ChessBoard& b) {
    return !HasLegalMove(b) && b.InCheck(b.SideToMove ? b.BlackKing : b.WhiteKing, char(b.SideToMove));
}
