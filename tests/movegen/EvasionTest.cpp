// Check evasions: the check mask, counting checkers by kind, king steps
// that stay off the checker's line, en passant of a checking pawn.
#include <gtest/gtest.h>

#include "movegen/MoveNames.h"

namespace {

std::vector<std::string> Evasions(ChessBoard b, char side) {
    MoveGen list;
    list.MoveCount = -1;
    int count = list.GenCheckEvasions(side, &b);
    EXPECT_EQ(list.MoveCount, -1);
    EXPECT_EQ(b.AllPieces, MainBoard.AllPieces) << "the king is put back";
    return ListOf(list, count);
}

std::vector<std::string> Evasions(const char* fen) {
    ChessBoard b = BoardFromFen(fen);
    return Evasions(b, char(b.SideToMove));
}

} // namespace

TEST(Evasions, KingStepsThenCapturesAndInterpositions) {
    // King, then knight, rook, bishop, pawn and queen moves onto e2..e8.
    EXPECT_EQ(Evasions("4r2k/3P4/8/1Q5B/R7/2N5/8/4K3 w - -"),
              Words("e1d1 e1f1 e1d2 e1f2 c3e2 c3e4 a4e4 h5e2 h5e8 d7e8Q b5e2 b5e5"));
    // The king's own square no longer shields the square behind it.
    EXPECT_EQ(Evasions("4r2k/8/8/8/8/8/4K3/8 w - -"), Words("e2d1 e2f1 e2d2 e2f2 e2d3 e2f3"));
    // Pawns: single steps before double steps, promotions by push and capture.
    EXPECT_EQ(Evasions("7k/8/8/8/K6r/3PN3/2P1P3/8 w - -"), Words("a4a3 a4b3 a4a5 a4b5 e3c4 e3g4 d3d4 c2c4"));
    EXPECT_EQ(Evasions("K6r/2P3P1/8/8/8/8/8/7k w - -"), Words("a8a7 a8b7 c7c8Q g7g8Q g7h8Q"));
    EXPECT_EQ(Evasions("8/8/8/8/8/8/2p3p1/k6R b - -"), Words("a1a2 a1b2 c2c1q g2g1q g2h1q"));
}

TEST(Evasions, CheckersCountedByKind) {
    // Knight and rook: two checkers, king moves only.
    EXPECT_EQ(Evasions("4r2k/8/8/8/8/R2n4/8/4K3 w - -"), Words("e1d1 e1f1 e1d2"));
    // Rook and queen are one kind: moves into both lines are listed and
    // left to the legality test after the move.
    EXPECT_EQ(Evasions("4r2k/8/8/8/8/2N5/8/q3K3 w - -"), Words("e1d2 e1f2 c3b1 c3d1 c3e2 c3e4"));
    // Two pawns checking at once.
    EXPECT_EQ(Evasions("7k/8/8/3p1p2/4K3/8/8/R7 w - -"), Words("e4d3 e4e3 e4f3 e4d4 e4f4 e4d5 e4e5 e4f5"));
    // Mate: nothing to capture or block the rook with, nowhere to go.
    EXPECT_EQ(Evasions("R5k1/5ppp/8/8/8/8/8/6K1 b - -"), Words(""));
}

TEST(Evasions, EnPassantOfTheCheckingPawn) {
    EXPECT_EQ(Evasions(After("7k/5p2/8/4P3/6K1/8/8/8 b - -", {"f7f5"}), 0),
              Words("g4f3 g4g3 g4h3 g4f4 g4h4 g4f5 g4g5 g4h5 e5f6"));
    EXPECT_EQ(Evasions(After("8/8/8/6k1/4p3/8/5P2/K7 w - -", {"f2f4"}), 1),
              Words("g5f4 g5g4 g5h4 g5f5 g5h5 g5f6 g5g6 g5h6 e4f3"));
    // Pawns on both sides of the checker; the checker on the king's h-side.
    EXPECT_EQ(Evasions(After("7k/3p4/8/2P1P3/4K3/8/8/8 b - -", {"d7d5"}), 0),
              Words("e4d3 e4e3 e4f3 e4d4 e4f4 e4d5 e4f5 c5d6 e5d6"));
    // The same pawn checking after two single steps cannot be taken so.
    EXPECT_EQ(Evasions(After("7k/8/3p4/2P5/4K3/8/8/8 b - -", {"d6d5"}), 0),
              Words("e4d3 e4e3 e4f3 e4d4 e4f4 e4d5 e4e5 e4f5"));
}
