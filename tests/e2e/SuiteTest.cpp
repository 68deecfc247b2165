// Test suites and benchmark reports, run through the real binary.
#include <gtest/gtest.h>

#include <regex>

#include "e2e/Runner.h"

namespace {

const char* const ThreePositions =
    "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1\n"
    "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3\n"
    "8/8/8/4k3/8/8/3PK3/8 w - - 0 1\n";

TEST(Suite, SearchesEachPositionToDepthThree) {
    const std::string suite = TempFile("three.epd", ThreePositions);
    RunResult r = RunVelkor({"-ts", suite});
    ASSERT_EQ(0, r.exitCode) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("## file opened " + suite + "\n## Entering ParseEPDSuite and Opened data file\n"));
    EXPECT_EQ(3, Count(r.out, "PosEval from White view"));
    EXPECT_NE(std::string::npos, r.out.find("3 109999    a1a8 \n"));
    // Every result line starts with the depth, then the score, three blanks and the move.
    std::regex result(R"(^3 -?\d+    [a-h][1-8][a-h][1-8].*$)");
    int results = 0;
    for (const std::string& line : Lines(r.out)) results += std::regex_match(line, result);
    EXPECT_EQ(3, results);
    EXPECT_EQ("3", Lines(r.out).back());
}

TEST(Suite, EvaluationListingRunsNoSearch) {
    RunResult r = RunVelkor({"-pev", TempFile("three.epd", ThreePositions)});
    ASSERT_EQ(0, r.exitCode);
    EXPECT_EQ(3, Count(r.out, "   A B C D E F G H\n\n"));
    EXPECT_EQ(0, Count(r.out, "PosEval"));
    EXPECT_EQ(0, Count(r.out, "    a1a8"));
}

TEST(Suite, StudentModePrintsOnlyTheCount) {
    RunResult r = RunVelkor({"-mimicstudent", TempFile("three.epd", ThreePositions)});
    ASSERT_EQ(0, r.exitCode);
    EXPECT_NE(std::string::npos, r.out.find("In ParseEPDSuite and Mimic == STUDENT \n3\n"));
    EXPECT_EQ(0, Count(r.out, "A B C"));
}

TEST(Suite, EmptyAndMissingFiles) {
    RunResult empty = RunVelkor({"-ts", TempFile("empty.epd", "")});
    EXPECT_EQ(0, empty.exitCode);
    EXPECT_NE(std::string::npos, empty.out.find("Opened data file\n0\n"));
    RunResult missing = RunVelkor({"-ts", "/nonexistent/suite.epd"});
    EXPECT_EQ(1, missing.exitCode);
    EXPECT_NE(std::string::npos, missing.out.find("ERROR: opening file /nonexistent/suite.epd\n"));
}

TEST(Suite, OverlongLineIsCut) {
    std::string line = "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1 " + std::string(5000, 'x') + "\n";
    RunResult r = RunVelkor({"-ts", TempFile("long.epd", line)});
    EXPECT_EQ(0, r.exitCode);
    EXPECT_EQ("1", Lines(r.out).back());
}

void ExpectReportBlock(const std::vector<std::string>& lines, size_t at) {
    ASSERT_LT(at + 4, lines.size());
    EXPECT_EQ("    Time Interior Nodes Quiesce Nodes Total Nodes        NPS", lines[at]);
    EXPECT_TRUE(std::regex_match(lines[at + 1], std::regex(R"(^[ \d]{8}[ \d]{12}[ \d]{14}[ \d]{14}[ \d]{12}$)")))
        << lines[at + 1];
    EXPECT_TRUE(std::regex_match(lines[at + 2], std::regex(R"(^Leaf Interior Nodes searched = \d+$)")));
    EXPECT_TRUE(std::regex_match(lines[at + 3],
                                 std::regex(R"(^Transposition Table Hits \d+  Misses  \d+  Ratio = \d+$)")));
    EXPECT_TRUE(std::regex_match(lines[at + 4], std::regex(R"(^Pawn misses \d+ Pawn attempts \d+ Pawn miss rate = .+$)")));
}

TEST(Bench, ReportLayout) {
    RunResult r = RunVelkor({"-bench", "-fd", "3"});
    ASSERT_EQ(0, r.exitCode);
    std::vector<std::string> lines = Lines(r.out);
    size_t at = 0;
    while (at < lines.size() && lines[at] != "Running benchmark 1 2 3 4 5 6") ++at;
    ASSERT_LT(at, lines.size()) << r.out;
    ExpectReportBlock(lines, at + 1);
}

TEST(Bench, SecondBenchmarkHasTwoReports) {
    RunResult r = RunVelkor({"-bench2", "-fd", "3"});
    ASSERT_EQ(0, r.exitCode);
    std::vector<std::string> lines = Lines(r.out);
    size_t first = 0;
    while (first < lines.size() && lines[first] != "Progressive Deepening") ++first;
    ASSERT_LT(first + 6, lines.size()) << r.out;
    EXPECT_EQ("Running benchmark ", lines[first - 1]);
    ExpectReportBlock(lines, first + 1);
    EXPECT_EQ("Running benchmark ", lines[first + 6]);
    EXPECT_EQ("Search Exact Depth", lines[first + 7]);
    ExpectReportBlock(lines, first + 8);
}

} // namespace
