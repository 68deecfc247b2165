// UCI sessions with the real binary, as GUIs and match runners hold them:
// identification and options, position lines that are checked, every kind
// of "go", commands during any search, info lines, and nothing on standard
// output that is not UCI.
#include <gtest/gtest.h>

#include <regex>

#include "e2e/Runner.h"

namespace {

std::string Log(const std::string& dir) { return ReadFile(dir + "/match.log"); }

// Every line a UCI GUI can read, nothing else.
bool OnlyUciLines(const std::string& out) {
    static const std::regex uci(
        R"((id (name|author) .*|option name .*|uciok|readyok|info( .*)?|)"
        R"(bestmove ([a-h][1-8][a-h][1-8][qrbn]?|0000)( ponder [a-h][1-8][a-h][1-8][qrbn]?)? ?))");
    for (const std::string& line : Lines(out))
        if (!std::regex_match(line, uci)) return ADD_FAILURE() << "not UCI: " << line, false;
    return true;
}

TEST(UciSession, IdentificationOptionsAndEndOfInput) {
    RunResult r = RunVelkor({},
                            "uci\nisready\nsetoption name Threads value 2\nsetoption name Hash value abc\n"
                            "setoption name Hash value 16\nsetoption name Clear Hash\n"
                            "setoption name uci_showcurrline value false\nisready\n",
                            10);
    EXPECT_EQ(r.out, "id name Velkor 1.0\nid author the Velkor developers\n"
                     "option name UCI_AnalyseMode type check default false\n"
                     "option name OwnBook type check default false\n"
                     "option name SecondaryBook type check default false\n"
                     "option name UCI_ShowCurrLine type check default true\n"
                     "option name Ponder type check default false\n"
                     "option name UCI_EngineAbout type string default Velkor, a bitboard chess engine\n"
                     "option name Hash type spin default 192 min 1 max 4096\n"
                     "option name Clear Hash type button\n"
                     "option name Threads type spin default 1 min 1 max 1\n"
                     "option name Move Overhead type spin default 50 min 0 max 5000\n"
                     "option name MultiPV type spin default 1 min 1 max 64\n"
                     "option name BookFile type string default <empty>\n"
                     "option name BookSeed type spin default 0 min 0 max 2147483647\n"
                     "option name UCI_LimitStrength type check default false\n"
                     "option name UCI_Elo type spin default 2000 min 800 max 2000\n"
                     "option name Skill Level type spin default 20 min 0 max 20\n"
                     "option name Level Seed type spin default 0 min 0 max 2147483647\n"
                     "uciok\nreadyok\n"
                     "info string Velkor searches on one thread: Threads stays 1\n"
                     "info string invalid value for Hash: abc\n"
                     "readyok\n");
    EXPECT_EQ(r.exitCode, 0); // the end of input is "quit"
    EXPECT_TRUE(Has(Log(r.dir), "Sent uciok\n\n"));
}

// Resident memory of a process in KiB, from the kernel's account of it.
long ResidentKiB(pid_t pid) {
    const std::string status = ReadFile("/proc/" + std::to_string(pid) + "/status");
    const size_t at = status.find("VmRSS:");
    return at == std::string::npos ? -1 : std::stol(status.substr(at + 6));
}

// The default table takes 128 MiB; "readyok" and "pong" come once all of it is in memory.
TEST(UciSession, ReadyOnceTheTableIsInMemory) {
    Session uci;
    ASSERT_TRUE(uci.Step("uci", "uciok\n"));
    ASSERT_TRUE(uci.Step("isready", "readyok\n"));
    EXPECT_GE(ResidentKiB(uci.Pid()), 128 << 10);
    Session xboard;
    ASSERT_TRUE(xboard.Step("xboard\nprotover 2", "done=1\n"));
    ASSERT_TRUE(xboard.Step("new\nping 1", "pong 1\n"));
    EXPECT_GE(ResidentKiB(xboard.Pid()), 128 << 10);
    ASSERT_TRUE(xboard.Step("memory 16\nping 2", "pong 2\n"));
    EXPECT_LT(ResidentKiB(xboard.Pid()), 128 << 10) << "memory 16: a table of 16 MiB at most";
}

TEST(UciSession, PositionsInfoLinesAndBestMoves) {
    RunResult r = RunVelkor({},
                            "uci\nposition startpos moves e2e4 e7e5 g1f3\ngo depth 3\n"
                            "position fen 6k1/p4ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1 moves g2g3 a7a6\ngo depth 3\n"
                            "position fen 8/4P1k1/8/8/8/8/8/K7 w - - 0 1\ngo depth 3\n"
                            "position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\ngo depth 3\n"
                            "position fen R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1\ngo depth 3\n"
                            "position startpos moves e2e4 e7e4 d2d4\ngo depth 1\n"
                            "position fen 8/8/8/8/8/8/8/8 w - - 0 1\ngo depth 1\n"
                            "position startpos\ngo depth 2 searchmoves e7e5 h2h5\n"
                            "quit\n",
                            20);
    EXPECT_TRUE(OnlyUciLines(r.out));
    std::smatch m;
    ASSERT_TRUE(std::regex_search(r.out, m,
                                  std::regex("info depth 3\n(.*\n)*?info score cp -?[0-9]+\n"
                                             "bestmove ([a-h][78][a-h][1-8]) \n")))
        << r.out; // black answers
    EXPECT_TRUE(std::regex_search(
        r.out, std::regex("\ninfo depth 3 seldepth [0-9]+ score cp -?[0-9]+ nodes [0-9]+ "
                          "nps [0-9]+ time [0-9]+ hashfull [0-9]+ pv [a-h][1-8][a-h][1-8]( [a-h][1-8][a-h][1-8])*\n")));
    EXPECT_TRUE(Has(r.out, "score mate 1 ") && Has(r.out, "info score mate 1\nbestmove d1d8 \n")); // after the list
    EXPECT_TRUE(Has(r.out, "bestmove e7e8q \n"));
    EXPECT_TRUE(Has(r.out, "info depth 0 score cp 0 nodes 0 time ")) << "stalemate scores 0";
    EXPECT_TRUE(Has(r.out, "info depth 0 score mate 0 nodes 0 time ")) << "mated";
    EXPECT_EQ(Count(r.out, "bestmove 0000\n"), 3) << "stalemated, mated, no listed move legal";
    // The list stops at the illegal move: black is to move, and the invalid FEN leaves that position.
    EXPECT_TRUE(Has(r.out, "info string illegal move: e7e4\n") && Has(r.out, "info string invalid position: 8/8/"));
    EXPECT_TRUE(std::regex_search(
        r.out, std::regex("illegal move: e7e4\ninfo depth 1\n(info .*\n)*bestmove ([a-h][78][a-h][1-8]) \n"
                          "info string invalid position: .*\ninfo depth 1\n(info .*\n)*bestmove \\2 \n")));
    EXPECT_TRUE(Has(Log(r.dir), "MainBoard.FixedDepth = 3\n"));
}

TEST(UciSession, NodesMateAndInputDuringEveryKindOfSearch) {
    Session s;
    ASSERT_TRUE(s.Step("uci\nposition startpos\ngo nodes 10000", "bestmove ", 10000));
    std::smatch m;
    const std::string nodes = s.out.substr(0, s.out.rfind("bestmove"));
    long long last = 0;
    const std::regex nodeCount(" nodes ([0-9]+) ");
    for (std::sregex_iterator it(nodes.begin(), nodes.end(), nodeCount), end; it != end; ++it)
        last = std::stoll((*it)[1]);
    EXPECT_TRUE(last > 3000 && last < 10500) << last;

    // A mate search shows the shortest mate it finds, and the line whole, to the mate.
    auto lastInfo = [&s] {
        const std::string search = s.out.substr(0, s.out.rfind("bestmove"));
        return search.substr(search.rfind("info depth "));
    };
    ASSERT_TRUE(s.Step("position fen 6k1/5ppp/8/8/8/8/4QPPP/4R1K1 w - - 0 1\ngo mate 2", "bestmove ", 10000));
    EXPECT_TRUE(std::regex_search(lastInfo(), std::regex("score mate 1 .* pv e2e8\n"))) << lastInfo();
    ASSERT_TRUE(s.Step("position fen 7R/8/1k6/5K2/8/8/8/2R5 w - - 0 1\ngo mate 3", "bestmove ", 10000));
    EXPECT_TRUE(std::regex_search(lastInfo(), std::regex("score mate 3 .* pv (\\S+ ){4}\\S+\n"))) << lastInfo();

    // A fixed depth, a timed search and an analysis all answer isready at once and obey stop.
    for (const char* go : {"go depth 60", "go wtime 600000 btime 600000", "go infinite", "go ponder wtime 1000"}) {
        ASSERT_TRUE(s.Step(std::string("position startpos moves e2e4\n") + go, "info depth 3\n")) << go;
        ASSERT_TRUE(s.Step("isready", "readyok\n", 3000)) << go;
        EXPECT_FALSE(Has(s.out.substr(s.seen), "bestmove")) << go;
        ASSERT_TRUE(s.Step("stop", "bestmove ", 3000)) << go;
    }
    // A ponder search that has seen enough keeps its result until the ponderhit.
    ASSERT_TRUE(s.Step("setoption name Ponder value true\nucinewgame\nposition fen 6k1/8/8/8/8/8/8/R5K1 b - - 0 1\n"
                       "go ponder wtime 5000 btime 5000",
                       "info depth 2\n"));
    ASSERT_TRUE(s.Step("isready", "readyok\n"));
    EXPECT_FALSE(Has(s.out.substr(s.seen), "bestmove"));
    ASSERT_TRUE(s.Step("ponderhit", "bestmove ", 5000) && s.WaitFor("\n"));
    // The option survived the new game; idle "stop" and "ponderhit" do nothing.
    ASSERT_TRUE(s.Step("stop\nponderhit\nposition startpos\ngo depth 4", "bestmove ") && s.WaitFor("\n"));
    EXPECT_TRUE(std::regex_search(s.out.substr(s.seen - 30), std::regex("bestmove [a-h][1-8][a-h][1-8] ponder ")));
    s.Send("quit");
    EXPECT_TRUE(s.WaitForExit(3000)); // with the input still open
    EXPECT_EQ(s.Finish(), 0);
    EXPECT_TRUE(OnlyUciLines(s.out));
}

TEST(UciSession, MovetimeIsKeptAndNewGameStopsASearch) {
    Session s;
    const long goAt = s.Elapsed();
    ASSERT_TRUE(s.Step("uci\nposition startpos\ngo movetime 300", "bestmove ", 5000));
    // The node budget at the measured speed may end the move a little early on a
    // loaded machine (225 ms seen); a budget cut to a fraction of the time would not pass.
    EXPECT_GT(s.Elapsed() - goAt, 150);
    ASSERT_TRUE(s.Step("go wtime 1000000 btime 1000000", "info depth 2\n"));
    ASSERT_TRUE(s.Step("ucinewgame\nisready", "bestmove ", 5000) && s.WaitFor("readyok\n"));
    EXPECT_EQ(s.Finish(), 0);
    std::string log = Log(s.dir);
    size_t stopped = log.find("Received ucinewgame while doing something other than WAITING\n");
    EXPECT_TRUE(stopped != std::string::npos && Has(log.substr(stopped), "Processing ucinewgame\n"));
    EXPECT_EQ(Count(log, "MainStatus.ST = 300\n"), 2);
}

TEST(UciSession, EndOfInputMidSearchOverlongAndUnknownLines) {
    RunResult r = RunVelkor({"-uci"}, "go infinite\n", 10);
    EXPECT_EQ(r.exitCode, 0);
    std::string longLine = "position startpos moves";
    while (longLine.size() < 30000) longLine += " g1f3 g8f6 f3g1 f6g8";
    r = RunVelkor({}, "uci\n" + longLine + "\nfoo bar\n\nposition fen\ngo depth 1 searchmoves\nisready\n", 20);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(std::regex_search(r.out, std::regex("bestmove [a-h][1-8][a-h][1-8] \nreadyok\n$"))) << r.out;
    EXPECT_TRUE(OnlyUciLines(r.out));
}

} // namespace
