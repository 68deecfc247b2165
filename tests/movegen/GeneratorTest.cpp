// The piece generators: castling conditions, promotions, en passant and
// the king-set messages.
#include <gtest/gtest.h>

#include "movegen/MoveNames.h"

namespace {

// The moves one generator appends from index 0 on a board set up from FEN.
template <class Gen>
std::vector<std::string> Generated(const char* fen, Gen gen) {
    static ChessBoard b;
    b = BoardFromFen(fen);
    MoveGen list;
    list.Board = &b;
    return ListOf(list, gen(list));
}

std::vector<std::string> Castles(const char* fen, char side, char castling) {
    return Generated(fen, [&](MoveGen& l) { return l.GenCastle(side, 0, castling); });
}

// MainBoard after the given moves from the FEN, as the front ends play them.
ChessBoard After(const char* fen, std::initializer_list<const char*> moves) {
    BoardFromFen(fen);
    for (const char* m : moves) {
        char mask;
        MainBoard.MakeMove(Sq(m), Sq(m + 2), NoPromotion, &mask);
        MainBoard.SideToMove ^= 1;
        MainBoard.Castling &= mask;
    }
    return MainBoard;
}

std::vector<std::string> PawnMoves(ChessBoard b, char side) {
    MoveGen list;
    list.Board = &b;
    return ListOf(list, list.GenPawns(side, 0));
}

} // namespace

TEST(Castling, BothSidesWhenFreeAndSafe) {
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
    EXPECT_EQ(Castles(fen, 0, 12), Words("")) << "black's rights do not let white castle";
    EXPECT_EQ(Castles(fen, 0, 1), Words("e1g1"));
    EXPECT_EQ(Castles(fen, 0, 2), Words("e1c1"));
    EXPECT_EQ(Castles(fen, 1, 8), Words("e8c8"));
}

TEST(Castling, AttackedSquaresOnTheKingsPath) {
    // A black bishop on a6 hits f1, on h5 hits d1, on h7 hits b1 only.
    EXPECT_EQ(Castles("4k3/8/b7/8/8/8/8/R3K2R w KQ -", 0, 3), Words("e1c1"));
    EXPECT_EQ(Castles("4k3/8/8/7b/8/8/8/R3K2R w KQ -", 0, 3), Words("e1g1"));
    EXPECT_EQ(Castles("4k3/7b/8/8/8/8/8/R3K2R w KQ -", 0, 3), Words("e1g1 e1c1"));
    EXPECT_EQ(Castles("4k3/8/8/8/8/8/8/R3K1nR w KQ -", 0, 3), Words("e1c1")) << "a knight on g1 blocks one side";
    EXPECT_EQ(Castles("4r1k1/8/8/8/8/8/8/R3K2R w KQ -", 0, 3), Words("")) << "no castling out of check";
    EXPECT_EQ(Castles("6k1/8/8/8/8/8/8/R3K2R w KQ -", 0, 3), Words("e1g1 e1c1"));
    EXPECT_EQ(Castles("6k1/8/8/8/8/8/7p/R3K2R w KQ -", 0, 3), Words("e1c1")) << "pawn on h2 hits g1";
    EXPECT_EQ(Castles("r3k2r/8/8/8/8/8/8/5Q2 b kq -", 1, 12), Words("e8c8")) << "queen on f1 hits f8";
}

TEST(Castling, EmptySquaresAndTheRookOnItsCorner) {
    EXPECT_EQ(Castles("4k3/8/8/8/8/8/8/RN2K1NR w KQ -", 0, 3), Words(""));
    EXPECT_EQ(Castles("4k3/8/8/8/8/8/8/R2QK2R w KQ -", 0, 3), Words("e1g1"));
    EXPECT_EQ(Castles("4k3/8/8/8/8/8/8/4K2Q w K -", 0, 1), Words("")) << "a queen is no rook";
    EXPECT_EQ(Castles("4k3/8/8/8/8/8/8/4K2r w K -", 0, 1), Words("")) << "nor is an enemy rook";
    // The right survives a captured rook in the search's masks; a rook that
    // comes back to the corner makes it usable again.
    ChessBoard b = After("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", {"a1a8", "h8h7", "a8b8", "h7h8"});
    EXPECT_EQ(b.Castling, 15 & 13 & 11);
    EXPECT_EQ(Castles("rR2k2r/8/8/8/8/8/8/4K2R b Kkq -", 1, 8), Words("")) << "b8 is occupied";
    EXPECT_EQ(Castles("r3k2r/8/8/8/8/8/8/4K2R b Kkq -", 1, 8), Words("e8c8"));
}

TEST(Promotions, OnlyQueensOnTheLastRank) {
    EXPECT_EQ(Generated("r3k3/1P6/8/8/8/8/8/4K3 w - -", [](MoveGen& l) { return l.GenPawns(0, 0); }),
              Words("b7b8Q b7a8Q"));
    EXPECT_EQ(Generated("4k3/8/8/8/8/8/6p1/4K2R b - -", [](MoveGen& l) { return l.GenPawns(1, 0); }),
              Words("g2g1q g2h1q"));
    EXPECT_EQ(Generated("1n2k3/P7/8/8/8/8/8/4K3 w - -", [](MoveGen& l) { return l.GenPawns(0, 0); }),
              Words("a7a8Q a7b8Q"));
    // A blocked pawn and one on the seventh rank of the other side stay quiet.
    EXPECT_EQ(Generated("1n2k3/1P6/8/8/8/8/1P6/4K3 w - -", [](MoveGen& l) { return l.GenPawns(0, 0); }),
              Words("b2b4 b2b3"));
    EXPECT_EQ(Generated("4k3/8/8/8/8/8/8/4K3 w - -", [](MoveGen& l) { return l.GenPawnCaptures(0, 0); }),
              Words(""));
    EXPECT_EQ(Generated("r3k3/1P6/8/8/8/8/8/4K3 w - -", [](MoveGen& l) { return l.GenPawnCaptures(0, 0); }),
              Words("b7a8")) << "the set-wise captures carry no promotion letter";
}

TEST(EnPassant, FromTheDoubleStepJustPlayed) {
    const char* fen = "4k3/2ppp3/8/2P1P3/8/8/8/4K3 b - -";
    EXPECT_EQ(PawnMoves(After(fen, {"d7d5"}), 0), Words("c5c6 c5d6 e5e6 e5d6"));
    EXPECT_EQ(PawnMoves(After(fen, {"d7d6", "e1e2", "d6d5"}), 0), Words("c5c6 e5e6")) << "two single steps";
    EXPECT_EQ(PawnMoves(After(fen, {"d7d5", "e1e2", "e8d8"}), 0), Words("c5c6 e5e6"))
        << "only right after the double step";
    EXPECT_EQ(PawnMoves(BoardFromFen("4k3/8/8/2PpP3/8/8/8/4K3 w - d6"), 0), Words("c5c6 e5e6"))
        << "the FEN field gives none";

    const char* black = "4k3/8/8/8/3p1p2/8/4P3/4K3 w - -";
    EXPECT_EQ(PawnMoves(After(black, {"e2e4"}), 1), Words("d4d3 d4e3 f4f3 f4e3"));
    EXPECT_EQ(PawnMoves(After("4k3/8/8/pP6/8/8/8/4K3 w - -", {"e1e2"}), 0), Words("b5b6"));
    EXPECT_EQ(PawnMoves(After("4k3/p7/8/1P6/8/8/8/4K3 b - -", {"a7a5"}), 0), Words("b5b6 b5a6"));
    EXPECT_EQ(PawnMoves(After("4k3/7p/8/6P1/8/8/8/4K3 b - -", {"h7h5"}), 0), Words("g5g6 g5h6"));
}

TEST(EnPassant, TheMoveRemovesThePawnItPasses) {
    ChessBoard b = After("4k3/3p4/8/4P3/8/8/8/4K3 b - -", {"d7d5", "e5d6"});
    EXPECT_EQ(b.BlackPawns, 0u);
    EXPECT_EQ(b.WhitePawns, Sq("d6"));
}

TEST(KingSet, MissingAndExtraKingsAreReported) {
    const char* noKing = "4k3/8/8/8/8/8/8/4N3 w - -";
    std::vector<std::string> moves;
    std::string out = CaptureStdout([&] {
        moves = Generated(noKing, [](MoveGen& l) { return l.GenKings(0, 0); });
    });
    EXPECT_EQ(out, "Major Error: There is No king of a given color\n");
    EXPECT_TRUE(moves.empty());
    out = CaptureStdout([&] {
        ChessBoard b = BoardFromFen(noKing);
        MoveGen list;
        EXPECT_EQ(list.GenerateAllMoves(0, &b, 0), 4);
    });
    EXPECT_EQ(out, "Major Error: There is No king of a given color\n"
                   "Major Error: There is No king of a given color\n");

    // Two white kings (text can't place them): one message per extra king, moves for both.
    ChessBoard b = BoardFromFen("4k3/8/8/8/8/8/8/Kn6 w - -");
    b.WhiteKing |= Sq("h1");
    b.WhitePieces |= Sq("h1");
    b.AllPieces |= Sq("h1");
    MoveGen list;
    list.Board = &b;
    out = CaptureStdout([&] { moves = ListOf(list, list.GenKings(0, 0)); });
    EXPECT_EQ(out, "Major Error: There is more than one king of a given color\n");
    EXPECT_EQ(moves, Words("a1a2 a1b2 h1g1 h1g2 h1h2"));
    out = CaptureStdout([&] { moves = ListOf(list, list.GenKingCaptures(0, 0)); });
    EXPECT_EQ(out, "Major Error: There is more than one king of a given color\n");
    EXPECT_EQ(moves, Words("a1b1"));
}
