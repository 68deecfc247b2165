// Input no GUI should send: huge numbers, commands out of place, prefixes of commands, long words. Each has
// one harmless effect; the sanitizer build stops at any undefined behaviour on the way.
#include <gtest/gtest.h>

#include "e2e/Runner.h"

namespace {

TEST(HostileUci, NumbersOutOfRangeSearchesEndedAndCommandsOutOfPlace) {
    // A 24-day increment is spent on the move, a depth past any search is cut: both run until stopped.
    Session s;
    ASSERT_TRUE(
        s.Step("uci\nposition startpos\ngo wtime 30000 btime 30000 winc 2147483647 binc 2147483647", "info depth 2\n"));
    ASSERT_TRUE(s.Step("stop", "bestmove "));
    ASSERT_TRUE(s.Step("go depth 300 nodes 99999999999999999999999", "info depth 3\n"));
    ASSERT_TRUE(s.Step("stop", "bestmove "));
    ASSERT_TRUE(s.Step("go infinite", "info depth 3\n"));
    ASSERT_TRUE(s.Step("ponderhit\nstop", "bestmove ", 3000)) << "an analysis ends with stop, ponderhit or not";
    // A second go without a new position searches the same side again.
    ASSERT_TRUE(s.Step("go depth 3", "bestmove ") && s.WaitFor("\n"));
    ASSERT_TRUE(s.Step("go depth 3", "bestmove ") && s.WaitFor("\n"));
    EXPECT_TRUE(Matches(s.out, "(bestmove [a-h][12][a-h][1-8] \n(info .*\n)*){3}$")) << s.out;
    EXPECT_EQ(s.Quit(), 0);
    // An idle ponderhit or stop does nothing: no flood, no second identification, quit is heard.
    RunResult r = RunVelkor({"-uci"}, "isready\nponderhit\nstop\nuci\nponderhit\nisready\nquit\nisready\n", 10);
    EXPECT_TRUE(!r.timedOut && Count(r.out, "readyok\n") == 2 && Count(r.out, "uciok\n") == 1) << r.out;
    EXPECT_LT(r.Log().size(), 5000u);
    // Whole words only: quitx, gox and ponderx are nothing.
    r = RunVelkor({}, "uci\nquitx\ngox\nisready\nposition startpos\ngo depth 1 ponderx\nisready\n", 10);
    EXPECT_EQ(Count(r.out, "readyok\n"), 2);
    EXPECT_EQ(Count(r.out, "bestmove "), 1) << "the ponderx search ends by itself";
}

TEST(HostileXboard, ClockNumbersAndCommandsWhileThinking) {
    // A huge increment and a huge clock: no overflow, and the engine still answers.
    RunResult r = RunVelkor({}, "xboard\nnew\nlevel 0 5 2147484\ntime 99999999999\nsd 2\ne2e4\nping 1\n", 30);
    EXPECT_TRUE(Matches(r.out, "1\\. \\.\\.\\. [a-h][78][a-h][1-8] \n") && Has(r.out, "pong 1\n")) << r.out;
    // force and setboard while the engine thinks: no move for the old position.
    Session s;
    ASSERT_TRUE(s.Step("xboard\nprotover 2\nnew\nst 30\npost\ne2e4", "\n4 "));
    ASSERT_TRUE(s.Step("force\nping 2", "pong 2\n", 3000));
    ASSERT_TRUE(s.Step("setboard 6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1\nst 1\ngo", ". ... ", 5000) && s.WaitFor("\n"));
    EXPECT_TRUE(Has(s.out, "1. ... a1a8 \n")) << s.out;
    EXPECT_EQ(Count(s.out, ". ... "), 1);
    // quitx is no quit; a ping glued to the next line and a usermove without its move lose no command.
    ASSERT_TRUE(s.Step("quitx\nping 3", "pong 3\n"));
    ASSERT_TRUE(s.Step("new\nforce\nping 4usermove e2e4\nusermove\nping 5", "pong 5\n"));
    EXPECT_TRUE(Has(s.out, "pong 4\n")) << s.out;
    EXPECT_FALSE(Has(s.out, "Illegal move")) << s.out;
    EXPECT_EQ(s.Quit(), 0);
}

TEST(HostileConsole, LongWordsAndLines) {
    RunResult r = RunVelkor({"-fd", "1"},
                            std::string(100000, 'a') + "\nsetboard " + std::string(600, 'k') + "\ne2e4\nquit\n", 20);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(Has(r.out, "Illegal position: ") && Has(r.out, "Velkor plays 1. ... ")) << r.out;
}

} // namespace
