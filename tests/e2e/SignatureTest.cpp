// The engine's signature: the node totals of the benchmarks at a fixed
// depth, in reports of the fixed layout. Any change to move generation,
// ordering, search or evaluation that alters them must be intended, and
// these figures updated with it.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "e2e/Runner.h"

namespace {

// Checks the layout of each report block and returns the blocks without their time and speed columns.
std::string Counts(const std::string& out) {
    const char* const layout[] = {R"(^[ \d]{8}[ \d]{12}[ \d]{14}[ \d]{14}[ \d]{12}$)",
                                  R"(^Leaf Interior Nodes searched = \d+$)",
                                  R"(^Transposition Table Hits \d+  Misses  \d+  Ratio = \d+$)",
                                  R"(^Pawn misses \d+ Pawn attempts \d+ Pawn miss rate = .+$)"};
    std::ostringstream counts;
    std::vector<std::string> lines = Lines(out);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != "    Time Interior Nodes Quiesce Nodes Total Nodes        NPS") continue;
        if (i + 4 >= lines.size()) return "a cut report";
        for (int k = 1; k <= 4; ++k)
            EXPECT_TRUE(std::regex_match(lines[i + k], std::regex(layout[k - 1]))) << lines[i + k];
        std::istringstream row(lines[i + 1]);
        long long time, interior, quiesce, total;
        row >> time >> interior >> quiesce >> total;
        counts << interior << ' ' << quiesce << ' ' << total << '\n'
               << lines[i + 2] << '\n'
               << lines[i + 3] << '\n'
               << lines[i + 4] << '\n';
    }
    return counts.str();
}

} // namespace

TEST(Signature, BenchAtDepthEight) {
    RunResult r = RunVelkor({"-bench", "-fd", "8"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("\nRunning benchmark 1 2 3 4 5 6\n    Time Interior"), std::string::npos) << r.out;
    EXPECT_EQ("391561 464464 856025\n"
              "Leaf Interior Nodes searched = 56171\n"
              "Transposition Table Hits 17399  Misses  192584  Ratio = 8\n"
              "Pawn misses 52644 Pawn attempts 594310 Pawn miss rate = 8.858\n",
              Counts(r.out));
}

TEST(Signature, SecondBenchAtDepthEight) {
    RunResult r = RunVelkor({"-bench2", "-fd", "8"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("\nRunning benchmark \nProgressive Deepening\n    Time Interior"), std::string::npos);
    EXPECT_NE(r.out.find("\nRunning benchmark \nSearch Exact Depth\n    Time Interior"), std::string::npos);
    EXPECT_EQ("59891 94046 153937\n"
              "Leaf Interior Nodes searched = 7081\n"
              "Transposition Table Hits 1780  Misses  31544  Ratio = 5\n"
              "Pawn misses 4228 Pawn attempts 117953 Pawn miss rate = 3.58448\n"
              "65178 106661 171839\n"
              "Leaf Interior Nodes searched = 5573\n"
              "Transposition Table Hits 2232  Misses  63054  Ratio = 3\n"
              "Pawn misses 9694 Pawn attempts 248524 Pawn miss rate = 3.90063\n",
              Counts(r.out));
}

// "velkor bench [DEPTH]" as testing frameworks run it: the same benchmark, its
// last line the node total and the speed, which they read as the build's
// signature. "-bench" ends with its report as before.
TEST(Signature, BenchCommandEndsWithNodesAndSpeed) {
    RunResult r = RunVelkor({"bench", "8"});
    ASSERT_EQ(r.exitCode, 0);
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(std::regex_match(lines.back(), std::regex(R"(856025 nodes \d+ nps)"))) << lines.back();
    EXPECT_EQ(Counts(r.out), Counts(RunVelkor({"-bench", "-fd", "8"}).out));
    EXPECT_EQ(Lines(RunVelkor({"-bench", "-fd", "8"}).out).back().rfind("Pawn misses", 0), 0u);
    r = RunVelkor({"bench", "3", "-fd", "2"}); // the options after it still apply
    EXPECT_TRUE(std::regex_search(r.out, std::regex(R"(\n\d+ nodes \d+ nps\n$)")));
    EXPECT_EQ(Counts(r.out), Counts(RunVelkor({"-bench", "-fd", "2"}).out));
}

TEST(Signature, BenchCommandDefaultsToDepthEleven) {
    RunResult r = RunVelkor({"bench"}, "", 300);
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(std::regex_search(r.out, std::regex(R"(\n3366396 nodes \d+ nps\n$)"))) << r.out;
}
