// Runs over position files: the suites -ts, -pev and -mimicstudent, and -eval pinning the evaluation's scores.
#include <gtest/gtest.h>

#include <regex>

#include "e2e/Runner.h"

namespace {

const char* const ThreePositions = "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1\n"
                                   "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3\n"
                                   "8/8/8/4k3/8/8/3PK3/8 w - - 0 1\n";

} // namespace

// Each position to depth three, one overlong with trailing words included.
TEST(Suite, SearchesEachPositionToDepthThree) {
    const std::string suite = TempFile("four.epd", ThreePositions + std::string("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1 ") +
                                                       std::string(5000, 'x') + "\n");
    RunResult r = RunVelkor({"-ts", suite});
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_TRUE(Has(r.out, "## file opened " + suite + "\n## Entering ParseEPDSuite and Opened data file\n"));
    EXPECT_EQ(Count(r.out, "\n3 109999    a1a8 "), 2);
    // Every result line starts with the depth, then the score, three blanks and the move.
    const std::regex result(R"(^3 -?\d+    [a-h][1-8][a-h][1-8].*$)");
    int results = 0;
    for (const std::string& line : Lines(r.out)) results += std::regex_match(line, result);
    EXPECT_EQ(results, 4);
    EXPECT_EQ(Lines(r.out).back(), "4");
}

// A pawnless root's pawn key 0 meets the empty pawn-hash slot (no open file): the file terms differ there.
TEST(Suite, PawnlessRootReadsTheEmptyPawnSlot) {
    const std::string suite = TempFile("kqr.epd", "6k1/8/8/8/8/2n5/8/R2QK3 w - - 0 1\n");
    EXPECT_TRUE(Has(RunVelkor({"-ts", suite, "-fd", "5"}).out, "\n5 16680    d1g4 "));
    EXPECT_TRUE(Has(RunVelkor({"-ts", suite, "-fd", "6"}).out, "\n6 17020    d1b3 "));
}

TEST(Suite, EvaluationListingAndStudentMode) {
    RunResult r = RunVelkor({"-pev", TempFile("three.epd", ThreePositions)});
    EXPECT_EQ(Count(r.out, "   A B C D E F G H\n\n"), 3);
    EXPECT_EQ(Count(r.out, "PosEval") + Count(r.out, "    a1a8"), 0) << "no search";
    r = RunVelkor({"-mimicstudent", TempFile("three.epd", ThreePositions)});
    EXPECT_TRUE(Has(r.out, "In ParseEPDSuite and Mimic == STUDENT \n3\n"));
    EXPECT_EQ(Count(r.out, "A B C"), 0);
}

TEST(EvalOption, ReferencePositionsScoreExactly) {
    const std::string file = std::string(VELKOR_TEST_DATA) + "/eval_reference.epd";
    const int expected[] = {0,     0,   460, -460, 10600, -10600, -960, 960,   330,  -1970, 5770,
                            -2220, 875, 270, -270, 2307,  -2307,  7590, -1610, 5700, 5700};
    std::vector<std::string> positions = Lines(ReadFile(file));
    ASSERT_EQ(positions.size(), std::size(expected));
    RunResult r = RunVelkor({"-eval", file});
    EXPECT_EQ(r.exitCode, 0);
    std::vector<std::string> out = Lines(r.out);
    ASSERT_EQ(out.size(), positions.size() + 1) << r.out;
    EXPECT_EQ(out[0], "Velkor ");
    for (size_t i = 0; i < positions.size(); ++i)
        EXPECT_EQ(out[i + 1], std::to_string(expected[i]) + " " + positions[i]);
}

TEST(EvalOption, ResultsDoNotDependOnTheOrderOfLinesAndMalformedOnesAreSkipped) {
    // Equal pawns, different kings: each line gets its own pawn record.
    std::string a = "4k3/pp6/8/8/8/8/PP6/K7 w - - 0 1", b = "k7/pp6/8/8/8/8/PP6/4K3 w - - 0 1";
    std::vector<std::string> x = Lines(RunVelkor({"-eval", TempFile("ab.epd", a + "\n" + b + "\n")}).out);
    std::vector<std::string> y = Lines(RunVelkor({"-eval", TempFile("ba.epd", b + "\n" + a + "\n")}).out);
    ASSERT_TRUE(x.size() == 3 && y.size() == 3);
    EXPECT_TRUE(x[1] == y[2] && x[2] == y[1]) << x[1] << " / " << y[2];
    const std::string bad = "\nxyz\n8/8/8 w\n99999999999999999999/////////////////////// b KQkq\n"
                            "QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQKQQQ/qqqqkqqq/qqqqqqqq/qqqqqqqq/qqqqqqqq w - -\n"
                            "RRRRRRRR/RRRRRRRR/RRRRRRRR/8/8/k7/8/K7 b - -\r\n" +
                            std::string(5000, 'P') + "\n";
    RunResult r = RunVelkor({"-eval", TempFile("bad.epd", bad)});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Lines(r.out).size(), 1u + 7u);
    EXPECT_EQ(r.err.find("runtime error"), std::string::npos) << r.err;
}
