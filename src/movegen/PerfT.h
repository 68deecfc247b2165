// Perft: counts the legal move tree of MainBoard with the real generators
// and MakeMove/UndoMove, as the correctness and speed test of move generation.
#pragma once

#include "board/ChessBoard.h"

class PerfT {
public:
    u64 TotalNodes; // every legal move made at any depth
    u64 LeafNodes;  // positions reached at depth 0

    // Runs the count to `depth` and prints the report.
    explicit PerfT(int depth);
    void PerformanceTest(char side, int depth, ChessBoard board, char castling);
};
