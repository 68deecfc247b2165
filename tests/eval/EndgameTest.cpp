// End-game knowledge: pawnless endings, drawish material, a lone minor
// piece, doubled pawns by heavy support, opposite-coloured bishops.
#include <gtest/gtest.h>

#include "eval/EvalTestSupport.h"
#include "eval/PositionEvaluate.h"

namespace {

TEST(PawnlessEndings, BalancedMaterialIsScoredByTheKingsAlone) {
    EXPECT_EQ(Evaluate("k6r/8/8/8/4K3/8/8/7R w - - 0 1"), 80 + 250);
    EXPECT_EQ(Evaluate("k6r/8/8/8/4K3/8/8/7R b - - 0 1"), -250 - 80);
    // One minor piece more: three quarters of it, unrounded.
    EXPECT_EQ(Evaluate("4k3/8/8/8/8/8/8/1N2K3 w - - 0 1"), 2437);
    EXPECT_EQ(Evaluate("4k3/8/8/8/8/8/8/1N2K3 b - - 0 1"), -2437);
}

TEST(PawnlessEndings, TwoBishopsAgainstKnightAreEvaluatedInFull) {
    ChessBoard b = EvalBoard("4k3/8/8/8/8/3n4/8/2B1KB2 w - - 0 1");
    int v = Evaluate(b, 0);
    EXPECT_EQ(v % 10, 0);
    int shortcut;
    EXPECT_FALSE(PE.PawnlessEnding(0, 3250, &shortcut));
}

TEST(DrawishEndings, RookAgainstMinorPiece) {
    ChessBoard b = EvalBoard("4k3/8/8/8/8/3b4/8/R3K3 w - - 0 1");
    EXPECT_EQ(Evaluate(b, 0), 875);
    EXPECT_EQ(Evaluate(b, 1), -875);
    EXPECT_NE(PE.DrawishEnding(0), 0);
    ChessBoard rooks = EvalBoard("4k3/8/8/8/8/3r4/8/R3K3 w - - 0 1");
    Evaluate(rooks, 0);
    EXPECT_EQ(PE.DrawishEnding(0), 0);
    ChessBoard withPawn = EvalBoard("4k3/8/8/8/8/3n4/P7/R3K3 w - - 0 1");
    Evaluate(withPawn, 0);
    EXPECT_EQ(PE.DrawishEnding(0), 0);
}

TEST(MinorPieces, LoneMinorAgainstPawns) {
    ChessBoard bishop = EvalBoard("4k3/p7/8/8/8/8/8/2B1K3 w - - 0 1");
    PrimeTerms(bishop);
    EXPECT_EQ(PE.DynamicPieceAdjustments(), -750);
    ChessBoard knight = EvalBoard("4k3/p7/8/8/8/8/8/2N1K3 w - - 0 1");
    PrimeTerms(knight);
    EXPECT_EQ(PE.DynamicPieceAdjustments(), -800);
    ChessBoard blackKnight = EvalBoard("2n1k3/8/8/8/8/8/P7/4K3 w - - 0 1");
    PrimeTerms(blackKnight);
    EXPECT_EQ(PE.DynamicPieceAdjustments(), 800);
    ChessBoard defended = EvalBoard("4k3/p7/8/8/8/8/8/2BNK3 w - - 0 1");
    PrimeTerms(defended);
    EXPECT_EQ(PE.DynamicPieceAdjustments(), 0);
}

TEST(MinorPieces, DoubledPawnsWeighByHeavyPieces) {
    const char* fens[] = {"4k3/8/8/8/8/P7/P7/4K3 w - - 0 1", "4k3/8/8/8/8/P7/P7/R3K3 w - - 0 1",
                          "4k3/8/8/8/8/P7/P7/R3K2R w - - 0 1", "4k3/8/8/8/8/P7/P7/3QK3 w - - 0 1"};
    const int penalty[] = {190, 125, 62, 62};
    for (int i = 0; i < 4; ++i) {
        ChessBoard b = EvalBoard(fens[i]);
        PrimeTerms(b);
        EXPECT_EQ(PE.DynamicPieceAdjustments(), -penalty[i]) << fens[i];
    }
}

TEST(ScaledEndings, ExtraMinorPieceWithoutPawns) {
    ChessBoard b = EvalBoard("4k3/8/8/8/8/3n4/4P3/4K3 w - - 0 1");
    PrimeTerms(b);
    EXPECT_EQ(PE.ScaleEnding(0, -3250), 1100);
    ChessBoard bothPawns = EvalBoard("4k3/4p3/8/8/8/3n4/4P3/4K3 w - - 0 1");
    PrimeTerms(bothPawns);
    EXPECT_EQ(PE.ScaleEnding(0, -3250), 0);
}

TEST(ScaledEndings, OppositeBishopsKeepAQuarter) {
    ChessBoard opposite = EvalBoard("4k3/3p4/8/3b4/8/8/3P4/2B1K3 w - - 0 1");
    PrimeTerms(opposite);
    EXPECT_EQ(PE.ScaleEnding(1000, 0), 250);
    EXPECT_EQ(PE.ScaleEnding(-1001, 0), -251);
    ChessBoard sameColour = EvalBoard("4k3/3p4/8/2b5/8/8/3P4/2B1K3 w - - 0 1");
    PrimeTerms(sameColour);
    EXPECT_EQ(PE.ScaleEnding(1000, 0), 1000);
    ChessBoard rookPawns = EvalBoard("4k3/7p/8/3b4/8/8/P7/2B1K3 w - - 0 1");
    PrimeTerms(rookPawns);
    EXPECT_EQ(PE.ScaleEnding(1000, 0), 1000);
    ChessBoard manyPawns = EvalBoard("4k3/8/8/3b4/8/8/PPPP4/2B1K3 w - - 0 1");
    PrimeTerms(manyPawns);
    EXPECT_EQ(PE.ScaleEnding(1000, 0), 1000);
}

} // namespace
