// Colour symmetry of the evaluation over positions of random play; the pawn hash's hits and misses.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "eval/EvalBreakdown.h"
#include "support/TestBoards.h"

TEST(Symmetry, MirroredPositionsScoreTheSameForTheOtherSide) {
    // Windows around and far from typical scores, the full one first.
    const std::pair<int, int> windows[] = {
        {-FullWindow, FullWindow}, {-50, 50}, {3000, 3100}, {-9000, -8000}, {7000, 20000}, {-20000, -7500}};
    std::vector<ChessBoard> positions = RandomGamePositions();
    ASSERT_GT(positions.size(), 1300u);
    for (const ChessBoard& b : positions) {
        ChessBoard m = Mirror(b);
        for (char side : {0, 1})
            for (auto [alpha, beta] : windows)
                ASSERT_EQ(Evaluate(b, side, alpha, beta), Evaluate(m, char(side ^ 1), alpha, beta))
                    << FenOf(b) << " side " << int(side) << " window " << alpha << ".." << beta;
    }
}

TEST(PawnHash, HitGivesTheSameResultAsMiss) {
    std::vector<ChessBoard> positions = RandomGamePositions();
    for (size_t i = 0; i < positions.size(); i += 3) {
        const ChessBoard& b = positions[i];
        PawnHashArray[b.PawnKingHash & 0xffff].key = ~b.PawnKingHash; // force a miss
        i32 attempts = Phashattempts, misses = Phashmisses;
        int miss = Evaluate(b, 1);
        unsigned char computed[sizeof PE]; // every field the miss left behind
        std::memcpy(computed, &PE, sizeof PE);
        ASSERT_EQ(miss, Evaluate(b, 1)) << FenOf(b);
        ASSERT_EQ(std::memcmp(computed, &PE, sizeof PE), 0) << FenOf(b);
        ASSERT_TRUE(Phashattempts == attempts || (Phashattempts == attempts + 2 && Phashmisses == misses + 1));
    }
}

// A pawnless root has key 0 and meets the empty slot, read as no open file (the explanation
// computes its own: every file open); a clear empties the slots but keeps their file sets.
TEST(PawnHash, EmptySlotAndClear) {
    PawnHashArray[0] = PawnRecord{};
    ChessBoard b = EvalBoard("4k3/8/8/8/8/8/8/R3K2R w - - 0 1");
    b.PawnKingHash = 0;
    const int fromEmptySlot = Evaluate(b, 0);
    EXPECT_TRUE(PE.OpenFiles == 0 && PE.NoWhitePawnFiles == 0 && PE.NoBlackPawnFiles == 0);
    const int explained = ExplainEvaluation(b).score;
    PawnHashArray[0].key = 1; // force a miss: every file is open
    const int computed = Evaluate(b, 0);
    EXPECT_TRUE(computed != fromEmptySlot && explained == computed);
    EXPECT_EQ(PE.OpenFiles, ~u64(0));
    EXPECT_TRUE(InPawnHash(0, 0));

    ClearPawnHash();
    const PawnRecord& r = PawnHashArray[0];
    EXPECT_TRUE(r.key == 0 && r.Pawns() == 0 && r.whitePasserCount == 0 && r.whiteScore == 0);
    EXPECT_EQ(Evaluate(b, 0), computed) << "found again, and the sets stay";
    EXPECT_EQ(PE.OpenFiles, ~u64(0));
}
