// The engine's signature: the node totals of the benchmarks at a fixed
// depth. Any change to move generation, ordering, search or evaluation
// that alters them must be intended, and these figures updated with it.
#include <gtest/gtest.h>

#include <sstream>

#include "e2e/Runner.h"

namespace {

// The report blocks without their time and speed columns.
std::string Counts(const std::string& out) {
    std::ostringstream counts;
    std::vector<std::string> lines = Lines(out);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("    Time Interior", 0) == 0 && i + 1 < lines.size()) {
            std::istringstream row(lines[++i]);
            long long time, interior, quiesce, total;
            row >> time >> interior >> quiesce >> total;
            counts << interior << ' ' << quiesce << ' ' << total << '\n';
        } else if (lines[i].rfind("Leaf", 0) == 0 || lines[i].rfind("Transposition", 0) == 0 ||
                   lines[i].rfind("Pawn misses", 0) == 0) {
            counts << lines[i] << '\n';
        }
    }
    return counts.str();
}

TEST(Signature, BenchAtDepthEight) {
    RunResult r = RunVelkor({"-bench", "-fd", "8"});
    ASSERT_EQ(0, r.exitCode);
    EXPECT_EQ("391446 464286 855732\n"
              "Leaf Interior Nodes searched = 56183\n"
              "Transposition Table Hits 17394  Misses  192498  Ratio = 8\n"
              "Pawn misses 52594 Pawn attempts 594136 Pawn miss rate = 8.85218\n",
              Counts(r.out));
}

TEST(Signature, SecondBenchAtDepthEight) {
    RunResult r = RunVelkor({"-bench2", "-fd", "8"});
    ASSERT_EQ(0, r.exitCode);
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

} // namespace
