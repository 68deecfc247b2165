// The opening book: tree order, lookups and the choice of a book move.
#include <gtest/gtest.h>

#include <algorithm>

#include "board/HashKeys.h"
#include "frontend/OpeningBook.h"
#include "frontend/Status.h"
#include "movegen/MoveNames.h"

namespace {

const char* const initial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

class Book : public testing::Test {
protected:
    // Entries 0.. get the keys and values; the tree is built over them.
    void Fill(std::initializer_list<BookKey> keys, std::initializer_list<i32> values = {}) {
        std::copy(keys.begin(), keys.end(), OpeningBook);
        std::copy(values.begin(), values.end(), BookValue);
        buildbooktree(used_ = long(keys.size()));
    }

    void TearDown() override {
        std::fill(OpeningBook, OpeningBook + used_, BookKey{0, 0});
        std::fill(BookValue, BookValue + used_, 0);
        MainStatus.Trace = 0;
        MainStatus.xboard = 0;
        buildbook();
    }

    long used_ = 0;
};

// The key pair of the position after the move from the initial position.
BookKey KeyAfter(const char* move) {
    ChessBoard b = BoardFromFen(initial);
    char mask;
    b.MakeMove(Sq(move), Sq(move + 2), NoPromotion, &mask);
    BookKey key;
    genhashcode(1, 15 & mask, &key.upper, &key.lower, &b);
    return key;
}

} // namespace

TEST_F(Book, EmptyBookHasNoMoves) {
    buildbook();
    EXPECT_EQ(booksize, 0);
    const treenode* root = BookTreeRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(root->index == 0 && !root->left && !root->right);
    EXPECT_EQ(BookTreeSearch(root, 0, 0), 0);
    EXPECT_EQ(BookTreeSearch(root, 1, 0), -1);

    ChessBoard b = BoardFromFen(initial);
    int index = 0;
    EXPECT_EQ(CaptureStdout([&] { index = InBook(0, 15, b); }), "Look through the Opening Book\n");
    EXPECT_EQ(index, -100);
    MainStatus.xboard = 1;
    EXPECT_EQ(CaptureStdout([&] { index = InBook(0, 15, b); }), "");
    EXPECT_EQ(index, -100);
}

TEST_F(Book, TreeOrderAndLookups) {
    Fill({{5, 1}, {3, 9}, {7, 0}});
    const treenode* root = BookTreeRoot();
    ASSERT_TRUE(root->left && root->right);
    EXPECT_EQ(root->left->index, 1);
    EXPECT_EQ(root->right->index, 2);

    // Equal upper keys go left on a smaller lower key; exact duplicates (entry 4) are skipped.
    Fill({{5, 1}, {3, 9}, {7, 0}, {3, 4}, {7, 0}, {5, 2}, {6, 8}});
    root = BookTreeRoot();
    EXPECT_EQ(root->left->left->index, 3);
    EXPECT_EQ(root->right->left->index, 5);
    EXPECT_EQ(root->right->left->right->index, 6);
    EXPECT_EQ(root->right->right, nullptr);
    for (int i : {0, 1, 2, 6}) EXPECT_EQ(BookTreeSearch(root, OpeningBook[i].upper, OpeningBook[i].lower), i);
    // (3, 4) and (5, 2) hang below entries whose equal upper key ends the walk first.
    EXPECT_EQ(BookTreeSearch(root, 3, 4), -1);
    EXPECT_EQ(BookTreeSearch(root, 5, 2), -1);
    // A lower key equal to the root's ends the walk at once.
    Fill({{5, 1}, {7, 1}});
    EXPECT_EQ(BookTreeSearch(BookTreeRoot(), 7, 1), -1);
    EXPECT_EQ(BookTreeSearch(BookTreeRoot()->right, 7, 1), 1);
}

TEST_F(Book, SmallestValueWinsAndTheEarlierMoveWinsTies) {
    // Generation order: b1a3 b1c3 g1f3 (2) ... d2d4 (10) ... e2e4 (12).
    Fill({{0, 0}, KeyAfter("e2e4"), KeyAfter("d2d4"), KeyAfter("g1f3")}, {0, 10, 5, 5});
    ChessBoard b = BoardFromFen(initial);
    int index = 0;
    CaptureStdout([&] { index = InBook(0, 15, b); });
    EXPECT_EQ(index, 2);
    BookValue[3] = 6;
    CaptureStdout([&] { index = InBook(0, 15, b); });
    EXPECT_EQ(index, 10);
    CaptureStdout([&] { index = InBook(0, 3, b); });
    EXPECT_EQ(index, -100) << "the castling rights are part of the key";
}

TEST_F(Book, TraceListsEveryMove) {
    Fill({{0, 0}, KeyAfter("b1c3")}, {0, -7});
    MainStatus.Trace = 1;
    MainStatus.xboard = 1;
    ChessBoard b = BoardFromFen(initial);
    MoveGen list;
    std::vector<std::string> moves = ListOf(list, list.GenerateAllMoves(0, &b, 15));
    std::string expected;
    for (const std::string& move : moves) {
        std::string text = " " + move + " \n";
        expected += "  {" + text + "  " + (move == "b1c3" ? "-7" : "Not in Book: 0") + text + "}\n";
    }
    int index = 0;
    EXPECT_EQ(CaptureStdout([&] { index = InBook(0, 15, b); }), expected);
    EXPECT_EQ(index, 1);
}
