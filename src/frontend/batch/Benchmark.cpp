// The two fixed benchmarks: six positions searched to the depth given
// ("-bench"), and one position by deepening and by one search ("-bench2").
// Their node totals are the engine's signature.
#include "frontend/batch/Benchmark.h"

#include <cstdio>
#include <iostream>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "core/Log.h"
#include "core/Platform.h"
#include "core/Status.h"
#include "eval/PositionEvaluate.h"
#include "movegen/MoveGen.h"
#include "search/MoveHistory.h"
#include "search/SearchRoutines.h"
#include "search/TranspositionTables.h"

namespace {

const char* const BenchPositions[6] = {
    "3r1k2/4npp1/1ppr3p/p6P/P2PPPP1/1NR5/5K2/2R5 w - - 0 0",
    "rnbqkb1r/p3pppp/1p6/2ppP3/3N4/2P5/PPP1QPPP/R1B1KB1R w KQkq - 0 0",
    "4b3/p3kp2/6p1/3pP2p/2pP1P2/4K1P1/P3N2P/8 w - - 0 0",
    "r3r1k1/ppqb1ppp/8/4p1NQ/8/2P5/PP3PPP/R3R1K1 b - - 0 0",
    "2r2rk1/1bqnbpp1/1p1ppn1p/pP6/N1P1P3/P2B1N1P/1B2QPP1/R2R2K1 b - - 0 0",
    "r1bqk2r/pp2bppp/2p5/3pP3/P2Q1P2/2N1B3/1PP3PP/R4RK1 b kq - 0 0",
};

struct BenchTotals {
    long long interior = 0, quiesce = 0, leaves = 0;
};

BenchResult Report(const BenchTotals& t, i32 start) {
    long long time = ClockMs() - start;
    if (time == 0) time = 1;
    const long long total = t.interior + t.quiesce;
    std::printf("    Time Interior Nodes Quiesce Nodes Total Nodes        NPS\n");
    std::printf("%8lld%12lld%14lld%14lld%12lld\n", time, t.interior, t.quiesce, total, total / time * 1000);
    std::fflush(stdout);
    std::printf("Leaf Interior Nodes searched = %lld\n", t.leaves);
    TranspositionTables& tt = PositionCache;
    if (tt.hits == 0 && tt.misses == 0) tt.misses = 1;
    std::printf("Transposition Table Hits %d  Misses  %d  Ratio = %d\n", tt.hits, tt.misses,
                int(tt.hits * 100LL / (tt.hits + tt.misses)));
    std::cout << "Pawn misses " << Phashmisses << " Pawn attempts " << Phashattempts
              << " Pawn miss rate = " << Phashmisses * 100.0 / Phashattempts << "\n";
    std::cout.flush();
    return BenchResult{total, time};
}

void SetUpBenchPosition(int index) {
    LogF("======== Pos %d =======\n", index + 1);
    MoveList.Init();
    SetupBoard(BenchPositions[index]);
    Search.ClearHistory();
}

void AddCounters(BenchTotals& t) {
    t.interior += Search.Nodes;
    t.quiesce += Search.QNodes;
    t.leaves += Search.CacheHits;
}

} // namespace

BenchResult Bench() {
    Status& s = MainStatus;
    Search.Nodes = Search.QNodes = 0;
    std::printf("Running benchmark ");
    std::fflush(stdout);
    const i32 start = ClockMs();
    BenchTotals totals;
    for (int i = 0; i < 6; ++i) {
        std::printf(i < 5 ? "%d " : "%d\n", i + 1);
        std::fflush(stdout);
        SetUpBenchPosition(i);
        Move best{0, 0, NoPromotion};
        Search.ProgressiveDeepening(MainBoard, s.FD, &best);
        AddCounters(totals);
        if (i < 5) PositionCache.ClearTranspositionTables();
    }
    return Report(totals, start);
}

void Bench2() {
    Status& s = MainStatus;
    for (int run = 0; run < 2; ++run) {
        Search.Nodes = Search.QNodes = 0;
        std::printf("Running benchmark \n%s\n", run == 0 ? "Progressive Deepening" : "Search Exact Depth");
        std::fflush(stdout);
        const i32 start = ClockMs();
        SetUpBenchPosition(4);
        Move best{0, 0, NoPromotion};
        if (run == 0)
            Search.ProgressiveDeepening(MainBoard, s.FD, &best);
        else
            Search.SearchExactDepth(MainBoard, s.FD, &best);
        BenchTotals totals;
        AddCounters(totals);
        PositionCache.ClearTranspositionTables();
        Report(totals, start);
    }
}
