// Replacement, probe codes, aging and mate adjustment of the transposition table.
#include <gtest/gtest.h>

#include "search/TranspositionTables.h"

namespace {

class Table : public testing::Test {
protected:
    void SetUp() override {
        PositionCache.ClearTranspositionTables();
        PositionCache.hits = PositionCache.misses = 0;
    }
    const TTEntry& Entry(u64 lower, int i) { return PositionCache.buckets[lower & TTIndexMask].entry[i]; }
    void Store(u64 lower, int depth, int storedMove, int score, char type, u64 upper = 1) {
        PositionCache.InsertTranspositionTables(upper, lower, 0, depth, short(storedMove), score, type, 0, 0);
    }
    char Probe(u64 lower, int depth, int alpha, int beta) {
        return PositionCache.SearchTranspositionTables(1, lower, 0, depth, alpha, beta, &value, &move);
    }
    int value = -1, move = 0;
};

} // namespace

TEST_F(Table, ReplacementShiftsOlderEntriesDown) {
    Store(0x100, 5, 11, 30, ExactScore);
    Store(0x100, 6, 12, 40, ExactScore); // same key, deeper: the old copy moves to entry 1
    EXPECT_TRUE(Entry(0x100, 0).move == 12 && Entry(0x100, 1).move == 11 && Entry(0x100, 1).flag == 2);
    Store(0x100, 2, 13, 50, ExactScore); // shallower: straight into entry 1
    EXPECT_TRUE(Entry(0x100, 1).move == 13 && Entry(0x100, 2).move == 11 && Entry(0x100, 1).flag == 4);
    // Another position of the same bucket goes to entry 1 while entry 0 is live.
    Store(0x100 | (u64(1) << 40), 9, 14, 0, ExactScore, 2);
    EXPECT_TRUE(Entry(0x100, 0).move == 12 && Entry(0x100, 1).move == 14 && Entry(0x100, 2).move == 13);
}

TEST_F(Table, ProbeCodesAndAging) {
    EXPECT_EQ(Probe(0x200, 3, -10, 10), NoHit);
    Store(0x200, 4, 77, 5, ExactScore);
    EXPECT_EQ(Probe(0x200, 4, -10, 10), ExactHit);
    EXPECT_TRUE(value == 5 && move == 77);
    EXPECT_EQ(Probe(0x200, 5, -10, 10), NoHit) << "too shallow";
    Store(0x300, 4, 0, 50, LowerBound);
    EXPECT_EQ(Probe(0x300, 3, -10, 10), FailHigh);
    EXPECT_EQ(value, 10);
    Store(0x400, 4, 0, -50, UpperBound);
    EXPECT_EQ(Probe(0x400, 3, -10, 10), FailLow);
    EXPECT_EQ(PositionCache.hits, 3);
    // Aged entries keep their moves but give no cutoffs.
    Store(0x600, 8, 99, 5, ExactScore);
    PositionCache.AgeTranspositionTables();
    EXPECT_EQ(Probe(0x600, 1, -10, 10), NoHit);
    EXPECT_EQ(move, 99);
}

TEST_F(Table, NullMoveHintNeedsTheThirdEntry) {
    // Upper bounds below beta in all three entries of the bucket: R = 3 at depth 7, 2 at depth 5.
    for (int i = 0; i < 3; ++i) Store(0x500, 4, 0, -50, UpperBound);
    EXPECT_EQ(Probe(0x500, 7, -100, 10), NoHitNullFutile);
    PositionCache.ClearTranspositionTables();
    for (int i = 0; i < 3; ++i) Store(0x500, 3, 0, -50, UpperBound);
    EXPECT_EQ(Probe(0x500, 5, -100, 10), NoHitNullFutile);
}

TEST_F(Table, MateScoresStoredByDistance) {
    for (auto [stored, kept] : {std::pair{109900, 109905}, {-109900, -109905}, {109800, 109800}}) {
        Store(0x700, 5, 0, stored, ExactScore);
        EXPECT_EQ(Entry(0x700, 0).value, kept) << stored;
        PositionCache.ClearTranspositionTables();
    }
}
