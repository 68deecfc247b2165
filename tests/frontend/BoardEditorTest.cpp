// The xboard position editor, word by word and read from the input.
#include <gtest/gtest.h>

#include "board/ChessBoard.h"
#include "frontend/GameLoop.h"
#include "frontend/InputFeed.h"
#include "frontend/Platform.h"

namespace {

void Edit(std::initializer_list<const char*> words) {
    char colour = 0;
    for (const char* w : words) EditBoard(w, &colour);
}

TEST(BoardEditor, ColourSwitchedBeforeTheMenAreAdded) {
    MainBoard.InitRep();
    Edit({"#", "c", "Pe4", "Ke1", "Rh1", "."});
    EXPECT_EQ(MainBoard.BlackPawns, SquareBit(28));
    EXPECT_EQ(MainBoard.BlackKing, SquareBit(4));
    EXPECT_EQ(MainBoard.BlackRooks, SquareBit(7));
    EXPECT_EQ(MainBoard.WhitePieces, 0u);
    EXPECT_EQ(MainBoard.AllPieces, SquareBit(28) | SquareBit(4) | SquareBit(7));
    EXPECT_EQ(MainBoard.Castling, 0); // castling looks at white men on e1/h1/a1 only
}

TEST(BoardEditor, CastlingRightsFromKingsAndRooksOnTheirHomeSquares) {
    Edit({"#", "Ke1", "Rh1", "Ra1", "c", "Ke8", "Ra8", "."});
    EXPECT_EQ(MainBoard.Castling, 1 + 2 + 8);
    Edit({"xe1"});
    EXPECT_EQ(MainBoard.Castling, 8);
    EXPECT_FALSE(MainBoard.WhiteKing);
    EXPECT_FALSE(MainBoard.AllPieces & SquareBit(4));
}

TEST(BoardEditor, AddingOnAnOccupiedSquareReplacesTheMan) {
    MainBoard.InitRep();
    Edit({"Qe2"});
    EXPECT_TRUE(MainBoard.WhiteQueens & SquareBit(12));
    EXPECT_FALSE(MainBoard.WhitePawns & SquareBit(12));
    Edit({"Ke4"}); // a second king moves the first
    EXPECT_EQ(MainBoard.WhiteKing, SquareBit(28));
}

TEST(BoardEditor, MalformedWordsChangeNothing) {
    MainBoard.InitRep();
    u64 before = MainBoard.AllPieces;
    Edit({"Pz9", "K", "P", "xq9", "", "Ze4", "N#"});
    EXPECT_EQ(MainBoard.AllPieces, before);
}

TEST(BoardEditor, ReadsWordsUpToTheDotAndStopsAtTheEndOfInput) {
    FeedInput("# Ka1 c Kh8 . e2e4\n");
    SetupBoardFromEdit();
    EXPECT_EQ(MainBoard.WhiteKing, SquareBit(0));
    EXPECT_EQ(MainBoard.BlackKing, SquareBit(63));
    char rest[8];
    ASSERT_TRUE(ReadWord(rest, sizeof rest));
    EXPECT_STREQ(rest, "e2e4");
    FeedInput("# Ka1");
    SetupBoardFromEdit(); // no "." before the end: returns all the same
    EXPECT_EQ(MainBoard.AllPieces, SquareBit(0));
}

} // namespace
