// xboard sessions with the real binary: moves and replies, force mode,
// clock commands, thinking output, analysis, and the lines that end a game.
#include <gtest/gtest.h>

#include <regex>

#include "e2e/Runner.h"

namespace {

const char* const bye = "Bye, Thanks for the match.\n";

TEST(XboardSession, ReplyNumberingForceModeClockAndPost) {
    RunResult r = RunVelkor({}, "xboard\nprotover 2\nnew\nsd 3\npost\nlevel 40 5 0\ntime 30000\notim 1000\n"
                                "e2e4\nforce\nd2d4\ng8f6\ngo\nquit\n", 20);
    EXPECT_EQ(r.exitCode, 0);
    // Black's reply to the first move is numbered 1; force mode does not count.
    EXPECT_TRUE(std::regex_search(r.out, std::regex("\n1\\. \\.\\.\\. [a-h][78][a-h][1-8] \n(.*\n)*"
                                                    "2\\. \\.\\.\\. [a-h][12][a-h][1-8] \nBye")))
        << r.out;
    EXPECT_TRUE(std::regex_search(r.out, std::regex("\n3 -?[0-9]+ [0-9]+ [0-9]+  [a-h]")));
    EXPECT_FALSE(Has(r.out, "Enter Move") || Has(r.out, "A B C"));
    const std::string log = ReadFile(r.dir + "/match.log");
    for (const char* line : {"MovesPerSession 40 TimeLeft 300000 TimeInc 0 \n", "\n 1000\n", "Move Made: "})
        EXPECT_TRUE(Has(log, line)) << line;
}

// Under "st" the clock, not a command, ends each search: the move must still be sent.
TEST(XboardSession, FixedTimePerMoveAnswersEveryMove) {
    Session s;
    ASSERT_TRUE(s.Step("xboard\nnew\nst 1\ne2e4", "1. ... ", 8000)) << s.out;
    ASSERT_TRUE(s.Step("d2d4", "2. ... ", 8000)) << s.out;
    s.Send("quit");
    EXPECT_EQ(s.Finish(), 0);
}

TEST(XboardSession, AnalyzeAnswersDotAndExitEndsItWithoutAMove) {
    Session s;
    ASSERT_TRUE(s.Step("xboard\nanalyze", "\n4 "));
    ASSERT_TRUE(s.Step(".", "stat01: ") && s.WaitFor("\n"));
    EXPECT_TRUE(std::regex_search(s.out, std::regex("\nstat01: [0-9]+ [0-9]+ [0-9]+ [0-9]+ [0-9]+\n")));
    // Read by the move reader once the analysis is over.
    ASSERT_TRUE(s.Step("exit\ndisplayboard", "A B C D E F G H"));
    ASSERT_TRUE(s.Step("analyze", "\n3 "));
    s.Send("quit"); // ends the process at once
    EXPECT_TRUE(s.WaitForExit(5000));
    EXPECT_EQ(s.Finish(), 0);
    EXPECT_FALSE(Has(s.out, ". ..."));
    EXPECT_EQ(s.out.substr(s.out.size() - 27), bye);
}

// Plies without capture, pawn move or repeated position: the white rook
// snakes over ranks 2 to 7, then the white king walks, while the black
// king steps between h8 and g8.
std::string QuietPlies(int count) {
    std::vector<std::string> white;
    for (int rank = 2; rank <= 7; ++rank) {
        for (int i = 1; i < 8; ++i) {
            int from = rank % 2 ? 8 - i : i - 1, to = rank % 2 ? 7 - i : i;
            white.push_back(std::string{char('a' + from), char('0' + rank), char('a' + to), char('0' + rank)});
        }
        char edge = rank % 2 ? 'a' : 'h';
        if (rank < 7) white.push_back(std::string{edge, char('0' + rank), edge, char('1' + rank)});
    }
    white.insert(white.end(), {"a1b1", "b1c1", "c1d1"});
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
        // "exit" leaves force mode without a search; the user's move makes 100 plies.
        {rookEnding + QuietPlies(99) + "exit\ng8h8\n", "Velkor \n1/2-1/2 {Draw by 50 Move Rule}\n"},
        // Nothing at 99 plies: the engine's quiet reply makes 100.
        {rookEnding + QuietPlies(98) + "exit\nc1d1\n", " \n1/2-1/2 {Draw by 50 Move Rule}\n"},
    };
    for (const Case& c : cases) {
        RunResult r = RunVelkor({}, c.input, 20);
        EXPECT_EQ(r.exitCode, 0);
        std::string expected = c.ending + bye;
        EXPECT_EQ(r.out.substr(r.out.size() - std::min(r.out.size(), expected.size())), expected) << c.input;
        EXPECT_EQ(Count(r.out, "1/2-1/2") + Count(r.out, "mates!") + Count(r.out, "Stalemate"), 1) << r.out;
    }
}

} // namespace
