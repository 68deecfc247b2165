// The opening book: the choice of a book move, and its trace.
#include <gtest/gtest.h>

#include <algorithm>

#include "board/HashKeys.h"
#include "frontend/OpeningBook.h"
#include "frontend/Status.h"
#include "support/TestBoards.h"

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
    // The book move's index in the initial position for White with the rights, and what the lookup printed.
    int Choice(char castling = 15, std::string* printed = nullptr) {
        int index = 0;
        std::string out = CaptureStdout([&] { index = InBook(0, castling, BoardFromFen(initial)); });
        if (printed) *printed = out;
        return index;
    }
    void TearDown() override {
        std::fill(OpeningBook, OpeningBook + used_, BookKey{0, 0});
        std::fill(BookValue, BookValue + used_, 0);
        MainStatus.Trace = MainStatus.xboard = 0;
        buildbook();
    }
    long used_ = 0;
};

// The key pair of the position after the move from the initial position.
BookKey KeyAfter(const char* move) {
    ChessBoard b = After(initial, {move});
    BookKey key;
    genhashcode(1, b.Castling, &key.upper, &key.lower, &b);
    return key;
}

} // namespace

TEST_F(Book, EmptyBookHasNoMoves) {
    buildbook();
    EXPECT_EQ(booksize, 0);
    EXPECT_TRUE(BookTreeRoot()->index == 0 && !BookTreeRoot()->left && !BookTreeRoot()->right);
    EXPECT_EQ(BookTreeSearch(BookTreeRoot(), 1, 0), -1);
    std::string printed;
    EXPECT_EQ(Choice(15, &printed), -100);
    EXPECT_EQ(printed, "Look through the Opening Book\n");
    MainStatus.xboard = 1;
    EXPECT_EQ(Choice(15, &printed), -100);
    EXPECT_EQ(printed, "");
}

TEST_F(Book, SmallestValueWinsTheEarlierMoveWinsTiesAndTheTraceListsEveryMove) {
    // Generation order: b1a3 b1c3 g1f3 (2) ... d2d4 (10) ... e2e4 (12).
    Fill({{0, 0}, KeyAfter("e2e4"), KeyAfter("d2d4"), KeyAfter("g1f3")}, {0, 10, 5, 5});
    EXPECT_EQ(Choice(), 2);
    BookValue[3] = 6;
    EXPECT_EQ(Choice(), 10);
    EXPECT_EQ(Choice(3), -100) << "the castling rights are part of the key";
    MainStatus.Trace = MainStatus.xboard = 1;
    ChessBoard b = BoardFromFen(initial);
    MoveGen list;
    std::string expected, printed;
    for (const std::string& move : ListOf(list, list.GenerateAllMoves(0, &b, 15))) {
        const char* value = move == "e2e4" ? "10" : move == "d2d4" ? "5" : move == "g1f3" ? "6" : "Not in Book: 0";
        expected += "  { " + move + " \n  " + value + " " + move + " \n}\n";
    }
    EXPECT_EQ(Choice(15, &printed), 10);
    EXPECT_EQ(printed, expected);
}
