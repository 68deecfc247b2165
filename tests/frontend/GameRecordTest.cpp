// Squares from move text, castling rights by from-square, the fifty-move
// count of played moves and the repetition record.
#include <gtest/gtest.h>

#include "board/ChessBoard.h"
#include "frontend/GameRecord.h"
#include "support/TestBoards.h"

namespace {

void Play(const char* move) {
    PlayGameMove(SquareFromText(move), SquareFromText(move + 2), move[4]);
    MainBoard.SideToMove ^= 1;
    Game.Record();
}

TEST(SquareFromText, ReadsFileAndRankAndRejectsSquaresOffTheBoard) {
    EXPECT_EQ(SquareFromText("a1"), 0);
    EXPECT_EQ(SquareFromText("e2e4"), 12);
    EXPECT_EQ(SquareFromText("h8"), 63);
    EXPECT_EQ(SquareFromText("a9"), -1);
    EXPECT_EQ(SquareFromText("h0"), -1);
    EXPECT_EQ(SquareFromText("a"), -1);
    EXPECT_EQ(SquareFromText(""), -1);
    EXPECT_EQ(SquareFromText("e1234567890123"), -1); // a long digit run does not overflow
    EXPECT_EQ(SquareFromText("i4"), 32); // any letter counts from 'a': i4 lands on a5
}

TEST(CastlingAfterMoveFrom, KingAndRookHomeSquaresGiveUpTheirRights) {
    EXPECT_EQ(CastlingAfterMoveFrom(15, 4), 12);  // e1
    EXPECT_EQ(CastlingAfterMoveFrom(15, 7), 14);  // h1
    EXPECT_EQ(CastlingAfterMoveFrom(15, 0), 13);  // a1
    EXPECT_EQ(CastlingAfterMoveFrom(15, 60), 3);  // e8
    EXPECT_EQ(CastlingAfterMoveFrom(15, 63), 11); // h8
    EXPECT_EQ(CastlingAfterMoveFrom(15, 56), 7);  // a8
    EXPECT_EQ(CastlingAfterMoveFrom(15, 12), 15); // e2
    EXPECT_EQ(CastlingAfterMoveFrom(5, 7), 4);
}

TEST(PlayGameMove, CastlingMovesTheRookAndDropsBothWhiteRights) {
    BoardFromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    MainBoard.Castling = 15;
    PlayGameMove(4, 6, '\0');
    EXPECT_EQ(MainBoard.Castling, 12);
    EXPECT_EQ(FenOf(MainBoard).substr(0, 29), "r3k2r/8/8/8/8/8/8/R4RK1 w -kq");
}

TEST(PlayGameMove, RookCaptureOnItsHomeSquareLeavesTheOtherSidesRights) {
    BoardFromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    MainBoard.Castling = 15;
    PlayGameMove(7, 63, '\0'); // Rxh8: only the from-square counts
    EXPECT_EQ(MainBoard.Castling, 14);
}

TEST(PlayGameMove, PromotionLetterChoosesTheMan) {
    BoardFromFen("8/4P3/8/8/8/8/k7/7K w - -");
    PlayGameMove(52, 60, 'n');
    EXPECT_TRUE(MainBoard.WhiteKnights & SquareBit(60));
    EXPECT_FALSE(MainBoard.WhitePawns);
}

TEST(FiftyMoveCount, CountsPliesSinceTheLastCaptureOrPawnMoveWhoeverMoves) {
    BoardFromFen("4k3/8/8/3p4/8/8/4P3/1N2K1n1 w - -");
    for (int i = 0; i < 4; ++i) {
        Play("b1c3");
        Play("g1f3");
        Play("c3b1");
        Play("f3g1");
    }
    EXPECT_EQ(MainBoard.FiftyMoveCount, 16);
    Play("e2e4");
    EXPECT_EQ(MainBoard.FiftyMoveCount, 0);
    Play("g1f3");
    Play("b1c3");
    Play("f3g1");
    EXPECT_EQ(MainBoard.FiftyMoveCount, 3);
    Play("c3d5");
    EXPECT_EQ(MainBoard.FiftyMoveCount, 0);
}

TEST(GameRecord, ThirdOccurrenceWithTheSameSideToMove) {
    BoardFromFen("4k3/8/8/8/8/8/8/1N2K1n1 w - -");
    Game.Start();
    EXPECT_EQ(Game.Occurrences(), 1);
    const char* shuffle[] = {"b1c3", "g1f3", "c3b1", "f3g1"};
    for (const char* m : shuffle) Play(m);
    EXPECT_EQ(Game.Occurrences(), 2);
    for (const char* m : shuffle) Play(m);
    EXPECT_EQ(Game.Occurrences(), 3);
    EXPECT_EQ(Game.Size(), 9);
}

TEST(GameRecord, SameMenWithTheOtherSideToMoveIsAnotherPosition) {
    BoardFromFen("4k3/8/8/8/8/8/8/1N2K1n1 w - -");
    Game.Start();
    // Three knight moves by white alone (as in force mode with a side switch) bring the men back.
    PlayGameMove(1, 18, '\0');
    PlayGameMove(18, 1, '\0');
    MainBoard.SideToMove ^= 1;
    Game.Record();
    EXPECT_EQ(Game.Occurrences(), 1);
}

TEST(RefreshPieceCounts, CountsTypesAndSideTotals) {
    MainBoard.InitRep();
    RefreshPieceCounts(MainBoard);
    EXPECT_EQ(MainBoard.WhitePawnCount, 8);
    EXPECT_EQ(MainBoard.BlackKnightCount, 2);
    EXPECT_EQ(MainBoard.WhitePieceCount, 15);
    EXPECT_EQ(MainBoard.BlackPieceCount, 15);
}

} // namespace

namespace {

TEST(HasLegalMove, MateAndStalemateHaveNoneAnEscapeIsFound) {
    EXPECT_TRUE(HasLegalMove(BoardFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -")));
    EXPECT_FALSE(HasLegalMove(BoardFromFen("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq -")));
    EXPECT_FALSE(HasLegalMove(BoardFromFen("7k/5Q2/6K1/8/8/8/8/8 b - -")));
    EXPECT_TRUE(HasLegalMove(BoardFromFen("7k/8/6K1/8/8/8/8/R7 b - -")));   // a king move or two
    EXPECT_FALSE(HasLegalMove(BoardFromFen("6rk/5Npp/8/8/8/8/8/6K1 b - -"))); // smothered
}

} // namespace
