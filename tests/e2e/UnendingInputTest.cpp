// Input that never ends or never comes: pipes and devices as files, huge lines, commands
// missing their numbers, and long jobs that must still hear "quit" and the end of input.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

#include "e2e/Runner.h"

namespace {

TEST(UnendingFiles, PipesDevicesAndMissingFilesAreRefusedAtOnce) {
    const std::string fifo = TempDir() + "/book.fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    Session s;
    ASSERT_TRUE(s.Step("uci\nsetoption name BookFile value " + fifo + "\nisready", "readyok\n", 3000)) << s.out;
    ASSERT_TRUE(s.Step("setoption name BookFile value /dev/zero\nisready", "readyok\n", 3000));
    EXPECT_EQ(Count(s.out, "not a regular file"), 2);
    EXPECT_EQ(s.Finish(3000), 0);
    RunResult r = RunVelkor({"-book", fifo, "-uci"}, "uci\nisready\n", 5);
    EXPECT_TRUE(Has(r.out, "readyok\n") && Has(r.err, "not used: not a regular file")) << r.err;
    r = RunVelkor({}, "xboard\nprotover 2\noption BookFile=" + fifo + "\nping 1\n", 5);
    EXPECT_TRUE(Has(r.out, "telluser Book file") && Has(r.out, "pong 1\n")) << r.out;

    // Batch files: a message and exit code 1, never a hang; a huge file is refused before it is read.
    const std::string huge = TempFile("huge.epd", "");
    ASSERT_EQ(truncate(huge.c_str(), 100LL << 20), 0);
    const std::string none = "No such file or directory", notRegular = "not a regular file";
    const struct {
        const char* option;
        std::string file, error;
    } batches[] = {{"-eval", "/dev/zero", notRegular},
                   {"-lpf", "/dev/zero", notRegular},
                   {"-ts", "/dev/zero", notRegular},
                   {"-pev", fifo, notRegular},
                   {"-eval", fifo, notRegular},
                   {"-eval", huge, "larger than"},
                   {"-ts", "/nonexistent/suite.epd", none},
                   {"-eval", "/nonexistent/positions.epd", none},
                   {"-lpf", "/nonexistent/position.fen", none}};
    for (const auto& b : batches) {
        r = RunVelkor({b.option, b.file}, "", 5);
        EXPECT_EQ(r.exitCode, 1) << b.option << " " << b.file;
        EXPECT_TRUE(Has(r.out, "ERROR: opening file " + b.file + ": " + b.error)) << r.out;
    }
}

TEST(UnendingLines, UciPositionsOfAnyLengthOrNone) {
    // A 5,003-ply game and a megabyte of blanks in one line are read whole: no false draw, the mate found.
    std::string game;
    for (int i = 0; i < 1250; ++i) game += " g1f3 g8f6 f3g1 f6g8";
    RunResult r = RunVelkor({}, "uci\nposition startpos moves" + game + std::string(1 << 20, ' ') +
                                    " f2f3 e7e5 g2g4\ngo depth 3\n");
    EXPECT_TRUE(Has(r.out, "info score mate 1\nbestmove d8h4 \n")) << Tail(r.out);
    // Longer than any GUI sends: refused whole, the position before stays.
    r = RunVelkor(
        {}, "uci\nposition startpos moves e2e4\nposition startpos" + std::string(9 << 20, ' ') + "\ngo depth 1\n", 60);
    EXPECT_TRUE(Has(r.out, "info string line longer than 8388608 bytes ignored")) << Tail(r.out);
    EXPECT_TRUE(Matches(r.out, "bestmove [a-h][78][a-h][1-8]"));
    r = RunVelkor({}, "\xEF\xBB\xBFuci\nisready\n", 10); // a byte-order mark before the first command
    EXPECT_TRUE(Has(r.out, "uciok\n") && Has(r.out, "readyok\n")) << r.out;
}

TEST(UnendingLines, XboardArgumentsComeFromTheirOwnLine) {
    // "level 40 5" once took the next line's "new" as its increment, and the old game went on.
    RunResult r = RunVelkor(
        {}, "xboard\nprotover 2\nnew\nforce\ne2e4\nlevel 40 5\nnew\nlevel\nsd\n1\nlevel x\nsd 1\ngo\nping 1\n", 20);
    for (const char* said : {"Error (no number): level 40 5\n", "Error (no number): level\n", "Error (no number): sd\n",
                             "Error (no number): level x\n", "Error (unknown command): 1\n", "pong 1\n"})
        EXPECT_TRUE(Has(r.out, said)) << said << r.out;
    EXPECT_TRUE(Matches(r.out, "1\\. \\.\\.\\. [a-h][12][a-h][1-8] \n")) << "a new game";
    // usermove takes whatever follows as a move; the editor still hears ping and quit.
    r = RunVelkor({}, "xboard\nnew\nforce\nusermove i2i4\nusermove quit\nedit\n#\nping 2\nquit\n", 5);
    EXPECT_TRUE(Has(r.out, "Illegal move: i2i4\nIllegal move: quit\n") && Has(r.out, "pong 2\n")) << r.out;
    EXPECT_TRUE(!r.timedOut && r.exitCode == 0);
    // At the console several words on one line still work, the first line's included.
    r = RunVelkor({"-fd", "1"}, "level 40 5 0\nsd 5 ping 7\nsetboard 6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1\ngo\nquit\n",
                  20);
    EXPECT_FALSE(Has(r.out, "Error"));
    EXPECT_TRUE(Count(r.out, "\nVelkor plays at full strength, 1 ply deep a move.\n") == 2 && Has(r.out, "pong 7\n") &&
                Has(r.out, "Velkor plays 1. Ra8#\n"))
        << r.out;
    EXPECT_TRUE(Has(r.Log(), "\nMAXDEPTH 5\n"));
}

// Each job is asked to stop by "quit" and by the end of input; one whose input had ended before it runs on.
TEST(UnendingJobs, PerftSuitesAndConsoleSearchesHearQuitAndTheEndOfInput) {
    const std::string suite =
        TempFile("deep.epd", std::string(20, '\n') + "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -\n");
    // Console: a time from the command line (-st) or typed (st), the score line shown (-v).
    const struct {
        std::vector<std::string> args;
        std::string input, started, stopped;
    } jobs[] = {{{"-perft", "-fd", "99"}, "", "Starting PerfT test \n", "Stopped before the end: "},
                {{"-ts", suite, "-fd", "60"}, "go\n", "## file opened", ""},
                {{"-st", "60", "-v"}, "hello\ne2e4\n", "Game Score 0\n", "Bye, Thanks for the match.\n"},
                {{"-st", "1", "-v"}, "st 60\ne2e4\n", "Game Score 0\n", "Bye, Thanks for the match.\n"}};
    for (const auto& job : jobs)
        for (const bool closeInput : {false, true}) {
            SCOPED_TRACE(job.args[0] + job.args[1] + (closeInput ? " end of input" : " quit"));
            Session s(job.args);
            s.Write(job.input);
            ASSERT_TRUE(s.WaitFor(job.started));
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            const long asked = s.Elapsed();
            if (!closeInput) s.Send("quit");
            EXPECT_EQ(s.Finish(10000), 0);
            EXPECT_LT(s.Elapsed() - asked, 4000); // heard within a second; the rest is for a loaded machine
            const std::string why = job.args[0] == "-perft" ? (closeInput ? "the end of input\n" : "quit\n") : "";
            EXPECT_TRUE(Has(s.out, job.stopped + why)) << s.out;
            EXPECT_FALSE(Has(s.out, "My move") || Has(s.out, "Velkor plays 1.")) << "it ended at once";
        }
    EXPECT_TRUE(Has(RunVelkor({"-perft", "-fd", "4"}, "", 30).out, "197281 Leaf Nodes at Depth = 4\n"));
    // Other words typed while the engine thinks still wait for its move.
    RunResult r = RunVelkor({"-fd", "3"}, "e2e4\ndisplayboard\nquit\n", 20);
    EXPECT_TRUE(Matches(r.out, "Velkor plays 1\\. \\.\\.\\. \\S+\n(.*\n)*Enter Move: displayboard\n")) << r.out;
}

} // namespace
