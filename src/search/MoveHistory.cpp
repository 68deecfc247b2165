// Key stack pushes and the repetition count.
#include "search/MoveHistory.h"

#include <cstddef>

MoveHistory MoveList;

// The slots stay allocated when the search retracts, so pushes inside a search do not allocate.
void MoveHistory::InsertHashCodeMoveHistory(u64 upper, u64 lower) {
    if (NumMoves < i32(entries.size()))
        entries[size_t(NumMoves)] = {upper, lower};
    else
        entries.push_back({upper, lower});
    ++NumMoves;
}

char MoveHistory::ThreeFoldRepDetection(int window, u64 upper, u64 lower) const {
    const int start = NumMoves >= window ? NumMoves - window : 0;
    int count = -1;
    for (int i = NumMoves - 1; i >= start && i >= 0; i -= 2)
        if (entries[size_t(i)].upper == upper && entries[size_t(i)].lower == lower) ++count;
    return char(count > 127 ? 127 : count);
}
