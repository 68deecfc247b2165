// Quiescence: stand pat, the exchange filter, promotions and draws.
#include <gtest/gtest.h>

#include "eval/PositionEvaluate.h"
#include "search/SearchRoutines.h"
#include "support/TestBoards.h"

namespace {

int StandPat(ChessBoard b) { return PE.PosEval(b.SideToMove, -110000, 110000, &b); }

int Quiesce(const ChessBoard& b, int alpha = -110000, int beta = 110000) {
    Search.QNodes = 0;
    return Search.Quiesce(b.SideToMove, alpha, beta, b, 0, 0, 1);
}

TEST(Quiescence, StandPatAndQuietPositions) {
    ChessBoard b = BoardFromFen("4k3/pppp4/8/8/8/8/PPPP4/4K3 w - - 0 1");
    const int e = StandPat(b);
    EXPECT_EQ(e, Quiesce(b)); // no captures: the evaluation itself
    EXPECT_EQ(e, Quiesce(b, e - 100, e - 50)); // at or above beta: the evaluation, not beta
    EXPECT_EQ(1, Search.QNodes);
}

TEST(Quiescence, CapturesAndTheExchangeFilter) {
    // Pawn takes an undefended knight: searched, and the knight is won.
    ChessBoard pawnTakes = BoardFromFen("r3k3/8/8/3n4/4P3/8/8/R3K3 w - - 0 1");
    EXPECT_GT(Quiesce(pawnTakes), StandPat(pawnTakes) + 2000);
    // Queen takes a pawn defended by a pawn: dropped, one node only.
    ChessBoard queenTakes = BoardFromFen("4k3/8/4p3/3p4/8/8/8/3QK3 w - - 0 1");
    EXPECT_EQ(StandPat(queenTakes), Quiesce(queenTakes));
    EXPECT_EQ(1, Search.QNodes);
    // The same capture without the defender is searched.
    ChessBoard freePawn = BoardFromFen("4k3/8/8/3p4/8/8/8/3QK3 w - - 0 1");
    Quiesce(freePawn);
    EXPECT_GT(Search.QNodes, 1);
}

TEST(Quiescence, QuietPromotionIsSearchedButNotOtherQuietMoves) {
    ChessBoard b = BoardFromFen("7k/1P6/8/8/8/8/P7/K7 w - - 0 1");
    Quiesce(b);
    EXPECT_EQ(2, Search.QNodes); // the promotion, not the pawn push
}

TEST(Quiescence, KingCaptureRefutesThePreviousMove) {
    // Black's king stands en prise: White to move returns beta.
    ChessBoard b = BoardFromFen("4k3/8/8/8/8/8/8/R3K3 w - - 0 1");
    b.BlackKing = SquareBit(0 + 40); // a6, on the rook's file
    b.BlackPieces = b.BlackKing;
    b.AllPieces = b.WhitePieces | b.BlackPieces;
    EXPECT_EQ(100000, Quiesce(b, -1000, 100000));
}

TEST(Quiescence, DrawByRuleBeforeTheEvaluation) {
    ChessBoard b = BoardFromFen("4k3/8/8/8/8/8/8/4KN2 w - - 0 1"); // a lone knight cannot mate
    EXPECT_EQ(0, Quiesce(b));
}

} // namespace
