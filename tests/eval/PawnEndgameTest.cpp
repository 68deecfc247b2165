// Pawn structure, passed pawns and the rule of the square; end-game
// knowledge: pawnless and drawish endings, lone minors, final scaling.
#include <gtest/gtest.h>

#include "eval/EvalTestSupport.h"

namespace {

int StaticWhitePasserScore() { return PawnHashArray[bb->PawnKingHash & 0xffff].whitePasserScore; }
int PawnTerm() { return PE.PawnEval04(0); }

} // namespace

TEST(PawnStructure, IsolatedBackwardDoubledAndCandidatePawns) {
    ExpectTerm(PawnTerm,
               {{"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", 0, 0}, // no pawns: -30 each
                // d4: 187, -10 central isolani, -50 with the file free of black pawns,
                // +50 back as an isolated passer; Black without pawns -30.
                {"4k3/8/8/8/3P4/8/8/4K3 w - - 0 1", 177 + 30, -110 + 60},
                // d3 backward behind e4 (-40); e4 a candidate; Black's d6 an isolani.
                {"4k3/8/3p4/8/4P3/3P4/8/4K3 w - - 0 1", (112 - 40) + 187 - (112 - 10), 60 + 110},
                // d4 backward (-40) but passed with the black pawn behind it (+80).
                {"4k3/8/8/4P3/3P4/3p4/8/4K3 w - - 0 1", (187 - 40 + 80) + 152 - (60 - 10 + 50), 120 + 110},
                // Doubled, isolated a-pawns away from the king: -55 and -5.
                {"4k3/8/8/8/8/P7/P7/4K3 w - - 0 1", -55 - 5 + 30, -180}});
    ExpectTerm(PawnTerm, {{"4k3/8/3p4/8/4P3/3P4/8/4K3 w - - 0 1", Any}});
    EXPECT_EQ(PE.WhitePasserScore, 160 / 3); // the candidate
    EXPECT_EQ(PE.OpenFiles, ~0x1818181818181818ULL);
    EXPECT_EQ(PE.NoBlackPawnFiles, ~0x0808080808080808ULL);
    EXPECT_EQ(PE.WhitePawnAttacks, (1ULL << 26) | (1ULL << 28) | (1ULL << 35) | (1ULL << 37));
    EXPECT_EQ(PE.BlackPawnAttacks, (1ULL << 34) | (1ULL << 36));
}

TEST(PassedPawns, RanksProtectedConnectedAndDynamicTerms) {
    const std::pair<const char*, int> statics[] = {
        {"4k3/8/8/8/8/P7/P7/4K3 w - - 0 1", 80 * 15 / 16}, // doubled: the more advanced counts
        {"4k3/8/8/2pP4/2P5/8/8/4K3 w - - 0 1", 300},       // protected
        {"4k3/8/8/3PP3/8/8/8/4K3 w - - 0 1", 320 + 320},   // connected
        {"4k3/8/8/3P1P2/8/8/8/4K3 w - - 0 1", 270 + 270}};
    for (auto [fen, score] : statics) {
        ExpectTerm(PawnTerm, {{fen, Any}});
        EXPECT_EQ(StaticWhitePasserScore(), score) << fen;
    }
    EXPECT_EQ(PE.WhitePasserCount, 2);
    ExpectTerm(PawnTerm, {{"4k3/7p/7p/8/8/8/8/4K3 w - - 0 1", Any}});
    EXPECT_EQ(PE.BlackPasserCount, 2);
    EXPECT_EQ(PE.BlackPasserRank[8], 5);
    EXPECT_EQ(PE.BlackDoubledPawns, 1);
    // d7 queens (+150); the kings' distances (+92, -552); a free, unguarded path (+1100).
    ExpectTerm(PawnTerm, {{"7k/3P4/8/8/8/8/8/K7 w - - 0 1", Any, Any, -110 + 92 - 552 + 1100}});
    EXPECT_EQ(PE.WhitePasserScore, 1100 + 150);
    ExpectTerm(PawnTerm, {{"r6k/3P4/8/8/8/8/8/K7 w - - 0 1", Any, Any, -110 + 92 - 552}}); // the rook guards d8
    // A knight on c3 covers d5, the square in front of the d4 passer.
    ExpectTerm(PawnTerm, {{"7k/8/8/8/3P4/8/8/K1N5 w - - 0 1", Any}});
    int apart = PE.WhitePasserScore;
    ExpectTerm(PawnTerm, {{"7k/8/8/8/3P4/2N5/8/K7 w - - 0 1", Any}});
    EXPECT_EQ(PE.WhitePasserScore - apart, 160 >> 5);
}

TEST(SquareRule, PromotionRacesInKingAndPawnEndings) {
    ExpectTerm([] { return PE.DoesPawnPromote(0, 1, 56, 0) * 10 + PE.DoesPawnPromote(0, 1, 56, 1); },
               {{"8/6k1/8/8/8/8/P7/7K w - - 0 1", 10}}); // five moves, king six away: only White to move
    ExpectTerm([] { return PE.DoesPawnPromote(1, 6, 7, 1) * 10 + PE.DoesPawnPromote(1, 6, 7, 0); },
               {{"8/7p/8/8/8/8/1K6/k7 w - - 0 1", 10}});
    const std::tuple<const char*, int, int> races[] = {
        {"8/6k1/8/8/8/8/P7/7K w - - 0 1", 5700, 0},
        {"8/6k1/8/8/8/8/P7/6NK w - - 0 1", 0, 0},        // any piece stops the rule
        {"K7/8/8/P6p/8/8/8/7k w - - 0 1", 5700, 5700},   // three steps against four
        {"K7/8/8/7p/8/P7/8/7k w - - 0 1", -5700, -5700}, // five against four
        {"7k/7p/8/8/8/8/P7/K7 w - - 0 1", 5700, -5700},  // equal: the first queen checks
    };
    for (auto [fen, whiteToMove, blackToMove] : races) {
        ExpectTerm([] { return PE.RuleofSquare(0); }, {{fen, whiteToMove}});
        ExpectTerm([] { return PE.RuleofSquare(1); }, {{fen, blackToMove}});
    }
}

TEST(Endgames, PawnlessDrawishAndLoneMinors) {
    static ChessBoard b;
    const std::pair<const char*, int> scores[] = {
        {"k6r/8/8/8/4K3/8/8/7R w - - 0 1", 80 + 250}, // balanced material: the kings alone
        {"k6r/8/8/8/4K3/8/8/7R b - - 0 1", -250 - 80},
        {"4k3/8/8/8/8/8/8/1N2K3 w - - 0 1", 2437},    // a minor more: 3/4 of it, unrounded
        {"4k3/8/8/8/8/3b4/8/R3K3 b - - 0 1", -875}};  // rook against minor: halved
    for (auto [fen, score] : scores) {
        b = EvalBoard(fen);
        EXPECT_EQ(Evaluate(b, char(b.SideToMove)), score) << fen;
    }
    EXPECT_NE(PE.DrawishEnding(1), 0);
    ExpectTerm([] { return PE.DrawishEnding(0); },
               {{"4k3/8/8/8/8/3r4/8/R3K3 w - - 0 1", 0}, {"4k3/8/8/8/8/3n4/P7/R3K3 w - - 0 1", 0}});
    // Two bishops against a knight take the full, rounded evaluation.
    b = EvalBoard("4k3/8/8/8/8/3n4/8/2B1KB2 w - - 0 1");
    EXPECT_EQ(Evaluate(b, 0) % 10, 0);
    int shortcut;
    EXPECT_FALSE(PE.PawnlessEnding(0, 3250, &shortcut));
    ExpectTerm([] { return PE.DynamicPieceAdjustments(); },
               {{"4k3/p7/8/8/8/8/8/2B1K3 w - - 0 1", -750}, {"4k3/p7/8/8/8/8/8/2N1K3 w - - 0 1", -800},
                {"2n1k3/8/8/8/8/8/P7/4K3 w - - 0 1", 800},  {"4k3/p7/8/8/8/8/8/2BNK3 w - - 0 1", 0},
                // Doubled pawns: 190 with no heavy piece, 125 with one rook, 62 with more.
                {"4k3/8/8/8/8/P7/P7/4K3 w - - 0 1", -190},  {"4k3/8/8/8/8/P7/P7/R3K3 w - - 0 1", -125},
                {"4k3/8/8/8/8/P7/P7/R3K2R w - - 0 1", -62}, {"4k3/8/8/8/8/P7/P7/3QK3 w - - 0 1", -62}});
}

TEST(Endgames, ScalingForAnExtraMinorAndOppositeBishops) {
    const struct {
        const char* fen;
        int score, material, scaled;
    } cases[] = {
        {"4k3/8/8/8/8/3n4/4P3/4K3 w - - 0 1", 0, -3250, 1100}, // a knight more, no pawn for it
        {"4k3/4p3/8/8/8/3n4/4P3/4K3 w - - 0 1", 0, -3250, 0},
        {"4k3/3p4/8/3b4/8/8/3P4/2B1K3 w - - 0 1", 1000, 0, 250}, // opposite colours: a quarter
        {"4k3/3p4/8/3b4/8/8/3P4/2B1K3 w - - 0 1", -1001, 0, -251},
        {"4k3/3p4/8/2b5/8/8/3P4/2B1K3 w - - 0 1", 1000, 0, 1000}, // same colour
        {"4k3/7p/8/3b4/8/8/P7/2B1K3 w - - 0 1", 1000, 0, 1000},   // rook pawns only
        {"4k3/8/8/3b4/8/8/PPPP4/2B1K3 w - - 0 1", 1000, 0, 1000}, // four pawns apart
    };
    for (auto c : cases) ExpectTerm([&] { return PE.ScaleEnding(c.score, c.material); }, {{c.fen, c.scaled}});
}
