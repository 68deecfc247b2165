// The opening book: tree order, lookups and the choice of a book move.
#include <gtest/gtest.h>

#include "board/HashKeys.h"
#include "frontend/OpeningBook.h"
#include "frontend/Status.h"
#include "support/TestBoards.h"

namespace {

class Book : public testing::Test {
protected:
    // Fills entries 0.. with the given keys and values and builds the tree over them.
    void Fill(std::initializer_list<BookKey> keys, std::initializer_list<i32> values = {}) {
        int i = 0;
        for (const BookKey& k : keys) OpeningBook[i++] = k;
        i = 0;
        for (i32 v : values) BookValue[i++] = v;
        used_ = int(keys.size());
        buildbooktree(used_);
    }

    void TearDown() override {
        for (int i = 0; i < used_; ++i) {
            OpeningBook[i] = {0, 0};
            BookValue[i] = 0;
        }
        MainStatus.Trace = 0;
        MainStatus.xboard = 0;
        buildbook();
    }

    int used_ = 0;
};

// The key pair of the position after the move from the initial position.
BookKey KeyAfter(const char* move, char castling = 15) {
    ChessBoard b = BoardFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
    char mask;
    b.MakeMove(u64(1) << ((move[1] - '1') * 8 + move[0] - 'a'), u64(1) << ((move[3] - '1') * 8 + move[2] - 'a'),
               NoPromotion, &mask);
    BookKey key;
    genhashcode(1, castling & mask, &key.upper, &key.lower, &b);
    return key;
}

const char* const initial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

} // namespace

TEST_F(Book, EmptyBookIsARootForEntryZero) {
    buildbook();
    EXPECT_EQ(booksize, 0);
    const treenode* root = BookTreeRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->index, 0);
    EXPECT_EQ(root->left, nullptr);
    EXPECT_EQ(root->right, nullptr);
    EXPECT_EQ(BookTreeSearch(root, 0, 0), 0);
    EXPECT_EQ(BookTreeSearch(root, 1, 0), -1);
    EXPECT_EQ(BookTreeSearch(root, 0, 1), -1);
    EXPECT_EQ(BookTreeSearch(nullptr, 0, 0), -1);
}

TEST_F(Book, TreeOrderByUpperThenLowerKey) {
    Fill({{5, 1}, {3, 9}, {7, 0}});
    const treenode* root = BookTreeRoot();
    ASSERT_TRUE(root->left && root->right);
    EXPECT_EQ(root->left->index, 1);
    EXPECT_EQ(root->right->index, 2);

    // Equal upper keys go left when the lower key is smaller; exact duplicates are skipped.
    Fill({{5, 1}, {3, 9}, {7, 0}, {3, 4}, {7, 0}, {5, 2}, {6, 8}});
    root = BookTreeRoot();
    EXPECT_EQ(root->left->left->index, 3);
    EXPECT_EQ(root->right->right, nullptr);
    EXPECT_EQ(root->right->left->index, 5) << "(5, 2) is right of the root, then left of (7, 0)";
    EXPECT_EQ(root->right->left->right->index, 6);
    EXPECT_EQ(root->left->right, nullptr);
}

TEST_F(Book, LookupStopsAtTheFirstMatchingHalf) {
    Fill({{5, 1}, {3, 9}, {7, 0}, {3, 4}, {6, 8}});
    const treenode* root = BookTreeRoot();
    EXPECT_EQ(BookTreeSearch(root, 5, 1), 0);
    EXPECT_EQ(BookTreeSearch(root, 3, 9), 1);
    EXPECT_EQ(BookTreeSearch(root, 7, 0), 2);
    EXPECT_EQ(BookTreeSearch(root, 6, 8), 4);
    // (3, 4) sits below (3, 9): the equal upper key ends the walk there.
    EXPECT_EQ(BookTreeSearch(root, 3, 4), -1);
    Fill({{5, 1}, {7, 1}});
    EXPECT_EQ(BookTreeSearch(BookTreeRoot(), 7, 1), -1) << "a lower key equal to the root's fails without descending";
    EXPECT_EQ(BookTreeSearch(BookTreeRoot()->right, 7, 1), 1);
}

TEST_F(Book, NoBookMoveInAnOrdinaryPosition) {
    buildbook();
    ChessBoard b = BoardFromFen(initial);
    int index = 0;
    std::string out = CaptureStdout([&] { index = InBook(0, 15, b); });
    EXPECT_EQ(index, -100);
    EXPECT_EQ(out, "Look through the Opening Book\n");
    MainStatus.xboard = 1;
    out = CaptureStdout([&] { index = InBook(0, 15, b); });
    EXPECT_EQ(index, -100);
    EXPECT_EQ(out, "");
}

TEST_F(Book, SmallestValueWinsAndTheEarlierMoveWinsTies) {
    // Generation order: b1a3 b1c3 g1f3 g1h3 a2a4 a2a3 ... d2d4 (10) ... e2e4 (12).
    Fill({{0, 0}, KeyAfter("e2e4"), KeyAfter("d2d4"), KeyAfter("g1f3")}, {0, 10, 5, 5});
    ChessBoard b = BoardFromFen(initial);
    int index = 0;
    CaptureStdout([&] { index = InBook(0, 15, b); });
    EXPECT_EQ(index, 2);
    BookValue[3] = 6;
    CaptureStdout([&] { index = InBook(0, 15, b); });
    EXPECT_EQ(index, 10);
    // The castling rights are part of the key.
    CaptureStdout([&] { index = InBook(0, 3, b); });
    EXPECT_EQ(index, -100);
}

TEST_F(Book, TraceListsEveryMove) {
    Fill({{0, 0}, KeyAfter("b1c3")}, {0, -7});
    MainStatus.Trace = 1;
    MainStatus.xboard = 1;
    ChessBoard b = BoardFromFen(initial);
    int index = 0;
    std::string out = CaptureStdout([&] { index = InBook(0, 15, b); });
    EXPECT_EQ(index, 1);
    std::string expected;
    for (const char* move : {"b1a3", "b1c3", "g1f3", "g1h3", "a2a4", "a2a3", "b2b4", "b2b3", "c2c4", "c2c3",
                             "d2d4", "d2d3", "e2e4", "e2e3", "f2f4", "f2f3", "g2g4", "g2g3", "h2h4", "h2h3"}) {
        std::string text = std::string(" ") + move + " \n";
        expected += "  {" + text + "  " + (move == std::string("b1c3") ? "-7" : "Not in Book: 0") + text + "}\n";
    }
    EXPECT_EQ(out, expected);
}
