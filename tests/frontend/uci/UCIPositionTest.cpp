// "position" and "go" lines and the move overhead option, down to the keys and numbers the sessions cannot see.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

#include "board/HashKeys.h"
#include "core/Status.h"
#include "frontend/uci/UCIOptions.h"
#include "frontend/uci/UCIProtocol.h"
#include "search/MoveHistory.h"
#include "search/SearchRoutines.h"
#include "search/TimeManagement.h"
#include "support/TestBoards.h"

namespace {

class UCITest : public testing::Test {
protected:
    void SetUp() override {
        MainStatus.UCImode = 1;
        MainStatus.initVars();
        MainBoard.InitRep();
        MoveList.Init();
        UCI.State = Waiting;
        UCI.PonderOption = UCI.AnalyseMode = UCI.HashSide = 0;
    }
    void TearDown() override { MainStatus.UCImode = MainStatus.Analyze = MainStatus.Pondering = 0; }
    // One pass of the handlers over the line, as the interpreter cycle makes it; returns what it printed.
    std::string Handle(const char* line) {
        UCI.Command = line;
        return CaptureStdout([] { UCI.HandleLine(); });
    }
};

bool KeyIsCurrent(const HistoryKey& k) {
    u64 upper, lower;
    genhashcode(char(MainBoard.SideToMove), MainBoard.Castling, &upper, &lower, &MainBoard);
    return k.upper == upper && k.lower == lower;
}

TEST_F(UCITest, MoveListsWithKeysPromotionsEnPassantAndCastling) {
    Handle("position startpos moves e2e4 e7e5 g1f3");
    EXPECT_TRUE(MainBoard.SideToMove == 1 && MainStatus.GamePly == 3 && MainBoard.FiftyMoveCount == 1);
    ASSERT_EQ(MoveList.NumMoves, 3);
    EXPECT_TRUE(KeyIsCurrent(MoveList.entries[2]));
    Handle("position fen 4k3/8/8/8/8/8/8/4K2R b K - 0 1 moves e8d8 e1f1");
    EXPECT_TRUE(MainBoard.SideToMove == 1 && MainBoard.Castling == 0); // the king left e1
    ASSERT_EQ(MoveList.NumMoves, 2);
    EXPECT_TRUE(KeyIsCurrent(MoveList.entries[1])); // keys follow the side to move
    Handle("position startpos moves g1f3 g8f6 f3g1 f6g8 g1f3 g8f6");
    const HistoryKey& last = MoveList.entries[5];
    EXPECT_EQ(MoveList.ThreeFoldRepDetection(MainBoard.FiftyMoveCount, last.upper, last.lower), 1);
    Handle("position fen 8/4P3/8/8/8/8/k7/7K w - - 0 1 moves e7e8n a2a3 e8d6");
    EXPECT_TRUE(MainBoard.WhiteKnights & SquareBit(43));
    Handle("position startpos moves e2e4 a7a6 e4e5 d7d5 e5d6 a6a5 g1f3 a5a4 f1e2 a4a3 e1g1");
    EXPECT_EQ(FenOf(MainBoard).rfind("rnbqkbnr/1pp1pppp/3P4/8/8/p4N2/PPPPBPPP/RNBQ1RK1 b -kq ", 0), 0u);
    // The FEN's en-passant square allows the capture right away.
    Handle("position fen 4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 2 moves e5d6");
    EXPECT_TRUE((MainBoard.WhitePawns & SquareBit(43)) && !MainBoard.BlackPawns);
}

TEST_F(UCITest, IllegalMovesAndInvalidPositionsAreRefused) {
    const struct {
        const char *moves, *refused;          // the list, its first refused move ("" for none)
        int plies;                            // moves applied
    } cases[] = {{"e7e5", "e7e5", 0},         // the wrong side
                 {"e2e4e7e5", "e2e4e7e5", 0}, // two moves glued together
                 {"e2e4 xyz e7e5", "xyz", 1}, // the list stops at the first refused
                 {"a0a1", "a0a1", 0},         // off the board
                 {"e1e2", "e1e2", 0},         // onto its own man
                 {"", "", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(Handle((std::string("position startpos moves ") + c.moves).c_str()),
                  *c.refused ? std::string("info string illegal move: ") + c.refused + "\n" : "")
            << c.moves;
        EXPECT_EQ(MoveList.NumMoves, c.plies) << c.moves;
        EXPECT_EQ(int(MainBoard.SideToMove), c.plies % 2) << c.moves;
    }
    Handle("position startpos moves d2d4");
    const std::string before = FenOf(MainBoard);
    for (const char* fen : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq - 0 1", "4k3/8/8/8/8/8/8/4K2P w - - 0 1",
                            "4k3/4Q3/8/8/8/8/8/4K3 w - - 0 1", "4k3/8/8/8/8/8/8/4KK2 w - - 0 1",
                            "4k3/8/8/8/8/8/8/4K3 x - - 0 1", "garbage"}) {
        EXPECT_EQ(Handle((std::string("position fen ") + fen).c_str()),
                  std::string("info string invalid position: ") + fen + "\n");
        EXPECT_EQ(FenOf(MainBoard), before) << fen;
    }
}

TEST_F(UCITest, GoLinesClocksDepthsAndWhatCarriesOver) {
    MainBoard.SideToMove = 1;
    UCI.ApplyGoLine("go wtime 60000 btime 30000 winc 5000 binc 2999");
    EXPECT_TRUE(MainStatus.TimeLeft == 30000 && MainStatus.TimeInc == 2999 && MainStatus.MovesPerSession == 0);
    EXPECT_EQ(UCI.State, Searching);
    UCI.ApplyGoLine("go movetime 5000 movestogo 12");
    EXPECT_TRUE(MainStatus.ST == 5000 && MainStatus.TimePerMove == 5000 && MainStatus.TimeLeft == 300000);
    EXPECT_EQ(MainStatus.MovesPerSession, 12);
    UCI.ApplyGoLine("go depth 6 wtime 99999999999999");
    EXPECT_TRUE(MainStatus.FD == 6 && MainBoard.FixedDepth == 6 && MainStatus.ST == 0);
    EXPECT_EQ(MainStatus.TimeLeft, 0); // black to move: wtime is not read
    MainBoard.SideToMove = 0;
    // Numbers out of range are clamped: no overflow, no depth that wraps.
    UCI.ApplyGoLine("go wtime 99999999999999 winc 2147483647 depth 300 movestogo -4");
    EXPECT_TRUE(MainStatus.TimeLeft == INT_MAX && MainStatus.TimeInc == INT_MAX && MainStatus.FD == 100);
    EXPECT_EQ(MainStatus.MovesPerSession, 0);
    UCI.ApplyGoLine("go wtime -500 btime");
    EXPECT_EQ(MainStatus.TimeLeft, 0);
    UCI.ApplyGoLine("go nodes 10000");
    EXPECT_TRUE(Search.NodeLimit == 10000 && MainStatus.ST > 0) << "a node count alone knows no clock";
    UCI.ApplyGoLine("go infinite ponder");
    EXPECT_EQ(UCI.State, PonderingState);
    UCI.ApplyGoLine("go ponder");
    EXPECT_TRUE(MainStatus.Analyze == 0 && MainStatus.Pondering == 1); // an earlier analysis does not carry over
    UCI.ApplyGoLine("go searchmoves e2e4 e7e8q depth 4");
    EXPECT_EQ(Search.RootMoveFilterCount, 2);
    EXPECT_TRUE(Search.RootMoveAllowed(SquareBit(52), SquareBit(60)) &&
                !Search.RootMoveAllowed(SquareBit(6), SquareBit(21)));
    EXPECT_EQ(MainStatus.FD, 4);
    UCI.ApplyGoLine("go depth 2"); // the list does not carry over
    EXPECT_TRUE(Search.RootMoveAllowed(SquareBit(6), SquareBit(21)));
    UCI.ApplyGoLine("go nodes 5");
    UCI.ApplyGoLine("go depth 1");
    EXPECT_EQ(Search.NodeLimit, 0) << "neither does the node count";
}

TEST(UCIOptions, MoveOverheadReachesTheClockWithinItsRange) {
    const struct {
        const char *value, *said;
        int overhead;
    } cases[] = {{"99999", "info string Move Overhead 99999 is out of range 0..5000: 5000 used\n", 5000},
                 {"-3", "info string Move Overhead -3 is out of range 0..5000: 0 used\n", 0},
                 {"120", "", 120},
                 {"soon", "info string invalid value for Move Overhead: soon\n", 120}}; // refused: nothing changes
    for (const auto& c : cases) {
        EXPECT_EQ(CaptureStdout([&] { SetOption("Move Overhead", c.value); }), c.said);
        EXPECT_EQ(MoveOverheadMs(), c.overhead) << c.value;
    }
    SetMoveOverhead(DefaultMoveOverheadMs);
}

} // namespace
