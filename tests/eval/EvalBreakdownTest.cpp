// The evaluation taken apart: the shares add up to PosEval on every path, each amount lands on
// its side and in its group, and explaining neither reads nor changes the pawn hash.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "eval/EvalBreakdown.h"
#include "support/TestBoards.h"

namespace {

int WhiteViewSum(const EvalBreakdown& e) {
    int sum = e.scaling + e.phaseRounding + e.roundingToTen;
    for (int g = 0; g < EvalGroupCount; ++g) sum += e.white[g] - e.black[g];
    return sum;
}

// Returns the exit taken, for the caller to see every path covered.
EvalExit ExpectAddsUp(const ChessBoard& b, int alpha = -FullWindow, int beta = FullWindow) {
    const EvalBreakdown e = ExplainEvaluation(b, alpha, beta);
    const int score = Evaluate(b, char(b.SideToMove), alpha, beta);
    EXPECT_EQ(e.score, score) << FenOf(b) << " window " << alpha << ".." << beta;
    EXPECT_EQ(e.ForSideToMove(WhiteViewSum(e)), score) << FenOf(b);
    // Truncating shares loses less than a unit each: the row must not hide a term.
    EXPECT_LE(std::abs(e.phaseRounding), 2 * EvalGroupCount + 4) << FenOf(b);
    return e.exit;
}

EvalBreakdown Explain(const char* fen) { return ExplainEvaluation(EvalBoard(fen)); }

} // namespace

TEST(EvalBreakdown, AddsUpToTheEvaluationOnEveryPath) {
    std::set<EvalExit> exits;
    for (const ChessBoard& b : EvalSamplePositions()) exits.insert(ExpectAddsUp(b));
    std::vector<ChessBoard> games = RandomGamePositions();
    for (size_t i = 0; i < games.size(); ++i) {
        ChessBoard b = games[i];
        exits.insert(ExpectAddsUp(b));
        b.SideToMove ^= 1;
        exits.insert(ExpectAddsUp(b));
        if (i % 4 == 0)
            for (auto [alpha, beta] : {std::pair{-50, 50}, {3000, 3100}, {-20000, -7500}})
                exits.insert(ExpectAddsUp(b, alpha, beta));
        if (HasFailure()) return;
    }
    EXPECT_EQ(exits.size(), 4u) << "every exit of the evaluation met";
}

TEST(EvalBreakdown, EndgameRulesAndScaling) {
    // Rook against knight: 1750 halved.
    EvalBreakdown e = Explain("4k3/8/8/8/8/3n4/8/R3K3 w - - 0 1");
    EXPECT_TRUE(e.exit == EvalExit::DrawishEnding && e.score == 875 && e.scaling == -875);
    // Black's knight more without pawns costs Black 1100, and 800 more as a lone knight against a pawn.
    e = Explain("4k3/8/8/8/8/3n4/4P3/4K3 b - - 0 1");
    EXPECT_EQ(e.Share(1, EvalGroup::EndgameRules), -1100 - 800);
    EXPECT_EQ(e.score, -270);
    // Bishop against bare king: the kings' squares and 3/4 of the bishop.
    e = Explain("8/8/8/4k3/8/8/8/2B1K3 w - - 0 1");
    EXPECT_TRUE(e.exit == EvalExit::PawnlessEnding && e.phase == 0 && e.score == 2307);
    EXPECT_TRUE(e.Share(0, EvalGroup::PieceSquares) == -50 && e.Share(1, EvalGroup::PieceSquares) == 80);
    EXPECT_EQ(e.scaling, 2437 - 3250);
    // A lone bishop against a pawn, a minor more without pawns; the queen's king drawn to the bare king (distance 5).
    EXPECT_EQ(Explain("4k3/p7/8/8/8/8/8/2B1K3 w - - 0 1").Share(0, EvalGroup::EndgameRules), -750 - 1100);
    EXPECT_EQ(Explain("k7/8/8/8/3Q4/2K5/8/8 w - - 0 1").Share(0, EvalGroup::EndgameRules), -400);
    // Opposite bishops and equal material: a quarter of the score remains.
    e = Explain("4k3/3p4/8/3b4/8/8/3P4/2B1K3 w - - 0 1");
    const int unscaled = e.score - e.roundingToTen - e.scaling;
    EXPECT_TRUE(e.exit == EvalExit::Full && unscaled != 0 && e.scaling == -3 * unscaled / 4);
    // White's pawn runs through: the race is White's.
    e = Explain("8/6k1/8/8/8/8/P7/7K w - - 0 1");
    EXPECT_GE(e.Share(0, EvalGroup::PassedPawns), 5700);
    EXPECT_EQ(e.score, 7590);
}

TEST(EvalBreakdown, SharesLandInTheirGroups) {
    // Knight e5 at phase 23: seven safe squares 100, outpost 120 in the middle game only. Rook d1 at
    // phase 22: mobility 170 / 238, open file 320 / 140.
    for (auto [fen, mobility, piecePlay] :
         {std::tuple{"4k3/7p/8/4N3/8/8/P7/4K3 w - - 0 1", 100, 120 / 24},
          {"4k3/p6p/8/8/8/8/P6P/3RK3 w - - 0 1", (2 * 170 + 22 * 238) / 24, (2 * 320 + 22 * 140) / 24}}) {
        EvalBreakdown e = Explain(fen);
        EXPECT_EQ(e.Share(0, EvalGroup::Mobility), mobility) << fen;
        EXPECT_EQ(e.Share(0, EvalGroup::PiecePlay), piecePlay) << fen;
        EXPECT_EQ(e.Share(1, EvalGroup::Mobility), 0) << fen;
    }
    // Queen h4 and knight f4 against White's king: 335 in the middle game at phase 19, on White's side.
    EvalBreakdown e = Explain("6k1/8/8/8/5n1q/8/5PPP/6K1 w - - 0 1");
    EXPECT_EQ(e.Share(0, EvalGroup::KingSafety), -335 * 5 / 24);
    EXPECT_EQ(e.Share(1, EvalGroup::KingSafety), 0);
    // Black cannot attack (one piece); White's h-pawn storms from h5, not from h3: half of 300 in the
    // middle game at phase 15, against Black's king.
    e = Explain("3q2k1/5ppp/8/7P/8/5N2/5PP1/3Q2K1 w - - 0 1");
    EvalBreakdown calm = Explain("3q2k1/5ppp/8/8/8/5N1P/5PP1/3Q2K1 w - - 0 1");
    EXPECT_EQ(e.Share(0, EvalGroup::KingSafety), 0);
    EXPECT_NEAR(calm.Share(1, EvalGroup::KingSafety) - e.Share(1, EvalGroup::KingSafety), 150 * 9 / 24, 1);
    // The position mirrored, with the other side to move, exchanges the sides' shares.
    for (const ChessBoard& b : RandomGamePositions()) {
        EvalBreakdown original = ExplainEvaluation(b), mirrored = ExplainEvaluation(Mirror(b));
        ASSERT_TRUE(original.white == mirrored.black && original.black == mirrored.white) << FenOf(b);
    }
}

// Same pawns and key, different kings: a probe for one finds the other's structure; the explanation
// must compute its own and put the slot back.
TEST(EvalBreakdown, NeitherReadsNorChangesThePawnHash) {
    ChessBoard x = EvalBoard("4k3/pp6/8/8/8/8/PP6/K7 w - - 0 1"), y = EvalBoard("k7/pp6/8/8/8/8/PP6/4K3 w - - 0 1");
    y.PawnKingHash = x.PawnKingHash;
    PawnRecord& slot = PawnHashArray[x.PawnKingHash & 0xffff];
    slot.key = ~x.PawnKingHash;
    const int fresh = Evaluate(x, 0);
    slot.key = ~x.PawnKingHash;
    const int other = Evaluate(y, 0); // the slot now holds y's structure under x's key
    ASSERT_NE(Evaluate(x, 0), fresh) << "x must read y's structure for the test to mean anything";
    Evaluate(y, 0);

    const std::vector<PawnRecord> table(std::begin(PawnHashArray), std::end(PawnHashArray));
    unsigned char pe[sizeof PE];
    std::memcpy(pe, &PE, sizeof PE);
    const ChessBoard* board = bb;
    const i32 attempts = Phashattempts, misses = Phashmisses;

    EXPECT_EQ(ExplainEvaluation(x).score, fresh);
    EXPECT_EQ(std::memcmp(table.data(), PawnHashArray, sizeof(PawnRecord) * table.size()), 0);
    EXPECT_EQ(std::memcmp(pe, &PE, sizeof PE), 0);
    EXPECT_TRUE(bb == board && Phashattempts == attempts && Phashmisses == misses);
    EXPECT_EQ(Evaluate(y, 0), other);
}
