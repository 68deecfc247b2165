// Polyglot books: keys against the published vectors, a written book read back, files that are not books.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "book/PolyglotBook.h"
#include "frontend/shared/GameRecord.h"
#include "support/TestBoards.h"

namespace {

const char* const initial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
const char* const castles = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -";
const char* const promotes = "7k/P7/8/8/8/8/8/K7 w - -";

// MainBoard after the moves from the initial position, played as the game plays them.
const ChessBoard& Played(const std::vector<const char*>& moves) {
    BoardFromFen(initial);
    for (const char* m : moves) {
        PlayGameMove(SquareFromText(m), SquareFromText(m + 2), NoPromotion);
        MainBoard.SideToMove ^= 1;
    }
    return MainBoard;
}

u64 KeyOf(const ChessBoard& b) { return PolyglotKey(b, char(b.SideToMove), char(b.Castling)); }

// "e1h1" with a promotion field, as the format packs it.
u16 Packed(const char* move, int promotion = 0) {
    return u16(promotion << 12 | (move[1] - '1') << 9 | (move[0] - 'a') << 6 | (move[3] - '1') << 3 | (move[2] - 'a'));
}

// A book file of the entries, sorted by key as the format requires.
std::string BookFile(std::vector<PolyglotEntry> entries) {
    std::stable_sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.key < b.key; });
    std::string bytes;
    for (const PolyglotEntry& e : entries) {
        for (int shift = 56; shift >= 0; shift -= 8) bytes += char(e.key >> shift);
        bytes += {char(e.move >> 8), char(e.move), char(e.weight >> 8), char(e.weight), 0, 0, 0, 0};
    }
    return TempFile("book.bin", bytes);
}

std::vector<std::string> Names(const std::vector<BookMove>& moves) {
    std::vector<std::string> names;
    for (const BookMove& m : moves)
        names.push_back(MoveName(m.move.from, m.move.to, m.move.promote) + ":" + std::to_string(m.weight));
    return names;
}

TEST(PolyglotBook, KeysMatchEveryPublishedVector) {
    const std::pair<u64, std::vector<const char*>> vectors[] = {
        {0x463b96181691fc9c, {}},
        {0x823c9b50fd114196, {"e2e4"}},
        {0x0756b94461c50fb0, {"e2e4", "d7d5"}},
        {0x662fafb965db29d4, {"e2e4", "d7d5", "e4e5"}},
        {0x22a48b5a8e47ff78, {"e2e4", "d7d5", "e4e5", "f7f5"}},
        {0x652a607ca3f242c1, {"e2e4", "d7d5", "e4e5", "f7f5", "e1e2"}},
        {0x00fdd303c946bdd9, {"e2e4", "d7d5", "e4e5", "f7f5", "e1e2", "e8f7"}},
        {0x3c8123ea7b067637, {"a2a4", "b7b5", "h2h4", "b5b4", "c2c4"}},
        {0x5c3f9b829b279560, {"a2a4", "b7b5", "h2h4", "b5b4", "c2c4", "b4c3", "a1a3"}},
    };
    for (const auto& [key, moves] : vectors) EXPECT_EQ(KeyOf(Played(moves)), key) << moves.size() << " moves";
}

TEST(PolyglotBook, RightOfACapturedCornerRookIsNotInTheKey) {
    BoardFromFen(castles);
    PlayGameMove(7, 63, NoPromotion); // Rxh8: the board still grants black's king side
    EXPECT_EQ(PolyglotKey(MainBoard, 1, char(MainBoard.Castling)), PolyglotKey(MainBoard, 1, 2 | 8));
}

TEST(PolyglotBook, ReadsAWrittenBookAndChoosesOnlyLegalWeightedMoves) {
    const u64 start = KeyOf(Played({})), castle = KeyOf(BoardFromFen(castles)), promote = KeyOf(BoardFromFen(promotes));
    const u64 blackCastles = PolyglotKey(BoardFromFen(castles), 1, 15);
    const std::string path = BookFile({
        {0, Packed("a2a3"), 9},
        {~u64(0), Packed("a2a3"), 9}, // neighbours of other keys
        {start, Packed("e2e4"), 10},
        {start, Packed("d2d4"), 0}, // weight 0: never played
        {start, Packed("e2e5"), 100},
        {start, Packed("e1h1"), 50}, // not legal here
        {start, Packed("g1f3"), 5},
        {castle, Packed("e1h1"), 3},
        {blackCastles, Packed("e8a8"), 4},
        {promote, Packed("a7a8", 1), 2},
        {promote, Packed("a7a8", 7), 2}, // promotion field out of range
    });
    PolyglotBook book;
    std::string message;
    ASSERT_TRUE(book.Open(path, &message)) << message;
    EXPECT_EQ(book.Size(), 11);
    EXPECT_EQ(book.Entries(start).size(), 5u);
    EXPECT_EQ(Names(book.Moves(Played({}), 0, 15)), (std::vector<std::string>{"e2e4:10", "g1f3:5"}));
    EXPECT_EQ(Names(book.Moves(BoardFromFen(castles), 0, 15)), std::vector<std::string>{"e1g1:3"});
    EXPECT_EQ(Names(book.Moves(BoardFromFen(castles), 1, 15)), std::vector<std::string>{"e8c8:4"});
    EXPECT_EQ(Names(book.Moves(BoardFromFen(promotes), 0, 0)), std::vector<std::string>{"a7a8N:2"});
    EXPECT_TRUE(book.Moves(Played({"e2e4"}), 1, 15).empty());

    auto draws = [&](u64 seed) {
        book.Seed(seed);
        std::vector<std::string> seen;
        Move m;
        for (int i = 0; i < 60 && book.Choose(Played({}), 0, 15, &m); ++i)
            seen.push_back(MoveName(m.from, m.to, m.promote));
        return seen;
    };
    const std::vector<std::string> first = draws(7);
    EXPECT_EQ(draws(7), first) << "the same seed repeats the choices";
    const long e4 = std::count(first.begin(), first.end(), "e2e4"), f3 = std::count(first.begin(), first.end(), "g1f3");
    EXPECT_EQ(e4 + f3, 60);
    EXPECT_TRUE(e4 > f3 && f3 > 0) << "weights 10 and 5: " << e4 << " " << f3;
}

TEST(PolyglotBook, FilesThatAreNotBooksLeaveNoBookAndOneMessage) {
    const std::string good = BookFile({{KeyOf(Played({})), Packed("e2e4"), 1}});
    const std::string inDir = TempFile("x", ""), dir = inDir.substr(0, inDir.rfind('/'));
    const std::map<std::string, std::string> bad = {
        {"/nonexistent/velkor/book.bin", "No such file or directory"},
        {TempFile("empty.bin", ""), "empty"},
        {TempFile("odd.bin", std::string(17, 'x')), "17 bytes"},
        {dir, "directory"},
    };
    std::string message;
    Move move;
    for (const auto& [path, why] : bad) {
        ASSERT_TRUE(LoadPolyglotBook(good, &message));
        EXPECT_TRUE(PolyglotBookMove(Played({}), 0, 15, &move));
        EXPECT_FALSE(LoadPolyglotBook(path, &message));
        EXPECT_NE(message.find("\"" + path + "\" not used: "), std::string::npos);
        EXPECT_TRUE(message.find(why) != std::string::npos && message.find('\n') == std::string::npos) << message;
        EXPECT_FALSE(PolyglotBookLoaded());
        EXPECT_FALSE(PolyglotBookMove(Played({}), 0, 15, &move));
    }
    UnloadPolyglotBook();
}

} // namespace
