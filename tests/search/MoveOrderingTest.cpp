// Ordering keys of the search and of quiescence.
#include <gtest/gtest.h>

#include <cstring>

#include "eval/PositionEvaluate.h"
#include "movegen/MoveGen.h"
#include "search/SearchRoutines.h"
#include "support/TestBoards.h"

namespace {

u64 Sq(const char* name) { return SquareBit((name[1] - '1') * 8 + (name[0] - 'a')); }

class Ordering : public testing::Test {
protected:
    void SetUp() override {
        std::memset(Search.PV, 0, sizeof Search.PV);
        std::memset(Search.Killers, 0, sizeof Search.Killers);
        Search.ClearHistory();
    }

    // Generates the moves of the side to move and returns the value of from-to.
    int ValueOf(const char* fen, const char* from, const char* to, int ttMove = 0, char nodeType = 1, int ply = 2) {
        board = BoardFromFen(fen);
        const int count = list.GenerateAllMoves(board.SideToMove, &board, board.Castling);
        const u64 enemyKing = board.SideToMove ? board.WhiteKing : board.BlackKing;
        list.AssignMoveOrderValues(count, ply, enemyKing, ttMove, nodeType);
        for (int i = 0; i < count; ++i)
            if (list.From[i] == Sq(from) && list.To[i] == Sq(to)) return list.OrderValue[i];
        ADD_FAILURE() << "no move " << from << to;
        return 0;
    }

    int QuiesceValueOf(const char* fen, const char* from, const char* to) {
        board = BoardFromFen(fen);
        const int count = list.GenerateQuiesceMoves(board.SideToMove, &board);
        list.QuiesceAssignMoveOrderValues(count);
        for (int i = 0; i < count; ++i)
            if (list.From[i] == Sq(from) && list.To[i] == Sq(to)) return list.OrderValue[i];
        ADD_FAILURE() << "no move " << from << to;
        return 0;
    }

    ChessBoard board;
    MoveGen list;
};

TEST_F(Ordering, CapturesByVictimAndAttacker) {
    // Bishop takes knight, knight takes bishop on a square without post value.
    EXPECT_EQ(12986, ValueOf("4k3/8/8/3n4/8/1B6/8/4K3 w - - 0 1", "b3", "d5"));
    EXPECT_EQ(12990, ValueOf("4k3/8/8/8/8/1b6/8/N3K3 w - - 0 1", "a1", "b3"));
    // A knight capture on an outpost square adds the post value.
    EXPECT_EQ(3250 + WKnightPost[43] - 10 + 9750, ValueOf("4k3/8/3b4/8/4N3/8/8/4K3 w - - 0 1", "e4", "d6"));
    // Rook takes a pawn on an open file on the seventh rank.
    EXPECT_EQ(800 + OpenFileControl[3] + 350 - 19 + 9750, ValueOf("6k1/3p4/8/8/8/8/8/3RK3 w - - 0 1", "d1", "d7"));
    // King captures rank below the quiet moves.
    EXPECT_EQ(800 - 14625 + 9750, ValueOf("4k3/8/8/8/8/8/3p4/4K3 w - - 0 1", "e1", "d2"));
    // Pawn takes queen: 19497, plus the passer gain when the capture leaves it passed.
    EXPECT_EQ(19497, ValueOf("4k3/4p3/8/8/3q4/4P3/8/4K3 w - - 0 1", "e3", "d4"));
    EXPECT_EQ(19497 + Passers[3] - Passers[2], ValueOf("4k3/p7/8/8/3q4/4P3/8/4K3 w - - 0 1", "e3", "d4"));
    EXPECT_EQ(19497 + Passers[7 - 4] - Passers[7 - 5], ValueOf("4k3/8/3p4/4Q3/8/8/P7/4K3 b - - 0 1", "d6", "e5"));
}

TEST_F(Ordering, SpecialMoves) {
    const char* start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    const int e2e4 = 12 * 64 + 28;
    EXPECT_EQ(29000, ValueOf(start, "e2", "e4", e2e4, 3));
    Search.PV[2][2] = PVEntry{u16(e2e4), NoPromotion};
    EXPECT_EQ(28998, ValueOf(start, "e2", "e4", e2e4, 1)); // the PV move is tested first
    EXPECT_EQ(29000, ValueOf(start, "e2", "e4", e2e4, 3)); // no PV bonus at type 3
    EXPECT_EQ(0, ValueOf(start, "e2", "e4", 0, 3));
    Search.Killers[2][0] = u16(6 * 64 + 21);
    Search.Killers[2][1] = u16(1 * 64 + 18);
    EXPECT_EQ(1020, ValueOf(start, "g1", "f3"));
    EXPECT_EQ(1010, ValueOf(start, "b1", "c3"));
    EXPECT_EQ(0, ValueOf(start, "g1", "f3", 0, 1, 3)); // killers belong to their ply
}

TEST_F(Ordering, QuietMovesByHistory) {
    const char* start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    Search.AddHistory(0, 12 * 64 + 28, 20); // 400
    EXPECT_EQ(400 >> 7, ValueOf(start, "e2", "e4"));
    EXPECT_EQ(0, ValueOf(start, "d2", "d4"));
    // A quiet queen promotion ranks above the killers.
    EXPECT_EQ(4875, ValueOf("4k3/1P6/8/8/8/8/8/4K3 w - - 0 1", "b7", "b8"));
    // Rooks and queens moving onto the enemy king's lines gain a little.
    EXPECT_EQ(28, ValueOf("4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "a1", "a8"));
    EXPECT_EQ(0, ValueOf("4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "a1", "a5"));
}

TEST_F(Ordering, HistoryHalvesPastTheLimit) {
    Search.AddHistory(1, 100, 200); // 40000
    EXPECT_EQ(40000, Search.History[1][100]);
    EXPECT_EQ(40000, Search.HistoryMax);
    Search.AddHistory(1, 7, 10);
    Search.AddHistory(1, 100, 200); // 80000: the whole side halves
    EXPECT_EQ(40000, Search.History[1][100]);
    EXPECT_EQ(50, Search.History[1][7]);
    EXPECT_EQ(40000, Search.HistoryMax);
    EXPECT_EQ(0, Search.History[0][100]);
}

TEST_F(Ordering, QuiescenceKeys) {
    EXPECT_EQ(772, QuiesceValueOf("4k3/8/8/3p4/8/8/8/3QK3 w - - 0 1", "d1", "d5"));
    EXPECT_EQ(750, QuiesceValueOf("4k3/1P6/8/8/8/8/8/4K3 w - - 0 1", "b7", "b8"));
    EXPECT_EQ(750, QuiesceValueOf("4k3/8/8/8/8/8/1p6/4K3 b - - 0 1", "b2", "b1"));
    EXPECT_EQ(0, QuiesceValueOf("4k3/8/8/8/8/8/1P6/4K3 w - - 0 1", "b2", "b3"));
    EXPECT_EQ(3248 - 3 + 10, QuiesceValueOf("4k3/8/8/3n4/4P3/8/8/4K3 w - - 0 1", "e4", "d5"));
}

} // namespace
