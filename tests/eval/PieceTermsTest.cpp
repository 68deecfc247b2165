// Piece terms, king safety and the driver: one table per term, each case
// with the term's value and what it adds to the middle-game and end-game sums.
#include <gtest/gtest.h>

#include "eval/EvalTestSupport.h"
#include "frontend/Status.h"

TEST(PieceTerms, MobilityOutpostsFianchettoAndThePair) {
    ExpectTerm([] { return PE.KnightEval(0); },
               {// e5: table 80 / 150, outpost 120, seven squares (h7 guards g6): 100.
                {"4k3/7p/8/4N3/8/8/P7/4K3 w - - 0 1", 0, 80 + 120 + 100, 150 + 100},
                {"4k3/7p/5p2/4N3/8/8/P7/4K3 w - - 0 1", 0, 80 + 100, 150 + 100}, // f6 could take it
                {"4k3/p7/8/8/4n3/8/P7/4K3 w - - 0 1", 0, -(80 + 120 + 120), -(150 + 120)}});
    ExpectTerm([] { return PE.BishopEval(0); },
               {// g2: table 25 / -50, nine squares (90), pawns on g3 and h2: fianchetto.
                {"4k3/p7/8/8/8/6P1/6BP/4K3 w - - 0 1", 0, 25 + 90 + 200, -50 + 90},
                {"4k3/p7/8/8/8/8/6BP/4K3 w - - 0 1", 0, 25 + 90, -50 + 90},
                {"4k3/p7/8/8/8/1P6/PBP5/4K3 w - - 0 1", 0, 25 + 90, -50 + 90}, // b2 never
                // Two light-squared bishops are still a pair.
                {"4k3/p7/8/8/2B5/3B4/P7/4K3 w - - 0 1", 500, 20 + 90 + 20 + 90, 20 + 90 + 30 + 90}});
}

TEST(PieceTerms, RooksQueensAndMajorsOnTheSeventh) {
    ExpectTerm([] { return PE.RookEval(0); },
               {// d1 on an open file: ten squares (170, 238 in the ending) and 320 / 140; half-open 50.
                {"4k3/p6p/8/8/8/8/P6P/3RK3 w - - 0 1", 0, 170 + 320, 238 + 140},
                {"4k3/p2p3p/8/8/8/8/P6P/3RK3 w - - 0 1", 50, 140, 196},
                {"4k3/p6p/8/8/8/8/p6P/R3K3 w - - 0 1", 50, -30 - 100, -42 - 200}, // behind a black pawn
                {"4k3/7p/8/P7/8/8/8/R3K3 w - - 0 1", 0, 70 + 37, 98 + 75},       // behind its own passer
                {"R3k3/7p/8/8/p7/8/7P/4K3 w - - 0 1", 50, 120 + 18, 168 + 37}}); // behind Black's
    ExpectTerm([] { return PE.QueenEval(0); },
               {// h8 reaches three squares, each covered by a black piece: 2 x 3250 in the ending.
                {"5rkQ/6pp/8/8/8/8/P7/K7 w - - 0 1", 0, -80, -80 - 6500},
                {"5rk1/6pp/8/8/7Q/8/P7/K7 w - - 0 1", 0, 220, 220}});
    ExpectTerm([] { return PE.MajorsOnSeventh(), 0; },
               {{"1R4k1/R5pp/8/8/8/8/6PP/6K1 w - - 0 1", 0, 325, 650}, // two rooks: 650, not 700
                {"8/7R/6k1/6p1/8/8/6PP/6K1 w - - 0 1", 0, 0, 0},       // nothing to attack there
                {"7Q/p6R/6k1/6p1/8/8/6PP/6K1 w - - 0 1", 0, 175, 350 + 200},
                {"6k1/6pp/8/8/8/8/r4PPP/6K1 w - - 0 1", 0, -175, -350}});
}

TEST(PieceTerms, TrappedPiecesAndShutInRooks) {
    ExpectTerm([] { return PE.Traps(0); },
               {{"7N/7p/8/8/8/8/P7/K1k5 w - - 0 1", -1219}, {"7N/5p2/8/8/8/8/P7/K1k5 w - - 0 1", -1219},
                {"7N/6p1/8/8/8/8/P7/K1k5 w - - 0 1", 0},     {"N6N/p6p/8/8/8/8/P7/K1k5 w - - 0 1", -2438},
                {"k7/p7/8/8/8/7P/6Pn/K7 w - - 0 1", 1219},   {"8/B1p5/1p6/8/8/8/P7/K1k5 w - - 0 1", -1600},
                {"k7/p7/8/8/8/6P1/5P1b/K7 w - - 0 1", 1600},
                // The shut-in rook costs only while the enemy has a rook or queen.
                {"6k1/5ppp/8/8/8/8/5PPP/5KR1 w - - 0 1", 0}, {"6kq/5ppp/8/8/8/8/5PPP/5KR1 w - - 0 1", -1670},
                {"r5k1/8/8/8/8/8/PP6/1RK5 w - - 0 1", -1670}, {"5kr1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1", 1670}});
}

TEST(KingSafety, KingTablesShieldsStormsAndAttackers) {
    ExpectTerm([] { return PE.KingEval(0); }, {{"k7/8/8/8/3Q4/2K5/8/8 w - - 0 1", -80 * 5, -100 - 180, 12 + 250},
                                               {"k7/p7/8/8/3Q4/2K5/8/8 w - - 0 1", 0}});
    ExpectTerm([] { return PE.PawnShield(0); },
               {{"6k1/5ppp/8/8/8/8/5PPP/6K1 w - - 0 1", 0},
                {"6k1/5ppp/8/8/8/8/5P1P/6K1 w - - 0 1", 700},  // open king file counts double
                {"6k1/5ppp/8/8/8/8/5PNP/6K1 w - - 0 1", 350},  // a piece in front halves it
                {"6k1/5ppp/8/7P/8/8/5PP1/6K1 w - - 0 1", 105}, // three steps out: a gap
                {"6k1/5ppp/8/7P/8/8/5PP1/7K w - - 0 1", 210}}); // the same on the king's file
    ExpectTerm([] { return PE.PawnShield(1); }, {{"6k1/5ppp/8/8/8/8/5PPP/6K1 w - - 0 1", 0},
                                                 {"6k1/5pp1/8/8/7p/8/5PPP/6K1 w - - 0 1", 105},
                                                 {"6k1/5pp1/8/7p/8/8/5PPP/6K1 w - - 0 1", 70},
                                                 {"6k1/5p1p/6p1/8/8/8/5PPP/6K1 w - - 0 1", 70}});
    ExpectTerm([] { return PE.PawnStorm(0); }, {{"6k1/8/5P2/7P/6P1/8/8/K7 w - - 0 1", 600 + 300 + 100},
                                                {"7k/8/5P2/7P/6P1/8/8/K7 w - - 0 1", 1000}, // h8: files f-h
                                                {"k7/8/5P2/7P/6P1/8/8/K7 w - - 0 1", 0}}); // a8: files a-c
    ExpectTerm([] { return PE.PawnStorm(1); }, {{"k7/8/8/6p1/7p/5p2/8/6K1 w - - 0 1", 1000}});
    ExpectTerm([] { return PE.PawnShield(0), PE.AttackCounts(0); },
               {// Queen h4 hits f2 and h2, knight f4 hits g2: two kinds, (15 * 3 + 125 * 5) * 2 / 4.
                {"6k1/8/8/8/5n1q/8/5PPP/6K1 w - - 0 1", 335},
                {"6k1/8/8/8/7q/8/5PPP/6K1 w - - 0 1", 0}, // a lone queen
                // A rook beside the king defends: 100 for standing there, 100 for reaching f2.
                {"6k1/8/8/8/5n1q/8/5PPP/5RK1 w - - 0 1", 335 - 200},
                // No g-pawn: the gap doubles the attack and adds 5 x 3 for the pieces and 10 for each on the wing.
                {"6k1/8/8/8/5n1q/8/5P1P/6K1 w - - 0 1", 670 * 2 * 2 / 4 + 15 + 20},
                // A bishop on b7 aimed at g2: three kinds (weight 6) and the long-diagonal term.
                {"6k1/1b6/8/8/5n1q/8/5PPP/6K1 w - - 0 1", (45 + 750) * 3 / 4 + 10},
                {"6k1/8/8/8/5n1r/8/5PPP/6K1 w - - 0 1", (15 * 2 + 125 * 3) * 2 / 4 / 2}}); // no queen: half
}

TEST(Driver, LazyExitsPhaseAndTheDiagramLine) {
    // King and queen against king: 9750 - 400 + taper 171 before the piece terms.
    ChessBoard b = EvalBoard("k7/8/8/8/3Q4/2K5/8/8 w - - 0 1");
    const struct {
        char side;
        int alpha, beta, score;
    } windows[] = {{0, 20000, 30000, 9521}, {0, 12000, 30000, 9521}, {0, 11000, 30000, 10600},
                   {0, -30000, 3000, 9521}, {1, -30000, -20000, -9521}, {1, -30000, -11000, -10600}};
    for (auto w : windows) EXPECT_EQ(Evaluate(b, w.side, w.alpha, w.beta), w.score) << w.alpha << " " << w.beta;
    for (auto [fen, phase] : {std::pair{"rnbqkbnr/pppppppp/8/8/2Q2q2/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 1},
                              std::pair{"4k3/pp6/8/8/8/8/PP6/4K3 w - - 0 1", 24}}) {
        b = EvalBoard(fen);
        Evaluate(b, 0);
        EXPECT_EQ(PE.Phase, phase) << fen;
    }
    BoardFromFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1");
    MainStatus.PEV = 0;
    EXPECT_NE(CaptureStdout([] { MainBoard.DisplayBoard(); }).find("\n PosEval from White view 460\n"), std::string::npos);
    MainStatus.PEV = 1;
    EXPECT_EQ(CaptureStdout([] { MainBoard.DisplayBoard(); }).find("PosEval"), std::string::npos);
    MainStatus.PEV = 0;
}
