// Input that never ends or never comes: named pipes and devices given as
// files, lines longer than any buffer, commands missing their numbers, and
// long jobs that must still hear "quit" and the end of input.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <regex>
#include <thread>

#include "e2e/Runner.h"

namespace {

std::string Fifo() {
    const std::string path = TempDir() + "/book.fifo";
    mkfifo(path.c_str(), 0600);
    return path;
}

// "g1f3 g8f6 f3g1 f6g8" repeated: after a multiple of four plies the start position, White to move.
std::string KnightShuffle(int plies) {
    static const char* const cycle[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
    std::string moves;
    for (int i = 0; i < plies; ++i) moves += std::string(" ") + cycle[i % 4];
    return moves;
}

const std::regex whiteMove("bestmove [a-h][12][a-h][1-8]");

// A stop asked for is heard within a second; the rest covers the process's
// end under the sanitizers on a loaded machine. Not hearing it at all hangs.
constexpr long StopMs = 4000;

TEST(UnendingFiles, PipesAndDevicesAreRefusedAtOnce) {
    const std::string fifo = Fifo();
    {
        Session s;
        ASSERT_TRUE(s.Step("uci\nsetoption name BookFile value " + fifo + "\nisready", "readyok\n", 3000)) << s.out;
        EXPECT_TRUE(Has(s.out, "not a regular file"));
        ASSERT_TRUE(s.Step("setoption name BookFile value /dev/zero\nisready", "readyok\n", 3000));
        EXPECT_EQ(Count(s.out, "not a regular file"), 2);
        EXPECT_EQ(s.Finish(3000), 0);
    }
    RunResult r = RunVelkor({"-book", fifo, "-uci"}, "uci\nisready\n", 5);
    EXPECT_TRUE(Has(r.out, "readyok\n") && Has(r.err, "not used: not a regular file")) << r.err;
    r = RunVelkor({}, "xboard\nprotover 2\noption BookFile=" + fifo + "\nping 1\n", 5);
    EXPECT_TRUE(Has(r.out, "telluser Book file") && Has(r.out, "pong 1\n")) << r.out;

    // Batch files: a message and exit code 1, never a hang or an endless read.
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"-eval", "/dev/zero"}, {"-lpf", "/dev/zero"}, {"-ts", "/dev/zero"}, {"-pev", fifo}, {"-eval", fifo}}) {
        r = RunVelkor(args, "", 5);
        EXPECT_EQ(r.exitCode, 1) << args[0] << " " << args[1];
        EXPECT_TRUE(Has(r.out, "ERROR: opening file " + args[1] + ": not a regular file")) << r.out;
    }
    // A file larger than any suite is refused before it is read.
    const std::string huge = TempDir() + "/huge.epd";
    ASSERT_EQ(truncate((huge + "").c_str(), 0), -1); // not there yet
    FILE* f = std::fopen(huge.c_str(), "w");
    ASSERT_TRUE(f && ftruncate(fileno(f), 100LL << 20) == 0);
    std::fclose(f);
    r = RunVelkor({"-eval", huge}, "", 5);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(Has(r.out, "larger than")) << r.out;
}

TEST(UnendingLines, UciPositionsOfAnyLengthOrNone) {
    // 1,996 plies: once cut after 9,999 characters, the engine moved for Black.
    RunResult r = RunVelkor({}, "uci\nposition startpos moves" + KnightShuffle(1996) + "\ngo depth 3\n", 60);
    EXPECT_TRUE(std::regex_search(r.out, whiteMove)) << r.out.substr(r.out.size() > 300 ? r.out.size() - 300 : 0);
    EXPECT_FALSE(Has(r.out, "illegal move"));
    // A 5,000-ply game and a megabyte of blanks in one line are read whole.
    r = RunVelkor(
        {}, "uci\nposition startpos moves" + KnightShuffle(5000) + std::string(1 << 20, ' ') + " e2e4\ngo depth 1\n",
        60);
    EXPECT_TRUE(std::regex_search(r.out, std::regex("bestmove [a-h][78][a-h][1-8]"))) << "Black after e2e4";
    // Longer than any GUI sends: refused whole, the position before stays.
    r = RunVelkor(
        {}, "uci\nposition startpos moves e2e4\nposition startpos" + std::string(9 << 20, ' ') + "\ngo depth 1\n", 60);
    EXPECT_TRUE(Has(r.out, "info string line longer than 8388608 bytes ignored")) << r.out;
    EXPECT_TRUE(std::regex_search(r.out, std::regex("bestmove [a-h][78][a-h][1-8]")));
    // A byte-order mark before the first command.
    r = RunVelkor({}, "\xEF\xBB\xBFuci\nisready\n", 10);
    EXPECT_TRUE(Has(r.out, "uciok\n") && Has(r.out, "readyok\n")) << r.out;
}

TEST(UnendingLines, XboardArgumentsComeFromTheirOwnLine) {
    // "level 40 5" once took the next line's "new" as its increment, and the old game went on.
    RunResult r = RunVelkor({},
                            "xboard\nprotover 2\nnew\nforce\ne2e4\nlevel 40 5\nnew\nlevel\nsd\n1\nlevel x\nsd 1\n"
                            "go\nping 1\n",
                            20);
    EXPECT_TRUE(Has(r.out, "Error (no number): level 40 5\n") && Has(r.out, "Error (no number): level\n") &&
                Has(r.out, "Error (no number): sd\n") && Has(r.out, "Error (no number): level x\n"))
        << r.out;
    EXPECT_TRUE(Has(r.out, "Error (unknown command): 1\n"));
    EXPECT_TRUE(std::regex_search(r.out, std::regex("1\\. \\.\\.\\. [a-h][12][a-h][1-8] \n"))) << "a new game";
    EXPECT_TRUE(Has(r.out, "pong 1\n"));
    // usermove takes whatever follows as a move; the editor still hears ping and quit.
    r = RunVelkor({}, "xboard\nnew\nforce\nusermove i2i4\nusermove quit\nedit\n#\nping 2\nquit\n", 5);
    EXPECT_TRUE(Has(r.out, "Illegal move: i2i4\n") && Has(r.out, "Illegal move: quit\n")) << r.out;
    EXPECT_TRUE(Has(r.out, "pong 2\n"));
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0);
    // At the console several words on one line still work, the first line's included.
    r = RunVelkor({"-fd", "1"}, "level 40 5 0\nsd 5 ping 7\nsetboard 6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1\ngo\nquit\n",
                  20);
    EXPECT_FALSE(Has(r.out, "Error"));
    EXPECT_TRUE(Count(r.out, "\nVelkor plays at full strength, 1 ply deep a move.\n") == 2 && Has(r.out, "pong 7\n") &&
                Has(r.out, "Velkor plays 1. Ra8#\n"))
        << r.out;
    EXPECT_TRUE(Has(ReadFile(r.dir + "/match.log"), "\nMAXDEPTH 5\n"));
}

TEST(UnendingJobs, PerftAndSuitesHearQuitAndTheEndOfInput) {
    for (const bool closeInput : {false, true}) {
        Session s({"-perft", "-fd", "99"});
        ASSERT_TRUE(s.WaitFor("Starting PerfT test \n"));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const long asked = s.Elapsed();
        if (!closeInput) s.Send("quit");
        EXPECT_EQ(s.Finish(10000), 0);
        EXPECT_LT(s.Elapsed() - asked, StopMs) << (closeInput ? "end of input" : "quit");
        EXPECT_TRUE(
            Has(s.out, closeInput ? "Stopped before the end: the end of input\n" : "Stopped before the end: quit\n"))
            << s.out;
    }
    const std::string suite =
        TempFile("deep.epd", std::string(20, '\n') + "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -\n");
    Session s({"-ts", suite, "-fd", "60"});
    s.Send("go");
    ASSERT_TRUE(s.WaitFor("## file opened"));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const long asked = s.Elapsed();
    s.Send("quit");
    EXPECT_EQ(s.Finish(10000), 0);
    EXPECT_LT(s.Elapsed() - asked, StopMs);
    // An input that had ended before the job began is no input: the job runs to its end.
    RunResult r = RunVelkor({"-perft", "-fd", "4"}, "", 30);
    EXPECT_TRUE(Has(r.out, "197281 Leaf Nodes at Depth = 4\n"));
}

TEST(UnendingJobs, ConsoleFixedTimeHearsQuitAndTheEndOfInput) {
    for (const char* setting : {"-st", "st"}) {
        for (const bool closeInput : {false, true}) {
            // Full strength (a time from the command line), the score line shown (-v).
            Session s({"-st", std::string(setting) == "-st" ? "60" : "1", "-v"});
            s.Send(std::string(setting) == "-st" ? "hello" : "st 60");
            ASSERT_TRUE(s.Step("e2e4", "Game Score 0\n"));
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            const long asked = s.Elapsed();
            if (!closeInput) s.Send("quit");
            EXPECT_EQ(s.Finish(10000), 0);
            EXPECT_LT(s.Elapsed() - asked, StopMs) << setting << (closeInput ? " end of input" : " quit");
            EXPECT_TRUE(Has(s.out, "Bye, Thanks for the match.\n"));
            EXPECT_FALSE(Has(s.out, "My move") || Has(s.out, "Velkor plays 1.")) << "it ended at once";
        }
    }
    // Other words typed while the engine thinks still wait for its move.
    RunResult r = RunVelkor({"-fd", "3"}, "e2e4\ndisplayboard\nquit\n", 20);
    EXPECT_TRUE(
        std::regex_search(r.out, std::regex("Velkor plays 1\\. \\.\\.\\. \\S+\n(.*\n)*Enter Move: displayboard\n")))
        << r.out;
}

TEST(UnendingOptions, OutOfRangeValuesSayWhatIsUsed) {
    RunResult r = RunVelkor({},
                            "uci\nsetoption name Hash value 0\nsetoption name Hash value -1\n"
                            "setoption name BookSeed value 99999999999999999999\nisready\n",
                            10);
    EXPECT_EQ(Count(r.out, "info string Hash 0 is out of range 1..4096: 1 used\n") +
                  Count(r.out, "info string Hash -1 is out of range 1..4096: 1 used\n"),
              2)
        << r.out;
    EXPECT_TRUE(
        Has(r.out, "info string BookSeed 99999999999999999999 is out of range 0..2147483647: 2147483647 used\n"));
    r = RunVelkor({}, "xboard\nprotover 2\noption BookSeed=-5\nping 1\n", 10);
    EXPECT_TRUE(Has(r.out, "telluser BookSeed -5 is out of range 0..2147483647: 0 used\n")) << r.out;
}

} // namespace
