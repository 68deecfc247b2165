// Key stack pushes and the repetition count.
#include "search/MoveHistory.h"

#include <cstdio>

MoveHistory MoveList;

void MoveHistory::InsertHashCodeMoveHistory(u64 upper, u64 lower) {
    // Past the end the key is not stored, but the count still moves so pushes and pops stay paired.
    if (NumMoves >= 0 && NumMoves < HistoryCapacity) entries[NumMoves] = {upper, lower};
    ++NumMoves;
    if (NumMoves > 590) std::printf("MAJOR ERROR: NumMoves > 590 in InsertHashCodeMoveHistor \n");
    if (NumMoves < 0) std::printf("MAJOR ERROR: NumMoves < 0 in InsertHashCodeMoveHistor \n");
}

char MoveHistory::ThreeFoldRepDetection(int window, u64 upper, u64 lower) const {
    int start = NumMoves >= window ? NumMoves - window : 0;
    int count = -1;
    for (int i = NumMoves - 1; i >= start && i >= 0; i -= 2)
        if (i < HistoryCapacity && entries[i].upper == upper && entries[i].lower == lower) ++count;
    return char(count);
}
