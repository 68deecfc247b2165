// The evaluation's reference positions: exact scores for both sides to move.
#include <gtest/gtest.h>

#include "eval/EvalTestSupport.h"
#include "eval/PositionEvaluate.h"

namespace {

struct Reference {
    const char* placement;
    int whiteToMove, blackToMove;
};

// The same position for either side to move.
void ExpectScores(const Reference& r) {
    std::string fen = r.placement;
    ChessBoard b = EvalBoard((fen + " w - - 0 1").c_str());
    EXPECT_EQ(Evaluate(b, 0), r.whiteToMove) << r.placement << " white to move";
    b.SideToMove = 1;
    EXPECT_EQ(Evaluate(b, 1), r.blackToMove) << r.placement << " black to move";
}

TEST(ReferenceValues, OpeningPositions) {
    ExpectScores({"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR", 0, 0});
    ExpectScores({"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR", 460, -460});
    ExpectScores({"r1bq1rk1/pppp1ppp/2n2n2/2b1p1N1/2B1P3/8/PPPP1PPP/RNBQK2R", -960, 960});
}

TEST(ReferenceValues, PawnlessEndings) {
    ExpectScores({"k7/8/8/8/3Q4/2K5/8/8", 10600, -10600});
    // Bare kings and king and bishop take the unrounded shortcut.
    ExpectScores({"k7/8/8/8/4K3/8/8/8", 330, -330});
    ExpectScores({"8/8/8/4k3/8/8/8/2B1K3", 2307, -2307});
    // Rook against knight: the material balance, halved.
    ExpectScores({"4k3/8/8/8/8/3n4/8/R3K3", 875, -875});
}

TEST(ReferenceValues, TrappedAndActivePieces) {
    ExpectScores({"N6k/p7/8/8/8/8/8/K7", -1970, 1970});
    ExpectScores({"6k1/1R3ppp/8/8/8/8/5PPP/6K1", 5770, -5770});
    ExpectScores({"r5k1/5ppp/8/8/8/8/5PPP/5KR1", -2220, 2220});
}

TEST(ReferenceValues, ExtraMinorAgainstPawn) { ExpectScores({"4k3/8/8/8/8/3n4/4P3/4K3", 270, -270}); }

TEST(ReferenceValues, PawnRacesDependOnTheSideToMove) {
    // The a-pawn outruns the king only with White to move.
    ExpectScores({"8/6k1/8/8/8/8/P7/7K", 7590, -1610});
    // Both queen at once; the side to move queens first with check along the back rank.
    ExpectScores({"7k/7p/8/8/8/8/P7/K7", 5700, 5700});
}

TEST(ReferenceValues, PhaseRunsFromOpeningToPawnEnding) {
    ChessBoard initial = EvalBoard("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    Evaluate(initial, 0);
    EXPECT_EQ(PE.Phase, 1);
    ChessBoard extraQueens = EvalBoard("rnbqkbnr/pppppppp/8/8/2Q2q2/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    Evaluate(extraQueens, 0);
    EXPECT_EQ(PE.Phase, 1);
    ChessBoard pawnEnding = EvalBoard("4k3/pp6/8/8/8/8/PP6/4K3 w - - 0 1");
    Evaluate(pawnEnding, 0);
    EXPECT_EQ(PE.Phase, 24);
}

} // namespace
