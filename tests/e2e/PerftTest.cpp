// Perft through the real binary: the report, position files and the trace.
#include <gtest/gtest.h>

#include "e2e/Runner.h"

namespace {

const char* const kiwipete = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -\n";
const char* const rookEnding = "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -\n";

// Checks the whole report but the speed figure, which must be a number.
void ExpectReport(const RunResult& r, const std::string& total, const std::string& leaves, int depth) {
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 5u) << r.out;
    EXPECT_EQ(lines[0], "Velkor ");
    EXPECT_EQ(lines[1], "Starting PerfT test ");
    EXPECT_EQ(lines[2], total + " Total Nodes at Depth = " + std::to_string(depth));
    EXPECT_EQ(lines[3], leaves + " Leaf Nodes at Depth = " + std::to_string(depth));
    EXPECT_NE(lines[4].find_first_of("0123456789"), std::string::npos);
    EXPECT_EQ(lines[4].find_first_not_of("0123456789"), lines[4].size() - 4);
    EXPECT_EQ(lines[4].substr(lines[4].size() - 4), " NPS");
}

} // namespace

TEST(PerftRun, InitialPosition) {
    ExpectReport(RunVelkor({"-perft", "-fd", "4"}), "206603", "197281", 4);
    ExpectReport(RunVelkor({"-fd", "1", "-perft"}), "20", "20", 1);
    ExpectReport(RunVelkor({"-perft", "-fd", "5"}), "5072212", "4865609", 5);
}

TEST(PerftRun, PositionsFromFiles) {
    ExpectReport(RunVelkor({"-perft", "-fd", "3", "-lpf", TempFile("kiwipete.fen", kiwipete)}), "99949", "97862", 3);
    ExpectReport(RunVelkor({"-lpf", TempFile("ending.fen", rookEnding), "-perft", "-fd", "4"}), "46255", "43238", 4);
    // Black to move and mated (fool's mate): nothing to count.
    std::string mated = TempFile("mated.fen", "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq -\n");
    ExpectReport(RunVelkor({"-perft", "-fd", "1", "-lpf", mated}), "0", "0", 1);
}

TEST(PerftRun, DepthZeroCountsTheRootAsALeaf) {
    RunResult r = RunVelkor({"-perft", "-fd", "0"});
    ExpectReport(r, "0", "1", 0);
    EXPECT_EQ(Lines(r.out)[4], "0 NPS");
}

TEST(PerftRun, MissingKingIsReportedAtEveryNode) {
    RunResult r = RunVelkor({"-perft", "-fd", "1", "-lpf", TempFile("noking.fen", "4k3/8/8/8/8/8/8/4N3 w - -\n")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(Count(r.out, "Major Error: There is No king of a given color\n"), 2);
    EXPECT_NE(r.out.find("4 Leaf Nodes at Depth = 1\n"), std::string::npos) << r.out;
}

TEST(PerftRun, TraceWrapsEveryCountedMove) {
    RunResult r = RunVelkor({"-perft", "-fd", "2", "-trace"});
    ASSERT_EQ(r.exitCode, 0);
    const std::string head = "Velkor \nStarting PerfT test \n<Trace name=\"Perft\">\n"
                             "<Move name=\"{  b1a3 \nnodes 1\">\n"
                             "<Move name=\"{  b8a6 \nnodes 2\">\n</Move >\n} \n"
                             "<Move name=\"{  b8c6 \nnodes 3\">\n</Move >\n} \n";
    EXPECT_EQ(r.out.substr(0, head.size()), head);
    EXPECT_EQ(Count(r.out, "<Move name=\"{ "), 420);
    EXPECT_EQ(Count(r.out, "</Move >\n} \n"), 420);
    // The last root move closes after its last reply, then the trace ends.
    EXPECT_NE(r.out.find("<Move name=\"{  h2h3 \nnodes 400\">\n"), std::string::npos);
    EXPECT_NE(r.out.find("nodes 420\">\n</Move >\n} \n</Move >\n} \n</Trace>\n420 Total Nodes at Depth = 2\n"
                         "400 Leaf Nodes at Depth = 2\n"),
              std::string::npos);
}

TEST(PerftRun, IllegalMovesAreNeitherCountedNorTraced) {
    // The knight on e7 is pinned: only the four king steps count.
    std::string fen = TempFile("pinned.fen", "4k3/4n3/8/8/8/8/8/K3R3 b - -\n");
    RunResult r = RunVelkor({"-perft", "-fd", "1", "-trace", "-lpf", fen});
    EXPECT_EQ(Count(r.out, "<Move name="), 4) << r.out;
    EXPECT_NE(r.out.find("4 Leaf Nodes at Depth = 1\n"), std::string::npos);
}
