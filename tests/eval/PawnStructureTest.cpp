// Pawn structure: isolated, backward, doubled, candidate and passed pawns,
// passer dynamics and the rule of the square.
#include <gtest/gtest.h>

#include "eval/EvalTestSupport.h"
#include "eval/PositionEvaluate.h"

namespace {

// The pawn term and the middle-game part it adds, for White to move.
struct PawnTerm {
    int value, middleGame, endGame;
};

PawnTerm Pawns(const ChessBoard& b, char side = 0) {
    PrimeTerms(b, side);
    int v = PE.PawnEval04(side);
    return {v, PE.MiddleGame, PE.EndGame};
}

const PawnRecord& RecordOf(const ChessBoard& b) { return PawnHashArray[b.PawnKingHash & 0xffff]; }

TEST(PawnStructure, NoPawnsScoreNothing) {
    ChessBoard b = EvalBoard("4k3/8/8/8/8/8/8/R3K3 w - - 0 1");
    PawnTerm t = Pawns(b);
    EXPECT_EQ(t.value, 0);
    EXPECT_EQ(t.middleGame, 0);
    EXPECT_EQ(PE.OpenFiles, ~u64(0));
    EXPECT_EQ(PE.NoWhitePawnFiles, ~u64(0));
    EXPECT_EQ(PE.WhitePasserCount + PE.BlackPasserCount, 0);
}

TEST(PawnStructure, IsolatedCentralPasser) {
    // d4: 187 on the table, -10 central isolani, -50 with no black pawn on
    // the file, +50 back as an isolated passer; Black has no pawn (-30).
    ChessBoard b = EvalBoard("4k3/8/8/8/3P4/8/8/4K3 w - - 0 1");
    PawnTerm t = Pawns(b);
    EXPECT_EQ(t.value, 177 + 30);
    EXPECT_EQ(t.middleGame, -110 + 60); // isolated, but on a centre square
    EXPECT_EQ(PE.WhitePasserRank[4], 3);
    EXPECT_EQ(PE.WhitePasserCount, 1);
    EXPECT_EQ(PE.NoWhitePawnFiles & (1ULL << 3), 0u);
    EXPECT_EQ(PE.OpenFiles, ~0x0808080808080808ULL);
}

TEST(PawnStructure, BackwardCandidateAndIsolated) {
    // White d3 is backward behind e4 (-40, a black pawn shares its file);
    // e4 is a candidate: one stopper (d6), two helpers. Black's d6 is an isolani.
    ChessBoard b = EvalBoard("4k3/8/3p4/8/4P3/3P4/8/4K3 w - - 0 1");
    PawnTerm t = Pawns(b);
    EXPECT_EQ(t.value, (112 - 40) + 187 - (112 - 10));
    EXPECT_EQ(t.middleGame, 60 + 110);
    EXPECT_EQ(PE.WhitePasserScore, 160 / 3);
    EXPECT_EQ(PE.WhitePasserCount + PE.BlackPasserCount, 0);
    EXPECT_EQ(PE.WhitePawnAttacks, (1ULL << 26) | (1ULL << 28) | (1ULL << 35) | (1ULL << 37));
}

TEST(PawnStructure, BackwardPasserGetsItsPenaltyBack) {
    // d4 is backward (-40) but passed with the black pawn behind it (+80).
    ChessBoard b = EvalBoard("4k3/8/8/4P3/3P4/3p4/8/4K3 w - - 0 1");
    PawnTerm t = Pawns(b);
    EXPECT_EQ(t.value, (187 - 40 + 80) + 152 - (60 - 10 + 50));
    EXPECT_EQ(t.middleGame, 120 + 110);
    EXPECT_EQ(PE.WhitePasserRank[4], 3);
    EXPECT_EQ(PE.WhitePasserRank[5], 4);
    EXPECT_EQ(PE.BlackPasserRank[4], 2);
}

TEST(PawnStructure, DoubledPawnsAndPassersOnOneFile) {
    ChessBoard b = EvalBoard("4k3/8/8/8/8/P7/P7/4K3 w - - 0 1");
    PawnTerm t = Pawns(b);
    // Each: -5 away from the king, -50 isolated on a file without black pawns,
    // +50 as an isolated passer; the rear one also -50 as doubled.
    EXPECT_EQ(t.value, -55 - 5 + 30);
    EXPECT_EQ(t.middleGame, -180);
    EXPECT_EQ(PE.WhiteDoubledPawns, 1);
    EXPECT_EQ(PE.WhitePasserCount, 2);
    EXPECT_EQ(PE.WhitePasserRank[1], 2); // the more advanced one
    EXPECT_EQ(RecordOf(b).whitePasserScore, 80 * 15 / 16);

    ChessBoard black = EvalBoard("4k3/7p/7p/8/8/8/8/4K3 w - - 0 1");
    Pawns(black);
    EXPECT_EQ(PE.BlackDoubledPawns, 1);
    EXPECT_EQ(PE.BlackPasserCount, 2);
    EXPECT_EQ(PE.BlackPasserRank[8], 5);
}

TEST(PawnStructure, ProtectedAndConnectedPassers) {
    ChessBoard guarded = EvalBoard("4k3/8/8/2pP4/2P5/8/8/4K3 w - - 0 1");
    Pawns(guarded);
    EXPECT_EQ(RecordOf(guarded).whitePasserScore, 300);
    ChessBoard pair = EvalBoard("4k3/8/8/3PP3/8/8/8/4K3 w - - 0 1");
    Pawns(pair);
    EXPECT_EQ(RecordOf(pair).whitePasserScore, 320 + 320);
    ChessBoard apart = EvalBoard("4k3/8/8/3P1P2/8/8/8/4K3 w - - 0 1");
    Pawns(apart);
    EXPECT_EQ(RecordOf(apart).whitePasserScore, 270 + 270);
}

TEST(PassedPawns, DynamicTermsOnTheSeventhRank) {
    // d7 queens (+150), the kings' distances (+92, -552) and a free, unguarded path (+1100).
    ChessBoard b = EvalBoard("7k/3P4/8/8/8/8/8/K7 w - - 0 1");
    PawnTerm t = Pawns(b);
    EXPECT_EQ(t.endGame, -110 + 92 - 552 + 1100);
    EXPECT_EQ(PE.WhitePasserScore, 1100 + 150);

    // A black rook guarding d8 blocks the free-path bonus.
    ChessBoard guarded = EvalBoard("r6k/3P4/8/8/8/8/8/K7 w - - 0 1");
    EXPECT_EQ(Pawns(guarded).endGame, -110 + 92 - 552);
}

TEST(PassedPawns, MinorPiecesSupportThePasser) {
    // A knight on c3 covers d5, the square in front of the d4 passer: Passers[3] >> 5.
    ChessBoard b = EvalBoard("7k/8/8/8/3P4/2N5/8/K7 w - - 0 1");
    Pawns(b);
    int withKnight = PE.WhitePasserScore;
    ChessBoard alone = EvalBoard("7k/8/8/8/3P4/8/8/K1N5 w - - 0 1");
    Pawns(alone);
    EXPECT_EQ(withKnight - PE.WhitePasserScore, 160 >> 5);
}

TEST(SquareRule, PawnOnItsStartingRankGainsTheDoubleStep) {
    ChessBoard b = EvalBoard("8/6k1/8/8/8/8/P7/7K w - - 0 1");
    PrimeTerms(b);
    EXPECT_TRUE(PE.DoesPawnPromote(0, 1, 56, 0)); // six squares away, own move
    EXPECT_FALSE(PE.DoesPawnPromote(0, 1, 56, 1));
    ChessBoard black = EvalBoard("8/7p/8/8/8/8/1K6/k7 b - - 0 1");
    PrimeTerms(black, 1);
    EXPECT_TRUE(PE.DoesPawnPromote(1, 6, 7, 1));
    EXPECT_FALSE(PE.DoesPawnPromote(1, 6, 7, 0));
}

TEST(SquareRule, RacesOnlyInKingAndPawnEndings) {
    ChessBoard pawnEnding = EvalBoard("8/6k1/8/8/8/8/P7/7K w - - 0 1");
    PrimeTerms(pawnEnding);
    EXPECT_EQ(PE.RuleofSquare(0), 5700);
    EXPECT_EQ(PE.RuleofSquare(1), 0);
    ChessBoard withKnight = EvalBoard("8/6k1/8/8/8/8/P7/6NK w - - 0 1");
    PrimeTerms(withKnight);
    EXPECT_EQ(PE.RuleofSquare(0), 0);
}

TEST(SquareRule, TheFasterRunnerWins) {
    // a5 needs three steps, h5 four; neither king can catch the other's pawn.
    ChessBoard b = EvalBoard("K7/8/8/P6p/8/8/8/7k w - - 0 1");
    PrimeTerms(b);
    EXPECT_EQ(PE.RuleofSquare(0), 5700);
    EXPECT_EQ(PE.RuleofSquare(1), 5700);
    ChessBoard slower = EvalBoard("K7/8/8/7p/8/P7/8/7k w - - 0 1");
    PrimeTerms(slower);
    EXPECT_EQ(PE.RuleofSquare(0), -5700);
}

TEST(SquareRule, QueenAttacksUsesTheBoardsOccupancy) {
    ChessBoard b = EvalBoard("7k/7p/8/8/8/8/P7/K7 w - - 0 1");
    PrimeTerms(b);
    EXPECT_TRUE(PE.QueenAttacks(0, 56, b.BlackKing)); // a8 along the empty back rank
    EXPECT_FALSE(PE.QueenAttacks(0, 56, b.WhiteKing)); // a2 pawn blocks the file
}

} // namespace
