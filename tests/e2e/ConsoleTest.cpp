// Console play with the real binary: the prompt, the echo, the score and
// diagram after every half-move, an announcement, and self-play to the end.
#include <gtest/gtest.h>

#include <regex>

#include "e2e/Runner.h"

TEST(Console, UserMoveEngineReplyAndQuit) {
    RunResult r = RunVelkor({"-fd", "2"}, "hello\ne2e4\nquit\n", 20); // the first word only picks the protocol
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(std::regex_search(r.out, std::regex("\nHello! I am Velkor\nMAXDEPTH = 2\n(.*\n)*"
                                                    "Enter Move: e2e4\nGame Score 0\n   A B C D E F G H\n\n"
                                                    "8  r n b q k b n r  8\n(.*\n)*4  - - - - P - - -  4\n(.*\n)*"
                                                    "Game Score -?[0-9]+\n   A B C D E F G H\n(.*\n)*"
                                                    "Enter Move: quit\nBye, Thanks for the match.\n$")))
        << r.out;
    EXPECT_EQ(Count(r.out, "Game Score "), 2);
}

TEST(Console, MatedEngineAndSelfPlayToTheEnd) {
    std::string file = TempFile("mated.fen", "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 0 1\n");
    RunResult r = RunVelkor({"-lpf", file}, "hello\ngo\n", 20);
    EXPECT_TRUE(std::regex_search(r.out, std::regex("Enter Move: go\n(.*\n)*Black mates!\nGame Score -110000\n")));
    EXPECT_EQ(r.out.substr(r.out.size() - 27), "Bye, Thanks for the match.\n");

    r = RunVelkor({"-sp", "-fd", "3"}, "go\n", 60);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(std::regex_search(r.out, std::regex("\n(White mates!|Black mates!|Stalemate|1/2-1/2 \\{Draw by "
                                                    "(50 Move Rule|insufficient material|repetition)\\})\n")));
    EXPECT_GT(Count(r.out, "Game Score "), 20);
    EXPECT_EQ(Count(r.out, "Enter Move") + Count(r.out, "Major") + Count(r.out, "MAJOR"), 0);
}

// A first word that is a move is the user's first move; the engine names
// its move; an illegal move is refused and asked again; help and unknown words.
TEST(Console, FirstMoveIllegalMovesMyMoveAndHelp) {
    RunResult r = RunVelkor({"-fd", "2"}, "e2e4\ne7e5\ne2e5\nb1c3\nfoo\nhelp\nquit\n", 20);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(std::regex_search(r.out, std::regex("Enter Move: e2e4\n(.*\n)*My move: [a-h][78][a-h][1-8]\n"
                                                    "Game Score -?[0-9]+\n")))
        << r.out;
    for (const char* said : {"Enter Move: e7e5\nIllegal move: e7e5\n", "Enter Move: e2e5\nIllegal move: e2e5\n",
                             "Unknown command: foo (help lists the commands)\n", "Moves as e2e4 or e7e8q."})
        EXPECT_TRUE(Has(r.out, said)) << said;
    EXPECT_EQ(Count(r.out, "My move: "), 2) << "e7e5, e2e5 and foo changed nothing; b1c3 was the second move";
    EXPECT_EQ(Count(r.out, "4  - - - - P - - -  4"), 4) << "the pawn stayed on e4";
}
