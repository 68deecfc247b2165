// The stack of position keys: the positions that led to the root followed
// by those of the current search line, for repetition detection. It grows
// with the game; a game of any length fits.
#pragma once

#include <vector>

#include "board/Bitboard.h"

struct HistoryKey {
    u64 upper, lower;
};

class MoveHistory {
public:
    std::vector<HistoryKey> entries; // the first NumMoves are in use
    i32 NumMoves = 0;

    void Init() { NumMoves = 0; }
    void InsertHashCodeMoveHistory(u64 upper, u64 lower);
    void InsertMoveHistory(u64 upper, u64 lower) { InsertHashCodeMoveHistory(upper, lower); }
    void RetractMove() {
        if (NumMoves > 0) --NumMoves;
    }
    // Earlier occurrences of the key with the same side to move within the
    // last `window` records; the caller has just pushed the key itself.
    char ThreeFoldRepDetection(int window, u64 upper, u64 lower) const;
};

extern MoveHistory MoveList;
