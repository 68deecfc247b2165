// The settings a "go" line makes, the "bestmove" text, and the handlers
// that answer or stop a search.
#include <climits>
#include <string>

#include "frontend/UCIFixture.h"
#include "search/SearchRoutines.h"

namespace {

TEST_F(UCITest, ClockOfTheSideToMoveOnly) {
    MainBoard.SideToMove = 1;
    MainStatus.MovesPerSession = 30;
    UCI.ApplyGoLine("go wtime 60000 btime 30000 winc 5000 binc 2000");
    EXPECT_EQ(MainStatus.TimeLeft, 30000);
    EXPECT_EQ(MainStatus.TimeInc, 2);
    EXPECT_EQ(MainStatus.MovesPerSession, 0);
    EXPECT_EQ(UCI.State, Searching);
    MainBoard.SideToMove = 0;
    UCI.ApplyGoLine("go wtime 60000 btime 30000 winc 5999 movestogo 12");
    EXPECT_EQ(MainStatus.TimeLeft, 60000);
    EXPECT_EQ(MainStatus.TimeInc, 5);
    EXPECT_EQ(MainStatus.MovesPerSession, 12);
}

TEST_F(UCITest, MovetimeAndDepth) {
    UCI.ApplyGoLine("go movetime 5000");
    EXPECT_EQ(MainStatus.ST, 5000);
    EXPECT_EQ(MainStatus.TimePerMove, 5000);
    EXPECT_EQ(MainStatus.TimeLeft, 300000);
    UCI.ApplyGoLine("go depth 6");
    EXPECT_EQ(MainBoard.FixedDepth, 6);
    EXPECT_EQ(MainStatus.FD, 6);
    EXPECT_EQ(MainStatus.ST, 0); // every go starts from a clean clock
}

TEST_F(UCITest, InfinitePonderAndTheirCombination) {
    UCI.ApplyGoLine("go infinite");
    EXPECT_EQ(UCI.State, InfiniteAnalysis);
    EXPECT_EQ(MainStatus.Analyze, 1);
    EXPECT_EQ(MainStatus.ST, 1209600000);
    EXPECT_EQ(MainStatus.NodesPerSecond, 800000);
    UCI.ApplyGoLine("go ponder wtime 1000 btime 1000");
    EXPECT_EQ(UCI.State, PonderingState);
    EXPECT_EQ(MainStatus.Pondering, 1);
    EXPECT_EQ(MainStatus.Analyze, 0); // the earlier analysis does not carry over
    UCI.ApplyGoLine("go infinite ponder");
    EXPECT_EQ(UCI.State, PonderingState);
}

TEST_F(UCITest, MissingAndHugeNumbers) {
    UCI.ApplyGoLine("go wtime");
    EXPECT_EQ(MainStatus.TimeLeft, 0);
    UCI.ApplyGoLine("go wtime 99999999999999999999 depth -3");
    EXPECT_EQ(MainStatus.TimeLeft, INT_MAX);
    EXPECT_EQ(MainStatus.FD, -3);
}

TEST_F(UCITest, SearchmovesRestrictsTheRootAndKeepsTheRestOfTheLine) {
    UCI.ApplyGoLine("go searchmoves e2e4 d2d4 e7e8q wtime 5000 depth 4");
    EXPECT_EQ(UCI.SearchMoveCount, 3);
    EXPECT_TRUE(UCI.RootMoveAllowed(SquareBit(12), SquareBit(28)));
    EXPECT_TRUE(UCI.RootMoveAllowed(SquareBit(52), SquareBit(60)));
    EXPECT_FALSE(UCI.RootMoveAllowed(SquareBit(6), SquareBit(21)));
    EXPECT_EQ(MainStatus.TimeLeft, 5000);
    EXPECT_EQ(MainStatus.FD, 4);
    UCI.ApplyGoLine("go depth 2");
    EXPECT_EQ(UCI.SearchMoveCount, 0);
    EXPECT_TRUE(UCI.RootMoveAllowed(SquareBit(6), SquareBit(21)));
}

TEST_F(UCITest, BestMoveTextForPlainPromotionPonderAndNoMove) {
    char text[64];
    UCI.BestMoveText(text, sizeof text, true, SquareBit(12), SquareBit(28), NoPromotion);
    EXPECT_STREQ(text, " e2e4 ");
    UCI.BestMoveText(text, sizeof text, true, SquareBit(52), SquareBit(60), 'Q');
    EXPECT_STREQ(text, " e7e8q ");
    UCI.BestMoveText(text, sizeof text, true, SquareBit(12), SquareBit(4), 'n');
    EXPECT_STREQ(text, " e2e1n ");
    UCI.BestMoveText(text, sizeof text, false, SquareBit(12), SquareBit(28), NoPromotion);
    EXPECT_STREQ(text, " 0000");
    UCI.BestMoveText(text, sizeof text, true, 0, 0, NoPromotion);
    EXPECT_STREQ(text, " 0000");

    UCI.PonderOption = 1;
    Search.PVLength = 2;
    Search.PV[0][1].move = 52 * 64 + 36; // e7e5
    UCI.BestMoveText(text, sizeof text, true, SquareBit(12), SquareBit(28), NoPromotion);
    EXPECT_STREQ(text, " e2e4 ponder e7e5");
    Search.PVLength = 1; // no second move: no ponder move
    UCI.BestMoveText(text, sizeof text, true, SquareBit(12), SquareBit(28), NoPromotion);
    EXPECT_STREQ(text, " e2e4 ");
}

TEST_F(UCITest, IsreadyIdleAnsweredAtOnceWhilePonderingLater) {
    testing::internal::CaptureStdout();
    Handle("isready");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "readyok\n");
    UCI.State = Searching;
    testing::internal::CaptureStdout();
    Handle("isready");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "readyok\n");
    UCI.State = PonderingState;
    testing::internal::CaptureStdout();
    Handle("isready");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(UCI.ReadyPending, 1);
}

TEST_F(UCITest, StopEndsOnlyPonderAndInfiniteSearches) {
    UCI.State = Searching;
    EXPECT_EQ(Handle("stop"), 0);
    UCI.State = InfiniteAnalysis;
    MainStatus.Analyze = 1;
    EXPECT_EQ(Handle("stop"), 2);
    EXPECT_EQ(MainStatus.Analyze, 0);
    EXPECT_EQ(Search.Stop, 1);
    UCI.State = PonderingState;
    MainStatus.Pondering = 1;
    EXPECT_EQ(Handle("ponderhit"), 1);
    EXPECT_EQ(UCI.State, Searching);
    EXPECT_EQ(MainStatus.Pondering, 0);
}

TEST_F(UCITest, UcinewgameDuringASearchStopsItAndStaysForLater) {
    UCI.State = Searching;
    UCI.PonderOption = 1;
    EXPECT_EQ(Handle("ucinewgame"), 2);
    EXPECT_STREQ(UCI.Command, "ucinewgame");
    EXPECT_EQ(UCI.PonderOption, 1);
    UCI.State = Waiting;
    Handle("position startpos moves e2e4");
    EXPECT_EQ(Handle("ucinewgame"), 0);
    EXPECT_EQ(UCI.PonderOption, 0);
    EXPECT_EQ(MainBoard.SideToMove, 0);
    EXPECT_EQ(MainStatus.NodesPerSecond, 800000);
}

TEST_F(UCITest, OptionsAndTheIdentificationBlock) {
    Handle("setoption name Ponder value true");
    EXPECT_EQ(UCI.PonderOption, 1);
    Handle("setoption name Ponder value false");
    EXPECT_EQ(UCI.PonderOption, 0);
    Handle("setoption name UCI_ShowCurrLine value false");
    EXPECT_EQ(UCI.ShowCurrLine, 0);
    Handle("setoption name UCI_ShowCurrLine value true");
    EXPECT_EQ(UCI.ShowCurrLine, 1);
    Handle("setoption name OwnBook value true");
    EXPECT_EQ(MainStatus.OwnBook, 1);

    testing::internal::CaptureStdout();
    Handle("uci");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("id name Velkor ", 0), 0u);
    EXPECT_NE(out.find("\nid author "), std::string::npos);
    EXPECT_NE(out.find("option name Ponder type check default false\n"), std::string::npos);
    EXPECT_EQ(out.substr(out.size() - 6), "uciok\n");
    EXPECT_EQ(MainStatus.OwnBook, 0);

    Handle("setoption name UCI_AnalyseMode value true");
    EXPECT_EQ(MainStatus.Analyze, 1);
    EXPECT_EQ(MainStatus.NodesPerSecond, 200005);
    UCI.ApplyGoLine("go wtime 1000"); // the option keeps analysis on for every go
    EXPECT_EQ(MainStatus.Analyze, 1);
    Handle("setoption name UCI_AnalyseMode value false");
    EXPECT_EQ(MainStatus.Analyze, 0);
}

} // namespace
