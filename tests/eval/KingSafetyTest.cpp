// King safety: king tables and the bare-king drive, pawn shields, pawn
// storms and the count of attackers near the king.
#include <gtest/gtest.h>

#include "eval/EvalTestSupport.h"
#include "eval/PositionEvaluate.h"

namespace {

// A king-safety term of one colour for the position, with the shield computed first.
template <class F> int Term(const char* fen, F term) {
    static ChessBoard b;
    b = EvalBoard(fen);
    PrimeTerms(b);
    return term();
}

TEST(KingSafety, KingTablesAndTheBareKingDrive) {
    EXPECT_EQ(Term("k7/8/8/8/3Q4/2K5/8/8 w - - 0 1", [] { return PE.KingEval(0); }), -80 * 5);
    EXPECT_EQ(PE.MiddleGame, -100 - 180);
    EXPECT_EQ(PE.EndGame, 12 + 250);
    EXPECT_EQ(Term("k7/p7/8/8/3Q4/2K5/8/8 w - - 0 1", [] { return PE.KingEval(0); }), 0);
}

TEST(KingSafety, PawnShields) {
    struct {
        const char* fen;
        char colour;
        int penalty, gaps;
    } cases[] = {
        {"6k1/5ppp/8/8/8/8/5PPP/6K1 w - - 0 1", 0, 0, 0},
        {"6k1/5ppp/8/8/8/8/5PPP/6K1 w - - 0 1", 1, 0, 0},
        {"6k1/5ppp/8/8/8/8/5P1P/6K1 w - - 0 1", 0, 700, 1}, // open king file counts double
        {"6k1/5ppp/8/8/8/8/5PNP/6K1 w - - 0 1", 0, 350, 1}, // a piece in front halves it
        {"6k1/5ppp/8/7P/8/8/5PP1/6K1 w - - 0 1", 0, 105, 1}, // three steps out: a gap
        {"6k1/5ppp/8/7P/8/8/5PP1/7K w - - 0 1", 0, 210, 1}, // the same on the king's file
        {"6k1/5pp1/8/8/7p/8/5PPP/6K1 w - - 0 1", 1, 105, 1},
        {"6k1/5pp1/8/7p/8/8/5PPP/6K1 w - - 0 1", 1, 70, 0},
        {"6k1/5p1p/6p1/8/8/8/5PPP/6K1 w - - 0 1", 1, 70, 0},
    };
    for (auto c : cases) {
        EXPECT_EQ(Term(c.fen, [&] { return PE.PawnShield(c.colour); }), c.penalty) << c.fen;
        EXPECT_EQ(c.colour ? PE.BlackShieldGaps : PE.WhiteShieldGaps, c.gaps) << c.fen;
    }
}

TEST(KingSafety, PawnStormsAgainstTheKingsWing) {
    auto storm = [](const char* fen, char colour) { return Term(fen, [&] { return PE.PawnStorm(colour); }); };
    EXPECT_EQ(storm("6k1/8/5P2/7P/6P1/8/8/K7 w - - 0 1", 0), 600 + 300 + 100);
    EXPECT_EQ(storm("7k/8/5P2/7P/6P1/8/8/K7 w - - 0 1", 0), 1000); // h8: files f-h
    EXPECT_EQ(storm("k7/8/5P2/7P/6P1/8/8/K7 w - - 0 1", 0), 0);    // a8: files a-c
    EXPECT_EQ(storm("k7/8/8/6p1/7p/5p2/8/6K1 w - - 0 1", 1), 1000);
}

TEST(KingSafety, AttackersNearTheKing) {
    auto danger = [](const char* fen) {
        return Term(fen, [] {
            PE.PawnShield(0);
            return PE.AttackCounts(0);
        });
    };
    // Queen h4 hits f2 and h2, knight f4 hits g2: two kinds, (15 * 3 + 125 * 5) * 2 / 4.
    EXPECT_EQ(danger("6k1/8/8/8/5n1q/8/5PPP/6K1 w - - 0 1"), 335);
    EXPECT_EQ(danger("6k1/8/8/8/7q/8/5PPP/6K1 w - - 0 1"), 0); // a lone queen
    // A rook beside the king defends: 100 for standing there, 100 for reaching f2.
    EXPECT_EQ(danger("6k1/8/8/8/5n1q/8/5PPP/5RK1 w - - 0 1"), 335 - 200);
    // No g-pawn: G = 2 doubles the combined attack; the gap adds 5 x 3 for the
    // pieces and 10 for each of the two on the wing files.
    EXPECT_EQ(danger("6k1/8/8/8/5n1q/8/5P1P/6K1 w - - 0 1"), 670 * 2 * 2 / 4 + 15 + 20);
    // A bishop on b7 aimed at g2: three kinds (weight 6) and the long-diagonal term.
    EXPECT_EQ(danger("6k1/1b6/8/8/5n1q/8/5PPP/6K1 w - - 0 1"), (45 + 750) * 3 / 4 + 10);
    // Without a queen the attack counts half.
    EXPECT_EQ(danger("6k1/8/8/8/5n1r/8/5PPP/6K1 w - - 0 1"), (15 * 2 + 125 * 3) * 2 / 4 / 2);
}

} // namespace
