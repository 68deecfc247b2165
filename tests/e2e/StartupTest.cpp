// Start-up: help, the console greeting and diagram, position files, the protocol chosen by the first word, the log.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "e2e/Runner.h"

namespace {

// The diagram for the ranks given from 8 down to 1.
std::string Diagram(std::vector<std::string> ranks) {
    std::string text = "   A B C D E F G H\n\n";
    for (int r = 8; r >= 1; --r) text += std::to_string(r) + "  " + ranks[8 - r] + "  " + std::to_string(r) + "\n";
    return text + "\n   A B C D E F G H\n";
}

} // namespace

TEST(Startup, HelpPrintsTheOptionListAndEnds) {
    const std::string expected = "Velkor \n"
                                 "xboard   used when interfacing with xboard\n"
                                 "-uci   used when interfacing with an UCI based GUI\n"
                                 "-bench  run an internal benchmark suite\n"
                                 "-fd  n    fixes search depth to n ply (min n = 3)\n"
                                 "-lpf filename  loads a position from file\n"
                                 "-pev  filename - run through a testsuite (EPD Format) & output full evaluation "
                                 "detail per position\n"
                                 "-sd  n   sets max search depth to n ply (min n = 3)\n"
                                 "-sp  self play\n"
                                 "-ts  filename run through a testsuite (EPD Format)\n";
    for (const char* option : {"-h", "-help"}) {
        RunResult r = RunVelkor({"-fd", "4", option, "-uci"}, "uci\n", 10);
        EXPECT_EQ(r.exitCode, 0) << option;
        EXPECT_EQ(r.out, expected) << option;
    }
}

TEST(Startup, ConsoleGreetsSaysTheOpponentShowsTheBoardAndWritesTheLogHeader) {
    RunResult r = RunVelkor({}, "", 10);
    EXPECT_FALSE(r.timedOut) << "end of input must not hang the engine";
    EXPECT_EQ(r.exitCode, 0);
    const std::string start = "Velkor \n\nHello! I am Velkor\nYou play White; Velkor plays at about 1500 Elo, 3 "
                              "seconds a move.\nType moves as e4, Nf3, exd5, O-O or e2e4. hint suggests a move, help "
                              "lists the commands.\n" +
                              Diagram({"r n b q k b n r", "p p p p p p p p", "- - - - - - - -", "- - - - - - - -",
                                       "- - - - - - - -", "- - - - - - - -", "P P P P P P P P", "R N B Q K B N R"});
    EXPECT_EQ(r.out.substr(0, start.size()), start);
    const std::string log = r.Log(); // the diagnostics go there (and on the screen with -v: the console's test)
    EXPECT_TRUE(Has(log, "\nMAXDEPTH = 56\n") && Has(log, "\n PosEval from White view 0\n")) << log;
    const std::string line = "=====================================\n\n";
    EXPECT_EQ(log.substr(0, 2 * line.size() + 12), line + "Next Match\n\n" + line) << log;
    EXPECT_TRUE(Has(RunVelkor({"-sd", "4"}, "").out, "about 1500 Elo, 3 seconds a move, at most 4 plies deep."));
    EXPECT_TRUE(Has(RunVelkor({"-st", "5"}, "").out, "Velkor plays at full strength, 5 seconds a move."));
    r = RunVelkor({}, "help\n", 20); // help says the opponent again
    EXPECT_EQ(Count(r.out, "Velkor plays at about 1500 Elo, 3 seconds a move."), 2) << r.out;
    EXPECT_TRUE(Has(r.out, "  hint            a move for you")) << r.out;
    // A position file sets the board and the sides.
    std::string path = TempFile("ending.fen", "4k3/8/8/8/8/8/4P3/4K3 b - - 0 1\nrnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP\n");
    r = RunVelkor({"-lpf", path}, "", 10);
    EXPECT_EQ(r.exitCode, 0);
    const std::string empty = "- - - - - - - -";
    EXPECT_TRUE(Has(r.out, "\nYou play Black; ") && Has(r.out, Diagram({"- - - - k - - -", empty, empty, empty, empty,
                                                                        empty, "- - - - P - - -", "- - - - K - - -"})))
        << r.out;
}

TEST(Startup, FirstWordOrArgumentChoosesTheProtocolAndNoLogIsNeeded) {
    // No greeting for a GUI; xboard mode clears the large tables at start, so it runs once only.
    for (const RunResult& r : {RunVelkor({"-uci"}, "", 10), RunVelkor({}, "uci\n"), RunVelkor({}, "xboard\n")}) {
        EXPECT_EQ(r.exitCode, 0) << "ends at the end of input";
        EXPECT_EQ(Count(r.out, "Hello! I am Velkor") + Count(r.out, "MAXDEPTH = "), 0) << r.out;
    }
    std::string dir = TempDir();
    ASSERT_EQ(mkdir((dir + "/match.log").c_str(), 0700), 0);
    RunResult r = RunVelkor({}, "", 10, dir);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(Lines(r.err).size(), 1u) << r.err;
    EXPECT_EQ(Count(r.out, "Hello! I am Velkor"), 1);
}
