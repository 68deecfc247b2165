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

} // namespace

TEST(Ordering, ExchangesAndTheKeysOfTableMoveLineKillersCapturesQuietsAndQuiescence) {
    const struct {
        const char *fen, *move;
        int value;
    } exchanges[] = {{"4k3/8/4p3/3p4/8/8/8/3QK3 w - - 0 1", "d1d5", -8950},    // a pawn defended by a pawn
                     {"3rk3/8/8/3r4/8/8/3R4/3RK3 w - - 0 1", "d2d5", 5000},    // the rear rook joins
                     {"4k3/8/4p3/3p4/8/1Q6/B7/4K3 w - - 0 1", "b3d5", -8150}}; // bishop behind the queen
    for (const auto& c : exchanges) {
        ChessBoard b = BoardFromFen(c.fen);
        EXPECT_EQ(see.StaticExchangeEvaluation(1, Sq(c.move), Sq(c.move + 2), &b), c.value) << c.fen;
    }
    std::memset(Search.PV, 0, sizeof Search.PV);
    std::memset(Search.Killers, 0, sizeof Search.Killers);
    Search.ClearHistory();
    const char* start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    const int e2e4 = 12 * 64 + 28;
    Search.PV[2][2] = PVEntry{u16(e2e4), NoPromotion};
    Search.Killers[2][0] = u16(6 * 64 + 21);
    Search.Killers[2][1] = u16(1 * 64 + 18);
    Search.AddHistory(0, e2e4, 20); // 400
    const struct {
        const char *fen, *move;
        int ply, ttMove, nodeType, value;
    } cases[] = {{start, "e2e4", 2, e2e4, 3, 29000},                            // table move, no line bonus at type 3
                 {start, "e2e4", 2, e2e4, 1, 28998},                            // the line's move
                 {start, "g1f3", 2, 0, 1, 1020},                                // first killer
                 {start, "g1f3", 3, 0, 1, 0},                                   // killers belong to their ply
                 {start, "e2e4", 5, 0, 1, 400 >> 7},                            // history
                 {"4k3/8/8/3n4/8/1B6/8/4K3 w - - 0 1", "b3d5", 2, 0, 1, 12986}, // victim and attacker
                 {"4k3/8/3b4/8/4N3/8/8/4K3 w - - 0 1", "e4d6", 2, 0, 1, 3250 + WKnightPost[43] - 10 + 9750},
                 {"4k3/p7/8/8/3q4/4P3/8/4K3 w - - 0 1", "e3d4", 2, 0, 1, 19497 + Passers[3] - Passers[2]},
                 {"4k3/1P6/8/8/8/8/8/4K3 w - - 0 1", "b7b8", 2, 0, 1, 4875},  // a quiet queen promotion
                 {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "a1a8", 2, 0, 1, 28},     // onto the enemy king's lines
                 {"4k3/8/8/3p4/8/8/8/3QK3 w - - 0 1", "d1d5", -1, 0, 1, 772}, // quiescence
                 {"4k3/8/8/3n4/4P3/8/8/4K3 w - - 0 1", "e4d5", -1, 0, 1, 3248 - 3 + 10}};
    for (const auto& c : cases)
        EXPECT_EQ(ValueOf(c.fen, c.move, c.ply, c.ttMove, char(c.nodeType)), c.value) << c.fen << " " << c.move;
    // Past the limit the whole side's history halves.
    Search.AddHistory(1, 100, 200); // 40000
    Search.AddHistory(1, 7, 10);
    Search.AddHistory(1, 100, 200); // 80000
    EXPECT_TRUE(Search.History[1][100] == 40000 && Search.History[1][7] == 50 && Search.HistoryMax == 40000);
}
