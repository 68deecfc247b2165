// Console play for a person (moves in standard notation, the engine's move as people write it, the game's
// end and the next one, taking back, hints, saving) and the self play that keeps the old output.
#include <gtest/gtest.h>

#include "e2e/Runner.h"

namespace {

const std::string AnyBoard = "   A B C D E F G H\n\n(.*\n){8}\n   A B C D E F G H\n";

TEST(Console, UserMoveEngineReplyAndQuit) {
    RunResult r = RunVelkor({"-fd", "2"}, "hello\ne2e4\nquit\n", 20); // the first word only picks the protocol
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(Matches(r.out, "\nHello! I am Velkor\nYou play White; Velkor plays at full strength, 2 plies deep a "
                               "move\\.\n.*help lists the commands\\.\n" +
                                   AnyBoard + "Enter Move: e2e4\nVelkor plays 1\\. \\.\\.\\. [a-hNBRQK][a-h1-8x]+\n" +
                                   AnyBoard + "Enter Move: quit\nBye, Thanks for the match.\n$"))
        << r.out;
    EXPECT_EQ(Count(r.out, "4  - - - - P - - -  4"), 1) << "the board after the reply, not after the person's move";
    // The diagnostics of every move are in the log, and on the screen with -v.
    const std::string log = r.Log();
    for (const char* line : {"MAXDEPTH = 2", "Game Score 0", "PosEval from White view", "My move: "})
        EXPECT_TRUE(Has(log, line) && !Has(r.out, line)) << line;
    r = RunVelkor({"-fd", "2", "-v"}, "e2e4\nquit\n", 20);
    EXPECT_TRUE(
        Matches(r.out, "MAXDEPTH = 2\n(.*\n)*Enter Move: e2e4\nGame Score 0\n" + AnyBoard +
                           "\n PosEval from White view 460\n(Look through the Opening Book\n)?Velkor plays 1\\. "
                           "\\.\\.\\. \\S+\nMy move: [a-h][78][a-h][56]\n"))
        << r.out;
}

TEST(Console, MatedEngineAndSelfPlayToTheEnd) {
    std::string file = TempFile("mated.fen", "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 0 1\n");
    RunResult r = RunVelkor({"-lpf", file}, "hello\ngo\n", 20);
    EXPECT_TRUE(Matches(r.out, "Enter Move: go\n(Playing at [^\n]*\n)?Black mates!\n" + AnyBoard +
                                   "Game over: 0-1\\. Type new for another game[\\s\\S]*Bye, Thanks for the match.\n$"))
        << r.out;
    // Self play keeps the console's old output.
    r = RunVelkor({"-sp", "-fd", "3"}, "go\n", 60);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(Matches(r.out, "\n(White mates!|Black mates!|Stalemate|1/2-1/2 \\{Draw by "
                               "(50 Move Rule|insufficient material|repetition)\\})\n"));
    EXPECT_TRUE(Count(r.out, "Game Score ") > 20 && Count(r.out, "My move: ") > 20);
    EXPECT_FALSE(Has(r.out, "Enter Move") || Has(r.out, "Major") || Has(r.out, "MAJOR") || Has(r.out, "Velkor plays"));
    EXPECT_TRUE(Has(r.out, "\nHello! I am Velkor\nMAXDEPTH = 3\n"));
}

// A first word that is a move is the first move; refusals ask again and change nothing (the reading is the unit
// tests').
TEST(Console, FirstWordAMoveAndRefusals) {
    RunResult r = RunVelkor({"-fd", "2"}, "e2e4\ne7e5\ne2e5\nO-O\nNc3\nfoo\nquit\n", 20);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(Matches(r.out, "Enter Move: e2e4\nVelkor plays 1\\. \\.\\.\\. \\S+\n")) << r.out;
    for (const char* said : {"Enter Move: e7e5\nIllegal move: e7e5\n", "Enter Move: e2e5\nIllegal move: e2e5\n",
                             "Enter Move: O-O\nIllegal move: O-O\n",
                             "Enter Move: foo\nUnknown command or move: foo (help lists the commands)\n"})
        EXPECT_TRUE(Has(r.out, said)) << said;
    EXPECT_EQ(Count(r.out, "Velkor plays 2. ... "), 1) << "Nc3 was the second move";
    EXPECT_EQ(Count(r.out, "4  - - - - P - - -  4"), 2) << "the pawn stayed on e4";
}

// After the end the game is kept: moves are refused until "new" or "undo"; the engine's own mate ends it too.
TEST(Console, GameEndsIsKeptThenANewOne) {
    RunResult r = RunVelkor({"-fd", "1"},
                            "setboard 6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1\nRa8#\ne4\ngo\nhint\nmoves\nnew\ne4\n"
                            "setboard 7k/8/8/8/8/8/6Q1/K7 w - - 0 1\nQg6\nquit\n",
                            20);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(Matches(r.out, "Enter Move: Ra8#\n" + AnyBoard +
                                   "White mates!\nGame over: 1-0\\. Type new for another game, undo to take back a "
                                   "move, save FILE to keep the game, or quit\\.\n"))
        << r.out;
    EXPECT_EQ(Count(r.out, "Game over: 1-0. new starts another game, undo takes back a move.\n"), 2) << "e4 and go";
    EXPECT_TRUE(Has(r.out, "Enter Move: hint\nNo hint: the game is over (1-0).\n"));
    EXPECT_TRUE(Has(r.out, "Enter Move: moves\n1. Ra8# 1-0\n"));
    EXPECT_TRUE(Matches(r.out, "Enter Move: new\nNew game: Velkor plays at full strength, 1 ply deep a move\\.\n" +
                                   AnyBoard + "White to move\\.\nEnter Move: e4\nVelkor plays 1\\. \\.\\.\\. \\S+\n"))
        << r.out;
    EXPECT_TRUE(Matches(r.out, "Enter Move: Qg6\n" + AnyBoard + "Stalemate\nGame over: 1/2-1/2. Type new"));
    r = RunVelkor({"-fd", "2"}, "setboard r5k1/8/8/8/8/8/1P3PPP/6K1 w - - 0 1\nb3\nb4\nundo\nh3\nquit\n", 20);
    EXPECT_TRUE(Matches(r.out, "Enter Move: b3\nVelkor plays 1\\. \\.\\.\\. Ra1#\n" + AnyBoard +
                                   "Black mates!\nGame over: 0-1\\.(.*\n)*Enter Move: b4\nGame over: 0-1. new starts"))
        << r.out;
    EXPECT_TRUE(Matches(r.out, "Enter Move: undo\nOne move taken back\\.\n" + AnyBoard +
                                   "Black to move\\.\nEnter Move: h3\nIllegal move: h3\n"))
        << r.out;
}

TEST(Console, UndoRemoveAndHint) {
    RunResult r = RunVelkor({"-fd", "1"}, "force\ne4\ne5\nNf3\nundo\nremove\nremove\nquit\n", 20);
    EXPECT_TRUE(Matches(r.out, "Enter Move: undo\nOne move taken back\\.\n(.*\n){6}4  - - - - P - - -  4\n(.*\n){5}"
                               "White to move\\.\n"))
        << r.out;
    EXPECT_TRUE(Matches(r.out, "Enter Move: remove\nTwo moves taken back\\.\n(.*\n){8}2  P P P P P P P P  2\n(.*\n){3}"
                               "White to move\\.\n"))
        << r.out;
    EXPECT_TRUE(Has(r.out, "Enter Move: remove\nNothing to take back.\n"));
    r = RunVelkor({"-fd", "1"}, "setboard 6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1\nhint\nnew\nhint\nquit\n", 20);
    EXPECT_TRUE(Has(r.out, "Hint: Ra8#\n") && Matches(r.out, "Hint: ([a-h][34]|N[acfh]3)\n")) << r.out;
}

// "save" and "pgn" add the game to a file as PGN (the tags and failures are the unit tests').
TEST(Console, GameSavedAsPgn) {
    const std::string dir = TempDir();
    RunResult r = RunVelkor({"-fd", "1"}, "e4\nsave " + dir + "/game.pgn\npgn " + dir + "/game.pgn\nquit\n", 20, dir);
    EXPECT_TRUE(Has(r.out, "Game saved to " + dir + "/game.pgn\n"));
    const std::string pgn = ReadFile(dir + "/game.pgn");
    EXPECT_EQ(Count(pgn, "[Event \"Velkor console game\"]\n"), 2) << pgn;
    EXPECT_TRUE(Matches(pgn, "\\[Level \"full strength, 1 ply deep a move\"\\]\n\n1\\. e4 \\S+ \\*\n")) << pgn;
}

// xboard mode knows none of the console's additions, and its output stays as it was.
TEST(Console, XboardModeHasNoneOfIt) {
    RunResult r = RunVelkor({"-v"}, "xboard\nprotover 2\nnew\nsd 1\nhint\nmoves\nverbose\ne2e4\nquit\n", 20);
    EXPECT_TRUE(Has(r.out, "Error (unknown command): moves\nError (unknown command): verbose\n")) << r.out;
    EXPECT_TRUE(Matches(r.out, "\nmove [a-h][78][a-h][56]\n|\n1\\. \\.\\.\\. [a-h][78][a-h][56] \n")) << r.out;
    EXPECT_FALSE(Has(r.out, "Hint") || Has(r.out, "Velkor plays") || Has(r.out, "Game Score") || Has(r.out, "Hello"));
    // A person's console that turns into xboard drops the console's output.
    r = RunVelkor({}, "hello\nxboard\nnew\nsd 1\ne2e4\nquit\n", 20);
    EXPECT_TRUE(Matches(r.out, "\n1\\. \\.\\.\\. [a-h][78][a-h][56] \n$")) << r.out;
}

} // namespace
