// The geometry masks of the settings record.
#include <gtest/gtest.h>

#include "frontend/Status.h"
#include "support/TestBoards.h"

TEST(Geometry, FilesRanksAndGroups) {
    const Status& s = MainStatus;
    const u64 files[8] = {s.FileA, s.FileB, s.FileC, s.FileD, s.FileE, s.FileF, s.FileG, s.FileH};
    const u64 ranks[8] = {s.Rank1, s.Rank2, s.Rank3, s.Rank4, s.Rank5, s.Rank6, s.Rank7, s.Rank8};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(files[i], 0x0101010101010101ULL << i);
        EXPECT_EQ(ranks[i], 0xffULL << (8 * i));
    }
    EXPECT_EQ(s.FilesGH, 0xc0c0c0c0c0c0c0c0ULL);
    EXPECT_EQ(s.FilesAB, 0x0303030303030303ULL);
    EXPECT_EQ(s.FilesFGH, 0xe0e0e0e0e0e0e0e0ULL);
    EXPECT_EQ(s.FilesABC, 0x0707070707070707ULL);
    EXPECT_EQ(s.WhiteHalf, 0x00000000ffffffffULL);
    EXPECT_EQ(s.BlackHalf, 0xffffffff00000000ULL);
}

TEST(Geometry, ChainsDiagonalsColoursAndCorners) {
    const Status& s = MainStatus;
    EXPECT_EQ(s.ChainF5E6D7, 0x0008102000000000ULL);
    EXPECT_EQ(s.ChainC5D6E7, 0x0010080400000000ULL);
    EXPECT_EQ(s.ChainF4E5D6, 0x0000081020000000ULL);
    EXPECT_EQ(s.ChainC4D5E6, 0x0000100804000000ULL);
    EXPECT_EQ(s.ChainD2E3F4, 0x0000000020100800ULL);
    EXPECT_EQ(s.ChainE2D3C4, 0x0000000004081000ULL);
    EXPECT_EQ(s.ChainD3E4F5, 0x0000002010080000ULL);
    EXPECT_EQ(s.ChainE3D4C5, 0x0000000408100000ULL);
    EXPECT_EQ(s.DiagH2C7, Sq("h2") | Sq("g3") | Sq("f4") | Sq("e5") | Sq("d6") | Sq("c7"));
    EXPECT_EQ(s.DiagG2B7, Sq("g2") | Sq("f3") | Sq("e4") | Sq("d5") | Sq("c6") | Sq("b7"));
    EXPECT_EQ(s.DiagF2A7, Sq("f2") | Sq("e3") | Sq("d4") | Sq("c5") | Sq("b6") | Sq("a7"));
    EXPECT_EQ(s.DiagC2H7, Sq("c2") | Sq("d3") | Sq("e4") | Sq("f5") | Sq("g6") | Sq("h7"));
    EXPECT_EQ(s.DiagB2G7, Sq("b2") | Sq("c3") | Sq("d4") | Sq("e5") | Sq("f6") | Sq("g7"));
    EXPECT_EQ(s.DiagA2F7, Sq("a2") | Sq("b3") | Sq("c4") | Sq("d5") | Sq("e6") | Sq("f7"));
    EXPECT_EQ(s.LightSquares, 0x55aa55aa55aa55aaULL);
    EXPECT_EQ(s.DarkSquares, 0xaa55aa55aa55aa55ULL);
    EXPECT_EQ(s.LightSquares | s.DarkSquares, ~0ULL);
    EXPECT_EQ(s.LightSquares & s.DarkSquares, 0ULL);
    EXPECT_TRUE(s.LightSquares & Sq("h1"));
    EXPECT_TRUE(s.DarkSquares & Sq("a1"));
    EXPECT_EQ(s.Corners, 0x8100000000000081ULL);
}

TEST(Geometry, SingleSquares) {
    const Status& s = MainStatus;
    const std::pair<u64, const char*> squares[] = {
        {s.SquareH8, "h8"}, {s.SquareH7, "h7"}, {s.SquareF7, "f7"}, {s.SquareG7, "g7"}, {s.SquareH6, "h6"},
        {s.SquareF6, "f6"}, {s.SquareG6, "g6"}, {s.SquareA8, "a8"}, {s.SquareA7, "a7"}, {s.SquareC7, "c7"},
        {s.SquareA6, "a6"}, {s.SquareB7, "b7"}, {s.SquareC6, "c6"}, {s.SquareB6, "b6"}, {s.SquareH1, "h1"},
        {s.SquareH2, "h2"}, {s.SquareF2, "f2"}, {s.SquareG2, "g2"}, {s.SquareH3, "h3"}, {s.SquareF3, "f3"},
        {s.SquareG3, "g3"}, {s.SquareA1, "a1"}, {s.SquareA2, "a2"}, {s.SquareC2, "c2"}, {s.SquareB2, "b2"},
        {s.SquareA3, "a3"}, {s.SquareC3, "c3"}, {s.SquareB3, "b3"}, {s.SquareB8, "b8"}, {s.SquareG8, "g8"},
        {s.SquareB1, "b1"}, {s.SquareG1, "g1"}};
    for (const auto& [mask, name] : squares) EXPECT_EQ(mask, Sq(name)) << name;
}
