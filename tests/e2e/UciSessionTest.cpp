// UCI sessions as GUIs and match runners hold them; nothing on standard output that is not UCI.
#include <gtest/gtest.h>

#include <regex>

#include "e2e/Runner.h"

namespace {

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
    EXPECT_TRUE(Has(r.Log(), "Sent uciok\n\n"));
}

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
                            "position startpos\ngo depth 2 searchmoves e7e5 h2h5\n"
                            "quit\n",
                            20);
    EXPECT_TRUE(OnlyUciLines(r.out));
    EXPECT_TRUE(Matches(r.out, "info depth 3\n(.*\n)*?info score cp -?[0-9]+\nbestmove [a-h][78][a-h][1-8] \n"))
        << r.out; // black answers
    EXPECT_TRUE(Matches(r.out, "\ninfo depth 3 seldepth [0-9]+ score cp -?[0-9]+ nodes [0-9]+ nps [0-9]+ time [0-9]+ "
                               "hashfull [0-9]+ pv [a-h][1-8][a-h][1-8]( [a-h][1-8][a-h][1-8])*\n"));
    EXPECT_TRUE(Has(r.out, "score mate 1 ") && Has(r.out, "info score mate 1\nbestmove d1d8 \n")); // after the list
    EXPECT_TRUE(Has(r.out, "bestmove e7e8q \n"));
    EXPECT_EQ(Count(r.out, "bestmove 0000\n"), 1) << "no listed move legal";
    EXPECT_TRUE(Has(r.Log(), "MainBoard.FixedDepth = 3\n"));
}

TEST(UciSession, NodesMateAndInputDuringEveryKindOfSearch) {
    Session s;
    ASSERT_TRUE(s.Step("uci\nposition startpos\ngo nodes 10000", "bestmove ", 10000));
    const std::string nodes = s.out.substr(0, s.out.rfind("bestmove"));
    long long last = 0;
    const std::regex nodeCount(" nodes ([0-9]+) ");
    for (std::sregex_iterator it(nodes.begin(), nodes.end(), nodeCount), end; it != end; ++it)
        last = std::stoll((*it)[1]);
    EXPECT_TRUE(last > 3000 && last < 10500) << last;

    // A mate search shows its line whole, to the mate.
    ASSERT_TRUE(s.Step("position fen 7R/8/1k6/5K2/8/8/8/2R5 w - - 0 1\ngo mate 3", "bestmove ", 10000));
    const std::string mate = s.out.substr(0, s.out.rfind("bestmove"));
    EXPECT_TRUE(Matches(mate.substr(mate.rfind("info depth ")), "score mate 3 .* pv (\\S+ ){4}\\S+\n")) << mate;

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
    EXPECT_TRUE(Matches(s.out.substr(s.seen - 30), "bestmove [a-h][1-8][a-h][1-8] ponder "));
    s.Send("quit");
    EXPECT_TRUE(s.WaitForExit(3000)); // with the input still open
    EXPECT_EQ(s.Finish(), 0);
    EXPECT_TRUE(OnlyUciLines(s.out));
}

TEST(UciSession, MovetimeIsKeptAndNewGameStopsASearch) {
    Session s;
    const long goAt = s.Elapsed();
    ASSERT_TRUE(s.Step("uci\nposition startpos\ngo movetime 300", "bestmove ", 5000));
    EXPECT_GT(s.Elapsed() - goAt, 150) << "a loaded machine may end a little early, not at a fraction";
    ASSERT_TRUE(s.Step("go wtime 1000000 btime 1000000", "info depth 2\n"));
    ASSERT_TRUE(s.Step("ucinewgame\nisready", "bestmove ", 5000) && s.WaitFor("readyok\n"));
    EXPECT_EQ(s.Finish(), 0);
    const std::string log = s.Log();
    size_t stopped = log.find("Received ucinewgame while doing something other than WAITING\n");
    EXPECT_TRUE(stopped != std::string::npos && Has(log.substr(stopped), "Processing ucinewgame\n"));
    EXPECT_EQ(Count(log, "MainStatus.ST = 300\n"), 2);
}

// The end of input ends a search; a 100,000-letter move or word and unknown lines change nothing.
TEST(UciSession, EndOfInputMidSearchLongWordsAndUnknownLines) {
    EXPECT_EQ(RunVelkor({"-uci"}, "go infinite\n", 10).exitCode, 0);
    RunResult r =
        RunVelkor({},
                  "uci\nposition startpos moves " + std::string(100000, 'e') + "\n" + std::string(100000, 'x') +
                      "\nfoo bar\n\nposition fen\ngo depth 1 searchmoves\nisready\n",
                  20);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(Matches(r.out, "\nbestmove [a-h][12][a-h][1-8] \nreadyok\n$")) << r.out.substr(r.out.size() - 300);
    EXPECT_TRUE(OnlyUciLines(r.out));
}

} // namespace
