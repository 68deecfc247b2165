// UCI sessions with the real binary: identification, readiness, position
// lines, every kind of "go", pondering, stopping, a new game during a
// search, and the ways the process ends.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "e2e/Runner.h"
#include "e2e/Session.h"

namespace {

const char* const identification[] = {
    "id name Velkor 1.0",
    "id author the Velkor developers",
    "option name UCI_AnalyseMode type check default false",
    "option name OwnBook type check default false",
    "option name SecondaryBook type check default false",
    "option name UCI_ShowCurrLine type check default true",
    "option name Ponder type check default false",
    "option name UCI_EngineAbout type string default Velkor, a bitboard chess engine",
    "uciok",
};

std::string Log(const std::string& dir) {
    std::ifstream in(dir + "/match.log");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The "bestmove" lines of an output.
std::vector<std::string> BestMoves(const std::string& out) {
    std::vector<std::string> moves;
    for (const std::string& line : Lines(out))
        if (line.rfind("bestmove", 0) == 0) moves.push_back(line);
    return moves;
}

const std::regex plainBestMove("bestmove [a-h][1-8][a-h][1-8] ");

TEST(UciSession, IdentificationReadinessAndEndOfInput) {
    RunResult r = RunVelkor({}, "uci\nisready\n", 10);
    std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 11u) << r.out;
    EXPECT_EQ(lines[0], "Velkor ");
    for (int i = 0; i < 9; ++i) EXPECT_EQ(lines[1 + i], identification[i]);
    EXPECT_EQ(lines[10], "readyok");
    EXPECT_EQ(r.exitCode, 0); // the end of input is "quit"
    std::string log = Log(r.dir);
    EXPECT_NE(log.find("Sent uciok\n"), std::string::npos);
    EXPECT_NE(log.find("Sent readyok\n"), std::string::npos);
}

TEST(UciSession, StartposWithMovesThenFixedDepth) {
    RunResult r = RunVelkor({}, "uci\nposition startpos moves e2e4 e7e5 g1f3\ngo depth 3\nquit\n", 20);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("info depth 1\n"), std::string::npos);
    EXPECT_NE(r.out.find("info depth 3\n"), std::string::npos);
    EXPECT_EQ(r.out.find("info depth 4\n"), std::string::npos);
    std::vector<std::string> best = BestMoves(r.out);
    ASSERT_EQ(best.size(), 1u);
    EXPECT_TRUE(std::regex_match(best[0], plainBestMove)) << best[0];
    // Black is to move: the reply starts from rank 7 or 8.
    EXPECT_TRUE(best[0][10] == '7' || best[0][10] == '8') << best[0];
    EXPECT_NE(r.out.find("\ninfo score cp "), std::string::npos);
    std::string log = Log(r.dir);
    EXPECT_NE(log.find("MainBoard.FixedDepth = 3\n"), std::string::npos);
    EXPECT_NE(log.find("Sent bestmove \n"), std::string::npos);
}

TEST(UciSession, FenWithMovesFindsTheBackRankMate) {
    RunResult r = RunVelkor({}, "uci\nposition fen 6k1/p4ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1 moves g2g3 a7a6\n"
                                "go depth 3\nquit\n", 20);
    EXPECT_NE(r.out.find("info score cp 10999\nbestmove d1d8 \n"), std::string::npos) << r.out;
}

TEST(UciSession, PromotionInBestmoveAndNoLegalMove) {
    RunResult r = RunVelkor({}, "uci\nposition fen 8/4P1k1/8/8/8/8/8/K7 w - - 0 1\ngo depth 3\n"
                                "position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\ngo depth 3\n"
                                "position fen rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 0 1\n"
                                "go depth 3\nquit\n", 20);
    std::vector<std::string> best = BestMoves(r.out);
    ASSERT_EQ(best.size(), 3u) << r.out;
    EXPECT_EQ(best[0], "bestmove e7e8q ");
    EXPECT_EQ(best[1], "bestmove 0000"); // stalemate
    EXPECT_EQ(best[2], "bestmove 0000"); // mated
}

TEST(UciSession, ClockOfTheSideToMoveAndMovetime) {
    Session s({});
    s.Send("uci");
    s.Send("position fen 4k3/8/8/8/8/8/4P3/4K3 b - - 0 1");
    s.Send("go wtime 60000 btime 3000 binc 1000 movestogo 20");
    ASSERT_TRUE(s.WaitFor("bestmove ")) << s.Output();
    long before = s.Elapsed();
    s.Send("position startpos");
    s.Send("go movetime 300");
    ASSERT_TRUE(s.WaitFor("bestmove ")) << s.Output();
    EXPECT_LT(s.Elapsed() - before, 2500);
    EXPECT_EQ(s.Finish(), 0);
    std::string log = Log(s.Dir());
    EXPECT_NE(log.find("MainStatus.TimeLeft = 3000\n"), std::string::npos);
    EXPECT_NE(log.find("MainStatus.TimeInc = 1\n"), std::string::npos);
    EXPECT_NE(log.find("MainStatus.MovesPerSession = 20\n"), std::string::npos);
    EXPECT_EQ(Count(log, "MainStatus.ST = 300\n"), 2);
}

TEST(UciSession, InfiniteUntilStopAndIsreadyInBothKindsOfSearch) {
    Session s({});
    s.Send("uci");
    s.Send("position startpos");
    s.Send("go infinite");
    ASSERT_TRUE(s.WaitFor("info depth 3\n"));
    s.Send("isready"); // answered when the analysis ends
    s.Send("stop");
    ASSERT_TRUE(s.WaitFor("bestmove ")) << s.Output();
    ASSERT_TRUE(s.WaitFor("readyok\n"));

    size_t mark = s.Output().size();
    long goAt = s.Elapsed();
    s.Send("go movetime 3000"); // input is polled about twice a second
    ASSERT_TRUE(s.WaitFor("info depth 2\n"));
    s.Send("stop"); // a timed search does not stop
    s.Send("isready"); // answered at once
    ASSERT_TRUE(s.WaitFor("readyok\n"));
    EXPECT_EQ(s.Output().find("bestmove", mark), std::string::npos);
    ASSERT_TRUE(s.WaitFor("bestmove ", 5000));
    // A stop obeyed would end it at the next poll, within about half a second;
    // the budget itself may end it before the full movetime.
    EXPECT_GT(s.Elapsed() - goAt, 1200);
    EXPECT_EQ(s.Finish(), 0);
    EXPECT_NE(Log(s.Dir()).find("Sent readyok from inside go return\n"), std::string::npos);
}

TEST(UciSession, PonderThenPonderhitPlaysOnWithThePonderMove) {
    Session s({});
    s.Send("uci");
    s.Send("setoption name Ponder value true");
    s.Send("position startpos moves e2e4");
    s.Send("go ponder wtime 2000 btime 2000");
    ASSERT_TRUE(s.WaitFor("info depth 3\n"));
    s.Send("ponderhit");
    s.Send("stop"); // after the ponderhit the search is a timed one
    ASSERT_TRUE(s.WaitFor("bestmove ", 5000)) << s.Output();
    ASSERT_TRUE(s.WaitFor("\n"));
    std::string line = "bestmove " + s.Output().substr(s.Output().rfind("bestmove ") + 9);
    EXPECT_TRUE(std::regex_match(line, std::regex("bestmove [a-h][1-8][a-h][1-8] ponder [a-h][1-8][a-h][1-8]\n")))
        << line;

    s.Send("go ponder wtime 2000 btime 2000");
    ASSERT_TRUE(s.WaitFor("info depth 2\n"));
    s.Send("stop");
    ASSERT_TRUE(s.WaitFor("bestmove ")) << s.Output();
    s.Send("ucinewgame"); // turns the ponder option off
    s.Send("position startpos");
    s.Send("go depth 2");
    ASSERT_TRUE(s.WaitFor("bestmove "));
    ASSERT_TRUE(s.WaitFor("\n"));
    EXPECT_EQ(s.Output().find("ponder", s.Output().rfind("bestmove")), std::string::npos);
    EXPECT_EQ(s.Finish(), 0);
    EXPECT_NE(Log(s.Dir()).find("Received stop and Aborting Ponder\n"), std::string::npos);
}

TEST(UciSession, UcinewgameDuringASearchStopsItThenResets) {
    Session s({});
    s.Send("uci");
    s.Send("position startpos moves e2e4 e7e5");
    s.Send("go wtime 1000000 btime 1000000");
    ASSERT_TRUE(s.WaitFor("info depth 2\n"));
    s.Send("ucinewgame");
    ASSERT_TRUE(s.WaitFor("bestmove ", 5000)) << s.Output();
    s.Send("isready");
    ASSERT_TRUE(s.WaitFor("readyok\n"));
    EXPECT_LT(s.Elapsed(), 4000); // stopped, not played out to its budget
    EXPECT_EQ(s.Finish(), 0);
    std::string log = Log(s.Dir());
    size_t stopped = log.find("Received ucinewgame while doing something other than WAITING\n");
    ASSERT_NE(stopped, std::string::npos);
    EXPECT_NE(log.find("Processing ucinewgame\n", stopped), std::string::npos);
}

TEST(UciSession, QuitEndsTheProcessAtOnceEvenMidSearch) {
    Session s({});
    s.Send("uci");
    s.Send("go infinite");
    ASSERT_TRUE(s.WaitFor("info depth 2\n"));
    s.Send("quit");
    EXPECT_TRUE(s.WaitForExit(5000)); // with the input still open
    EXPECT_EQ(s.Finish(), 0);
    EXPECT_EQ(s.Output().find("bestmove"), std::string::npos);
    std::string log = Log(s.Dir());
    EXPECT_EQ(log.substr(log.size() - 5), "quit\n");
}

TEST(UciSession, EndOfInputDuringASearchIsQuit) {
    RunResult r = RunVelkor({"-uci"}, "go infinite\n", 10);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0);
}

TEST(UciSession, OverlongAndUnknownLinesAreHarmless) {
    std::string longLine = "position startpos moves";
    while (longLine.size() < 30000) longLine += " g1f3 g8f6 f3g1 f6g8";
    RunResult r = RunVelkor({}, "uci\n" + longLine + "\nfoo bar\n\nposition fen\ngo depth 1 searchmoves\nisready\n", 20);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("bestmove "), std::string::npos);
    EXPECT_EQ(r.out.substr(r.out.size() - 8), "readyok\n");
}

} // namespace
