// Replacement, probe codes and mate adjustment of the transposition table.
#include <gtest/gtest.h>

#include "search/TranspositionTables.h"

namespace {

class Table : public testing::Test {
protected:
    void SetUp() override {
        PositionCache.ClearTranspositionTables();
        PositionCache.hits = PositionCache.misses = 0;
    }
    const TTBucket& Bucket(u64 lower) { return PositionCache.buckets[lower & TTIndexMask]; }
    void Store(u64 upper, u64 lower, int depth, int move, int value, char type) {
        PositionCache.InsertTranspositionTables(upper, lower, 0, depth, short(move), value, type, 0, 0);
    }
    char Probe(u64 upper, u64 lower, int depth, int alpha, int beta, int* value, int* move) {
        return PositionCache.SearchTranspositionTables(upper, lower, 0, depth, alpha, beta, value, move);
    }
};

TEST_F(Table, ReplacementShiftsOlderEntriesDown) {
    Store(1, 0x100, 5, 11, 30, ExactScore);
    Store(1, 0x100, 6, 12, 40, ExactScore); // same key, deeper: the old copy moves to entry 1
    EXPECT_EQ(12, Bucket(0x100).entry[0].move);
    EXPECT_EQ(11, Bucket(0x100).entry[1].move);
    EXPECT_EQ(2, Bucket(0x100).entry[1].flag);
    Store(1, 0x100, 2, 13, 50, ExactScore); // shallower: straight into entry 1
    EXPECT_EQ(12, Bucket(0x100).entry[0].move);
    EXPECT_EQ(13, Bucket(0x100).entry[1].move);
    EXPECT_EQ(4, Bucket(0x100).entry[1].flag);
    EXPECT_EQ(11, Bucket(0x100).entry[2].move);
    // Another position of the same bucket goes to entry 1 while entry 0 is live.
    Store(2, 0x100 | (u64(1) << 40), 9, 14, 0, ExactScore);
    EXPECT_EQ(12, Bucket(0x100).entry[0].move);
    EXPECT_EQ(14, Bucket(0x100).entry[1].move);
    EXPECT_EQ(13, Bucket(0x100).entry[2].move);
}

TEST_F(Table, ProbeCodes) {
    int value = -1, move = 0;
    EXPECT_EQ(NoHit, Probe(1, 0x200, 3, -10, 10, &value, &move));
    Store(1, 0x200, 4, 77, 5, ExactScore);
    EXPECT_EQ(ExactHit, Probe(1, 0x200, 4, -10, 10, &value, &move));
    EXPECT_EQ(5, value);
    EXPECT_EQ(77, move);
    value = -1;
    EXPECT_EQ(NoHit, Probe(1, 0x200, 5, -10, 10, &value, &move)); // too shallow
    EXPECT_EQ(-1, value);

    Store(1, 0x300, 4, 0, 50, LowerBound);
    EXPECT_EQ(FailHigh, Probe(1, 0x300, 3, -10, 10, &value, &move));
    EXPECT_EQ(10, value);
    EXPECT_EQ(NoHit, Probe(1, 0x300, 3, -10, 60, &value, &move));

    Store(1, 0x400, 4, 0, -50, UpperBound);
    EXPECT_EQ(FailLow, Probe(1, 0x400, 3, -10, 10, &value, &move));
    EXPECT_EQ(-10, value);
    EXPECT_EQ(3, PositionCache.hits);
}

TEST_F(Table, NullMoveHintNeedsTheThirdEntry) {
    int value, move;
    // Upper bounds below beta, depth 4, in all three entries of the bucket.
    for (int i = 0; i < 3; ++i) Store(1, 0x500, 4, 0, -50, UpperBound);
    EXPECT_EQ(NoHitNullFutile, Probe(1, 0x500, 7, -100, 10, &value, &move)); // R = 3 at depth 7
    EXPECT_EQ(NoHit, Probe(1, 0x500, 8, -100, 10, &value, &move));
    EXPECT_EQ(NoHitNullFutile, Probe(1, 0x500, 6, -100, 10, &value, &move));
    PositionCache.ClearTranspositionTables();
    for (int i = 0; i < 3; ++i) Store(1, 0x500, 3, 0, -50, UpperBound);
    EXPECT_EQ(NoHitNullFutile, Probe(1, 0x500, 5, -100, 10, &value, &move)); // R = 2 at depth 5
    EXPECT_EQ(NoHit, Probe(1, 0x500, 7, -100, 10, &value, &move));
    // With only entry 0 holding the position the hint is not reported.
    PositionCache.ClearTranspositionTables();
    Store(1, 0x500, 4, 0, -50, UpperBound);
    EXPECT_EQ(NoHit, Probe(1, 0x500, 7, -100, 10, &value, &move));
}

TEST_F(Table, AgingKeepsMovesButNoCutoffs) {
    int value, move = 0;
    Store(1, 0x600, 8, 99, 5, ExactScore);
    PositionCache.AgeTranspositionTables();
    EXPECT_EQ(NoHit, Probe(1, 0x600, 1, -10, 10, &value, &move));
    EXPECT_EQ(99, move);
}

TEST_F(Table, MateScoresStoredByDistance) {
    Store(1, 0x700, 5, 0, 109900, ExactScore);
    EXPECT_EQ(109905, Bucket(0x700).entry[0].value);
    Store(1, 0x800, 5, 0, -109900, ExactScore);
    EXPECT_EQ(-109905, Bucket(0x800).entry[0].value);
    Store(1, 0x900, 5, 0, 109800, ExactScore);
    EXPECT_EQ(109800, Bucket(0x900).entry[0].value);
}

} // namespace
