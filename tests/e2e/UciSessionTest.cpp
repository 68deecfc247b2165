// UCI sessions with the real binary: identification, position lines, every
// kind of "go", pondering, stopping, a new game mid-search, and the ways
// the process ends.
#include <gtest/gtest.h>

#include <regex>

#include "e2e/Runner.h"

namespace {

std::string Log(const std::string& dir) { return ReadFile(dir + "/match.log"); }

TEST(UciSession, IdentificationReadinessAndEndOfInput) {
    RunResult r = RunVelkor({}, "uci\nisready\n", 10);
    EXPECT_EQ(r.out, "Velkor \nid name Velkor 1.0\nid author the Velkor developers\n"
                     "option name UCI_AnalyseMode type check default false\n"
                     "option name OwnBook type check default false\n"
                     "option name SecondaryBook type check default false\n"
                     "option name UCI_ShowCurrLine type check default true\n"
                     "option name Ponder type check default false\n"
                     "option name UCI_EngineAbout type string default Velkor, a bitboard chess engine\n"
                     "uciok\nreadyok\n");
    EXPECT_EQ(r.exitCode, 0); // the end of input is "quit"
    EXPECT_TRUE(Has(Log(r.dir), "Sent uciok\n\n"));
}

TEST(UciSession, PositionsAndFixedDepthSearches) {
    RunResult r = RunVelkor({}, "uci\nposition startpos moves e2e4 e7e5 g1f3\ngo depth 3\n"
                                "position fen 6k1/p4ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1 moves g2g3 a7a6\ngo depth 3\n"
                                "position fen 8/4P1k1/8/8/8/8/8/K7 w - - 0 1\ngo depth 3\n"
                                "position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\ngo depth 3\n"
                                "quit\n", 20);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(r.out, m, std::regex("info depth 3\n(.*\n)*?info score cp -?[0-9]+\n"
                                                       "bestmove ([a-h][78][a-h][1-8]) \n")))
        << r.out; // black answers
    EXPECT_FALSE(Has(r.out, "info depth 4\n"));
    EXPECT_TRUE(Has(r.out, "info score cp 10999\nbestmove d1d8 \n")); // mate in one after the move list
    EXPECT_TRUE(Has(r.out, "bestmove e7e8q \n"));
    EXPECT_TRUE(Has(r.out, "bestmove 0000\n")); // stalemate
    EXPECT_TRUE(Has(Log(r.dir), "MainBoard.FixedDepth = 3\n"));
}

TEST(UciSession, ClocksMovetimeInfiniteStopAndIsready) {
    Session s;
    ASSERT_TRUE(s.Step("uci\nposition fen 4k3/8/8/8/8/8/4P3/4K3 b - - 0 1\n"
                       "go wtime 60000 btime 3000 binc 1000 movestogo 20",
                       "bestmove "));
    ASSERT_TRUE(s.Step("position startpos\ngo infinite", "info depth 3\n"));
    ASSERT_TRUE(s.Step("isready\nstop", "bestmove ") && s.WaitFor("readyok\n")); // readyok after the analysis

    long goAt = s.Elapsed();
    ASSERT_TRUE(s.Step("go movetime 3000", "info depth 2\n")); // input is polled about twice a second
    ASSERT_TRUE(s.Step("stop\nisready", "readyok\n"));        // a timed search does not stop: readyok at once
    EXPECT_FALSE(Has(s.out.substr(s.seen), "bestmove"));
    ASSERT_TRUE(s.WaitFor("bestmove ", 5000));
    EXPECT_GT(s.Elapsed() - goAt, 1200); // a stop obeyed would end it at the next poll
    EXPECT_EQ(s.Finish(), 0);
    std::string log = Log(s.dir);
    EXPECT_TRUE(Has(log, "MainStatus.TimeLeft = 3000\n") && Has(log, "Sent readyok from inside go return\n"));
    EXPECT_EQ(Count(log, "MainStatus.ST = 3000\n"), 2);
}

TEST(UciSession, PonderPonderhitAndStopWhilePondering) {
    Session s;
    ASSERT_TRUE(s.Step("uci\nsetoption name Ponder value true\nposition startpos moves e2e4\n"
                       "go ponder wtime 2000 btime 2000",
                       "info depth 3\n"));
    ASSERT_TRUE(s.Step("ponderhit\nstop", "bestmove ", 5000) && s.WaitFor("\n")); // goes on as a timed search
    EXPECT_TRUE(std::regex_search(s.out, std::regex("bestmove [a-h][1-8][a-h][1-8] ponder [a-h][1-8][a-h][1-8]\n")));
    ASSERT_TRUE(s.Step("go ponder wtime 2000 btime 2000", "info depth 2\n"));
    ASSERT_TRUE(s.Step("stop", "bestmove "));
    ASSERT_TRUE(s.Step("ucinewgame\ngo depth 2", "bestmove ")); // turns the option off
    EXPECT_EQ(s.Finish(), 0);
    EXPECT_FALSE(Has(s.out.substr(s.seen), "ponder"));
    EXPECT_TRUE(Has(Log(s.dir), "Received stop and Aborting Ponder\n"));
}

TEST(UciSession, UcinewgameStopsASearchAndQuitEndsOne) {
    Session s;
    ASSERT_TRUE(s.Step("uci\ngo wtime 1000000 btime 1000000", "info depth 2\n"));
    ASSERT_TRUE(s.Step("ucinewgame", "bestmove ", 5000));
    ASSERT_TRUE(s.Step("go infinite", "info depth 2\n"));
    s.Send("quit");
    EXPECT_TRUE(s.WaitForExit(5000)); // with the input still open
    EXPECT_LT(s.Elapsed(), 8000);
    EXPECT_EQ(s.Finish(), 0);
    EXPECT_EQ(Count(s.out, "bestmove"), 1);
    std::string log = Log(s.dir);
    size_t stopped = log.find("Received ucinewgame while doing something other than WAITING\n");
    EXPECT_TRUE(stopped != std::string::npos && Has(log.substr(stopped), "Processing ucinewgame\n"));
    EXPECT_EQ(log.substr(log.size() - 5), "quit\n");
}

TEST(UciSession, EndOfInputMidSearchOverlongAndUnknownLines) {
    RunResult r = RunVelkor({"-uci"}, "go infinite\n", 10);
    EXPECT_EQ(r.exitCode, 0);
    std::string longLine = "position startpos moves";
    while (longLine.size() < 30000) longLine += " g1f3 g8f6 f3g1 f6g8";
    r = RunVelkor({}, "uci\n" + longLine + "\nfoo bar\n\nposition fen\ngo depth 1 searchmoves\nisready\n", 20);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.substr(r.out.size() - 22), "bestmove 0000\nreadyok\n");
}

} // namespace
