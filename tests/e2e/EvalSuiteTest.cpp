// "-eval FILE": one evaluation line per EPD line, through the real binary.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "e2e/Runner.h"

namespace {

std::vector<std::string> FileLines(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return Lines(text.str());
}

TEST(EvalOption, ReferencePositionsScoreExactly) {
    std::string file = std::string(VELKOR_TEST_DATA) + "/eval_reference.epd";
    RunResult r = RunVelkor({"-eval", file});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0);
    const int expected[] = {0,   0,    460,  -460, 10600, -10600, -960, 960,   330,   -1970, 5770,
                            -2220, 875, 270, -270, 2307,  -2307,  7590, -1610, 5700,  5700};
    std::vector<std::string> positions = FileLines(file);
    ASSERT_EQ(positions.size(), std::size(expected));
    std::vector<std::string> out = Lines(r.out);
    ASSERT_EQ(out.size(), positions.size() + 1) << r.out;
    EXPECT_EQ(out[0], "Velkor ");
    for (size_t i = 0; i < positions.size(); ++i)
        EXPECT_EQ(out[i + 1], std::to_string(expected[i]) + " " + positions[i]);
}

TEST(EvalOption, ResultsDoNotDependOnTheOrderOfLines) {
    // Equal pawns, different kings: each line must get its own pawn record.
    std::string a = "4k3/pp6/8/8/8/8/PP6/K7 w - - 0 1", b = "k7/pp6/8/8/8/8/PP6/4K3 w - - 0 1";
    RunResult ab = RunVelkor({"-eval", TempFile("ab.epd", a + "\n" + b + "\n")});
    RunResult ba = RunVelkor({"-eval", TempFile("ba.epd", b + "\n" + a + "\n")});
    std::vector<std::string> x = Lines(ab.out), y = Lines(ba.out);
    ASSERT_EQ(x.size(), 3u);
    ASSERT_EQ(y.size(), 3u);
    EXPECT_EQ(x[1], y[2]);
    EXPECT_EQ(x[2], y[1]);
}

TEST(EvalOption, UnreadableFile) {
    RunResult r = RunVelkor({"-eval", "/nonexistent/positions.epd"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("ERROR: opening file /nonexistent/positions.epd\n"), std::string::npos) << r.out;
}

TEST(EvalOption, EmptyFilePrintsNothingMore) {
    RunResult r = RunVelkor({"-eval", TempFile("empty.epd", "")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "Velkor \n");
}

TEST(EvalOption, MalformedLinesNeverCrash) {
    std::string lines = "\n"
                        "xyz\n"
                        "8/8/8 w\n"
                        "99999999999999999999/////////////////////// b KQkq\n"
                        "QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQKQQQ/qqqqkqqq/qqqqqqqq/qqqqqqqq/qqqqqqqq w - -\n"
                        "PPPPPPPP/pppppppp/8/4k3/8/8/PPPPPPPP/ppppKppp w - -\n"
                        "RRRRRRRR/RRRRRRRR/RRRRRRRR/8/8/k7/8/K7 b - -\r\n" +
                        std::string(5000, 'P') + "\n";
    RunResult r = RunVelkor({"-eval", TempFile("bad.epd", lines)});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Lines(r.out).size(), 1u + 8u);
    EXPECT_EQ(r.err.find("runtime error"), std::string::npos) << r.err;
}

} // namespace
