// Static exchange evaluation on small exchanges.
#include <gtest/gtest.h>

#include "search/SEE.h"
#include "support/TestBoards.h"

namespace {

u64 Sq(const char* name) { return SquareBit((name[1] - '1') * 8 + (name[0] - 'a')); }

int Exchange(const char* fen, const char* from, const char* to) {
    ChessBoard b = BoardFromFen(fen);
    const char victimSide = (b.WhitePieces & Sq(to)) ? 0 : 1;
    return see.StaticExchangeEvaluation(victimSide, Sq(from), Sq(to), &b);
}

TEST(Exchange, SingleCaptures) {
    // Pawn takes an undefended knight.
    EXPECT_EQ(3250, Exchange("4k3/8/8/3n4/4P3/8/8/4K3 w - - 0 1", "e4", "d5"));
    // Queen takes a pawn defended by a pawn.
    EXPECT_EQ(-8950, Exchange("4k3/8/4p3/3p4/8/8/8/3QK3 w - - 0 1", "d1", "d5"));
    // A knight's capture brings no x-ray attacker along.
    EXPECT_EQ(-2450, Exchange("4k3/8/4p3/3p4/8/4N3/8/4K3 w - - 0 1", "e3", "d5"));
}

TEST(Exchange, XrayAttackersJoin) {
    // Rook takes a rook defended by a rook, a second own rook behind on the file.
    EXPECT_EQ(5000, Exchange("3rk3/8/8/3r4/8/8/3R4/3RK3 w - - 0 1", "d2", "d5"));
    // Without the rear rook the defender wins it back.
    EXPECT_EQ(0, Exchange("3rk3/8/8/3r4/8/8/3R4/4K3 w - - 0 1", "d2", "d5"));
    // Doubled rooks on a rank, the rear one towards the h-file.
    EXPECT_EQ(5000, Exchange("4k3/8/8/r2r2RR/8/8/8/4K3 w - - 0 1", "g5", "d5"));
    // A bishop behind the queen on the diagonal joins, but the queen is still lost for pawn and bishop.
    EXPECT_EQ(-8150, Exchange("4k3/8/4p3/3p4/8/1Q6/B7/4K3 w - - 0 1", "b3", "d5"));
}

TEST(Exchange, DirectionTable) {
    EXPECT_EQ(8, see.dir[0][56]);
    EXPECT_EQ(-8, see.dir[56][0]);
    EXPECT_EQ(1, see.dir[0][7]);
    EXPECT_EQ(9, see.dir[0][63]);
    EXPECT_EQ(-9, see.dir[63][0]);
    EXPECT_EQ(7, see.dir[7][56]);
    EXPECT_EQ(-7, see.dir[56][7]);
    EXPECT_EQ(0, see.dir[0][17]); // a knight's step
    EXPECT_EQ(0, see.dir[7][8]);  // h1 and a2 share no line
    EXPECT_EQ(0, see.dir[20][20]);
}

} // namespace
