// The evaluation driver: lazy exits, majors on the seventh, the diagram's
// evaluation line, and the material operations the search calls.
#include <gtest/gtest.h>

#include "eval/EvalTestSupport.h"
#include "eval/PositionEvaluate.h"
#include "frontend/Status.h"
#include "support/TestBoards.h"

namespace {

TEST(LazyExits, FarWindowsReturnTheUnroundedEarlyScore) {
    // King and queen against king: 9750 - 400 + taper 171 before the piece terms.
    ChessBoard b = EvalBoard("k7/8/8/8/3Q4/2K5/8/8 w - - 0 1");
    EXPECT_EQ(Evaluate(b, 0, 20000, 30000), 9521);  // first exit, margin 6000
    EXPECT_EQ(Evaluate(b, 0, 12000, 30000), 9521);  // second exit, margin 2000
    EXPECT_EQ(Evaluate(b, 0, 11000, 30000), 10600); // inside both margins
    EXPECT_EQ(Evaluate(b, 0, -30000, 3000), 9521);
    EXPECT_EQ(Evaluate(b, 1, -30000, -20000), -9521);
    EXPECT_EQ(Evaluate(b, 1, -30000, -11000), -10600);
}

TEST(LazyExits, FullWindowAlwaysRounds) {
    ChessBoard b = EvalBoard("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 1");
    EXPECT_EQ(Evaluate(b, 0), 460);
    EXPECT_EQ(Evaluate(b, 0, 455, 465), 460);
}

TEST(MajorsOnSeventh, RooksCountAgainstPawnsAtHomeOrAKingOnTheBackRank) {
    ChessBoard two = EvalBoard("1R4k1/R5pp/8/8/8/8/6PP/6K1 w - - 0 1");
    PrimeTerms(two);
    PE.MajorsOnSeventh();
    EXPECT_EQ(PE.EndGame, 650);
    EXPECT_EQ(PE.MiddleGame, 325);

    ChessBoard noTarget = EvalBoard("8/7R/6k1/6p1/8/8/6PP/6K1 w - - 0 1");
    PrimeTerms(noTarget);
    PE.MajorsOnSeventh();
    EXPECT_EQ(PE.EndGame, 0);

    ChessBoard withQueen = EvalBoard("8/p6R/5Qk1/6p1/8/8/6PP/6K1 w - - 0 1");
    PrimeTerms(withQueen);
    PE.MajorsOnSeventh();
    EXPECT_EQ(PE.EndGame, 350); // the queen on the sixth does not count

    ChessBoard black = EvalBoard("6k1/6pp/8/8/8/8/r4PPP/6K1 w - - 0 1");
    PrimeTerms(black);
    PE.MajorsOnSeventh();
    EXPECT_EQ(PE.EndGame, -350);
    EXPECT_EQ(PE.MiddleGame, -175);
}

TEST(Material, MaterialOnlyAndSideMaterial) {
    ChessBoard b = EvalBoard("r1bqk3/pppp4/8/8/8/8/PPPPPP2/RNBQK3 w - - 0 1");
    EXPECT_EQ(PE.MaterialOnly(0, &b), 3250 + 2 * 800);
    EXPECT_EQ(PE.MaterialOnly(1, &b), -(3250 + 2 * 800));
    EXPECT_EQ(PE.SideMaterialValue(0, &b), 5000 + 9750 + 2 * 3250);
    EXPECT_EQ(PE.SideMaterialValue(1, &b), 5000 + 9750 + 3250);
}

TEST(Driver, DiagramShowsTheEvaluationForWhite) {
    BoardFromFen("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1");
    MainStatus.PEV = 0;
    std::string shown = CaptureStdout([] { MainBoard.DisplayBoard(); });
    EXPECT_NE(shown.find("\n PosEval from White view 460\n"), std::string::npos) << shown;
    MainStatus.PEV = 1;
    shown = CaptureStdout([] { MainBoard.DisplayBoard(); });
    EXPECT_EQ(shown.find("PosEval"), std::string::npos);
    MainStatus.PEV = 0;
}

} // namespace
