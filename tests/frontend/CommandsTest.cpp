// The console and xboard interpreter: commands with their further input,
// and the move reader in normal and force mode.
#include <gtest/gtest.h>

#include <string>

#include "board/ChessBoard.h"
#include "frontend/GameLoop.h"
#include "frontend/GameRecord.h"
#include "frontend/InputFeed.h"
#include "frontend/Platform.h"
#include "frontend/Status.h"
#include "support/TestBoards.h"

namespace {

class CommandsTest : public testing::Test {
protected:
    void SetUp() override {
        MainStatus.xboard = 1; // no prompts or echoes
        MainStatus.initVars();
        MainBoard.InitRep();
        MainBoard.FiftyMoveCount = 0;
        StartGamePosition();
    }
    void TearDown() override {
        MainStatus.xboard = 0;
        MainStatus.Analyze = 0;
        MainStatus.Force = 0;
    }
    char Do(const char* word, const std::string& input = "") {
        FeedInput(input);
        std::string w = word;
        return DoCommand(w.data());
    }
};

TEST_F(CommandsTest, ClockCommandsReadTheirNumbers) {
    EXPECT_EQ(Do("level", "40 5 0\n"), Handled);
    EXPECT_EQ(MainStatus.MovesPerSession, 40);
    EXPECT_EQ(MainStatus.TimeLeft, 300000);
    EXPECT_EQ(MainStatus.TimeInc, 0);
    EXPECT_EQ(Do("time", "6000\n"), Handled);
    EXPECT_EQ(MainStatus.TimeLeft, 60000);
    EXPECT_EQ(Do("st", "5\n"), Handled);
    EXPECT_EQ(MainStatus.ST, 5000); // kept in milliseconds
    EXPECT_EQ(MainStatus.TimePerMove, 4500);
    EXPECT_EQ(MainStatus.TimeLeft, 300000);
}

TEST_F(CommandsTest, ANonNumberLeavesTheTargetAndStaysAsTheNextWord) {
    MainStatus.TimeLeft = 1234;
    Do("time", "e2e4\n");
    EXPECT_EQ(MainStatus.TimeLeft, 1234);
    char next[8];
    ASSERT_TRUE(ReadWord(next, sizeof next));
    EXPECT_STREQ(next, "e2e4");
    Do("level", "40 0:30 0\n"); // the minutes:seconds form stops after the minutes
    EXPECT_EQ(MainStatus.MovesPerSession, 40);
    EXPECT_EQ(MainStatus.TimeLeft, 0);
}

TEST_F(CommandsTest, DepthCommandsSetMaxDepthInBothModes) {
    for (const char* word : {"sd", "Depth", "DEPTH"}) {
        MainBoard.MaxDepth = 56;
        MainBoard.BestFrom = 1;
        EXPECT_EQ(Do(word, "7\n"), Handled);
        EXPECT_EQ(MainBoard.MaxDepth, 7);
        EXPECT_EQ(MainBoard.BestFrom, 0u);
    }
    MainStatus.xboard = 0;
    testing::internal::CaptureStdout();
    Do("sfd", "4\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "setting MAXDEPTH\nscanstring sfd\nMAXDEPTH 4\n");
    EXPECT_EQ(MainBoard.FixedDepth, 4);
}

TEST_F(CommandsTest, AnalyzeKeepsAMillisecondTimeOrRunsForTwoWeeks) {
    EXPECT_EQ(Do("analyze"), StateChanged);
    EXPECT_EQ(MainStatus.ST, 1209600000);
    EXPECT_EQ(MainStatus.NodesPerSecond, 200001);
    EXPECT_EQ(MainStatus.HumanToMove, 0);
    Do("bk");
    EXPECT_EQ(MainStatus.OwnBook, 1); // unchanged during analysis
    EXPECT_EQ(Do("exit"), StateChanged);
    EXPECT_EQ(MainStatus.Analyze, 0);
    Do("st", "5\n");
    Do("analyze");
    EXPECT_EQ(MainStatus.ST, 5000);
    Do("bk");
    Do("new");
    EXPECT_EQ(MainStatus.Analyze, 0);
    Do("bk");
    EXPECT_EQ(MainStatus.OwnBook, 0);
}

TEST_F(CommandsTest, WordsThatAreMovesOrNothing) {
    EXPECT_EQ(Do("e2e4"), IsMove);
    EXPECT_EQ(Do("h0"), IsMove); // looks like a move: the reader decides it names no square
    EXPECT_EQ(Do("i2i4"), Handled);
    EXPECT_EQ(Do("protover"), Handled);
    EXPECT_EQ(Do("quit"), QuitGame);
    EXPECT_EQ(MainStatus.GameInProgress, 0);
}

TEST_F(CommandsTest, SetboardReadsTheRestOfTheLineAndStartsTheRecordAgain) {
    MainBoard.FiftyMoveCount = 30;
    EXPECT_EQ(Do("setboard", " 4k3/8/8/8/8/8/8/4K2R b K - 0 1\ne2e4\n"), Handled);
    EXPECT_EQ(FenOf(MainBoard).rfind("4k3/8/8/8/8/8/8/4K2R b K- ", 0), 0u);
    EXPECT_EQ(MainBoard.FiftyMoveCount, 0);
    EXPECT_EQ(MainBoard.WhiteRookCount, 1);
    EXPECT_EQ(Game.Size(), 1);
    std::string longLine(5000, 'p');
    Do("setboard", longLine + "\n"); // cut, never overrun
}

TEST_F(CommandsTest, HumanMoveInForceModeMovesForBothSidesUntilGo) {
    FeedInput("force e2e4 e7e5 go\n");
    EXPECT_EQ(HumanMove(), StateChanged);
    EXPECT_EQ(MainBoard.SideToMove, 0);
    EXPECT_EQ(MainStatus.Force, 0);
    EXPECT_EQ(MainStatus.HumanToMove, 0);
    EXPECT_EQ(MainStatus.GamePly, 1); // force mode does not advance the game ply
    EXPECT_TRUE(MainBoard.WhitePawns & SquareBit(28));
    EXPECT_TRUE(MainBoard.BlackPawns & SquareBit(36));
    EXPECT_EQ(Game.Size(), 3);
}

TEST_F(CommandsTest, HumanMoveSkipsWordsThatNameNoSquareAndQuitsAtTheEnd) {
    FeedInput("h0h1 e2 e2e4\n");
    EXPECT_EQ(HumanMove(), IsMove);
    EXPECT_TRUE(MainBoard.WhitePawns & SquareBit(28));
    FeedInput("");
    EXPECT_EQ(HumanMove(), QuitGame);
}

TEST_F(CommandsTest, HumanMoveReportsTheFiftyMoveRuleWhenTheCountReaches100) {
    BoardFromFen("4k3/8/8/8/8/8/4P3/1N2K3 w - -");
    MainBoard.FiftyMoveCount = 98;
    FeedInput("b1c3 c3b1 e2e4\n");
    EXPECT_EQ(HumanMove(), IsMove);
    EXPECT_EQ(MainBoard.FiftyMoveCount, 99);
    EXPECT_EQ(HumanMove(), FiftyMoves);
    EXPECT_EQ(MainBoard.FiftyMoveCount, 100);
    EXPECT_EQ(HumanMove(), IsMove);
    EXPECT_EQ(MainBoard.FiftyMoveCount, 0);
}

TEST_F(CommandsTest, ConsoleModePromptsAndEchoes) {
    MainStatus.xboard = 0;
    FeedInput("e2e4\n");
    testing::internal::CaptureStdout();
    HumanMove();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Enter Move: e2e4\n");
}

} // namespace
