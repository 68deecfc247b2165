// Replacement, probe codes, aging, mate adjustment and sizes of the transposition table.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <tuple>

#include "search/SearchConstants.h"
#include "search/TranspositionTables.h"

namespace {

class Table : public testing::Test {
protected:
    void SetUp() override {
        PositionCache.ClearTranspositionTables();
        PositionCache.hits = PositionCache.misses = 0;
    }
    TTEntry Entry(u64 lower, int i) { return PositionCache.Entry(lower & PositionCache.indexMask, i); }
    void Store(u64 lower, int depth, int storedMove, int score, char type, u64 upper = 1, int ply = 0) {
        PositionCache.InsertTranspositionTables(upper, lower, ply, depth, short(storedMove), score, type, 0, 0);
    }
    char Probe(u64 lower, int depth, int alpha, int beta, int ply = 0) {
        return PositionCache.SearchTranspositionTables(1, lower, ply, depth, alpha, beta, &value, &move);
    }
    int value = -1, move = 0;
};

} // namespace

TEST_F(Table, ReplacementShiftsOlderEntriesDownAndPackingKeepsEveryField) {
    Store(0x100, 5, 11, 30, ExactScore);
    Store(0x100, 6, 12, 40, ExactScore); // same key, deeper: the old copy moves to entry 1
    EXPECT_TRUE(Entry(0x100, 0).move == 12 && Entry(0x100, 1).move == 11 && Entry(0x100, 1).flag == 2);
    Store(0x100, 2, 13, 50, ExactScore); // shallower: straight into entry 1
    EXPECT_TRUE(Entry(0x100, 1).move == 13 && Entry(0x100, 2).move == 11 && Entry(0x100, 1).flag == 4);
    // Another position of the same bucket goes to entry 1 while entry 0 is live.
    Store(0x100 | (u64(1) << 40), 9, 14, 0, ExactScore, 2);
    EXPECT_TRUE(Entry(0x100, 0).move == 12 && Entry(0x100, 1).move == 14 && Entry(0x100, 2).move == 13);
    // Packing keeps the highest move, mate scores pushed out, a depth past a signed byte, keys one bit apart.
    const u64 top = u64(1) << 63;
    Store(0x800, 100, 4095, -109950, UpperBound, 1, 100);
    EXPECT_TRUE(Entry(0x800, 0).move == 4095 && Entry(0x800, 0).value == -110050 && Entry(0x800, 0).depth == 100 &&
                Entry(0x800, 0).type == UpperBound && Entry(0x800, 0).lower == 0x800);
    Store(0x900, 200, 1, 110001, LowerBound, 1, 200);
    EXPECT_TRUE(Entry(0x900, 0).value == 110201 && Entry(0x900, 0).depth == i8(200));
    Store(0xa00 | top, 3, 5, 7, ExactScore);
    EXPECT_EQ(Probe(0xa00, 3, -10, 10), NoHit) << "the top bit of the lower half is part of the key";
    EXPECT_EQ(Probe(0xa00 | top, 3, -10, 10), ExactHit);
    EXPECT_EQ(PositionCache.SearchTranspositionTables(2, 0xa00 | top, 0, 3, -10, 10, &value, &move), NoHit);
}

TEST_F(Table, ProbeCodesAgingAndTheNullMoveHint) {
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
    // Upper bounds below beta in all three entries of a bucket hint that a null move is futile.
    for (int i = 0; i < 3; ++i) Store(0x500, 4, 0, -50, UpperBound);
    EXPECT_EQ(Probe(0x500, 7, -100, 10), NoHitNullFutile); // R = 3 at depth 7
    PositionCache.ClearTranspositionTables();
    for (int i = 0; i < 3; ++i) Store(0x500, 3, 0, -50, UpperBound);
    EXPECT_EQ(Probe(0x500, 5, -100, 10), NoHitNullFutile); // R = 2 at depth 5
}

TEST_F(Table, MateScoresKeepTheirDistanceFromTheNode) {
    // A mate 10 plies from the root found at ply 4 is 6 plies away: met again at ply 7, it is
    // 13 plies from the root; likewise for the side being mated. Other scores stay as they are.
    for (auto [found, kept, probed] :
         {std::tuple{109990, 109994, 109987}, {-109990, -109994, -109987}, {109799, 109799, 109799}}) {
        Store(0x700, 5, 0, found, ExactScore, 1, 4);
        EXPECT_EQ(Entry(0x700, 0).value, kept) << found;
        EXPECT_EQ(Probe(0x700, 5, -MATE, MATE, 7), ExactHit);
        EXPECT_EQ(value, probed) << found;
        PositionCache.ClearTranspositionTables();
    }
    // Bounds are compared as distances from the root, and a cut-off hands back the window's bound.
    Store(0x700, 5, 0, 109990, LowerBound, 1, 4); // at least a mate in 6 plies from the node
    EXPECT_EQ(Probe(0x700, 5, 0, 109988, 7), NoHit) << "a mate 13 plies away does not reach 12";
    EXPECT_EQ(Probe(0x700, 5, 0, 109987, 7), FailHigh);
    EXPECT_EQ(value, 109987);
    Store(0x710, 5, 0, -109990, UpperBound, 1, 4);
    EXPECT_EQ(Probe(0x710, 5, -109987, 0, 7), FailLow);
    EXPECT_EQ(value, -109987);
}

// Sizes fit into the memory asked for as a power of two; a refused size keeps the table.
TEST(TableSize, PowerOfTwoBucketsThatStoreAndClear) {
    for (auto [megabytes, buckets] : {std::pair{3, 32768}, {100, 1048576}, {192, 2097152}, {1, 8192}}) {
        ASSERT_TRUE(PositionCache.Resize(megabytes));
        EXPECT_EQ(PositionCache.BucketCount(), size_t(buckets)) << megabytes;
        EXPECT_EQ(PositionCache.indexMask, u64(buckets - 1)) << megabytes;
    }
    EXPECT_FALSE(PositionCache.Resize(0) || PositionCache.Resize(4097));
    EXPECT_EQ(PositionCache.BucketCount(), size_t(8192));
    const u64 high = 0x1fff; // beyond the 8192 buckets: wraps into bucket 0x1fff
    EXPECT_EQ(PositionCache.HashFull(), 0) << "fresh memory reads empty";
    for (u64 b = 0; b < 500; ++b) PositionCache.InsertTranspositionTables(1, b, 0, 3, 7, 0, ExactScore, 0, 0);
    PositionCache.InsertTranspositionTables(1, high | (u64(1) << 20), 0, 3, 9, 0, ExactScore, 0, 0);
    EXPECT_EQ(PositionCache.HashFull(), 500);
    EXPECT_EQ(PositionCache.Entry(high, 0).move, 9);
    PositionCache.ClearTranspositionTables();
    EXPECT_EQ(PositionCache.HashFull(), 0);
    int value = 0, move = 0;
    EXPECT_EQ(PositionCache.SearchTranspositionTables(1, high, 0, 3, -10, 10, &value, &move), NoHit);
    EXPECT_EQ(move, 0) << "a cleared bucket keeps no move";
    ASSERT_TRUE(PositionCache.Resize(TTDefaultMegabytes));
}

#if !defined(__SANITIZE_ADDRESS__)
TEST(TableSize, RefusedMemoryKeepsTheOldTable) {
    ASSERT_TRUE(PositionCache.Resize(2));
    PositionCache.InsertTranspositionTables(1, 5, 0, 3, 42, 0, ExactScore, 0, 0);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &old), 0);
    rlimit tight = old;
    tight.rlim_cur = 64ull << 20; // far below the address space already in use
    ASSERT_EQ(setrlimit(RLIMIT_AS, &tight), 0);
    const bool resized = PositionCache.Resize(64);
    setrlimit(RLIMIT_AS, &old);
    EXPECT_FALSE(resized);
    EXPECT_EQ(PositionCache.BucketCount(), size_t(16384));
    EXPECT_EQ(PositionCache.Entry(5, 0).move, 42);
    ASSERT_TRUE(PositionCache.Resize(TTDefaultMegabytes));
}
#endif
