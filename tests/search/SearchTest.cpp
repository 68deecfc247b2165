// Searches with known outcomes, and the clock: the budget, the move overhead, the poll.
#include <gtest/gtest.h>

#include <cstring>

#include "board/HashKeys.h"
#include "core/Platform.h"
#include "core/Status.h"
#include "search/MoveHistory.h"
#include "search/TimeManagement.h"
#include "support/TestSearch.h"

namespace {

// Stands in for a front end: counts the moves the driver asks it to play.
struct MovePlayer : SearchObserver {
    int played = 0;
    u64 from = 0;
    void PlayMove(const Move& m) override { ++played, from = m.from; }
};

class FixedDepth : public testing::Test {
protected:
    void TearDown() override { MainStatus.FD = 0; }
    // Searches the position to the depth as the suites do from a fresh start.
    int Think(const char* fen, int depth) {
        FreshSearch();
        BoardFromFen(fen);
        player.played = 0;
        int score = 0;
        best = SearchWith(player, depth, &score);
        return score;
    }
    // One alpha-beta node of the given depth for the side to move, two plies below the root.
    int Node(ChessBoard b, int depth) {
        MainStatus.FD = 2;
        b.MaxPly = Search.IterationMaxPly = 10;
        return Search.Search(-MATE, MATE, b,
                             ::Node{char(b.SideToMove), 0, depth, 2 + b.SideToMove, false, false, PVNode});
    }
    Move best{0, 0, 0};
    MovePlayer player;
};

class Clock : public testing::Test {
protected:
    void SetUp() override {
        MainStatus.initVars();
        MainStatus.FD = MainStatus.ST = MainStatus.MovesPerSession = MainStatus.TimeInc = 0;
        Search.Settings.outOfBookBonus = false;
        MoveList.Init();
        Search.BookPly = -100;
        SetMoveOverhead(0);
    }
    void TearDown() override {
        MainStatus.initVars();
        Search.Settings = SearchSettings{};
        SetMoveOverhead(DefaultMoveOverheadMs);
    }
};

int Quiesce(ChessBoard b, int alpha = -MATE, int beta = MATE) {
    Search.QNodes = 0;
    return Search.Quiesce(b.SideToMove, alpha, beta, b);
}

} // namespace

TEST_F(FixedDepth, MatesStalematesAndRepetitionsAtTheRootAndInTheTree) {
    const struct {
        const char *fen, *move;
        int depth, score;
    } cases[] = {{"6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", "a1a8", 3, 109999},
                 {"2rr2k1/5ppp/8/8/8/4Q3/4RPPP/4R1K1 w - - 0 1", "e3e8", 5, 109995}}; // two sacrifices first
    for (const auto& c : cases) {
        EXPECT_EQ(Think(c.fen, c.depth), c.score) << c.fen;
        EXPECT_EQ(MoveName(best.from, best.to, NoPromotion), c.move) << c.fen;
        EXPECT_TRUE(player.played == 1 && player.from == best.from) << "the driver played it: " << c.fen;
    }
    EXPECT_EQ(Think("R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1", 3), -110000); // mated
    EXPECT_EQ(Think("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", 3), 110001);     // stalemated
    EXPECT_EQ(player.played, 0) << "no move was played";
    // Giving away the only piece stalemates Black: -ply for the stalemated side.
    EXPECT_EQ(Node(BoardFromFen("k7/2Q5/1K6/8/8/8/8/8 b - - 0 1"), 1), -3);
    // A mate in one, but the position already occurred with White to move.
    ChessBoard b = BoardFromFen("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1");
    b.FiftyMoveCount = 10;
    u64 upper, lower;
    genhashcode(0, 0, &upper, &lower, &b);
    MoveList.Init();
    MoveList.InsertHashCodeMoveHistory(upper, lower);
    MoveList.InsertHashCodeMoveHistory(upper + 1, lower);
    EXPECT_EQ(Node(b, 2), 0);
    EXPECT_EQ(MoveList.NumMoves, 2) << "the node retracted its own key";
    MoveList.Init();
    EXPECT_EQ(Node(b, 2), 109997) << "without the earlier occurrence: mate at ply 3";
}

TEST(Repetition, SameSideWithinTheWindowAndALongGame) {
    const struct {
        std::vector<u64> keys; // 0: a fresh key
        int window, found;
    } cases[] = {{{7, 0, 0, 0, 7}, 4, 0}, // one record outside the window
                 {{7, 0, 0, 7}, 10, 0},   // the other side to move
                 {{7, 0, 7, 0, 7}, 10, 2}};
    for (const auto& c : cases) {
        MoveList.Init();
        u64 fresh = 1000;
        for (u64 k : c.keys) MoveList.InsertHashCodeMoveHistory(k ? k : ++fresh, 0);
        EXPECT_EQ(MoveList.ThreeFoldRepDetection(c.window, 7, 0), c.found) << c.keys.size() << " " << c.window;
    }
    // Thousands of plies keep every key, silently, the first one too; retracting stops at none.
    MoveList.Init();
    const std::string said = CaptureStdout([] {
        for (u64 i = 0; i <= 3000; ++i) MoveList.InsertHashCodeMoveHistory(i % 3000, 0);
    });
    EXPECT_TRUE(said.empty() && MoveList.ThreeFoldRepDetection(3001, 0, 0) == 1) << said;
    for (int i = 0; i < 3010; ++i) MoveList.RetractMove();
    EXPECT_EQ(MoveList.NumMoves, 0);
}

TEST(Quiescence, StandPatCapturesPromotionsAndDraws) {
    ChessBoard b = BoardFromFen("4k3/pppp4/8/8/8/8/PPPP4/4K3 w - - 0 1");
    const int e = PE.PosEval(0, -MATE, MATE, &b);
    EXPECT_EQ(Quiesce(b, e - 100, e - 50), e) << "at or above beta: the evaluation, not beta";
    b = BoardFromFen("4k3/8/4p3/3p4/8/8/8/3QK3 w - - 0 1"); // queen takes a defended pawn: dropped
    EXPECT_EQ(Quiesce(b), PE.PosEval(0, -MATE, MATE, &b));
    EXPECT_EQ(Search.QNodes, 1);
    Quiesce(BoardFromFen("7k/1P6/8/8/8/8/P7/K7 w - - 0 1"));
    EXPECT_EQ(Search.QNodes, 2) << "the promotion, not the pawn push";
    EXPECT_EQ(Quiesce(BoardFromFen("4k3/8/8/8/8/8/8/4KN2 w - - 0 1")), 0) << "a lone knight cannot mate";
    b = BoardFromFen("4k3/8/8/8/8/8/8/R3K3 w - - 0 1"); // Black's king en prise: beta
    b.BlackKing = b.BlackPieces = Sq("a6");
    b.AllPieces = b.WhitePieces | b.BlackPieces;
    EXPECT_EQ(Quiesce(b, -1000, 100000), 100000);
    // Searched in place, the board comes back as it was, exchanges and all.
    b = BoardFromFen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
    ChessBoard before;
    std::memcpy(&before, &b, sizeof b);
    Search.QNodes = 0;
    Search.Quiesce(0, -MATE, MATE, b);
    EXPECT_GT(Search.QNodes, 1);
    EXPECT_EQ(std::memcmp(&before, &b, sizeof b), 0);
}

TEST_F(Clock, BudgetAndDeadlineLessTheMoveOverhead) {
    const struct {
        int overhead, session, fixed, left, ply, inc, budget, deadline;
    } cases[] = {{0, 0, 0, 60000, 31, 0, 2000, 60000},
                 {0, 0, 0, 60001, 30, 0, 3500, 60001},    // a tenth, not with a minute
                 {0, 0, 0, 60000, 121, 0, 1500, 60000},   // late in the game a fortieth
                 {0, 0, 0, 60000, 31, 2000, 4000, 60000}, // 1000 + 2000 would reach the emergency
                 {0, 0, 0, 30000, 31, 2000, 2000, 30000}, // limit less a second: half of it
                 {0, 0, 0, 60000, 31, 50, 2050, 60000},   // an increment of 50 ms counts
                 {0, 10, 0, 10000, 31, 0, 950, 10000},
                 {0, 3, 1500, 10000, 31, 0, 1500, 1500},
                 {100, 0, 1500, 0, 31, 0, 1400, 1400},      // a fixed time
                 {100, 0, 0, 60100, 31, 0, 2000, 60000},    // a thirtieth of what is left after it
                 {100, 0, 0, 60000, 31, 2000, 3896, 59900}, // and the increment less the overhead on top
                 {100, 10, 0, 10100, 31, 0, 950, 10000},    // a session's share
                 {0, 0, 0, 12, 31, 10, 5, 12},              // nearly out: half the increment...
                 {30, 0, 0, 12, 31, 10, 0, 1},              // ...unless the overhead takes all there is
                 {1900, 0, 0, 2000, 31, 5000, 465, 100}};   // the emergency share of a large increment, capped
    for (const auto& c : cases) {
        SetMoveOverhead(c.overhead);
        MainStatus.MovesPerSession = c.session, MainStatus.ST = c.fixed, MainStatus.TimeInc = c.inc;
        MainStatus.TimeLeft = c.left, MainStatus.GamePly = c.ply;
        Search.SetBudget();
        SCOPED_TRACE(testing::Message() << c.overhead << " " << c.session << " " << c.left << " " << c.inc);
        EXPECT_EQ(MainStatus.TimePerMove, c.budget);
        EXPECT_EQ(Search.DeadlineMs, c.deadline);
    }
}

// The poll stops at the clock less the overhead whatever the budget allows (2 s, 5 s
// increment, 1900 ms overhead: 100 ms left); a fixed time stops at its deadline.
TEST_F(Clock, PollStopsAtTheClockLessTheOverhead) {
    auto spentAfter = [](int elapsedMs) {
        Search.ResetStops();
        Search.Nodes = Search.QNodes = 0;
        Search.FirstHalfDone = 0;
        Search.IterationDepth = 2;
        MainStatus.SearchStartTime = ClockMs() - elapsedMs;
        return Search.BudgetSpentAtPoll();
    };
    SetMoveOverhead(1900);
    MainStatus.TimeLeft = 2000, MainStatus.TimeInc = 5000, MainStatus.GamePly = 15;
    Search.SetBudget();
    EXPECT_FALSE(spentAfter(40));
    EXPECT_TRUE(spentAfter(90)) << "two polls and a millisecond before 100 ms";
    EXPECT_TRUE(Search.Abort && !Search.Stop) << "unwound, the last iteration's move played";
    SetMoveOverhead(100);
    MainStatus.ST = 1500;
    Search.SetBudget();
    EXPECT_FALSE(spentAfter(1300));
    EXPECT_TRUE(spentAfter(1400));
    Search.ResetStops();
}
