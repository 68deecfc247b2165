// Perft: counts the legal move tree of MainBoard with the real generators
// and MakeMove/UndoMove, as the correctness and speed test of move generation.
#pragma once

#include "board/ChessBoard.h"

class PerfT {
public:
    // Asked about every PollNodes counted moves, by whoever runs the count
    // (the batch front end listens to its input): true ends it early.
    inline static bool (*StopHook)() = nullptr;
    static constexpr u64 PollNodes = 1 << 16;

    u64 TotalNodes;       // every legal move made at any depth
    u64 LeafNodes;        // positions reached at depth 0
    bool Stopped = false; // the hook ended the count; no report was printed

    // Runs the count to `depth` and prints the report.
    explicit PerfT(int depth);
    void PerformanceTest(char side, int depth, ChessBoard board, char castling);

private:
    u64 nextPoll = PollNodes;
};
