// Bit scans, attack sets and attacked squares against plain step-by-step walks.
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

// Is the square attacked by a man of the colour opposite to `side`?
bool RefAttacked(const ChessBoard& b, int sq, int side) {
    const bool white = side == 1; // the attacker
    const int pawnSteps[2][2] = {{-1, white ? 1 : -1}, {1, white ? 1 : -1}};
    auto from = [&](u64 set, const int (*steps)[2], int n, bool slide) {
        for (; set; set &= set - 1)
            if (Walk(SquareOf(set), steps, n, slide, b.AllPieces) & SquareBit(sq)) return true;
        return false;
    };
    return from(white ? b.WhitePawns : b.BlackPawns, pawnSteps, 2, false) ||
           from(white ? b.WhiteKnights : b.BlackKnights, Jumps, 8, false) ||
           from(white ? b.WhiteKing : b.BlackKing, Diagonal, 4, false) ||
           from(white ? b.WhiteKing : b.BlackKing, Straight, 4, false) ||
           from(white ? b.WhiteBishops | b.WhiteQueens : b.BlackBishops | b.BlackQueens, Diagonal, 4, true) ||
           from(white ? b.WhiteRooks | b.WhiteQueens : b.BlackRooks | b.BlackQueens, Straight, 4, true);
}

} // namespace

TEST(Bitboard, ScansAndCountsAgreeWithTheMachineInstructions) {
    EXPECT_EQ(RightMostBit(0), 1);
    EXPECT_EQ(MybitScanForward(0), 64);
    EXPECT_EQ(MyLog2(0), -1);
    std::mt19937_64 rng(7);
    for (int i = 0; i < 20000; ++i) {
        u64 b = i < 64 ? u64(1) << i : rng() & rng();
        if (!b) continue;
        ASSERT_EQ(RightMostBit(b), __builtin_ctzll(b) + 1) << std::hex << b;
        ASSERT_EQ(MybitScanForward(b), __builtin_ctzll(b) + 1) << std::hex << b;
        ASSERT_EQ(SimpleBitCount(b), __builtin_popcountll(b));
        ASSERT_EQ(PieceSetCount(b), __builtin_popcountll(b));
        ASSERT_EQ(MyLog2(b), 63 - __builtin_clzll(b));
    }
    std::string corners = CaptureStdout([] { Displaybits(SquareBit(0) | SquareBit(63)); });
    EXPECT_NE(corners.find("8  - - - - - - - 1  8\n7  - - "), std::string::npos) << corners;
    EXPECT_NE(corners.find("1  1 - - - - - - -  1\n\n   A B C D E F G H\n"), std::string::npos) << corners;
}

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

TEST(Attacks, AttackedSquaresOnRandomBoards) {
    std::mt19937 rng(3);
    const char men[] = "PNBRQpnbrq";
    for (int trial = 0; trial < 300; ++trial) {
        std::string cells(64, '1');
        for (int i = 0; i < 10; ++i) cells[rng() % 64] = men[rng() % 10];
        cells[rng() % 64] = 'K';
        cells[rng() % 64] = 'k';
        std::string fen;
        for (int rank = 7; rank >= 0; --rank) fen += cells.substr(rank * 8, 8) + (rank ? "/" : " w - -");
        ChessBoard b = BoardFromFen(fen.c_str());
        for (int sq = 0; sq < 64; ++sq)
            for (char side : {0, 1})
                ASSERT_EQ(b.IsAttacked(SquareBit(sq), side), RefAttacked(b, sq, side)) << fen << " " << sq;
    }
}

TEST(Attacks, CheckMasksAndFileFills) {
    ChessBoard b = BoardFromFen("4r3/8/8/8/8/8/8/4K3 w - -");
    EXPECT_EQ(b.RookCheckMask(b.WhiteKing, b.BlackRooks), 0x1010101010101000ULL);
    EXPECT_EQ(b.BishopCheckMask(b.WhiteKing, b.BlackRooks), 0u);
    b = BoardFromFen("4r3/8/8/8/4P3/8/8/4K3 w - -");
    EXPECT_EQ(b.RookCheckMask(b.WhiteKing, b.BlackRooks), 0u);
    b = BoardFromFen("8/8/8/8/8/2q5/8/4K3 w - -");
    EXPECT_EQ(b.BishopCheckMask(b.WhiteKing, b.BlackQueens), Sq("d2") | Sq("c3"));
    EXPECT_EQ(BoardFromFen("8/8/8/8/8/8/P7/RN6 w - -").RookAttackCount(Sq("a1")), 0);
    EXPECT_EQ(BoardFromFen("8/8/8/8/8/8/p7/RN6 w - -").RookAttackCount(Sq("a1")), 1);
    u64 empty = ~(Sq("a1") | Sq("a6"));
    EXPECT_EQ(ChessBoard::NorthAttacks(Sq("a1"), empty), 0x0000010101010100ULL);
    EXPECT_EQ(ChessBoard::SouthAttacks(Sq("a6"), empty), 0x0000000101010101ULL);
}
