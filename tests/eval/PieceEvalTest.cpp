// Piece terms: outposts and mobility, fianchetto and the bishop pair, rooks
// on files and behind passers, queens without retreat, and trapped pieces.
#include <gtest/gtest.h>

#include "eval/EvalTestSupport.h"
#include "eval/PositionEvaluate.h"

namespace {

// A position, its term's return value and what the term adds to the accumulators.
struct Case {
    const char* fen;
    int value, middleGame, endGame;
};

void ExpectTerm(const Case& c, int (PositionEvaluate::*term)(char)) {
    ChessBoard b = EvalBoard(c.fen);
    PrimeTerms(b);
    EXPECT_EQ((PE.*term)(0), c.value) << c.fen;
    EXPECT_EQ(PE.MiddleGame, c.middleGame) << c.fen;
    EXPECT_EQ(PE.EndGame, c.endGame) << c.fen;
}

TEST(Mobility, KnightOutpostsAndSafeSquares) {
    const Case cases[] = {
        // e5: table 80 / 150, outpost 120, seven squares (h7 guards g6): 100.
        {"4k3/7p/8/4N3/8/8/P7/4K3 w - - 0 1", 0, 80 + 120 + 100, 150 + 100},
        // A black pawn on f6 could take it: no outpost.
        {"4k3/7p/5p2/4N3/8/8/P7/4K3 w - - 0 1", 0, 80 + 100, 150 + 100},
        // Black's e4 is White's e5, with all eight squares safe.
        {"4k3/p7/8/8/4n3/8/P7/4K3 w - - 0 1", 0, -(80 + 120 + 120), -(150 + 120)},
    };
    for (const Case& c : cases) ExpectTerm(c, &PositionEvaluate::KnightEval);
}

TEST(Mobility, FianchettoAndBishopPair) {
    const Case cases[] = {
        // g2: table 25 / -50, nine squares (90), pawns on g3 and h2: fianchetto.
        {"4k3/p7/8/8/8/6P1/6BP/4K3 w - - 0 1", 0, 25 + 90 + 200, -50 + 90},
        {"4k3/p7/8/8/8/8/6BP/4K3 w - - 0 1", 0, 25 + 90, -50 + 90},
        {"4k3/p7/8/8/8/1P6/PBP5/4K3 w - - 0 1", 0, 25 + 90, -50 + 90}, // b2 never
        // Two light-squared bishops are still a pair: c4 and d3 with seven and eight squares.
        {"4k3/p7/8/8/2B5/3B4/P7/4K3 w - - 0 1", 500, 20 + 90 + 20 + 90, 20 + 90 + 30 + 90},
    };
    for (const Case& c : cases) ExpectTerm(c, &PositionEvaluate::BishopEval);
}

TEST(RookFiles, OpenHalfOpenBlockedAndBehindPassers) {
    const Case cases[] = {
        // d1 on an open file: ten squares (170, 238 in the ending) and 320 / 140.
        {"4k3/p6p/8/8/8/8/P6P/3RK3 w - - 0 1", 0, 170 + 320, 238 + 140},
        // Half-open: 50 returned, no 320.
        {"4k3/p2p3p/8/8/8/8/P6P/3RK3 w - - 0 1", 50, 140, 196},
        // a1 behind a black pawn on a2: three squares (b1 is guarded), -100 / -200.
        {"4k3/p6p/8/8/8/8/p6P/R3K3 w - - 0 1", 50, -30 - 100, -42 - 200},
        // Behind its own a5 passer, then behind Black's a4 passer.
        {"4k3/7p/8/P7/8/8/8/R3K3 w - - 0 1", 0, 70 + 37, 98 + 75},
        {"R3k3/7p/8/8/p7/8/7P/4K3 w - - 0 1", 50, 120 + 18, 168 + 37},
    };
    for (const Case& c : cases) ExpectTerm(c, &PositionEvaluate::RookEval);
}

TEST(Queens, QueenWithoutRetreatInTheEnemyCamp) {
    // h8 reaches h7, g8 and g7 (-80), each covered by a black piece: 2 x 3250 in the ending.
    ExpectTerm({"5rkQ/6pp/8/8/8/8/P7/K7 w - - 0 1", 0, -80, -80 - 6500}, &PositionEvaluate::QueenEval);
    // On h4 it is not in the enemy camp: only 18 safe squares (f6 and h6 are guarded).
    ExpectTerm({"5rk1/6pp/8/8/7Q/8/P7/K7 w - - 0 1", 0, 220, 220}, &PositionEvaluate::QueenEval);
}

TEST(Traps, TrappedPiecesAndShutInRooks) {
    const std::pair<const char*, int> cases[] = {
        {"7N/7p/8/8/8/8/P7/K1k5 w - - 0 1", -1219},
        {"7N/5p2/8/8/8/8/P7/K1k5 w - - 0 1", -1219}, // without h7, f7 is enough
        {"7N/6p1/8/8/8/8/P7/K1k5 w - - 0 1", 0},
        {"N6N/p6p/8/8/8/8/P7/K1k5 w - - 0 1", -2438},
        {"k7/p7/8/8/8/7P/6Pn/K7 w - - 0 1", 1219},
        {"8/B1p5/1p6/8/8/8/P7/K1k5 w - - 0 1", -1600},
        {"k7/p7/8/8/8/6P1/5P1b/K7 w - - 0 1", 1600},
        // The shut-in rook costs only while the enemy has a rook or queen.
        {"6k1/5ppp/8/8/8/8/5PPP/5KR1 w - - 0 1", 0},
        {"6kq/5ppp/8/8/8/8/5PPP/5KR1 w - - 0 1", -1670},
        {"r5k1/8/8/8/8/8/PP6/1RK5 w - - 0 1", -1670},
        {"5kr1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1", 1670},
    };
    for (auto [fen, value] : cases) {
        ChessBoard b = EvalBoard(fen);
        PrimeTerms(b);
        EXPECT_EQ(PE.Traps(0), value) << fen;
    }
}

} // namespace
