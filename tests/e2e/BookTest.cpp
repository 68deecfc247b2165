// The -book option: a file that is no book costs one line on standard error, nothing on standard output.
#include <gtest/gtest.h>

#include <set>

#include "e2e/Runner.h"

namespace {

TEST(BookOption, MissingFileGivesOneMessageABookNoneAndTheEngineRuns) {
    const std::string missing = "/nonexistent/velkor-uci/book.bin"; // its value turns on no other option
    for (const std::string& book : {missing, TempFile("book.bin", std::string(32, '\0'))}) {
        RunResult console = RunVelkor({"-book", book}, "", 10);
        EXPECT_EQ(console.exitCode, 0);
        EXPECT_EQ(console.err,
                  book == missing ? "Book file \"" + book + "\" not used: No such file or directory\n" : "");
        EXPECT_EQ(Count(console.out, "Hello! I am Velkor"), 1);
        EXPECT_FALSE(Has(console.out, "book.bin"));
    }
    RunResult uci = RunVelkor({"-uci", "-book", missing}, "uci\nposition startpos moves e2e4\ngo depth 3\n", 10);
    EXPECT_TRUE(uci.exitCode == 0 && Has(uci.out, "bestmove") && !Has(uci.out, "book.bin"));
    EXPECT_EQ(Lines(uci.err).size(), 1u) << uci.err;
}

// A book of the initial position (three moves) and of the one after e2e4 (one reply).
std::string SmallBook() {
    const struct {
        unsigned long long key;
        const char* move;
    } entries[] = {{0x463b96181691fc9cULL, "d2d4"},
                   {0x463b96181691fc9cULL, "e2e4"},
                   {0x463b96181691fc9cULL, "g1f3"},
                   {0x823c9b50fd114196ULL, "c7c5"}};
    std::string bytes;
    for (const auto& e : entries) {
        for (int shift = 56; shift >= 0; shift -= 8) bytes += char(e.key >> shift);
        const char* m = e.move;
        const int packed = (m[1] - '1') << 9 | (m[0] - 'a') << 6 | (m[3] - '1') << 3 | (m[2] - 'a');
        bytes += {char(packed >> 8), char(packed), 0, 1, 0, 0, 0, 0};
    }
    return TempFile("small.bin", bytes);
}

std::string BestMoves(const std::string& book, const std::string& seed) {
    RunResult r = RunVelkor({},
                            "uci\nsetoption name BookFile value " + book + "\nsetoption name BookSeed value " + seed +
                                "\nposition startpos\ngo depth 4\nposition startpos moves e2e4\ngo depth 4\n"
                                "position startpos moves e2e4 c7c5\ngo depth 2\nisready\n",
                            20);
    EXPECT_EQ(Count(r.out, "info string book move\n"), 2) << r.out;
    std::string moves;
    for (const std::string& line : Lines(r.out))
        if (line.rfind("bestmove ", 0) == 0) moves += line.substr(9, 4) + " ";
    return moves;
}

} // namespace

TEST(BookOption, UciBookMovesRepeatWithTheSameSeed) {
    const std::string book = SmallBook();
    const std::string first = BestMoves(book, "7");
    EXPECT_TRUE(first.rfind("d2d4 c7c5 ", 0) == 0 || first.rfind("e2e4 c7c5 ", 0) == 0 ||
                first.rfind("g1f3 c7c5 ", 0) == 0)
        << first;
    EXPECT_EQ(BestMoves(book, "7"), first);
    std::set<std::string> seen;
    for (const char* seed : {"1", "2", "3", "4", "5", "6"}) seen.insert(BestMoves(book, seed).substr(0, 4));
    EXPECT_GT(seen.size(), 1u) << "the choice is random";
}
