// xboard sessions: moves and replies, force mode, clocks, thinking output, analysis and the ends of games.
#include <gtest/gtest.h>

#include <regex>

#include "e2e/Runner.h"

namespace {

// Every line xboard can read from an engine, nothing else.
bool OnlyXboardLines(const std::string& out) {
    static const std::regex xboard(R"((Velkor |feature .*|pong -?\d+|\d+\. \.\.\. [a-h][1-8][a-h][1-8] ?|)"
                                   R"(-?\d+ -?\d+ \d+ \d+ [a-h].*|Illegal move( \(.*\))?: .*|Error \(.*\): .*|)"
                                   R"(tellusererror .*|telluser .*|tellics .*|stat01: .*|(1-0|0-1|1/2-1/2) \{.*\}|)"
                                   R"(White mates!|Black mates!|Stalemate))");
    for (const std::string& line : Lines(out))
        if (!std::regex_match(line, xboard)) return ADD_FAILURE() << "not xboard: [" << line << "]", false;
    return true;
}

// Then game after game in one process; force-mode moves are not numbered; under "st" the clock ends each search.
TEST(XboardSession, HandshakeClocksThinkingLinesAndManyGames) {
    Session s;
    ASSERT_TRUE(s.Step("xboard\nprotover 2", "done=1\n", 2000));
    EXPECT_LT(s.Elapsed(), 1000) << "no wait for the GUI's time-out";
    EXPECT_TRUE(Has(s.out, "feature ping=1 setboard=1 usermove=1 time=1 analyze=1 colors=0 sigint=0 sigterm=0 "
                           "reuse=1 "));
    EXPECT_TRUE(Has(s.out, "\nfeature memory=1\nfeature option=\"Move Overhead -spin 50 0 5000\"\n"
                           "feature option=\"UCI_LimitStrength -check 0\" option=\"UCI_Elo -spin 2000 800 2000\" "
                           "option=\"Skill Level -spin 20 0 20\" option=\"Level Seed -spin 0 0 2147483647\"\n"
                           "feature done=1\n"));
    ASSERT_TRUE(s.Step("accepted ping\nping 7", "pong 7\n"));
    ASSERT_TRUE(s.Step("new\nlevel 0 0:30 0.3\npost\nhard\ntime 3000\notim 3000\nusermove e2e4", "1. ... ", 8000));
    ASSERT_TRUE(s.Step("level 40 5 0\nsetboard 6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1\ngo", "2. ... ", 8000));
    ASSERT_TRUE(s.Step("result 1-0 {White resigns}\nnew\nsd 3\nforce\nd2d4\ng8f6\ngo", "1. ... "));
    ASSERT_TRUE(s.Step("new\nst 1\ne2e4", "1. ... ", 8000) && s.Step("d2d4", "2. ... ", 8000)) << s.out;
    ASSERT_TRUE(s.Step("new\nsd 2\nusermove g1f3\nping 3", "pong 3\n", 8000));
    EXPECT_TRUE(Matches(s.out, "1\\. \\.\\.\\. [a-h][78][a-h][1-8] \npong 3\n$"));
    EXPECT_EQ(s.Finish(), 0);
    EXPECT_FALSE(Has(s.out, "Bye"));
    // Thinking: ply, centipawns (mates as 100000 + moves), centiseconds, nodes and the line.
    EXPECT_TRUE(Matches(s.out, "\n5 -?[0-9]+ [0-9]+ [0-9]+ [a-h][1-8][a-h][1-8]( [a-h1-8qrbn]+)*\n"));
    EXPECT_TRUE(Matches(s.out, "\n1 100001 [0-9]+ [0-9]+ a1a8\n"));
    EXPECT_TRUE(OnlyXboardLines(s.out));
    const std::string log = s.Log();
    for (const char* line : {"MovesPerSession 0 TimeLeft 30000 TimeInc 300 \n",
                             "MovesPerSession 40 TimeLeft 300000 TimeInc 0 \n", "\n 3000\n", "Move Made: "})
        EXPECT_TRUE(Has(log, line)) << line;
}

// A burst of commands while thinking is answered at once: the ping behind 400 refused moves precedes the move.
TEST(XboardSession, BurstWhileThinkingKeepsThePingPrompt) {
    Session s;
    ASSERT_TRUE(s.Step("xboard\nprotover 2\nnew\nlevel 0 1 0\ntime 2000\notim 2000", "done=1\n"));
    std::string burst = "usermove e2e4\n";
    for (int i = 0; i < 400; ++i) burst += "usermove e7e5\n"; // Black is thinking: not the user's turn
    s.Write(burst + "ping 9\n");
    ASSERT_TRUE(s.WaitFor("pong 9\n", 30000)) << s.out;
    EXPECT_FALSE(Has(s.out, "1. ... ")) << "the move came first: one command a poll";
    EXPECT_EQ(Count(s.out, "Illegal move (not your turn): e7e5"), 400);
    ASSERT_TRUE(s.WaitFor("1. ... ", 30000));
    EXPECT_EQ(s.Quit(), 0);
}

// Illegal and malformed moves, and positions that are none, are refused and change nothing.
TEST(XboardSession, IllegalMovesAndPositionsLeaveTheGameAsItWas) {
    const char* const refused[] = {"e2e5", "e2i4", "e1e2", "e7e5", "a1a3", "a0a1", "e2e4e7e5", "usermove h2h9", "zz"};
    std::string input = "xboard\nprotover 2\nnew\nforce\n";
    for (const char* m : refused) input += std::string(m) + "\n";
    input += "setboard 8/8/8/8/8/8/8/8 w - - 0 1\nsetboard 4k3/8/8/8/8/8/8/4K2P w - - 0 1\n"
             "setboard 4k3/4R3/8/8/8/8/8/4K3 w - - 0 1\nsetboard garbage\nedit\n#\nKe1\n.\n"
             "setboard 4k3/8/8/8/8/8/8/R3K3 w Q - 0 1\ne1e2\ne8d7\nping 1\n";
    RunResult r = RunVelkor({}, input, 20);
    for (const char* m : {"e2e5", "e2i4", "e1e2", "e7e5", "a1a3", "a0a1", "e2e4e7e5", "h2h9"})
        EXPECT_TRUE(Has(r.out, std::string("Illegal move: ") + m + "\n")) << m;
    EXPECT_TRUE(Has(r.out, "Error (unknown command): zz\n"));
    EXPECT_EQ(Count(r.out, "tellusererror Illegal position\n"), 5);
    EXPECT_EQ(Count(r.out, "Illegal move"), 8) << "after the good setboard both moves are legal";
    EXPECT_TRUE(OnlyXboardLines(r.out));
}

// Every change of the position during an analysis starts it again on the new position.
TEST(XboardSession, AnalysisFollowsThePosition) {
    Session s;
    ASSERT_TRUE(s.Step("xboard\nprotover 2\nnew\nanalyze", "\n4 "));
    ASSERT_TRUE(s.Step(".", "stat01: "));
    const std::regex blackLine("\n4 -?[0-9]+ [0-9]+ [0-9]+ [a-h][78][a-h][1-8]"),
        whiteLine("\n4 -?[0-9]+ [0-9]+ [0-9]+ [a-h][12][a-h][1-8]");
    // The iteration the move cut short shows nothing: the new position's first line follows.
    ASSERT_TRUE(s.Step("usermove e2e4", "\n1 ") && s.WaitFor("\n4 ") && s.WaitFor("\n5 "));
    EXPECT_TRUE(Matches(s.out, "\nstat01: [0-9]+ [0-9]+ [0-9]+ [0-9]+ [0-9]+\n"));
    EXPECT_TRUE(std::regex_search(s.out.substr(s.seen - 300), blackLine));
    ASSERT_TRUE(s.Step("undo", "\n1 ") && s.WaitFor("\n4 ") && s.WaitFor("\n5 "));
    EXPECT_TRUE(std::regex_search(s.out.substr(s.seen - 300), whiteLine));
    ASSERT_TRUE(s.Step("setboard 6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1", "100001 "));
    ASSERT_TRUE(s.Step("new", "\n1 ") && s.WaitFor("\n4 "));
    ASSERT_TRUE(s.Step("exit\nping 9", "pong 9\n"));
    EXPECT_FALSE(Has(s.out.substr(s.seen), "\n5 ")) << "no analysis after exit";
    s.Send("quit");
    EXPECT_TRUE(s.WaitForExit(5000));
    EXPECT_EQ(s.Finish(), 0);
    EXPECT_FALSE(Has(s.out, ". ..."));
    EXPECT_TRUE(OnlyXboardLines(s.out));
}

// 57 quiet white moves in 7k/8/8/8/8/8/R7/K7 that repeat no position while Black's king steps h8-g8.
std::vector<std::string> QuietWhiteMoves() {
    std::vector<std::string> moves;
    auto sq = [](int file, int rank) { return std::string{char('a' + file), char('0' + rank)}; };
    int file = 0;
    for (int r = 2; r <= 7; ++r) {
        for (int i = 0; i < 5; ++i) {
            const int next = r % 2 ? file - 1 : file + 1;
            moves.push_back(sq(file, r) + sq(next, r));
            file = next;
        }
        if (r < 7) moves.push_back(sq(file, r) + sq(file, r + 1));
    }
    for (int f = 0; f < 7; ++f) moves.push_back(sq(f, 1) + sq(f + 1, 1));
    for (const char* m : {"a7a6", "a6a5", "a5a4", "a4a3", "a3a2", "a2b2", "b2c2", "c2d2"}) moves.push_back(m);
    return moves;
}

std::string QuietPlies(int count) {
    const std::vector<std::string> white = QuietWhiteMoves();
    std::string plies;
    for (int i = 0; i < count; ++i) plies += (i % 2 ? (i % 4 == 1 ? "h8g8" : "g8h8") : white[size_t(i / 2)]) + "\n";
    return plies;
}

TEST(XboardSession, EndOfGameAnnouncements) {
    const std::string rookEnding = "xboard\nnew\nsetboard 7k/8/8/8/8/8/R7/K7 w - - 0 1\nsd 2\nforce\n";
    struct Case {
        std::string input, ending;
    } cases[] = {
        {"xboard\nnew\nsetboard rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 0 1\ngo\n",
         "Velkor \nBlack mates!\n"},
        {"xboard\nnew\nsetboard 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\ngo\n", "Velkor \nStalemate\n"},
        {"xboard\nnew\nsetboard 7k/8/8/8/8/8/8/K6n w - - 0 1\nsd 2\ngo\n",
         "\n1/2-1/2 {Draw by insufficient material}\n"},
        {"xboard\nnew\nforce\ng1f3\ng8f6\nf3g1\nf6g8\ng1f3\ng8f6\nf3g1\nexit\nf6g8\n",
         "Velkor \n1/2-1/2 {Draw by repetition}\n"},
        // The user's move makes the 100th ply, then the engine's.
        {rookEnding + QuietPlies(99) + "exit\ng8h8\n", "Velkor \n1/2-1/2 {Draw by 50 Move Rule}\n"},
        {rookEnding + QuietPlies(98) + "exit\n" + QuietWhiteMoves()[49] + "\n", " \n1/2-1/2 {Draw by 50 Move Rule}\n"},
    };
    for (const Case& c : cases) {
        RunResult r = RunVelkor({}, c.input, 20);
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(Tail(r.out, c.ending.size()), c.ending) << c.input;
        EXPECT_EQ(Count(r.out, "1/2-1/2") + Count(r.out, "mates!") + Count(r.out, "Stalemate"), 1) << r.out;
    }
}

} // namespace

// 2,003 plies keep their whole history: no false draw, the mate found (UCI: a test of unending lines).
TEST(LongGame, TwoThousandPliesThenAMate) {
    std::string xboard = "xboard\nnew\nforce\n";
    for (int i = 0; i < 500; ++i) xboard += "g1f3\ng8f6\nf3g1\nf6g8\n";
    RunResult r = RunVelkor({}, xboard + "f2f3\ne7e5\ng2g4\nsd 3\ngo\n", 30);
    EXPECT_TRUE(Has(r.out, "\n1. ... d8h4 \n")) << r.out; // force-mode moves are not numbered
    EXPECT_FALSE(Has(r.out, "ERROR") || Has(r.out, "1/2-1/2"));
}
