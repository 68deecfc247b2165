// The stack of position keys: the positions that led to the root followed
// by those of the current search line, for repetition detection.
#pragma once

#include "board/Bitboard.h"

constexpr int HistoryCapacity = 600;

struct HistoryKey {
    u64 upper, lower;
};

class MoveHistory {
public:
    HistoryKey entries[HistoryCapacity];
    i32 NumMoves;

    void Init() { NumMoves = 0; }
    void InsertHashCodeMoveHistory(u64 upper, u64 lower);
    void InsertMoveHistory(u64 upper, u64 lower) { InsertHashCodeMoveHistory(upper, lower); }
    void RetractMove() { --NumMoves; }
    // Earlier occurrences of the key with the same side to move within the
    // last `window` records; the caller has just pushed the key itself.
    char ThreeFoldRepDetection(int window, u64 upper, u64 lower) const;
};

extern MoveHistory MoveList;
