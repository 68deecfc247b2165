// Static exchange evaluation and the ordering keys of the search and of quiescence.
#include <gtest/gtest.h>

#include <cstring>

#include "eval/PositionEvaluate.h"
#include "search/SEE.h"
#include "search/SearchRoutines.h"
#include "support/TestBoards.h"

namespace {

// The ordering value of one move ("e2e4") of the side to move; quiescence keys when ply < 0.
int ValueOf(const char* fen, const char* move, int ply = 2, int ttMove = 0, char nodeType = 1) {
    ChessBoard b = BoardFromFen(fen);
    MoveGen list;
    int count;
    if (ply < 0) {
        count = list.GenerateQuiesceMoves(b.SideToMove, &b);
        list.QuiesceAssignMoveOrderValues(count);
    } else {
        count = list.GenerateAllMoves(b.SideToMove, &b, b.Castling);
        list.AssignMoveOrderValues(count, ply, b.SideToMove ? b.WhiteKing : b.BlackKing, ttMove, nodeType);
    }
    for (int i = 0; i < count; ++i)
        if (MoveName(list.From[i], list.To[i], NoPromotion) == std::string(move, 4)) return list.OrderValue[i];
    ADD_FAILURE() << "no move " << move << " in " << fen;
    return 0;
}

class Ordering : public testing::Test {
protected:
    void SetUp() override {
        std::memset(Search.PV, 0, sizeof Search.PV);
        std::memset(Search.Killers, 0, sizeof Search.Killers);
        Search.ClearHistory();
    }
};

} // namespace

TEST(Exchange, SingleCapturesAndXrayAttackers) {
    const struct {
        const char *fen, *move;
        int value;
    } cases[] = {
        {"4k3/8/8/3n4/4P3/8/8/4K3 w - - 0 1", "e4d5", 3250},       // an undefended knight
        {"4k3/8/4p3/3p4/8/8/8/3QK3 w - - 0 1", "d1d5", -8950},     // a pawn defended by a pawn
        {"4k3/8/4p3/3p4/8/4N3/8/4K3 w - - 0 1", "e3d5", -2450},    // a knight brings no x-ray along
        {"3rk3/8/8/3r4/8/8/3R4/3RK3 w - - 0 1", "d2d5", 5000},     // the rear rook joins
        {"3rk3/8/8/3r4/8/8/3R4/4K3 w - - 0 1", "d2d5", 0},         // without it the defender wins it back
        {"4k3/8/8/r2r2RR/8/8/8/4K3 w - - 0 1", "g5d5", 5000},      // doubled on a rank, rear one on the h-side
        {"4k3/8/4p3/3p4/8/1Q6/B7/4K3 w - - 0 1", "b3d5", -8150}};  // bishop behind the queen
    for (const auto& c : cases) {
        ChessBoard b = BoardFromFen(c.fen);
        EXPECT_EQ(see.StaticExchangeEvaluation(1, Sq(c.move), Sq(c.move + 2), &b), c.value) << c.fen;
    }
    EXPECT_TRUE(see.dir[0][56] == 8 && see.dir[63][0] == -9 && see.dir[7][56] == 7 && see.dir[0][7] == 1);
    EXPECT_TRUE(see.dir[0][17] == 0 && see.dir[7][8] == 0 && see.dir[20][20] == 0);
}

TEST_F(Ordering, CapturesByVictimAttackerAndSquare) {
    EXPECT_EQ(ValueOf("4k3/8/8/3n4/8/1B6/8/4K3 w - - 0 1", "b3d5"), 12986);
    EXPECT_EQ(ValueOf("4k3/8/8/8/8/1b6/8/N3K3 w - - 0 1", "a1b3"), 12990);
    // Post value of a knight capture, open file and seventh rank of a rook capture.
    EXPECT_EQ(ValueOf("4k3/8/3b4/8/4N3/8/8/4K3 w - - 0 1", "e4d6"), 3250 + WKnightPost[43] - 10 + 9750);
    EXPECT_EQ(ValueOf("6k1/3p4/8/8/8/8/8/3RK3 w - - 0 1", "d1d7"), 800 + OpenFileControl[3] + 350 - 19 + 9750);
    EXPECT_EQ(ValueOf("4k3/8/8/8/8/8/3p4/4K3 w - - 0 1", "e1d2"), 800 - 14625 + 9750); // king captures rank low
    // Pawn takes queen, plus the passer gain when the capture leaves it passed.
    EXPECT_EQ(ValueOf("4k3/4p3/8/8/3q4/4P3/8/4K3 w - - 0 1", "e3d4"), 19497);
    EXPECT_EQ(ValueOf("4k3/p7/8/8/3q4/4P3/8/4K3 w - - 0 1", "e3d4"), 19497 + Passers[3] - Passers[2]);
    EXPECT_EQ(ValueOf("4k3/8/3p4/4Q3/8/8/P7/4K3 b - - 0 1", "d6e5"), 19497 + Passers[7 - 4] - Passers[7 - 5]);
}

TEST_F(Ordering, TableMovePrincipalVariationKillersAndHistory) {
    const char* start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    const int e2e4 = 12 * 64 + 28;
    EXPECT_EQ(ValueOf(start, "e2e4", 2, e2e4, 3), 29000);
    Search.PV[2][2] = PVEntry{u16(e2e4), NoPromotion};
    EXPECT_EQ(ValueOf(start, "e2e4", 2, e2e4, 1), 28998) << "the line's move is tried first";
    EXPECT_EQ(ValueOf(start, "e2e4", 2, e2e4, 3), 29000) << "no line bonus at type 3";
    EXPECT_EQ(ValueOf(start, "e2e4", 2, 0, 3), 0);
    Search.Killers[2][0] = u16(6 * 64 + 21);
    Search.Killers[2][1] = u16(1 * 64 + 18);
    EXPECT_EQ(ValueOf(start, "g1f3"), 1020);
    EXPECT_EQ(ValueOf(start, "b1c3"), 1010);
    EXPECT_EQ(ValueOf(start, "g1f3", 3), 0) << "killers belong to their ply";
    Search.AddHistory(0, e2e4, 20); // 400
    EXPECT_EQ(ValueOf(start, "e2e4", 5), 400 >> 7);
    EXPECT_EQ(ValueOf("4k3/1P6/8/8/8/8/8/4K3 w - - 0 1", "b7b8"), 4875) << "a quiet queen promotion";
    EXPECT_EQ(ValueOf("4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "a1a8"), 28) << "onto the enemy king's lines";
    EXPECT_EQ(ValueOf("4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "a1a5"), 0);
    // Past the limit the whole side's history halves.
    Search.AddHistory(1, 100, 200); // 40000
    Search.AddHistory(1, 7, 10);
    Search.AddHistory(1, 100, 200); // 80000
    EXPECT_TRUE(Search.History[1][100] == 40000 && Search.History[1][7] == 50 && Search.HistoryMax == 40000);
    EXPECT_EQ(Search.History[0][e2e4], 400);
}

TEST_F(Ordering, QuiescenceKeys) {
    EXPECT_EQ(ValueOf("4k3/8/8/3p4/8/8/8/3QK3 w - - 0 1", "d1d5", -1), 772);
    EXPECT_EQ(ValueOf("4k3/1P6/8/8/8/8/8/4K3 w - - 0 1", "b7b8", -1), 750);
    EXPECT_EQ(ValueOf("4k3/8/8/8/8/8/1p6/4K3 b - - 0 1", "b2b1", -1), 750);
    EXPECT_EQ(ValueOf("4k3/8/8/8/8/8/1P6/4K3 w - - 0 1", "b2b3", -1), 0);
    EXPECT_EQ(ValueOf("4k3/8/8/3n4/4P3/8/8/4K3 w - - 0 1", "e4d5", -1), 3248 - 3 + 10);
}
