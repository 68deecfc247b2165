// The evaluation's terms one at a time: the value and what each adds to the middle-game and
// end-game sums. Whole positions' reference scores are pinned through "-eval" (e2e/SuiteTest).
#include <gtest/gtest.h>

#include <climits>

#include "support/TestBoards.h"

namespace {

constexpr int Any = INT_MIN; // not checked

struct TermCase {
    const char* fen;
    int value, middleGame = Any, endGame = Any;
};

// Runs the full evaluation for White, clears the sums, then the term alone.
template <class Term>
void ExpectTerm(Term term, std::initializer_list<TermCase> cases) {
    static ChessBoard b; // the evaluation keeps a pointer to it
    for (const TermCase& c : cases) {
        b = EvalBoard(c.fen);
        Evaluate(b, 0);
        PE.MiddleGame = PE.EndGame = 0;
        const int value = term();
        EXPECT_EQ(c.value == Any ? Any : value, c.value) << c.fen;
        EXPECT_EQ(c.middleGame == Any ? Any : PE.MiddleGame, c.middleGame) << c.fen;
        EXPECT_EQ(c.endGame == Any ? Any : PE.EndGame, c.endGame) << c.fen;
    }
}

} // namespace

TEST(EvalTerms, Pieces) {
    // e5: table 80 / 150, outpost 120, seven safe squares 100.
    ExpectTerm([] { return PE.KnightEval(0); }, {{"4k3/7p/8/4N3/8/8/P7/4K3 w - - 0 1", 0, 80 + 120 + 100, 150 + 100}});
    // Two light-squared bishops are still a pair.
    ExpectTerm([] { return PE.BishopEval(0); },
               {{"4k3/p7/8/8/2B5/3B4/P7/4K3 w - - 0 1", 500, 20 + 90 + 20 + 90, 20 + 90 + 30 + 90}});
    // Open file, half-open file.
    ExpectTerm([] { return PE.RookEval(0); }, {{"4k3/p6p/8/8/8/8/P6P/3RK3 w - - 0 1", 0, 170 + 320, 238 + 140},
                                               {"4k3/p2p3p/8/8/8/8/P6P/3RK3 w - - 0 1", 50, 140, 196}});
    // The shut-in rook costs only while the enemy has a rook or queen.
    ExpectTerm([] { return PE.Traps(0); },
               {{"6k1/5ppp/8/8/8/8/5PPP/5KR1 w - - 0 1", 0}, {"6kq/5ppp/8/8/8/8/5PPP/5KR1 w - - 0 1", -1670}});
}

TEST(EvalTerms, KingSafety) {
    // An open king file counts double, a piece in front halves it.
    ExpectTerm([] { return PE.PawnShield(0); },
               {{"6k1/5ppp/8/8/8/8/5P1P/6K1 w - - 0 1", 700}, {"6k1/5ppp/8/8/8/8/5PNP/6K1 w - - 0 1", 350}});
    // Queen h4 and knight f4: two kinds, (15 * 3 + 125 * 5) * 2 / 4; without the g-pawn the attack
    // doubles plus 5 x 3 for the pieces and 10 for each on the wing.
    ExpectTerm([] { return PE.PawnShield(0), PE.AttackCounts(0); },
               {{"6k1/8/8/8/5n1q/8/5PPP/6K1 w - - 0 1", 335},
                {"6k1/8/8/8/5n1q/8/5P1P/6K1 w - - 0 1", 670 * 2 * 2 / 4 + 15 + 20}});
}

TEST(EvalTerms, PawnsAndPassers) {
    // d4 isolated and passed; d7 queens with a free path, unless the rook guards d8.
    ExpectTerm([] { return PE.PawnEval04(0); }, {{"4k3/8/8/8/3P4/8/8/4K3 w - - 0 1", 177 + 30, -110 + 60},
                                                 {"7k/3P4/8/8/8/8/8/K7 w - - 0 1", Any, Any, -110 + 92 - 552 + 1100},
                                                 {"r6k/3P4/8/8/8/8/8/K7 w - - 0 1", Any, Any, -110 + 92 - 552}});
    // Pawn races: three steps against four; equal, and the first queen checks; a piece stops it.
    for (auto [fen, whiteToMove, blackToMove] : {std::tuple{"K7/8/8/P6p/8/8/8/7k w - - 0 1", 5700, 5700},
                                                 {"7k/7p/8/8/8/8/P7/K7 w - - 0 1", 5700, -5700},
                                                 {"8/6k1/8/8/8/8/P7/6NK w - - 0 1", 0, 0}}) {
        ExpectTerm([] { return PE.RuleofSquare(0); }, {{fen, whiteToMove}});
        ExpectTerm([] { return PE.RuleofSquare(1); }, {{fen, blackToMove}});
    }
}

// A lone minor against pawns, a minor more, opposite bishops and pawnless endings: EvalBreakdownTest.
TEST(EvalTerms, DoubledPawnsWithARookBehindThem) {
    ExpectTerm([] { return PE.DynamicPieceAdjustments(); }, {{"4k3/8/8/8/8/P7/P7/R3K3 w - - 0 1", -125}});
}

TEST(EvalTerms, LazyExits) {
    // King and queen against king: 9750 - 400 + taper 171 before the piece terms; the second exit
    // needs alpha more than 2000 above that.
    ChessBoard b = EvalBoard("k7/8/8/8/3Q4/2K5/8/8 w - - 0 1");
    for (auto [side, alpha, beta, score] :
         {std::tuple{0, 11522, 30000, 9521}, {0, 11521, 30000, 10600}, {1, -30000, -20000, -9521}})
        EXPECT_EQ(Evaluate(b, char(side), alpha, beta), score) << alpha << " " << beta;
}
