// xboard sessions with the real binary: moves and replies, force mode,
// clock commands, thinking output, analysis, the editor, and the lines
// that end a game.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "e2e/Runner.h"
#include "e2e/Session.h"

namespace {

std::string Log(const std::string& dir) {
    std::ifstream in(dir + "/match.log");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The engine's move lines: the move number, ". ..." and the move text.
std::vector<std::string> EngineMoves(const std::string& out) {
    std::vector<std::string> moves;
    for (const std::string& line : Lines(out))
        if (line.find(". ... ") != std::string::npos) moves.push_back(line);
    return moves;
}

TEST(XboardSession, UserMoveEngineReplyClockAndPost) {
    RunResult r = RunVelkor({}, "xboard\nprotover 2\nnew\nsd 3\npost\nlevel 40 5 0\ntime 30000\notim 1000\n"
                                "e2e4\nquit\n", 20);
    EXPECT_EQ(r.exitCode, 0);
    std::vector<std::string> moves = EngineMoves(r.out);
    ASSERT_EQ(moves.size(), 1u) << r.out;
    // Black's reply to the first move carries number 1.
    EXPECT_TRUE(std::regex_match(moves[0], std::regex("1\\. \\.\\.\\. [a-h][78][a-h][1-8] "))) << moves[0];
    EXPECT_TRUE(std::regex_search(r.out, std::regex("\n3 -?[0-9]+ [0-9]+ [0-9]+  [a-h]"))) << r.out;
    EXPECT_EQ(r.out.find("Enter Move"), std::string::npos);
    EXPECT_EQ(r.out.find("A B C"), std::string::npos);
    EXPECT_EQ(r.out.substr(r.out.size() - 27), "Bye, Thanks for the match.\n");
    std::string log = Log(r.dir);
    EXPECT_NE(log.find("MovesPerSession 40 TimeLeft 300000 TimeInc 0 \n"), std::string::npos);
    EXPECT_NE(log.find("\n 1000\n"), std::string::npos);
    EXPECT_NE(log.find("Move Made: "), std::string::npos);
}

TEST(XboardSession, ForceModeMovesForBothSidesThenGo) {
    RunResult r = RunVelkor({}, "xboard\nnew\nsd 2\nforce\ne2e4\ne7e5\ngo\nquit\n", 20);
    std::vector<std::string> moves = EngineMoves(r.out);
    ASSERT_EQ(moves.size(), 1u) << r.out;
    // White to move again; force mode did not advance the move number.
    EXPECT_TRUE(std::regex_match(moves[0], std::regex("1\\. \\.\\.\\. [a-h][12][a-h][1-8] "))) << moves[0];
}

TEST(XboardSession, AnalyzeAnswersDotAndEndsWithExitWithoutAMove) {
    Session s({});
    s.Send("xboard");
    s.Send("new");
    s.Send("analyze");
    ASSERT_TRUE(s.WaitFor("\n4 ")) << s.Output();
    s.Send(".");
    ASSERT_TRUE(s.WaitFor("stat01: "));
    ASSERT_TRUE(s.WaitFor("\n"));
    std::string stat = s.Output().substr(s.Output().rfind("stat01: "));
    EXPECT_TRUE(std::regex_match(stat, std::regex("stat01: [0-9]+ [0-9]+ [0-9]+ [0-9]+ [0-9]+\n"))) << stat;
    s.Send("exit");
    s.Send("displayboard"); // read by the move reader once the analysis is over
    ASSERT_TRUE(s.WaitFor("A B C D E F G H")) << s.Output();
    s.Send("quit");
    EXPECT_EQ(s.Finish(), 0);
    EXPECT_TRUE(EngineMoves(s.Output()).empty()) << s.Output();
}

TEST(XboardSession, EditorExampleSwitchesColourBeforeTheMen) {
    RunResult r = RunVelkor({}, "xboard\nnew\nforce\nedit\n#\nc\nPe4\nKe1\nRh1\n.\ndisplayboard\nquit\n", 20);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("4  - - - - p - - -  4\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("1  - - - - k - - r  1\n"), std::string::npos);
    EXPECT_NE(r.out.find("8  - - - - - - - -  8\n"), std::string::npos);
}

TEST(XboardSession, MateAndStalemateOfTheEngineEndTheGame) {
    RunResult mated = RunVelkor(
        {}, "xboard\nnew\nsetboard rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 0 1\ngo\n", 20);
    EXPECT_EQ(mated.exitCode, 0);
    EXPECT_NE(mated.out.find("Black mates!\nBye, Thanks for the match.\n"), std::string::npos) << mated.out;
    EXPECT_TRUE(EngineMoves(mated.out).empty());

    RunResult stalemate = RunVelkor({}, "xboard\nnew\nsetboard 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\ngo\n", 20);
    EXPECT_NE(stalemate.out.find("Stalemate\nBye, Thanks for the match.\n"), std::string::npos) << stalemate.out;
}

TEST(XboardSession, InsufficientMaterialAfterTheEnginesMove) {
    RunResult r = RunVelkor({}, "xboard\nnew\nsetboard 7k/8/8/8/8/8/8/K6n w - - 0 1\nsd 2\ngo\n", 20);
    EXPECT_NE(r.out.find("1/2-1/2 {Draw by insufficient material}\n"), std::string::npos) << r.out;
    EXPECT_EQ(EngineMoves(r.out).size(), 1u);
}

// Plies without capture or pawn move and without a repeated position:
// the white rook snakes over ranks 2 to 7, then the white king walks,
// while the black king steps between h8 and g8.
std::vector<std::string> QuietPlies(int count) {
    std::vector<std::string> white;
    const char* files = "abcdefgh";
    for (int rank = 2; rank <= 7; ++rank) {
        for (int i = 1; i < 8; ++i) {
            int from = rank % 2 ? 8 - i : i - 1, to = rank % 2 ? 7 - i : i;
            white.push_back(std::string{files[from], char('0' + rank), files[to], char('0' + rank)});
        }
        if (rank < 7) white.push_back(std::string{files[rank % 2 ? 0 : 7], char('0' + rank), files[rank % 2 ? 0 : 7],
                                                  char('0' + rank + 1)});
    }
    for (const char* k : {"a1b1", "b1c1", "c1d1"}) white.push_back(k);
    std::vector<std::string> plies;
    for (int i = 0; int(plies.size()) < count; ++i) {
        plies.push_back(white[size_t(i)]);
        if (int(plies.size()) < count) plies.push_back(i % 2 ? "g8h8" : "h8g8");
    }
    return plies;
}

TEST(XboardSession, FiftyMoveRuleAnnouncedWhenTheCountReaches100) {
    std::vector<std::string> plies = QuietPlies(100);
    std::string input = "xboard\nnew\nsetboard 7k/8/8/8/8/8/R7/K7 w - - 0 1\nforce\n";
    for (size_t i = 0; i < 99; ++i) input += plies[i] + "\n";
    input += "exit\n" + plies[99] + "\n"; // "exit" leaves force mode without a search
    RunResult r = RunVelkor({}, input, 20);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "Velkor \n1/2-1/2 {Draw by 50 Move Rule}\nBye, Thanks for the match.\n");
}

TEST(XboardSession, TheEnginesMoveCanBeTheHundredthPly) {
    std::vector<std::string> plies = QuietPlies(100);
    std::string input = "xboard\nnew\nsetboard 7k/8/8/8/8/8/R7/K7 w - - 0 1\nforce\n";
    for (size_t i = 0; i < 98; ++i) input += plies[i] + "\n";
    input += "sd 2\nexit\n" + plies[98] + "\n";
    RunResult r = RunVelkor({}, input, 20);
    // Nothing after the user's 99th ply; the engine's quiet reply makes 100.
    EXPECT_TRUE(std::regex_match(r.out, std::regex("Velkor \n1\\. \\.\\.\\. [a-h][1-8][a-h][1-8] \n"
                                                   "1/2-1/2 \\{Draw by 50 Move Rule\\}\n"
                                                   "Bye, Thanks for the match.\n")))
        << r.out;
}

TEST(XboardSession, ThirdRepetitionIsAnnounced) {
    RunResult r = RunVelkor({}, "xboard\nnew\nforce\ng1f3\ng8f6\nf3g1\nf6g8\ng1f3\ng8f6\nf3g1\nexit\nf6g8\n", 20);
    EXPECT_EQ(r.out, "Velkor \n1/2-1/2 {Draw by repetition}\nBye, Thanks for the match.\n");
}

TEST(XboardSession, QuitDuringAnalysisEndsAtOnce) {
    Session s({});
    s.Send("xboard");
    s.Send("analyze");
    ASSERT_TRUE(s.WaitFor("\n3 "));
    s.Send("quit");
    EXPECT_TRUE(s.WaitForExit(5000));
    EXPECT_EQ(s.Finish(), 0);
    EXPECT_EQ(s.Output().substr(s.Output().size() - 27), "Bye, Thanks for the match.\n");
}

} // namespace
