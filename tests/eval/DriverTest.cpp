// The evaluation driver: lazy exits, majors on the seventh and the
// diagram's evaluation line.
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

TEST(MajorsOnSeventh, RooksAgainstPawnsAtHomeOrAKingOnTheBackRank) {
    const std::tuple<const char*, int, int> cases[] = {
        {"1R4k1/R5pp/8/8/8/8/6PP/6K1 w - - 0 1", 650, 325}, // two rooks: 650, not 700
        {"8/7R/6k1/6p1/8/8/6PP/6K1 w - - 0 1", 0, 0},       // nothing to attack there
        {"7Q/p6R/6k1/6p1/8/8/6PP/6K1 w - - 0 1", 350 + 200, 175},
        {"6k1/6pp/8/8/8/8/r4PPP/6K1 w - - 0 1", -350, -175},
    };
    for (auto [fen, endGame, middleGame] : cases) {
        ChessBoard b = EvalBoard(fen);
        PrimeTerms(b);
        PE.MajorsOnSeventh();
        EXPECT_EQ(PE.EndGame, endGame) << fen;
        EXPECT_EQ(PE.MiddleGame, middleGame) << fen;
    }
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
