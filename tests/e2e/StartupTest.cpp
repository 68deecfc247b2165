// Start-up of the real binary: help, the console greeting and diagram,
// position files, the protocol chosen by the first word, and the log.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "e2e/Runner.h"

namespace {

const char* const helpLines[] = {
    "xboard   used when interfacing with xboard",
    "-uci   used when interfacing with an UCI based GUI",
    "-bench  run an internal benchmark suite",
    "-fd  n    fixes search depth to n ply (min n = 3)",
    "-lpf filename  loads a position from file",
    "-pev  filename - run through a testsuite (EPD Format) & output full evaluation detail per position",
    "-sd  n   sets max search depth to n ply (min n = 3)",
    "-sp  self play",
    "-ts  filename run through a testsuite (EPD Format)",
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The lines from "MAXDEPTH = " through the lower letter line of the diagram.
std::vector<std::string> Diagram(const std::string& out) {
    std::vector<std::string> lines = Lines(out), diagram;
    size_t start = 0;
    while (start < lines.size() && lines[start].rfind("MAXDEPTH = ", 0) != 0) ++start;
    for (size_t i = start; i < lines.size() && i < start + 13; ++i) diagram.push_back(lines[i]);
    return diagram;
}

} // namespace

TEST(Startup, HelpPrintsTheOptionListAndEnds) {
    std::string expected = "Velkor \n";
    for (const char* line : helpLines) expected += std::string(line) + "\n";
    for (const char* option : {"-h", "-help"}) {
        RunResult r = RunVelkor({"-fd", "4", option, "-uci"}, "uci\n", 10);
        EXPECT_FALSE(r.timedOut) << option;
        EXPECT_EQ(r.exitCode, 0) << option;
        EXPECT_EQ(r.out, expected) << option;
    }
    RunResult notHelp = RunVelkor({"-hx"}, "", 10);
    EXPECT_EQ(Count(notHelp.out, "Hello! I am Velkor"), 1) << "help needs the exact word";
}

TEST(Startup, ConsoleGreetsAndShowsTheBoardWithClosedInput) {
    RunResult r = RunVelkor({}, "", 10);
    EXPECT_FALSE(r.timedOut) << "end of input must not hang the engine";
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("Velkor \n\nHello! I am Velkor\nMAXDEPTH = 56\n", 0), 0u) << r.out;
    const std::vector<std::string> expected = {
        "MAXDEPTH = 56",        "   A B C D E F G H", "",
        "8  r n b q k b n r  8", "7  p p p p p p p p  7", "6  - - - - - - - -  6",
        "5  - - - - - - - -  5", "4  - - - - - - - -  4", "3  - - - - - - - -  3",
        "2  P P P P P P P P  2", "1  R N B Q K B N R  1", "",
        "   A B C D E F G H"};
    EXPECT_EQ(Diagram(r.out), expected);
    EXPECT_EQ(Count(r.out, "\n PosEval from White view "), 1);

    std::string log = ReadFile(r.dir + "/match.log");
    EXPECT_EQ(log.rfind("=====================================\n\nNext Match\n\n=====================================\n\n", 0),
              0u)
        << log;
}

TEST(Startup, DepthOptionsShowInTheGreeting) {
    EXPECT_EQ(Count(RunVelkor({"-fd", "5"}, "", 10).out, "MAXDEPTH = 5\n"), 1);
    EXPECT_EQ(Count(RunVelkor({"-sd", "7"}, "", 10).out, "MAXDEPTH = 7\n"), 1);
}

TEST(Startup, PositionFileIsShownInTheDiagram) {
    std::string path = TempFile("ending.fen", "4k3/8/8/8/8/8/4P3/4K3 b - - 0 1\nrnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR\n");
    RunResult r = RunVelkor({"-lpf", path}, "", 10);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0);
    const std::vector<std::string> expected = {
        "MAXDEPTH = 56",        "   A B C D E F G H", "",
        "8  - - - - k - - -  8", "7  - - - - - - - -  7", "6  - - - - - - - -  6",
        "5  - - - - - - - -  5", "4  - - - - - - - -  4", "3  - - - - - - - -  3",
        "2  - - - - P - - -  2", "1  - - - - K - - -  1", "",
        "   A B C D E F G H"};
    EXPECT_EQ(Diagram(r.out), expected) << r.out;
}

TEST(Startup, PositionFileThatCannotBeReadEndsTheRun) {
    RunResult missing = RunVelkor({"-lpf", "/nonexistent/velkor/position.fen"}, "", 10);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "Velkor \nERROR: opening file /nonexistent/velkor/position.fen\n");

    RunResult empty = RunVelkor({"-lpf", TempFile("empty.fen", "")}, "", 10);
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.out, "Velkor \nEmpty file\n");
}

TEST(Startup, FirstWordOrArgumentChoosesTheProtocol) {
    struct Case {
        std::vector<std::string> args;
        const char* input;
    } cases[] = {
        // xboard mode clears the large tables at start, so it runs once only.
        {{"-uci"}, ""}, {{}, "uci\n"}, {{}, "xboard\n"},
    };
    for (const Case& c : cases) {
        RunResult r = RunVelkor(c.args, c.input, 10);
        EXPECT_FALSE(r.timedOut) << c.input;
        EXPECT_EQ(Count(r.out, "Hello! I am Velkor"), 0) << "no greeting for a GUI: " << c.input;
        EXPECT_EQ(Count(r.out, "MAXDEPTH = "), 0) << c.input;
    }
    RunResult console = RunVelkor({}, "hello\n", 10);
    EXPECT_EQ(Count(console.out, "Hello! I am Velkor"), 1);
}

TEST(Startup, RunsWithoutALogWhenItCannotBeOpened) {
    std::string dir = TempDir();
    ASSERT_EQ(mkdir((dir + "/match.log").c_str(), 0700), 0);
    RunResult r = RunVelkorIn(dir, {}, "", 10);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(Lines(r.err).size(), 1u) << r.err;
    EXPECT_EQ(Count(r.out, "Hello! I am Velkor"), 1);
}
