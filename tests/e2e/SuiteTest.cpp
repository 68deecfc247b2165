// Test suites through the real binary: "-ts", "-pev" and "-mimicstudent".
#include <gtest/gtest.h>

#include <regex>

#include "e2e/Runner.h"

namespace {

const char* const ThreePositions = "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1\n"
                                   "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3\n"
                                   "8/8/8/4k3/8/8/3PK3/8 w - - 0 1\n";

} // namespace

TEST(Suite, SearchesEachPositionToDepthThree) {
    const std::string suite = TempFile("three.epd", ThreePositions);
    RunResult r = RunVelkor({"-ts", suite});
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("## file opened " + suite + "\n## Entering ParseEPDSuite and Opened data file\n"),
              std::string::npos);
    EXPECT_EQ(Count(r.out, "PosEval from White view"), 3);
    EXPECT_NE(r.out.find("3 109999    a1a8 \n"), std::string::npos);
    // Every result line starts with the depth, then the score, three blanks and the move.
    const std::regex result(R"(^3 -?\d+    [a-h][1-8][a-h][1-8].*$)");
    int results = 0;
    for (const std::string& line : Lines(r.out)) results += std::regex_match(line, result);
    EXPECT_EQ(results, 3);
    EXPECT_EQ(Lines(r.out).back(), "3");
}

TEST(Suite, EvaluationListingAndStudentMode) {
    RunResult r = RunVelkor({"-pev", TempFile("three.epd", ThreePositions)});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(Count(r.out, "   A B C D E F G H\n\n"), 3);
    EXPECT_EQ(Count(r.out, "PosEval") + Count(r.out, "    a1a8"), 0) << "no search";
    r = RunVelkor({"-mimicstudent", TempFile("three.epd", ThreePositions)});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("In ParseEPDSuite and Mimic == STUDENT \n3\n"), std::string::npos);
    EXPECT_EQ(Count(r.out, "A B C"), 0);
}

TEST(Suite, EmptyMissingAndOverlong) {
    RunResult r = RunVelkor({"-ts", TempFile("empty.epd", "")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("Opened data file\n0\n"), std::string::npos);
    r = RunVelkor({"-ts", "/nonexistent/suite.epd"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("ERROR: opening file /nonexistent/suite.epd\n"), std::string::npos);
    r = RunVelkor({"-ts", TempFile("long.epd", "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1 " + std::string(5000, 'x') + "\n")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(Lines(r.out).back(), "1");
}
