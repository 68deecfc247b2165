// Fixed-depth searches on small positions with known outcomes.
#include <gtest/gtest.h>

#include <cstring>

#include "board/HashKeys.h"
#include "frontend/Status.h"
#include "search/MoveHistory.h"
#include "search/SearchRoutines.h"
#include "search/TranspositionTables.h"
#include "support/TestBoards.h"

namespace {

u64 Sq(const char* name) { return SquareBit((name[1] - '1') * 8 + (name[0] - 'a')); }

class FixedDepth : public testing::Test {
protected:
    void SetUp() override {
        MainStatus.initVars();
        MoveList.Init();
    }
    void TearDown() override { MainStatus.FD = 0; }

    // Searches the position to the depth as the suites do; the move is played on MainBoard.
    int Think(const char* fen, int depth) {
        // A fresh start: killers and table entries of an earlier search change the tree.
        PositionCache.ClearTranspositionTables();
        Search.ClearHistory();
        std::memset(Search.Killers, 0, sizeof Search.Killers);
        BoardFromFen(fen);
        MainStatus.FD = char(depth);
        MainBoard.MaxDepth = depth;
        int score = 0;
        CaptureStdout([&] {
            score = Search.ProgressiveDeepening(MainBoard, char(depth), &from, &to, &promote);
        });
        return score;
    }

    u64 from = 0, to = 0;
    char promote = 0;
};

TEST_F(FixedDepth, MatesScoreByDistance) {
    EXPECT_EQ(109999, Think("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", 3));
    EXPECT_EQ(Sq("a1"), from);
    EXPECT_EQ(Sq("a8"), to);
    EXPECT_TRUE(MainBoard.WhiteRooks & Sq("a8")); // the driver played it
    // King and rook: two moves to mate, three plies. (At depth 4 the null move of
    // the bare king still refutes the quiet first move.)
    EXPECT_EQ(109997, Think("k7/8/2K5/8/8/8/8/7R w - - 0 1", 5));
    EXPECT_EQ(Sq("c6"), from);
    EXPECT_EQ(Sq("b6"), to);
    // Back rank, two defenders: two sacrifices, then the mate. (Forcing lines without
    // transpositions: the table stores mate scores pushed out by depth, not ply.)
    EXPECT_EQ(109995, Think("2rr2k1/5ppp/8/8/8/4Q3/4RPPP/4R1K1 w - - 0 1", 5));
    EXPECT_EQ(Sq("e3"), from);
    EXPECT_EQ(Sq("e8"), to);
}

TEST_F(FixedDepth, MatedAndStalematedRoots) {
    EXPECT_EQ(-110000, Think("R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1", 3));
    EXPECT_EQ(110001, Think("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", 3));
    EXPECT_TRUE(MainBoard.BlackKing & Sq("h8")); // no move was played
}

TEST_F(FixedDepth, StalemateInsideTheTreeScoresByPly) {
    // Black's only piece is the queen; giving it away stalemates Black (scored -ply for the stalemated side).
    ChessBoard b = BoardFromFen("k7/2Q5/1K6/8/8/8/8/8 b - - 0 1");
    MainStatus.FD = 2;
    b.MaxPly = 10;
    MoveList.Init();
    const int v = Search.Search(1, -110000, 110000, b, 1, 3, 0, 0, 0, 1, 10);
    EXPECT_EQ(-3, v);
}

TEST_F(FixedDepth, RepetitionScoresZero) {
    // White mates in one here, but the position already occurred with White to move.
    ChessBoard b = BoardFromFen("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1");
    b.FiftyMoveCount = 10;
    b.MaxPly = 10;
    MainStatus.FD = 2;
    u64 upper, lower;
    genhashcode(0, 0, &upper, &lower, &b);
    MoveList.Init();
    MoveList.InsertHashCodeMoveHistory(upper, lower);
    MoveList.InsertHashCodeMoveHistory(upper + 1, lower);
    EXPECT_EQ(0, Search.Search(0, -110000, 110000, b, 2, 2, 0, 0, 0, 1, 10));
    EXPECT_EQ(2, MoveList.NumMoves); // the node retracted its own key
    // Without the earlier occurrence the mate is found (mate at ply 3).
    MoveList.Init();
    EXPECT_EQ(109997, Search.Search(0, -110000, 110000, b, 2, 2, 0, 0, 0, 1, 10));
    EXPECT_EQ(0, MoveList.NumMoves);
}

} // namespace
