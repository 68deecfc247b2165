// The piece generators: castling conditions, promotions, en passant and
// the king-set messages.
#include <gtest/gtest.h>

#include "movegen/MoveNames.h"

namespace {

// The moves one generator appends from index 0.
template <class Gen>
std::vector<std::string> Generated(ChessBoard b, Gen gen) {
    MoveGen list;
    list.Board = &b;
    return ListOf(list, gen(list));
}

std::vector<std::string> Castles(const char* fen, char side, char castling) {
    return Generated(BoardFromFen(fen), [&](MoveGen& l) { return l.GenCastle(side, 0, castling); });
}

std::vector<std::string> PawnMoves(ChessBoard b, char side) {
    return Generated(b, [&](MoveGen& l) { return l.GenPawns(side, 0); });
}

} // namespace

TEST(Castling, RightsFreeSquaresAndTheRook) {
    const char* fen = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -";
    ChessBoard b = BoardFromFen(fen);
    MoveGen list;
    list.Board = &b;
    list.OrderValue[0] = list.OrderValue[1] = -1;
    ASSERT_EQ(list.GenCastle(0, 0, 3), 2);
    EXPECT_EQ(ListOf(list, 2), Words("e1g1 e1c1"));
    EXPECT_EQ(list.OrderValue[0], 800);
    EXPECT_EQ(list.OrderValue[1], 800);
    EXPECT_EQ(Castles(fen, 1, 12), Words("e8g8 e8c8"));
    EXPECT_EQ(Castles(fen, 0, 12), Words(""));
    EXPECT_EQ(Castles(fen, 0, 2), Words("e1c1"));
    EXPECT_EQ(Castles(fen, 1, 4), Words("e8g8"));
    EXPECT_EQ(Castles("4k3/8/8/8/8/8/8/RN2K1NR w KQ -", 0, 3), Words(""));
    EXPECT_EQ(Castles("4k3/8/8/8/8/8/8/R2QK2R w KQ -", 0, 3), Words("e1g1"));
    EXPECT_EQ(Castles("4k3/8/8/8/8/8/8/4K2Q w K -", 0, 1), Words("")) << "a queen is no rook";
    EXPECT_EQ(Castles("4k3/8/8/8/8/8/8/4K2r w K -", 0, 1), Words("")) << "nor is an enemy rook";
    EXPECT_EQ(Castles("rR2k2r/8/8/8/8/8/8/4K2R b Kkq -", 1, 8), Words("")) << "b8 must be empty too";
}

TEST(Castling, NoAttackedSquareOnTheKingsPath) {
    // A black bishop on a6 hits f1, on h5 hits d1, on h7 only b1.
    EXPECT_EQ(Castles("4k3/8/b7/8/8/8/8/R3K2R w KQ -", 0, 3), Words("e1c1"));
    EXPECT_EQ(Castles("4k3/8/8/7b/8/8/8/R3K2R w KQ -", 0, 3), Words("e1g1"));
    EXPECT_EQ(Castles("4k3/7b/8/8/8/8/8/R3K2R w KQ -", 0, 3), Words("e1g1 e1c1"));
    EXPECT_EQ(Castles("4r1k1/8/8/8/8/8/8/R3K2R w KQ -", 0, 3), Words("")) << "not out of check";
    EXPECT_EQ(Castles("6k1/8/8/8/8/8/7p/R3K2R w KQ -", 0, 3), Words("e1c1")) << "the pawn on h2 hits g1";
    EXPECT_EQ(Castles("r3k2r/8/8/8/8/8/8/5Q2 b kq -", 1, 12), Words("e8c8"));
}

TEST(Promotions, OnlyQueensOnTheLastRank) {
    EXPECT_EQ(PawnMoves(BoardFromFen("r3k3/1P6/8/8/8/8/8/4K3 w - -"), 0), Words("b7b8Q b7a8Q"));
    EXPECT_EQ(PawnMoves(BoardFromFen("4k3/8/8/8/8/8/6p1/4K2R b - -"), 1), Words("g2g1q g2h1q"));
    EXPECT_EQ(PawnMoves(BoardFromFen("1n2k3/1P6/8/8/8/8/1P6/4K3 w - -"), 0), Words("b2b4 b2b3")) << "blocked";
    auto setWise = [](MoveGen& l) { return l.GenPawnCaptures(0, 0); };
    EXPECT_EQ(Generated(BoardFromFen("r3k3/1P6/8/8/8/8/8/4K3 w - -"), setWise), Words("b7a8"))
        << "the set-wise captures carry no promotion letter";
}

TEST(EnPassant, OnlyRightAfterTheDoubleStep) {
    const char* fen = "4k3/2ppp3/8/2P1P3/8/8/8/4K3 b - -";
    EXPECT_EQ(PawnMoves(After(fen, {"d7d5"}), 0), Words("c5c6 c5d6 e5e6 e5d6"));
    EXPECT_EQ(PawnMoves(After(fen, {"d7d6", "e1e2", "d6d5"}), 0), Words("c5c6 e5e6")) << "two single steps";
    EXPECT_EQ(PawnMoves(After(fen, {"d7d5", "e1e2", "e8d8"}), 0), Words("c5c6 e5e6")) << "one move too late";
    EXPECT_EQ(PawnMoves(BoardFromFen("4k3/8/8/2PpP3/8/8/8/4K3 w - d6"), 0), Words("c5c6 e5e6"))
        << "the FEN field gives none";
    EXPECT_EQ(PawnMoves(After("4k3/8/8/8/3p1p2/8/4P3/4K3 w - -", {"e2e4"}), 1), Words("d4d3 d4e3 f4f3 f4e3"));
    EXPECT_EQ(PawnMoves(After("4k3/p7/8/1P6/8/8/8/4K3 b - -", {"a7a5"}), 0), Words("b5b6 b5a6"));
    EXPECT_EQ(PawnMoves(After("4k3/7p/8/6P1/8/8/8/4K3 b - -", {"h7h5"}), 0), Words("g5g6 g5h6"));
}

TEST(KingSet, MissingAndExtraKingsAreReported) {
    ChessBoard b = BoardFromFen("4k3/8/8/8/8/8/8/1n6 w - -");
    MoveGen list;
    list.Board = &b;
    int count = 1;
    EXPECT_EQ(CaptureStdout([&] { count = list.GenKings(0, 0); }), "Major Error: There is No king of a given color\n");
    EXPECT_EQ(count, 0);
    EXPECT_EQ(CaptureStdout([&] { count = list.GenerateAllMoves(0, &b, 0); }),
              "Major Error: There is No king of a given color\nMajor Error: There is No king of a given color\n");

    // Two white kings (text can't place them): one message per extra king, moves for both.
    b.WhiteKing = Sq("a1") | Sq("h1");
    b.WhitePieces = b.WhiteKing;
    b.AllPieces = b.WhitePieces | b.BlackPieces;
    std::vector<std::string> moves;
    const std::string extra = "Major Error: There is more than one king of a given color\n";
    EXPECT_EQ(CaptureStdout([&] { moves = ListOf(list, list.GenKings(0, 0)); }), extra);
    EXPECT_EQ(moves, Words("a1a2 a1b2 h1g1 h1g2 h1h2"));
    EXPECT_EQ(CaptureStdout([&] { moves = ListOf(list, list.GenKingCaptures(0, 0)); }), extra);
    EXPECT_EQ(moves, Words("a1b1"));
}
