// Perft through the real binary: the report, position files and the trace.
#include <gtest/gtest.h>

#include "e2e/Runner.h"

TEST(PerftRun, ReportOfCountsAndSpeed) {
    const struct {
        const char *depth, *position, *total, *leaves; // position: a file's line, or none for the initial one
    } cases[] = {
        {"2", nullptr, "420", "400"},
        {"0", nullptr, "0", "1"},                                                     // the root counts as a leaf
        {"1", "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq -", "0", "0"}, // mated: nothing to count
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"-perft", "-fd", c.depth};
        if (c.position) args.insert(args.end(), {"-lpf", TempFile("position.fen", c.position)});
        RunResult r = RunVelkor(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        const std::string report = std::string("Velkor \nStarting PerfT test \n") + c.total +
                                   " Total Nodes at Depth = " + c.depth + "\n" + c.leaves +
                                   " Leaf Nodes at Depth = " + c.depth + "\n";
        EXPECT_TRUE(Matches(r.out, "^" + report + "[0-9]+ NPS\n$")) << r.out;
    }
}

TEST(PerftRun, TraceWrapsEveryCountedMove) {
    RunResult r = RunVelkor({"-perft", "-fd", "2", "-trace"});
    ASSERT_EQ(r.exitCode, 0);
    const std::string head = "Velkor \nStarting PerfT test \n<Trace name=\"Perft\">\n"
                             "<Move name=\"{  b1a3 \nnodes 1\">\n"
                             "<Move name=\"{  b8a6 \nnodes 2\">\n</Move >\n} \n"
                             "<Move name=\"{  b8c6 \nnodes 3\">\n</Move >\n} \n";
    EXPECT_EQ(r.out.substr(0, head.size()), head);
    EXPECT_EQ(Count(r.out, "</Move >\n} \n"), 420);
    // The last root move closes after its last reply, then the trace ends.
    EXPECT_NE(r.out.find("nodes 420\">\n</Move >\n} \n</Move >\n} \n</Trace>\n420 Total Nodes at Depth = 2\n"
                         "400 Leaf Nodes at Depth = 2\n"),
              std::string::npos);
}

TEST(PerftRun, MissingKings) {
    RunResult r = RunVelkor({"-perft", "-fd", "1", "-lpf", TempFile("noking.fen", "4k3/8/8/8/8/8/8/4N3 w - -\n")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(Count(r.out, "Major Error: There is No king of a given color\n"), 2) << "reported at every node";
    EXPECT_NE(r.out.find("4 Leaf Nodes at Depth = 1\n"), std::string::npos) << r.out;
}
