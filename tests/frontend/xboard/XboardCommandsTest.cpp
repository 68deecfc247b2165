// The console and xboard interpreter: commands with their further input,
// the move reader in normal and force mode, and the position editor.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "core/Platform.h"
#include "core/Status.h"
#include "frontend/shared/GameRecord.h"
#include "frontend/xboard/CommandInput.h"
#include "frontend/xboard/GameLoop.h"
#include "frontend/xboard/XboardProtocol.h"
#include "search/TimeManagement.h"
#include "search/TranspositionTables.h"
#include "support/TestBoards.h"

namespace {

// The interpreters read their lines from standard input.
void FeedInput(const std::string& text) {
    RestartInput();
    Input.Reset();
    char path[] = "/tmp/velkor-input-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, text.data(), text.size()), ssize_t(text.size()));
    close(fd);
    ASSERT_TRUE(std::freopen(path, "r", stdin));
    unlink(path);
}

class CommandsTest : public testing::Test {
protected:
    void SetUp() override {
        MainStatus.xboard = 1; // no prompts or echoes
        MainStatus.initVars();
        MainBoard.InitRep();
        MainBoard.FiftyMoveCount = 0;
        StartGamePosition();
    }
    void TearDown() override { MainStatus.xboard = MainStatus.Analyze = MainStatus.Force = 0; }
    // The command with the rest of its line, then the lines after it.
    char Do(std::string word, const std::string& rest = "", const std::string& after = "") {
        FeedInput(after);
        Input.StartWith(rest);
        word.resize(WordSize);
        return DoCommand(word.data());
    }
};

TEST_F(CommandsTest, ClockAndDepthCommandsReadTheirNumbers) {
    Do("level", "40 5 0");
    EXPECT_TRUE(MainStatus.MovesPerSession == 40 && MainStatus.TimeLeft == 300000);
    Do("st", "5");
    EXPECT_EQ(MainStatus.ST, 5000);
    // Numbers come from the command's own line only: a missing one changes nothing.
    EXPECT_EQ(CaptureStdout([&] { Do("time", "e2e4"); }), "Error (no number): time e2e4\n");
    EXPECT_EQ(CaptureStdout([&] { Do("level", "40 5", "new\n"); }), "Error (no number): level 40 5\n");
    EXPECT_EQ(CaptureStdout([&] { Do("sd", "", "5\n"); }), "Error (no number): sd\n");
    EXPECT_TRUE(MainStatus.MovesPerSession == 40 && MainStatus.TimeLeft == 300000 && MainStatus.TimeInc == 0);
    char word[WordSize];
    EXPECT_TRUE(Input.NextWord(word, WordSize) && std::string(word) == "5") << "the next line is untouched";
    MainStatus.xboard = 0;
    testing::internal::CaptureStdout();
    Do("sfd", "4");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "setting MAXDEPTH\nscanstring sfd\nMAXDEPTH 4\n");
    EXPECT_EQ(MainBoard.FixedDepth, 4);
}

// "memory N" sizes the table as UCI's Hash does; the overhead is an option as in UCI.
TEST_F(CommandsTest, MemoryAndMoveOverhead) {
    Do("memory", "16\n");
    EXPECT_EQ(PositionCache.BucketCount(), size_t(1) << 17);
    Do("memory", "lots\n");
    EXPECT_EQ(PositionCache.BucketCount(), size_t(1) << 17) << "no number: the table stays";
    Do("memory", "100000\n");
    EXPECT_EQ(PositionCache.BucketCount(), size_t(1) << 25) << "clamped to 4096 MiB";
    ASSERT_TRUE(PositionCache.Resize(TTDefaultMegabytes));
    Do("option", "Move Overhead=120\n");
    EXPECT_EQ(MoveOverheadMs(), 120);
    Do("option", "Move Overhead=99999\n");
    EXPECT_EQ(MoveOverheadMs(), MaxMoveOverheadMs);
    SetMoveOverhead(DefaultMoveOverheadMs);
}

TEST_F(CommandsTest, ForceModeMovesForBothSidesUntilGo) {
    FeedInput("force e2e4 h0h1 e7e5 go\n");
    EXPECT_EQ(HumanMove(), StateChanged);
    EXPECT_TRUE(MainBoard.SideToMove == 0 && MainStatus.HumanToMove == 0 && MainStatus.GamePly == 1);
    EXPECT_TRUE((MainBoard.BlackPawns & SquareBit(36)) && Game.Size() == 3);
    FeedInput("");
    EXPECT_EQ(HumanMove(), QuitGame); // the end of input
}

TEST_F(CommandsTest, MoveReaderReportsTheFiftyMoveRuleAt100) {
    BoardFromFen("4k3/8/8/8/8/8/4P3/1N2K3 w - -");
    MainBoard.FiftyMoveCount = 98;
    FeedInput("b1c3 e8d8 e2e4\n");
    EXPECT_EQ(HumanMove(), IsMove);
    EXPECT_EQ(HumanMove(), FiftyMoves);
    EXPECT_EQ(MainBoard.FiftyMoveCount, 100);
}

TEST_F(CommandsTest, EditorExampleAndCastlingFromHomeSquares) {
    // A board without a white king is no position: the editor's work is refused.
    EXPECT_EQ(CaptureStdout([&] { Do("edit", "", "# c Pe4 Ke1 Rh1 Pz9 xq9 . e2e4\n"); }),
              "tellusererror Illegal position\n");
    EXPECT_EQ(MainBoard.AllPieces, 0xffff00000000ffffULL);
    Do("edit", "", "# Ke1 Rh1 c Pe4 Kg8 . e2e4\n");
    EXPECT_TRUE(MainBoard.BlackPawns == SquareBit(28) && MainBoard.WhiteKing == SquareBit(4));
    EXPECT_EQ(MainBoard.Castling, 1);
    char colour = 0;
    for (const char* w : {"#", "Ke1", "Rh1", "Ra1", "c", "Ke8", "Ra8", "xa1", "Qh1"}) EditBoard(w, &colour);
    EXPECT_EQ(MainBoard.Castling, 8);
    EXPECT_EQ(MainBoard.WhiteRooks, 0u); // a man placed on h1 replaces the rook there
    // ping is answered inside the editor; quit leaves it, the edit dropped, and ends the game.
    const u64 before = MainBoard.AllPieces;
    EXPECT_EQ(CaptureStdout([&] { EXPECT_EQ(Do("edit", "", "# ping 3\nKe1\nquit\n"), QuitGame); }), "pong 3\n");
    EXPECT_EQ(MainBoard.AllPieces, before);
    EXPECT_EQ(Do("edit", "", "# Ke1\n"), QuitGame) << "the end of input";
}

} // namespace
