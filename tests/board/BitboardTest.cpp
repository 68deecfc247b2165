// Bit scans, counts and the bitboard diagram.
#include <gtest/gtest.h>

#include <random>

#include "board/Bitboard.h"
#include "board/ChessBoard.h"
#include "support/TestBoards.h"

TEST(Bitboard, ScansAndCountsAgreeWithTheMachineInstructions) {
    EXPECT_EQ(RightMostBit(1), 1);
    EXPECT_EQ(RightMostBit(u64(1) << 63), 64);
    EXPECT_EQ(RightMostBit(0), 1);
    EXPECT_EQ(MybitScanForward(0), 64);
    EXPECT_EQ(MyLog2(1), 0);
    EXPECT_EQ(MyLog2(0x8000000000000000ULL), 63);
    EXPECT_EQ(MyLog2(0), -1);
    std::mt19937_64 rng(7);
    for (int i = 0; i < 20000; ++i) {
        u64 b = rng() & rng(); // sparse and dense sets alike
        if (i < 64) b = u64(1) << i;
        if (!b) continue;
        int low = __builtin_ctzll(b);
        ASSERT_EQ(RightMostBit(b), low + 1) << std::hex << b;
        ASSERT_EQ(MybitScanForward(b), low + 1) << std::hex << b;
        ASSERT_EQ(SimpleBitCount(b), __builtin_popcountll(b));
        ASSERT_EQ(PieceSetCount(b), __builtin_popcountll(b));
        ASSERT_EQ(MyLog2(b), 63 - __builtin_clzll(b));
    }
}

TEST(Bitboard, DiagramHasRankEightOnTop) {
    std::string empty = CaptureStdout([] { Displaybits(0); });
    std::string expected = "   A B C D E F G H\n\n";
    for (int rank = 8; rank >= 1; --rank)
        expected += std::to_string(rank) + "  - - - - - - - -  " + std::to_string(rank) + "\n";
    expected += "\n   A B C D E F G H\n";
    EXPECT_EQ(empty, expected);

    std::string corners = CaptureStdout([] { Displaybits(SquareBit(0) | SquareBit(63)); });
    EXPECT_NE(corners.find("8  - - - - - - - 1  8\n"), std::string::npos);
    EXPECT_NE(corners.find("1  1 - - - - - - -  1\n"), std::string::npos);
}
