// End-game knowledge: pawnless endings, drawish material, lone minor
// pieces, doubled pawns by heavy support, and the final scaling rules.
#include <gtest/gtest.h>

#include "eval/EvalTestSupport.h"
#include "eval/PositionEvaluate.h"

namespace {

TEST(PawnlessEndings, ShortcutAndFullEvaluation) {
    // Balanced material: the kings alone; one minor piece more: 3/4 of it, unrounded.
    EXPECT_EQ(Evaluate("k6r/8/8/8/4K3/8/8/7R w - - 0 1"), 80 + 250);
    EXPECT_EQ(Evaluate("k6r/8/8/8/4K3/8/8/7R b - - 0 1"), -250 - 80);
    EXPECT_EQ(Evaluate("4k3/8/8/8/8/8/8/1N2K3 w - - 0 1"), 2437);
    // Two bishops against a knight take the full, rounded evaluation.
    ChessBoard b = EvalBoard("4k3/8/8/8/8/3n4/8/2B1KB2 w - - 0 1");
    EXPECT_EQ(Evaluate(b, 0) % 10, 0);
    int shortcut;
    EXPECT_FALSE(PE.PawnlessEnding(0, 3250, &shortcut));
}

TEST(DrawishEndings, RookAgainstMinorPieceIsHalved) {
    ChessBoard b = EvalBoard("4k3/8/8/8/8/3b4/8/R3K3 w - - 0 1");
    EXPECT_EQ(Evaluate(b, 1), -875);
    EXPECT_NE(PE.DrawishEnding(1), 0);
    for (const char* fen : {"4k3/8/8/8/8/3r4/8/R3K3 w - - 0 1", "4k3/8/8/8/8/3n4/P7/R3K3 w - - 0 1"}) {
        ChessBoard other = EvalBoard(fen);
        Evaluate(other, 0);
        EXPECT_EQ(PE.DrawishEnding(0), 0) << fen;
    }
}

TEST(DynamicAdjustments, LoneMinorsAndDoubledPawns) {
    const std::pair<const char*, int> cases[] = {
        {"4k3/p7/8/8/8/8/8/2B1K3 w - - 0 1", -750},
        {"4k3/p7/8/8/8/8/8/2N1K3 w - - 0 1", -800},
        {"2n1k3/8/8/8/8/8/P7/4K3 w - - 0 1", 800},
        {"4k3/p7/8/8/8/8/8/2BNK3 w - - 0 1", 0},
        // Doubled pawns: 190 with no heavy piece, 125 with one rook, 62 with more.
        {"4k3/8/8/8/8/P7/P7/4K3 w - - 0 1", -190},
        {"4k3/8/8/8/8/P7/P7/R3K3 w - - 0 1", -125},
        {"4k3/8/8/8/8/P7/P7/R3K2R w - - 0 1", -62},
        {"4k3/8/8/8/8/P7/P7/3QK3 w - - 0 1", -62},
    };
    for (auto [fen, value] : cases) {
        ChessBoard b = EvalBoard(fen);
        PrimeTerms(b);
        EXPECT_EQ(PE.DynamicPieceAdjustments(), value) << fen;
    }
}

TEST(ScaledEndings, ExtraMinorAndOppositeBishops) {
    struct {
        const char* fen;
        int score, material, scaled;
    } cases[] = {
        {"4k3/8/8/8/8/3n4/4P3/4K3 w - - 0 1", 0, -3250, 1100},  // a knight more, no pawn for it
        {"4k3/4p3/8/8/8/3n4/4P3/4K3 w - - 0 1", 0, -3250, 0},
        {"4k3/3p4/8/3b4/8/8/3P4/2B1K3 w - - 0 1", 1000, 0, 250}, // opposite colours: a quarter
        {"4k3/3p4/8/3b4/8/8/3P4/2B1K3 w - - 0 1", -1001, 0, -251},
        {"4k3/3p4/8/2b5/8/8/3P4/2B1K3 w - - 0 1", 1000, 0, 1000}, // same colour
        {"4k3/7p/8/3b4/8/8/P7/2B1K3 w - - 0 1", 1000, 0, 1000},   // rook pawns only
        {"4k3/8/8/3b4/8/8/PPPP4/2B1K3 w - - 0 1", 1000, 0, 1000}, // four pawns apart
    };
    for (auto c : cases) {
        ChessBoard b = EvalBoard(c.fen);
        PrimeTerms(b);
        EXPECT_EQ(PE.ScaleEnding(c.score, c.material), c.scaled) << c.fen;
    }
}

} // namespace
