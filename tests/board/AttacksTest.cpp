// Attack sets against a plain step-by-step walk. Check masks and attacked
// squares are checked at every node of perft against the mailbox reference.
#include <gtest/gtest.h>

#include <random>

#include "board/ChessBoard.h"
#include "support/TestBoards.h"

namespace {

const int Diagonal[4][2] = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
const int Straight[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
const int Jumps[8][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};

// Squares reached from the square by (file, rank) steps, sliders stopping on the first man.
u64 Walk(int sq, const int (*steps)[2], int n, bool slide, u64 occupied) {
    u64 set = 0;
    for (int i = 0; i < n; ++i)
        for (int f = sq % 8 + steps[i][0], r = sq / 8 + steps[i][1]; f >= 0 && f < 8 && r >= 0 && r < 8;
             f += steps[i][0], r += steps[i][1]) {
            set |= SquareBit(r * 8 + f);
            if (!slide || (occupied & SquareBit(r * 8 + f))) break;
        }
    return set;
}

u64 KingWalk(int sq) { return Walk(sq, Diagonal, 4, false, 0) | Walk(sq, Straight, 4, false, 0); }

} // namespace

TEST(Attacks, MasksMatchTheWalkOnRandomOccupancies) {
    std::mt19937_64 rng(11);
    ChessBoard b = BoardFromFen("8/8/8/8/8/8/8/8 w - -");
    EXPECT_EQ(b.BishopMask(0) | b.RookMask(0) | b.KnightMask(0) | b.KingMask(0), 0u);
    for (int trial = 0; trial < 200; ++trial) {
        b.AllPieces = rng() & rng();
        for (int sq = 0; sq < 64; ++sq) {
            ASSERT_EQ(b.BishopMask(SquareBit(sq)), Walk(sq, Diagonal, 4, true, b.AllPieces)) << sq;
            ASSERT_EQ(b.RookMask(SquareBit(sq)), Walk(sq, Straight, 4, true, b.AllPieces)) << sq;
            ASSERT_EQ(b.KnightMask(SquareBit(sq)), Walk(sq, Jumps, 8, false, 0)) << sq;
            ASSERT_EQ(b.KingMask(SquareBit(sq)), KingWalk(sq)) << sq;
        }
    }
}
