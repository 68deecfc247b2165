// Pawn structure: isolated, backward, doubled, candidate and passed pawns,
// passer dynamics and the rule of the square.
#include <gtest/gtest.h>

#include "eval/EvalTestSupport.h"
#include "eval/PositionEvaluate.h"

namespace {

// Runs the pawn term alone for White to move; the board stays alive for the checks.
int Pawns(const char* fen) {
    static ChessBoard b;
    b = EvalBoard(fen);
    PrimeTerms(b);
    return PE.PawnEval04(0);
}

int StaticWhitePasserScore() { return PawnHashArray[bb->PawnKingHash & 0xffff].whitePasserScore; }

TEST(PawnStructure, IsolatedBackwardAndCandidatePawns) {
    struct {
        const char* fen;
        int value, middleGame;
    } cases[] = {
        {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", 0, 0}, // no pawns: -30 each
        // d4: 187, -10 central isolani, -50 with the file free of black pawns,
        // +50 back as an isolated passer; Black without pawns -30.
        {"4k3/8/8/8/3P4/8/8/4K3 w - - 0 1", 177 + 30, -110 + 60},
        // d3 backward behind e4 (-40); e4 a candidate; Black's d6 an isolani.
        {"4k3/8/3p4/8/4P3/3P4/8/4K3 w - - 0 1", (112 - 40) + 187 - (112 - 10), 60 + 110},
        // d4 backward (-40) but passed with the black pawn behind it (+80).
        {"4k3/8/8/4P3/3P4/3p4/8/4K3 w - - 0 1", (187 - 40 + 80) + 152 - (60 - 10 + 50), 120 + 110},
        // Doubled, isolated a-pawns away from the king: -55 and -5.
        {"4k3/8/8/8/8/P7/P7/4K3 w - - 0 1", -55 - 5 + 30, -180},
    };
    for (auto c : cases) {
        EXPECT_EQ(Pawns(c.fen), c.value) << c.fen;
        EXPECT_EQ(PE.MiddleGame, c.middleGame) << c.fen;
    }
    Pawns("4k3/8/3p4/8/4P3/3P4/8/4K3 w - - 0 1");
    EXPECT_EQ(PE.WhitePasserScore, 160 / 3); // the candidate
}

TEST(PawnStructure, FileSetsAndPawnAttacks) {
    Pawns("4k3/8/3p4/8/4P3/3P4/8/4K3 w - - 0 1");
    EXPECT_EQ(PE.OpenFiles, ~0x1818181818181818ULL);
    EXPECT_EQ(PE.NoWhitePawnFiles, ~0x1818181818181818ULL);
    EXPECT_EQ(PE.NoBlackPawnFiles, ~0x0808080808080808ULL);
    EXPECT_EQ(PE.WhitePawnAttacks, (1ULL << 26) | (1ULL << 28) | (1ULL << 35) | (1ULL << 37));
    EXPECT_EQ(PE.BlackPawnAttacks, (1ULL << 34) | (1ULL << 36));
}

TEST(PassedPawns, RanksCountsAndDoubledPassers) {
    Pawns("4k3/8/8/8/8/P7/P7/4K3 w - - 0 1");
    EXPECT_EQ(PE.WhitePasserCount, 2);
    EXPECT_EQ(PE.WhitePasserRank[1], 2); // the more advanced one
    EXPECT_EQ(PE.WhiteDoubledPawns, 1);
    EXPECT_EQ(StaticWhitePasserScore(), 80 * 15 / 16);
    Pawns("4k3/7p/7p/8/8/8/8/4K3 w - - 0 1");
    EXPECT_EQ(PE.BlackPasserCount, 2);
    EXPECT_EQ(PE.BlackPasserRank[8], 5);
    EXPECT_EQ(PE.BlackDoubledPawns, 1);
}

TEST(PassedPawns, ProtectedAndConnectedPassers) {
    Pawns("4k3/8/8/2pP4/2P5/8/8/4K3 w - - 0 1");
    EXPECT_EQ(StaticWhitePasserScore(), 300);
    Pawns("4k3/8/8/3PP3/8/8/8/4K3 w - - 0 1");
    EXPECT_EQ(StaticWhitePasserScore(), 320 + 320);
    Pawns("4k3/8/8/3P1P2/8/8/8/4K3 w - - 0 1");
    EXPECT_EQ(StaticWhitePasserScore(), 270 + 270);
}

TEST(PassedPawns, DynamicTerms) {
    // d7 queens (+150); the kings' distances (+92, -552); a free, unguarded path (+1100).
    Pawns("7k/3P4/8/8/8/8/8/K7 w - - 0 1");
    EXPECT_EQ(PE.EndGame, -110 + 92 - 552 + 1100);
    EXPECT_EQ(PE.WhitePasserScore, 1100 + 150);
    Pawns("r6k/3P4/8/8/8/8/8/K7 w - - 0 1"); // the rook guards d8
    EXPECT_EQ(PE.EndGame, -110 + 92 - 552);
    // A knight on c3 covers d5, the square in front of the d4 passer.
    Pawns("7k/8/8/8/3P4/8/8/K1N5 w - - 0 1");
    int apart = PE.WhitePasserScore;
    Pawns("7k/8/8/8/3P4/2N5/8/K7 w - - 0 1");
    EXPECT_EQ(PE.WhitePasserScore - apart, 160 >> 5);
}

TEST(SquareRule, DoesPawnPromote) {
    Pawns("8/6k1/8/8/8/8/P7/7K w - - 0 1");
    EXPECT_TRUE(PE.DoesPawnPromote(0, 1, 56, 0)); // starting rank: five moves, king six away
    EXPECT_FALSE(PE.DoesPawnPromote(0, 1, 56, 1));
    Pawns("8/7p/8/8/8/8/1K6/k7 w - - 0 1");
    EXPECT_TRUE(PE.DoesPawnPromote(1, 6, 7, 1));
    EXPECT_FALSE(PE.DoesPawnPromote(1, 6, 7, 0));
}

TEST(SquareRule, RacesInKingAndPawnEndings) {
    const std::tuple<const char*, int, int> cases[] = {
        {"8/6k1/8/8/8/8/P7/7K w - - 0 1", 5700, 0},
        {"8/6k1/8/8/8/8/P7/6NK w - - 0 1", 0, 0},        // any piece stops the rule
        {"K7/8/8/P6p/8/8/8/7k w - - 0 1", 5700, 5700},   // three steps against four
        {"K7/8/8/7p/8/P7/8/7k w - - 0 1", -5700, -5700}, // five against four
        {"7k/7p/8/8/8/8/P7/K7 w - - 0 1", 5700, -5700},  // equal: the first queen checks
    };
    for (auto [fen, whiteToMove, blackToMove] : cases) {
        Pawns(fen);
        EXPECT_EQ(PE.RuleofSquare(0), whiteToMove) << fen;
        EXPECT_EQ(PE.RuleofSquare(1), blackToMove) << fen;
    }
}

} // namespace
