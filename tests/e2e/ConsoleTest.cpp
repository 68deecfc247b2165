// Console play with the real binary: the prompt, the echo, the score and
// diagram after every half-move, the announcements, and self-play to the end.
#include <gtest/gtest.h>

#include <regex>

#include "e2e/Runner.h"

namespace {

TEST(Console, UserMoveEngineReplyAndQuit) {
    // The first word only chooses the protocol.
    RunResult r = RunVelkor({"-fd", "2"}, "hello\ne2e4\nquit\n", 20);
    EXPECT_EQ(r.exitCode, 0);
    const std::string& out = r.out;
    EXPECT_NE(out.find("\nHello! I am Velkor\nMAXDEPTH = 2\n"), std::string::npos) << out;
    size_t echo = out.find("Enter Move: e2e4\nGame Score 0\n   A B C D E F G H\n\n8  r n b q k b n r  8\n");
    ASSERT_NE(echo, std::string::npos) << out;
    EXPECT_NE(out.find("4  - - - - P - - -  4\n", echo), std::string::npos);
    // The engine's reply: another score line and diagram, then the prompt again.
    EXPECT_TRUE(std::regex_search(out.substr(echo + 30), std::regex("\nGame Score -?[0-9]+\n   A B C D E F G H\n")));
    EXPECT_EQ(Count(out, "Game Score "), 2);
    EXPECT_EQ(out.substr(out.size() - 44), "Enter Move: quit\nBye, Thanks for the match.\n");
}

TEST(Console, EngineMatedAfterGoAndEndOfInputIsQuit) {
    std::string file = TempFile("mated.fen", "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 0 1\n");
    RunResult r = RunVelkor({"-lpf", file}, "hello\ngo\n", 20);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("\nBlack mates!\nGame Score -110000\n", r.out.find("Enter Move: go\n")), std::string::npos) << r.out;
    EXPECT_EQ(r.out.substr(r.out.size() - 27), "Bye, Thanks for the match.\n");

    RunResult eof = RunVelkor({}, "hello\n", 10);
    EXPECT_EQ(eof.exitCode, 0);
    EXPECT_EQ(eof.out.substr(eof.out.size() - 39), "Enter Move: Bye, Thanks for the match.\n");
}

TEST(Console, SelfPlayAtFixedDepthRunsToTheEndOfTheGame) {
    RunResult r = RunVelkor({"-sp", "-fd", "3"}, "go\n", 60);
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(std::regex_search(r.out, std::regex("\n(White mates!|Black mates!|Stalemate|1/2-1/2 \\{Draw by "
                                                    "(50 Move Rule|insufficient material|repetition)\\})\n")))
        << r.out.substr(r.out.size() > 2000 ? r.out.size() - 2000 : 0);
    EXPECT_GT(Count(r.out, "Game Score "), 20);
    EXPECT_EQ(r.out.find("Major"), std::string::npos);
    EXPECT_EQ(r.out.find("MAJOR"), std::string::npos);
    EXPECT_EQ(r.out.find("Enter Move"), std::string::npos);
    EXPECT_EQ(r.out.substr(r.out.size() - 27), "Bye, Thanks for the match.\n");
}

} // namespace
