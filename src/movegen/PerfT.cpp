// Perft: walks the legal move tree of MainBoard with the real generators
// and prints the node counts and the speed.
#include "movegen/PerfT.h"

#include <cstdio>
#include <ctime>

#include "core/Status.h"
#include "movegen/MoveGen.h"

namespace {

// Processor time of the run in milliseconds: steady under a loaded machine.
i64 ProcessMs() { return i64(std::clock()) * 1000 / CLOCKS_PER_SEC; }

} // namespace

PerfT::PerfT(int depth) {
    std::printf("Starting PerfT test \n");
    const i64 start = ProcessMs();
    TotalNodes = 0;
    LeafNodes = 0;
    if (MainStatus.Trace == 1) std::printf("<Trace name=\"Perft\">\n");
    ChessBoard board = MainBoard;
    PerformanceTest(char(MainBoard.SideToMove), depth, board, char(MainBoard.Castling));
    if (MainStatus.Trace == 1) std::printf("</Trace>\n");
    if (Stopped) return;

    const i64 elapsed = ProcessMs() - start;
    const u64 nodesPerSecond = elapsed > 0 ? TotalNodes / u64(elapsed) * 1000 : 0; // too fast to time: 0
    std::printf("%llu Total Nodes at Depth = %d\n", (unsigned long long)TotalNodes, depth);
    std::printf("%llu Leaf Nodes at Depth = %d\n", (unsigned long long)LeafNodes, depth);
    std::printf("%llu NPS\n", (unsigned long long)nodesPerSecond);
    std::fflush(stdout);
}

// Legality is tested after making each move, as the search does; the
// castling rights travel as an argument, masked by what each move reports.
// Without a trace the last ply is counted without making its moves.
void PerfT::PerformanceTest(char side, int depth, ChessBoard board, char castling) {
    if (depth < 1) {
        ++LeafNodes;
        return;
    }
    const bool trace = MainStatus.Trace == 1;
    if (depth == 1 && !trace) {
        const u64 legal = u64(CountLegalMoves(side, board, castling));
        TotalNodes += legal;
        LeafNodes += legal;
        return;
    }
    // Only nodes with a subtree look at the counter, so the leaves cost nothing more.
    if (TotalNodes >= nextPoll) {
        nextPoll = TotalNodes + PollNodes;
        if (StopHook && StopHook()) Stopped = true;
    }
    if (Stopped) return;
    MoveGen list;
    const u64 king = side ? board.BlackKing : board.WhiteKing;
    const int count =
        board.InCheck(king, side) ? list.GenCheckEvasions(side, &board) : list.GenerateAllMoves(side, &board, castling);
    for (int i = 0; i < count; ++i) {
        const auto [from, to, promote] = list.GetMove(i);
        char mask;
        board.MakeMove(from, to, promote, &mask);
        if (board.InCheck(side ? board.BlackKing : board.WhiteKing, side)) {
            board.UndoMove(0);
            continue;
        }
        ++TotalNodes;
        if (trace) {
            char text[MoveTextSize];
            fillmovestring(text, 0, char(SquareOf(from)), char(SquareOf(to)), promote);
            std::printf("<Move name=\"{ %snodes %llu\">\n", text, (unsigned long long)TotalNodes);
        }
        if (depth == 1)
            ++LeafNodes; // the child would only count itself; spare it the board copy
        else
            PerformanceTest(char(side ^ 1), depth - 1, board, char(castling & mask));
        if (trace) std::printf("</Move >\n} \n");
        board.UndoMove(0);
    }
}
