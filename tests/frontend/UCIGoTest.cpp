// The settings a "go" line makes and the "bestmove" text.
#include <climits>

#include "frontend/FrontendFixtures.h"

namespace {

TEST_F(UCITest, ClocksOfTheSideToMoveMovetimeAndDepth) {
    MainBoard.SideToMove = 1;
    UCI.ApplyGoLine("go wtime 60000 btime 30000 winc 5000 binc 2999");
    EXPECT_EQ(MainStatus.TimeLeft, 30000);
    EXPECT_EQ(MainStatus.TimeInc, 2);
    EXPECT_EQ(MainStatus.MovesPerSession, 0);
    EXPECT_EQ(UCI.State, Searching);
    UCI.ApplyGoLine("go movetime 5000 movestogo 12");
    EXPECT_EQ(MainStatus.ST, 5000);
    EXPECT_EQ(MainStatus.TimePerMove, 5000);
    EXPECT_EQ(MainStatus.TimeLeft, 300000);
    EXPECT_EQ(MainStatus.MovesPerSession, 12);
    UCI.ApplyGoLine("go depth 6 wtime 99999999999999");
    EXPECT_EQ(MainStatus.FD, 6);
    EXPECT_EQ(MainBoard.FixedDepth, 6);
    EXPECT_EQ(MainStatus.ST, 0);
    EXPECT_EQ(MainStatus.TimeLeft, 0); // black to move: wtime is not read
    MainBoard.SideToMove = 0;
    UCI.ApplyGoLine("go wtime 99999999999999 btime");
    EXPECT_EQ(MainStatus.TimeLeft, INT_MAX);
}

TEST_F(UCITest, InfinitePonderAndSearchmoves) {
    UCI.ApplyGoLine("go infinite");
    EXPECT_EQ(UCI.State, InfiniteAnalysis);
    EXPECT_EQ(MainStatus.ST, 1209600000);
    UCI.ApplyGoLine("go infinite ponder");
    EXPECT_EQ(UCI.State, PonderingState);
    UCI.ApplyGoLine("go ponder");
    EXPECT_EQ(MainStatus.Analyze, 0); // an earlier analysis does not carry over
    EXPECT_EQ(MainStatus.Pondering, 1);

    UCI.ApplyGoLine("go searchmoves e2e4 e7e8q depth 4");
    EXPECT_EQ(UCI.SearchMoveCount, 2);
    EXPECT_TRUE(UCI.RootMoveAllowed(SquareBit(52), SquareBit(60)));
    EXPECT_FALSE(UCI.RootMoveAllowed(SquareBit(6), SquareBit(21)));
    EXPECT_EQ(MainStatus.FD, 4);
    UCI.ApplyGoLine("go depth 2");
    EXPECT_TRUE(UCI.RootMoveAllowed(SquareBit(6), SquareBit(21)));
}

} // namespace
