// The -book option with the real binary: a file that is no book costs one
// line on standard error, never a word on standard output, and play goes on.
#include <gtest/gtest.h>

#include "e2e/Runner.h"

namespace {

TEST(BookOption, MissingFileGivesOneMessageAndTheEngineRuns) {
    const std::string path = "/nonexistent/velkor-uci/book.bin"; // its value turns on no other option
    RunResult console = RunVelkor({"-book", path}, "", 10);
    EXPECT_EQ(console.exitCode, 0);
    EXPECT_EQ(Lines(console.err),
              std::vector<std::string>{"Book file \"" + path + "\" not used: No such file or directory"});
    EXPECT_EQ(Count(console.out, "Hello! I am Velkor"), 1);
    EXPECT_FALSE(Has(console.out, "book.bin"));

    Session uci({"-uci", "-book", path});
    EXPECT_TRUE(uci.Step("uci", "uciok"));
    EXPECT_TRUE(uci.Step("position startpos moves e2e4\ngo depth 3", "bestmove"));
    EXPECT_EQ(uci.Finish(), 0);
    EXPECT_EQ(Lines(uci.err).size(), 1u) << uci.err;
    EXPECT_FALSE(Has(uci.out, "book.bin"));
}

TEST(BookOption, ABookFileLoadsWithoutAWord) {
    RunResult r = RunVelkor({"-book", TempFile("book.bin", std::string(32, '\0'))}, "", 10);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Count(r.out, "Hello! I am Velkor"), 1);
}

} // namespace
