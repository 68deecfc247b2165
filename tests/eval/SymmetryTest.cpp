// Colour symmetry of the evaluation over many positions from random legal
// play, and the pawn hash giving the same result on a hit as on a miss.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "eval/EvalTestSupport.h"
#include "eval/PositionEvaluate.h"
#include "support/TestBoards.h"

namespace {

const char* const Starts[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r1bq1rk1/pppp1ppp/2n2n2/2b1p1N1/2B1P3/8/PPPP1PPP/RNBQK2R w KQ - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "3r1k2/4npp1/1ppr3p/p6P/P2PPPP1/1NR5/5K2/2R5 w - - 0 1",
    "r1bqk2r/pp2bppp/2p5/3pP3/P2Q1P2/2N1B3/1PP3PP/R4RK1 b kq - 0 1",
    "4b3/p3kp2/6p1/3pP2p/2pP1P2/4K1P1/P3N2P/8 w - - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "6k1/5ppp/8/8/8/8/1r3PPP/3R2K1 w - - 0 1",
    "8/pp3k2/2p5/8/8/5K2/PP6/8 w - - 0 1",
    "2kr3r/ppp2ppp/2n5/8/8/2N5/PPP2PPP/2KR3R w - - 0 1",
    "4k3/8/8/3b4/8/8/3B4/4K3 w - - 0 1",
    "r1b1kb1r/1p3ppp/p1nppn2/q7/3NP3/2N1BP2/PPPQ2PP/R3KB1R w KQkq - 0 1",
};

// Windows around and far from typical scores, the full one first.
const std::pair<int, int> Windows[] = {
    {-FullWindow, FullWindow}, {-50, 50}, {3000, 3100}, {-9000, -8000}, {7000, 20000}, {-20000, -7500},
};

std::vector<ChessBoard> RandomPositions() {
    std::vector<ChessBoard> positions;
    std::mt19937 rng(20240607);
    for (const char* fen : Starts) {
        for (int game = 0; game < 6; ++game) {
            ChessBoard b = EvalBoard(fen);
            for (int ply = 0; ply < 70 && PlayRandomMove(b, rng); ++ply)
                if (ply % 3 == 0) positions.push_back(b);
        }
    }
    return positions;
}

TEST(Symmetry, MirroredPositionsScoreTheSameForTheOtherSide) {
    std::vector<ChessBoard> positions = RandomPositions();
    ASSERT_GT(positions.size(), 1500u);
    int checked = 0;
    for (const ChessBoard& b : positions) {
        ChessBoard m = Mirror(b);
        for (char side : {0, 1})
            for (auto [alpha, beta] : Windows) {
                int v = Evaluate(b, side, alpha, beta);
                int w = Evaluate(m, char(side ^ 1), alpha, beta);
                ASSERT_EQ(v, w) << FenOf(b) << " side " << int(side) << " window " << alpha << ".." << beta;
                ++checked;
            }
    }
    EXPECT_EQ(checked, int(positions.size()) * 2 * int(std::size(Windows)));
}

TEST(PawnHash, HitGivesTheSameResultAsMiss) {
    std::vector<ChessBoard> positions = RandomPositions();
    for (size_t i = 0; i < positions.size(); i += 3) {
        const ChessBoard& b = positions[i];
        PawnHashArray[b.PawnKingHash & 0xffff].key = ~b.PawnKingHash; // force a miss
        i32 attempts = Phashattempts, misses = Phashmisses;
        int miss = Evaluate(b, 1);
        unsigned char computed[sizeof PE]; // every field the miss left behind
        std::memcpy(computed, &PE, sizeof PE);
        int hit = Evaluate(b, 1);
        ASSERT_EQ(miss, hit) << FenOf(b);
        ASSERT_EQ(std::memcmp(computed, &PE, sizeof PE), 0) << FenOf(b);
        if (Phashattempts != attempts) {
            ASSERT_EQ(Phashattempts, attempts + 2);
            ASSERT_EQ(Phashmisses, misses + 1);
        }
    }
}

TEST(PawnHash, ClearedTableReadsAsAPositionWithoutPawns) {
    // A cleared slot matches key 0 and no pawns; it must hold what such a position computes.
    ClearPawnHash();
    ChessBoard b = EvalBoard("4k3/8/8/8/8/8/8/R3K2R w - - 0 1");
    b.PawnKingHash = 0;
    int fromClearedSlot = Evaluate(b, 0);
    EXPECT_EQ(PE.OpenFiles, ~u64(0));
    PawnHashArray[0].key = 1; // force a miss
    EXPECT_EQ(Evaluate(b, 0), fromClearedSlot);
    EXPECT_TRUE(InPawnHash(0, 0));
}

} // namespace
