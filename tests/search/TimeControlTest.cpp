// The node budget: the time per move it computes and that a search keeps to it.
#include <gtest/gtest.h>

#include "frontend/Platform.h"
#include "frontend/Status.h"
#include "search/MoveHistory.h"
#include "search/SearchRoutines.h"
#include "support/TestBoards.h"

namespace {

class Clock : public testing::Test {
protected:
    void SetUp() override {
        MainStatus.initVars();
        MainStatus.FD = 0;
        MainStatus.ST = 0;
        MainStatus.MovesPerSession = 0;
        MainStatus.TimeInc = 0;
        MainStatus.UCImode = 1; // no book bonus, no console report
        MoveList.Init();
        Search.BookPly = -100;
    }
    void TearDown() override {
        MainStatus.initVars();
        MainStatus.UCImode = 0;
    }
    int TimePerMove(int timeLeft, int gamePly, int inc = 0) {
        MainStatus.TimeLeft = timeLeft;
        MainStatus.GamePly = gamePly;
        MainStatus.TimeInc = inc;
        Search.SetBudget();
        return MainStatus.TimePerMove;
    }
};

TEST_F(Clock, SuddenDeathAndIncrement) {
    EXPECT_EQ(2000, TimePerMove(60000, 31));
    EXPECT_EQ(2000, TimePerMove(60000, 30)); // a tenth ply, but not more than a minute left
    EXPECT_EQ(3500, TimePerMove(60001, 30));
    EXPECT_EQ(3500, TimePerMove(60001, 27));
    EXPECT_EQ(1500, TimePerMove(60000, 121)); // late in the game a fortieth
    EXPECT_EQ(2000 + 2000, TimePerMove(60000, 31, 2));
    EXPECT_EQ(500 + 1000, TimePerMove(15000, 31, 2));
    // 1000 + 2000 would reach the emergency limit (4000) less a second: half of that instead.
    EXPECT_EQ(2000, TimePerMove(30000, 31, 2));
}

TEST_F(Clock, MovesPerSessionAndFixedTime) {
    MainStatus.MovesPerSession = 10;
    EXPECT_EQ(950, TimePerMove(10000, 31));
    MainStatus.MovesPerSession = 3;
    EXPECT_EQ(1583, TimePerMove(10000, 31));
    MainStatus.ST = 1500;
    EXPECT_EQ(1500, TimePerMove(10000, 31));
    EXPECT_EQ(i64(MainStatus.NodesPerSecond / 2000) * 1500, Search.NodesPerMove);
    EXPECT_EQ(2 * Search.NodesPerMove, MainStatus.EmergencyThreshold);
}

// Generous margins: the search may overrun its share, never the clock.
TEST_F(Clock, SearchStaysWithinItsTime) {
    const char* middlegame = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8";
    for (int session : {0, 20}) {
        BoardFromFen(middlegame);
        MainStatus.MovesPerSession = session;
        MainStatus.TimeLeft = 20000;
        MainStatus.GamePly = 15;
        MainStatus.NodesPerSecond = 40000; // a low estimate: polls come early
        u64 from = 0, to = 0;
        char promote = 0;
        const i32 start = ClockMs();
        CaptureStdout([&] { Search.ProgressiveDeepening(MainBoard, 0, &from, &to, &promote); });
        const i32 elapsed = ClockMs() - start;
        EXPECT_LT(elapsed, MainStatus.TimeLeft / 4) << "session " << session;
        EXPECT_NE(0u, from);
        EXPECT_FALSE(MainBoard.AllPieces & from); // the move was played
    }
}

} // namespace
