// The opening book: the choice of a book move.
#include <gtest/gtest.h>

#include "board/HashKeys.h"
#include "book/OpeningBook.h"
#include "core/Status.h"
#include "support/TestBoards.h"

namespace {

const char* const initial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

int Choice(char castling = 15) {
    int index = 0;
    CaptureStdout([&] { index = InBook(0, castling, BoardFromFen(initial)); });
    return index;
}

} // namespace

TEST(Book, EmptyBookHasNoMovesAndOneEntryIsFound) {
    buildbook();
    EXPECT_EQ(booksize, 0);
    EXPECT_EQ(Choice(), -100);
    // One entry after d2d4, the move with generation index 10; the castling rights are part of the key.
    ChessBoard b = After(initial, {"d2d4"});
    genhashcode(1, b.Castling, &OpeningBook[1].upper, &OpeningBook[1].lower, &b);
    BookValue[1] = 5;
    buildbooktree(2);
    EXPECT_EQ(Choice(), 10);
    EXPECT_EQ(Choice(3), -100);
    OpeningBook[1] = BookKey{0, 0};
    BookValue[1] = 0;
    buildbook();
}
