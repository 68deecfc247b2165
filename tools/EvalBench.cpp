// Evaluation speed: full-window PosEval calls per second over a fixed set
// of positions, once with the pawn hash warm (as in a search, where most
// probes hit) and once with every probe forced to miss. Run by "make evalbench".
#include <cstdio>
#include <ctime>
#include <vector>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "board/HashKeys.h"
#include "core/Status.h"
#include "eval/PositionEvaluate.h"
#include "frontend/shared/EvalTable.h"

namespace {

const char* const Positions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r1bq1rk1/pppp1ppp/2n2n2/2b1p1N1/2B1P3/8/PPPP1PPP/RNBQK2R w KQ - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "3r1k2/4npp1/1ppr3p/p6P/P2PPPP1/1NR5/5K2/2R5 w - - 0 1",
    "rnbqkb1r/p3pppp/1p6/2ppP3/3N4/2P5/PPP1QPPP/R1B1KB1R w KQkq - 0 1",
    "4b3/p3kp2/6p1/3pP2p/2pP1P2/4K1P1/P3N2P/8 w - - 0 1",
    "r3r1k1/ppqb1ppp/8/4p1NQ/8/2P5/PP3PPP/R3R1K1 b - - 0 1",
    "2r2rk1/1bqnbpp1/1p1ppn1p/pP6/N1P1P3/P2B1N1P/1B2QPP1/R2R2K1 b - - 0 1",
    "r1bqk2r/pp2bppp/2p5/3pP3/P2Q1P2/2N1B3/1PP3PP/R4RK1 b kq - 0 1",
    "r1b1kb1r/1p3ppp/p1nppn2/q7/3NP3/2N1BP2/PPPQ2PP/R3KB1R w KQkq - 0 1",
    "2kr3r/ppp2ppp/2n5/8/8/2N5/PPP2PPP/2KR3R w - - 0 1",
    "6k1/5ppp/8/8/8/8/1r3PPP/3R2K1 w - - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "8/pp3k2/2p5/8/8/5K2/PP6/8 w - - 0 1",
    "4k3/8/8/3b4/8/8/3B4/4K3 w - - 0 1",
    "8/6k1/8/8/8/8/P7/7K w - - 0 1",
};

constexpr int Rounds = 40000;

// Evaluations per second of CPU time; `miss` forces every pawn probe to miss.
double Measure(const std::vector<ChessBoard>& boards, bool miss, long long* checksum) {
    std::clock_t start = std::clock();
    long long n = 0;
    for (int round = 0; round < Rounds; ++round)
        for (const ChessBoard& b : boards) {
            if (miss) PawnHashArray[b.PawnKingHash & 0xffff].key = ~b.PawnKingHash;
            *checksum += PE.PosEval(char(b.SideToMove), -110000, 110000, &b);
            ++n;
        }
    double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
    return seconds > 0 ? n / seconds : 0;
}

} // namespace

int main() {
    MainStatus.initVars();
    MainBoard.InitRep();
    initPStable();
    std::vector<ChessBoard> boards;
    for (const char* fen : Positions) {
        SetupBoard(fen);
        PrepareForEvaluation(MainBoard);
        boards.push_back(MainBoard);
    }
    long long checksum = 0;
    double warm = Measure(boards, false, &checksum);
    double cold = Measure(boards, true, &checksum);
    std::printf("positions %zu, evaluations per run %lld\n", boards.size(), (long long)Rounds * boards.size());
    std::printf("pawn hash warm:    %10.0f evaluations per second\n", warm);
    std::printf("pawn hash missing: %10.0f evaluations per second\n", cold);
    std::printf("checksum %lld\n", checksum);
    return 0;
}
