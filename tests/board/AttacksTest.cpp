// Attack sets against a square-by-square ray walk, and the check tests.
#include <gtest/gtest.h>

#include <random>

#include "board/ChessBoard.h"
#include "frontend/Status.h"
#include "support/TestBoards.h"

namespace {

// Reference: walk one step at a time, stopping on a man, the edge file of
// the direction, or off the board.
u64 Walk(u64 sq, int shift, u64 edge, u64 occupied) {
    if (sq & edge) return 0;
    u64 result = 0;
    for (u64 s = shift > 0 ? sq << shift : sq >> -shift;; s = shift > 0 ? s << shift : s >> -shift) {
        result |= s;
        if (!s || (s & occupied) || (s & edge)) break;
    }
    return result;
}

u64 RefBishop(u64 sq, u64 occ) {
    const Status& s = MainStatus;
    return Walk(sq, -7, s.FileH, occ) | Walk(sq, 9, s.FileH, occ) | Walk(sq, -9, s.FileA, occ) |
           Walk(sq, 7, s.FileA, occ);
}

u64 RefRook(u64 sq, u64 occ) {
    const Status& s = MainStatus;
    return Walk(sq, -8, 0, occ) | Walk(sq, 8, 0, occ) | Walk(sq, -1, s.FileA, occ) | Walk(sq, 1, s.FileH, occ);
}

u64 RefKnight(u64 sq) {
    const Status& s = MainStatus;
    u64 r = 0;
    if (!(sq & s.FilesGH)) r |= sq >> 6 | sq << 10;
    if (!(sq & s.FilesAB)) r |= sq >> 10 | sq << 6;
    if (!(sq & s.FileH)) r |= sq >> 15 | sq << 17;
    if (!(sq & s.FileA)) r |= sq >> 17 | sq << 15;
    return r;
}

u64 RefKing(u64 sq) {
    const Status& s = MainStatus;
    u64 r = sq << 8 | sq >> 8;
    if (!(sq & s.FileH)) r |= sq << 9 | sq >> 7 | sq << 1;
    if (!(sq & s.FileA)) r |= sq << 7 | sq >> 9 | sq >> 1;
    return r;
}

} // namespace

TEST(Attacks, MasksMatchTheRayWalkOnRandomOccupancies) {
    std::mt19937_64 rng(11);
    ChessBoard b = BoardFromFen("8/8/8/8/8/8/8/8 w - -");
    for (int trial = 0; trial < 300; ++trial) {
        b.AllPieces = rng() & rng();
        for (int square = 0; square < 64; ++square) {
            u64 sq = SquareBit(square);
            ASSERT_EQ(b.BishopMask(sq), RefBishop(sq, b.AllPieces)) << square;
            ASSERT_EQ(b.RookMask(sq), RefRook(sq, b.AllPieces)) << square;
            ASSERT_EQ(b.KnightMask(sq), RefKnight(sq)) << square;
            ASSERT_EQ(b.KingMask(sq), RefKing(sq)) << square;
        }
    }
    EXPECT_EQ(b.BishopMask(0), 0u);
}

TEST(Attacks, EdgeCases) {
    ChessBoard b = BoardFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
    EXPECT_EQ(b.KnightMask(Sq("a1")), Sq("b3") | Sq("c2"));
    EXPECT_EQ(b.KnightMask(Sq("h8")), Sq("g6") | Sq("f7"));
    EXPECT_EQ(b.KingMask(Sq("a1")), Sq("a2") | Sq("b1") | Sq("b2"));
    EXPECT_EQ(b.BishopMask(Sq("c1")), Sq("b2") | Sq("d2"));
    EXPECT_EQ(b.RookMask(Sq("a1")), Sq("a2") | Sq("b1"));
    b = BoardFromFen("8/8/8/8/8/8/8/8 w - -");
    EXPECT_EQ(b.BishopMask(Sq("h4")), Sq("g3") | Sq("f2") | Sq("e1") | Sq("g5") | Sq("f6") | Sq("e7") | Sq("d8"));
}

TEST(Attacks, CheckMasksAndInCheck) {
    ChessBoard b = BoardFromFen("4r3/8/8/8/8/8/8/4K3 w - -");
    u64 e2e8 = Sq("e2") | Sq("e3") | Sq("e4") | Sq("e5") | Sq("e6") | Sq("e7") | Sq("e8");
    EXPECT_EQ(b.RookCheckMask(b.WhiteKing, b.BlackRooks | b.BlackQueens), e2e8);
    EXPECT_TRUE(b.InCheck(b.WhiteKing, 0));
    EXPECT_EQ(b.BishopCheckMask(b.WhiteKing, b.BlackBishops | b.BlackQueens), 0u);
    b = BoardFromFen("4r3/8/8/8/4P3/8/8/4K3 w - -");
    EXPECT_EQ(b.RookCheckMask(b.WhiteKing, b.BlackRooks | b.BlackQueens), 0u);
    EXPECT_FALSE(b.InCheck(b.WhiteKing, 0));
    b = BoardFromFen("8/8/8/8/8/2q5/8/4K3 w - -");
    EXPECT_EQ(b.BishopCheckMask(b.WhiteKing, b.BlackBishops | b.BlackQueens), Sq("d2") | Sq("c3"));
}

TEST(Attacks, IsAttackedFindsEveryKindOfAttacker) {
    struct Case {
        const char* fen;
        const char* square;
        char side; // owner of the square
        bool attacked;
    } cases[] = {
        {"8/8/8/3p4/8/8/8/8 w - -", "e4", 0, true},  // black pawn from above
        {"8/8/8/3p4/8/8/8/8 w - -", "d4", 0, false}, // pawns do not attack ahead
        {"8/8/8/8/8/8/1P6/8 w - -", "a3", 1, true},  // white pawn from below
        {"8/8/8/8/8/8/7P/8 w - -", "a3", 1, false},  // no wrap from h2 to a3
        {"8/8/8/8/8/8/P7/8 w - -", "h2", 1, false},  // nor from a2 to h3 region
        {"8/8/8/8/8/5n2/8/8 w - -", "e1", 0, true},
        {"8/8/8/8/8/8/8/q6K w - -", "h1", 0, true},
        {"8/8/8/8/8/8/8/q5PK w - -", "h1", 0, false},
        {"7b/8/8/8/8/8/8/K7 w - -", "a1", 0, true},
        {"8/8/8/8/8/8/1k6/K7 w - -", "a1", 0, true},
    };
    for (const Case& c : cases) {
        ChessBoard b = BoardFromFen(c.fen);
        EXPECT_EQ(b.IsAttacked(Sq(c.square), c.side), c.attacked) << c.fen << " " << c.square;
    }
}

TEST(Attacks, RookCountAndFileFills) {
    ChessBoard b = BoardFromFen("8/8/8/8/8/8/P7/RN6 w - -");
    EXPECT_EQ(b.RookAttackCount(Sq("a1")), 0);
    b = BoardFromFen("8/8/8/8/8/8/p7/RN6 w - -");
    EXPECT_EQ(b.RookAttackCount(Sq("a1")), 1);
    u64 empty = ~(Sq("a1") | Sq("a6"));
    EXPECT_EQ(ChessBoard::NorthAttacks(Sq("a1"), empty), Sq("a2") | Sq("a3") | Sq("a4") | Sq("a5") | Sq("a6"));
    EXPECT_EQ(ChessBoard::SouthAttacks(Sq("a6"), empty), Sq("a5") | Sq("a4") | Sq("a3") | Sq("a2") | Sq("a1"));
}
