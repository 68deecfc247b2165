// Piece terms: outposts and mobility, fianchetto and the bishop pair, rooks
// on files and behind passers, queens without retreat, and trapped pieces.
#include <gtest/gtest.h>

#include "eval/EvalTestSupport.h"
#include "eval/PositionEvaluate.h"

namespace {

struct Term {
    int value, middleGame, endGame;
};

// One piece term on its own, after the full evaluation has filled PE.
template <class F> Term Run(const char* fen, F term) {
    static ChessBoard b;
    b = EvalBoard(fen);
    PrimeTerms(b);
    int v = term();
    return {v, PE.MiddleGame, PE.EndGame};
}

Term Knights(const char* fen) { return Run(fen, [] { return PE.KnightEval(0); }); }
Term Bishops(const char* fen) { return Run(fen, [] { return PE.BishopEval(0); }); }
Term Rooks(const char* fen) { return Run(fen, [] { return PE.RookEval(0); }); }
Term Queens(const char* fen) { return Run(fen, [] { return PE.QueenEval(0); }); }
int Traps(const char* fen) { return Run(fen, [] { return PE.Traps(0); }).value; }

TEST(Mobility, KnightOutpostAndSafeSquares) {
    // e5: table 80 / 150, outpost 120, seven safe squares (g6 is guarded by h7).
    Term t = Knights("4k3/7p/8/4N3/8/8/P7/4K3 w - - 0 1");
    EXPECT_EQ(t.middleGame, 80 + 120 + 100);
    EXPECT_EQ(t.endGame, 150 + 100);
    // A black pawn on f6 could take it: no outpost, even though nothing else changes.
    EXPECT_EQ(Knights("4k3/7p/5p2/4N3/8/8/P7/4K3 w - - 0 1").middleGame, 80 + 100);
}

TEST(Mobility, BlackKnightsCountAgainstWhite) {
    Term t = Knights("4k3/p7/8/8/4n3/8/P7/4K3 w - - 0 1");
    // e4 for Black is e5 for White; a2 guards b3, which the knight doesn't reach.
    EXPECT_EQ(t.middleGame, -(80 + 120 + 120));
    EXPECT_EQ(t.endGame, -(150 + 120));
}

TEST(Mobility, FianchettoNeedsItsPawns) {
    // g2: table 25 / -50 and nine squares (90).
    Term t = Bishops("4k3/p7/8/8/8/6P1/6BP/4K3 w - - 0 1");
    EXPECT_EQ(t.middleGame, 25 + 90 + 200);
    EXPECT_EQ(t.endGame, -50 + 90);
    EXPECT_EQ(t.value, 0);
    EXPECT_EQ(Bishops("4k3/p7/8/8/8/8/6BP/4K3 w - - 0 1").middleGame, 25 + 90);
    EXPECT_EQ(Bishops("4k3/p7/8/8/8/1P6/PBP5/4K3 w - - 0 1").middleGame, 25 + 90); // b2 never
}

TEST(Mobility, BishopPairWhateverTheSquareColours) {
    EXPECT_EQ(Bishops("4k3/p7/8/8/2B5/3B4/P7/4K3 w - - 0 1").value, 500);
    EXPECT_EQ(Bishops("2b1k3/p7/8/8/2B5/3B4/P7/4K3 w - - 0 1").value, 500);
    EXPECT_EQ(Bishops("2bbk3/p7/8/8/2B5/3B4/P7/4K3 w - - 0 1").value, 0);
}

TEST(RookFiles, OpenAndHalfOpenFiles) {
    Term open = Rooks("4k3/p6p/8/8/8/8/P6P/3RK3 w - - 0 1");
    EXPECT_EQ(open.value, 0);
    EXPECT_EQ(open.middleGame, 170 + 320); // ten squares
    EXPECT_EQ(open.endGame, 238 + 140);
    Term halfOpen = Rooks("4k3/p2p3p/8/8/8/8/P6P/3RK3 w - - 0 1");
    EXPECT_EQ(halfOpen.value, 50);
    EXPECT_EQ(halfOpen.middleGame, 140);
    EXPECT_EQ(halfOpen.endGame, 196);
}

TEST(RookFiles, BlockedOnTheBackRank) {
    // a1 with a black pawn on a2: mobility 3 (b1 is guarded), -100 / -200, and no white pawn on the file.
    Term t = Rooks("4k3/p6p/8/8/8/8/p6P/R3K3 w - - 0 1");
    EXPECT_EQ(t.value, 50);
    EXPECT_EQ(t.middleGame, -30 - 100);
    EXPECT_EQ(t.endGame, -42 - 200);
}

TEST(RookFiles, BehindPassedPawns) {
    Term own = Rooks("4k3/7p/8/P7/8/8/8/R3K3 w - - 0 1");
    EXPECT_EQ(own.middleGame, 70 + 37);
    EXPECT_EQ(own.endGame, 98 + 75);
    // Behind Black's a4 passer, which runs towards a1; eight squares, half-open file.
    Term enemy = Rooks("R3k3/7p/8/8/p7/8/7P/4K3 w - - 0 1");
    EXPECT_EQ(enemy.value, 50);
    EXPECT_EQ(enemy.middleGame, 120 + 18);
    EXPECT_EQ(enemy.endGame, 168 + 37);
}

TEST(Queens, QueenWithoutRetreatInTheEnemyCamp) {
    // h8 reaches h7, g8 and g7, every one covered by a black piece.
    Term t = Queens("5rkQ/6pp/8/8/8/8/P7/K7 w - - 0 1");
    EXPECT_EQ(t.middleGame, -80);
    EXPECT_EQ(t.endGame, -80 - 6500);
}

TEST(Traps, KnightsInTheCorner) {
    EXPECT_EQ(Traps("7N/7p/8/8/8/8/P7/K1k5 w - - 0 1"), -1219);
    EXPECT_EQ(Traps("7N/5p2/8/8/8/8/P7/K1k5 w - - 0 1"), -1219);
    EXPECT_EQ(Traps("7N/6p1/8/8/8/8/P7/K1k5 w - - 0 1"), 0);
    EXPECT_EQ(Traps("N6N/p6p/8/8/8/8/P7/K1k5 w - - 0 1"), -2438);
    EXPECT_EQ(Traps("k7/p7/8/8/8/8/5P1P/K6n w - - 0 1"), 1219);
    EXPECT_EQ(Traps("k7/p7/8/8/8/7P/6Pn/K7 w - - 0 1"), 1219);
}

TEST(Traps, BishopsCutOffByPawns) {
    EXPECT_EQ(Traps("8/B1p5/1p6/8/8/8/P7/K1k5 w - - 0 1"), -1600);
    EXPECT_EQ(Traps("6B1/5p2/6p1/8/8/8/P7/K1k5 w - - 0 1"), -1600);
    EXPECT_EQ(Traps("k7/p7/8/8/8/6P1/5P1b/K7 w - - 0 1"), 1600);
}

TEST(Traps, RookShutInOnlyAgainstHeavyPieces) {
    EXPECT_EQ(Traps("6k1/5ppp/8/8/8/8/5PPP/5KR1 w - - 0 1"), 0);
    EXPECT_EQ(Traps("6kq/5ppp/8/8/8/8/5PPP/5KR1 w - - 0 1"), -1670);
    EXPECT_EQ(Traps("r5k1/8/8/8/8/8/PP6/1RK5 w - - 0 1"), -1670);
    EXPECT_EQ(Traps("5kr1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1"), 1670);
}

} // namespace
