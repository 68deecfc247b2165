// King safety: king tables and the bare-king drive, pawn shields, pawn
// storms and the count of attackers near the king.
#include <gtest/gtest.h>

#include "eval/EvalTestSupport.h"
#include "eval/PositionEvaluate.h"

namespace {

int Shield(const char* fen, char colour) {
    static ChessBoard b;
    b = EvalBoard(fen);
    PrimeTerms(b);
    return PE.PawnShield(colour);
}

int Danger(const char* fen, char colour) {
    static ChessBoard b;
    b = EvalBoard(fen);
    PrimeTerms(b);
    PE.PawnShield(colour); // the attack count reads the shield's gaps
    return PE.AttackCounts(colour);
}

TEST(KingSafety, KingTablesAndTheBareKingDrive) {
    ChessBoard b = EvalBoard("k7/8/8/8/3Q4/2K5/8/8 w - - 0 1");
    PrimeTerms(b);
    EXPECT_EQ(PE.KingEval(0), -80 * 5);
    EXPECT_EQ(PE.MiddleGame, -100 - 180);
    EXPECT_EQ(PE.EndGame, 12 + 250);
    ChessBoard pawns = EvalBoard("k7/p7/8/8/3Q4/2K5/8/8 w - - 0 1");
    PrimeTerms(pawns);
    EXPECT_EQ(PE.KingEval(0), 0);
}

TEST(KingSafety, FullShieldCostsNothing) {
    EXPECT_EQ(Shield("6k1/5ppp/8/8/8/8/5PPP/6K1 w - - 0 1", 0), 0);
    EXPECT_EQ(PE.WhiteShieldGaps, 0);
    EXPECT_EQ(Shield("6k1/5ppp/8/8/8/8/5PPP/6K1 w - - 0 1", 1), 0);
    EXPECT_EQ(PE.BlackShieldGaps, 0);
}

TEST(KingSafety, MissingKingFilePawnIsHalvedByAPieceInFront) {
    EXPECT_EQ(Shield("6k1/5ppp/8/8/8/8/5P1P/6K1 w - - 0 1", 0), 700);
    EXPECT_EQ(Shield("6k1/5ppp/8/8/8/8/5PNP/6K1 w - - 0 1", 0), 350);
    EXPECT_EQ(PE.WhiteShieldGaps, 1);
}

TEST(KingSafety, AdvancedShieldPawnsCostByTheStep) {
    EXPECT_EQ(Shield("6k1/5ppp/8/7P/8/8/5PP1/6K1 w - - 0 1", 0), 105);
    EXPECT_EQ(PE.WhiteShieldGaps, 1); // three steps out no longer shields
    EXPECT_EQ(Shield("6k1/5ppp/8/7P/8/8/5PP1/7K w - - 0 1", 0), 210); // on the king's own file
    EXPECT_EQ(Shield("6k1/5pp1/8/8/7p/8/5PPP/6K1 w - - 0 1", 1), 105);
    EXPECT_EQ(PE.BlackShieldGaps, 1);
    EXPECT_EQ(Shield("6k1/5pp1/8/7p/8/8/5PPP/6K1 w - - 0 1", 1), 70); // two steps: still a shield
    EXPECT_EQ(PE.BlackShieldGaps, 0);
    EXPECT_EQ(Shield("6k1/5p1p/6p1/8/8/8/5PPP/6K1 w - - 0 1", 1), 2 * 35);
}

TEST(KingSafety, BitBoardRank) {
    EXPECT_EQ(PE.BitBoardRank(1ULL << 0), 1);
    EXPECT_EQ(PE.BitBoardRank(1ULL << 28), 4);
    EXPECT_EQ(PE.BitBoardRank(1ULL << 32), 5);
    EXPECT_EQ(PE.BitBoardRank(1ULL << 63), 8);
}

TEST(KingSafety, PawnStormsAgainstTheKingsWing) {
    ChessBoard b = EvalBoard("6k1/8/5P2/7P/6P1/8/8/K7 w - - 0 1");
    PrimeTerms(b);
    EXPECT_EQ(PE.PawnStorm(0), 100 + 300 + 600);
    ChessBoard corner = EvalBoard("7k/8/5P2/7P/6P1/8/8/K7 w - - 0 1"); // h8: files f-h
    PrimeTerms(corner);
    EXPECT_EQ(PE.PawnStorm(0), 1000);
    ChessBoard otherWing = EvalBoard("k7/8/5P2/7P/6P1/8/8/K7 w - - 0 1"); // a8: files a-c
    PrimeTerms(otherWing);
    EXPECT_EQ(PE.PawnStorm(0), 0);
    ChessBoard black = EvalBoard("k7/8/8/6p1/7p/5p2/8/6K1 w - - 0 1");
    PrimeTerms(black);
    EXPECT_EQ(PE.PawnStorm(1), 1000);
}

TEST(KingSafety, AttackNeedsTwoKindsOfAttacker) {
    // Queen h4 hits f2 and h2, knight f4 hits g2: (15 * 3 + 125 * (4 + 1)) * 2 / 4.
    EXPECT_EQ(Danger("6k1/8/8/8/5n1q/8/5PPP/6K1 w - - 0 1", 0), 335);
    EXPECT_EQ(Danger("6k1/8/8/8/7q/8/5PPP/6K1 w - - 0 1", 0), 0);
    // A rook beside the king: 100 for standing there, 100 for reaching f2.
    EXPECT_EQ(Danger("6k1/8/8/8/5n1q/8/5PPP/5RK1 w - - 0 1", 0), 335 - 200);
}

TEST(KingSafety, ShieldGapsWeighWithTheEnemyPieces) {
    // No g-pawn: one gap, G = 2, doubling the combined attack; the gap adds
    // 5 * (1 + 2) for knight and queen and 10 for each of them on the wing files.
    EXPECT_EQ(Danger("6k1/8/8/8/5n1q/8/5P1P/6K1 w - - 0 1", 0), (15 * 3 + 625) * 2 * 2 / 4 + 15 + 20);
}

TEST(KingSafety, BishopOnTheLongDiagonal) {
    // A bishop on b7 aims at g2: both the attacked-square count and the diagonal term rise.
    int aimed = Danger("6k1/1b6/8/8/5n1q/8/5PPP/6K1 w - - 0 1", 0);
    // Types: knight, bishop (g2), queen: T = 3, W = 6; a = 3 squares; diagonal 10.
    EXPECT_EQ(aimed, (15 * 3 + 125 * 6) * 3 / 4 + 5 * 0 + 10);
}

} // namespace
