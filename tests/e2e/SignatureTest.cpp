// The engine's signature: the benchmarks' node totals at a fixed depth, in their fixed layout.
// A change to move generation, ordering, search or evaluation that alters them must be intended.
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

// "-bench" ends with its report; "velkor bench [DEPTH]", as testing frameworks run it, with the node
// total and the speed, which they read as the build's signature. Options after it still apply.
TEST(Signature, BenchAtDepthEightAndTheBenchCommand) {
    RunResult r = RunVelkor({"-bench", "-fd", "8"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(Has(r.out, "\nRunning benchmark 1 2 3 4 5 6\n    Time Interior")) << r.out;
    EXPECT_EQ("391561 464464 856025\n"
              "Leaf Interior Nodes searched = 56171\n"
              "Transposition Table Hits 17399  Misses  192584  Ratio = 8\n"
              "Pawn misses 52644 Pawn attempts 594310 Pawn miss rate = 8.858\n",
              Counts(r.out));
    EXPECT_EQ(Lines(r.out).back().rfind("Pawn misses", 0), 0u);
    RunResult command = RunVelkor({"bench", "8"});
    ASSERT_EQ(command.exitCode, 0);
    EXPECT_TRUE(Matches(command.out, R"(\n856025 nodes \d+ nps\n$)")) << Tail(command.out);
    EXPECT_EQ(Counts(command.out), Counts(r.out));
    r = RunVelkor({"bench", "3", "-fd", "2"});
    EXPECT_TRUE(Matches(r.out, R"(\n\d+ nodes \d+ nps\n$)"));
    EXPECT_EQ(Counts(r.out), Counts(RunVelkor({"-bench", "-fd", "2"}).out));
}

TEST(Signature, SecondBenchAtDepthEightAndTheBenchCommandAtEleven) {
    RunResult r = RunVelkor({"-bench2", "-fd", "8"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(Has(r.out, "\nRunning benchmark \nProgressive Deepening\n    Time Interior"));
    EXPECT_TRUE(Has(r.out, "\nRunning benchmark \nSearch Exact Depth\n    Time Interior"));
    EXPECT_EQ("59891 94046 153937\n"
              "Leaf Interior Nodes searched = 7081\n"
              "Transposition Table Hits 1780  Misses  31544  Ratio = 5\n"
              "Pawn misses 4228 Pawn attempts 117953 Pawn miss rate = 3.58448\n"
              "65178 106661 171839\n"
              "Leaf Interior Nodes searched = 5573\n"
              "Transposition Table Hits 2232  Misses  63054  Ratio = 3\n"
              "Pawn misses 9694 Pawn attempts 248524 Pawn miss rate = 3.90063\n",
              Counts(r.out));
    r = RunVelkor({"bench"}, "", 300);
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(Matches(r.out, R"(\n3366396 nodes \d+ nps\n$)")) << Tail(r.out);
}
