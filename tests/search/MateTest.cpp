// Mates the search announces: no mate without proof, the distance the
// best defence allows, and a line that ends in the mate.
#include <gtest/gtest.h>

#include <cstring>

#include "board/HashKeys.h"
#include "core/Status.h"
#include "search/MoveHistory.h"
#include "search/SearchRoutines.h"
#include "search/TranspositionTables.h"
#include "support/TestBoards.h"

namespace {

class Mates : public testing::Test {
protected:
    void SetUp() override {
        MainStatus.initVars();
        MoveList.Init();
        PositionCache.ClearTranspositionTables();
        Search.ClearHistory();
        std::memset(Search.Killers, 0, sizeof Search.Killers);
    }
    void TearDown() override { MainStatus.FD = 0; }
};

} // namespace

TEST_F(Mates, ANullMoveProvesNoMateBound) {
    // White passes, Black's only move is Kg8, and Qg7 mates: the null move fails high with a mate.
    ChessBoard b = BoardFromFen("7k/Q7/6K1/8/8/8/8/8 w - - 0 1");
    MainStatus.FD = 5;
    b.MaxPly = Search.IterationMaxPly = 20;
    const int beta = 11700; // within reach of the material, out of reach of the static cut-off
    EXPECT_EQ(Search.Search(beta - 1, beta, b, Node{0, 0, 5, 2, true, false, CutNode}), beta);
    u64 upper, lower;
    genhashcode(0, 0, &upper, &lower, &b);
    int value = 0, move = 0;
    EXPECT_EQ(PositionCache.SearchTranspositionTables(upper, lower, 2, 2, beta, MateScoreBound + 1, &value, &move),
              NoHit)
        << "stored as a mate bound: " << value;
}
