// The time per move the budget gives, and a search keeping to it.
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
        MainStatus.ST = MainStatus.MovesPerSession = MainStatus.TimeInc = 0;
        MainStatus.UCImode = 1; // no book bonus, no console report
        MoveList.Init();
        Search.BookPly = -100;
    }
    void TearDown() override {
        MainStatus.initVars();
        MainStatus.UCImode = 0;
    }
};

} // namespace

TEST_F(Clock, BudgetBySessionIncrementAndFixedTime) {
    const struct {
        int session, fixed, left, ply, inc, budget;
    } cases[] = {
        {0, 0, 60000, 31, 0, 2000},  {0, 0, 60000, 30, 0, 2000},     // a tenth, but not with a minute left
        {0, 0, 60001, 30, 0, 3500},  {0, 0, 60001, 27, 0, 3500},
        {0, 0, 60000, 121, 0, 1500},                                 // late in the game a fortieth
        {0, 0, 60000, 31, 2, 4000},  {0, 0, 15000, 31, 2, 500 + 1000},
        {0, 0, 30000, 31, 2, 2000},  // 1000 + 2000 would reach the emergency limit less a second: half of it
        {10, 0, 10000, 31, 0, 950},  {3, 0, 10000, 31, 0, 1583}, {3, 1500, 10000, 31, 0, 1500}};
    for (const auto& c : cases) {
        MainStatus.MovesPerSession = c.session, MainStatus.ST = c.fixed, MainStatus.TimeInc = c.inc;
        MainStatus.TimeLeft = c.left, MainStatus.GamePly = c.ply;
        Search.SetBudget();
        EXPECT_EQ(MainStatus.TimePerMove, c.budget) << c.session << " " << c.left << " " << c.ply << " " << c.inc;
    }
    EXPECT_EQ(Search.NodesPerMove, i64(MainStatus.NodesPerSecond / 2000) * 1500);
    EXPECT_EQ(MainStatus.EmergencyThreshold, 2 * Search.NodesPerMove);
}

// Generous margins: the search may overrun its share, never the clock.
TEST_F(Clock, SearchStaysWithinItsTime) {
    for (int session : {0, 20}) {
        BoardFromFen("r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8");
        MainStatus.MovesPerSession = session;
        MainStatus.TimeLeft = 20000;
        MainStatus.GamePly = 15;
        MainStatus.NodesPerSecond = 40000; // a low estimate: polls come early
        u64 from = 0, to = 0;
        char promote = 0;
        const i32 start = ClockMs();
        CaptureStdout([&] { Search.ProgressiveDeepening(MainBoard, 0, &from, &to, &promote); });
        EXPECT_LT(ClockMs() - start, MainStatus.TimeLeft / 4) << "session " << session;
        EXPECT_NE(from, 0u);
        EXPECT_FALSE(MainBoard.AllPieces & from) << "the move was played";
    }
}
