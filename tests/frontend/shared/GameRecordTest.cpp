// Squares from move text, castling rights by from-square, the fifty-move
// count of played moves, the repetition record and the legal-move test.
#include <gtest/gtest.h>

#include "frontend/shared/GameRecord.h"
#include "support/TestBoards.h"

namespace {

void Play(const char* move) {
    const int from = SquareFromText(move), to = SquareFromText(move + 2);
    PlayGameMove(from, to, move[4]);
    MainBoard.SideToMove ^= 1;
    Game.Record(Move{SquareBit(from), SquareBit(to), move[4]});
}

TEST(GameRecord, SquaresFromTextAndCastlingRightsByFromSquare) {
    EXPECT_EQ(SquareFromText("h8"), 63);
    for (const char* off : {"a9", "h0", "a", ""}) EXPECT_EQ(SquareFromText(off), -1) << off;
    const int from[] = {4, 7, 0, 60, 63, 56, 12}, left[] = {12, 14, 13, 3, 11, 7, 15};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(CastlingAfterMoveFrom(15, from[i]), left[i]) << from[i];

    BoardFromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    MainBoard.Castling = 15;
    PlayGameMove(7, 63, '\0'); // Rxh8: only the from-square counts
    EXPECT_EQ(MainBoard.Castling, 14);
}

TEST(GameRecord, FiftyMoveCountAndRepetitionsWhoeverMoves) {
    BoardFromFen("4k3/8/8/3p4/8/8/4P3/1N2K1n1 w - -");
    Game.Start();
    const char* shuffle[] = {"b1c3", "g1f3", "c3b1", "f3g1"};
    for (int round = 1; round <= 2; ++round) {
        for (const char* m : shuffle) Play(m);
        EXPECT_EQ(Game.Occurrences(), round + 1);
    }
    EXPECT_EQ(MainBoard.FiftyMoveCount, 8);
    for (const char* m : {"e2e4", "g1f3", "b1c3"}) Play(m);
    EXPECT_EQ(MainBoard.FiftyMoveCount, 2);
    for (const char* m : {"f3g1", "c3d5"}) Play(m); // a capture
    EXPECT_TRUE(MainBoard.FiftyMoveCount == 0 && Game.Occurrences() == 1);
    // Taking moves back replays the game: the capture and the count come back.
    const std::string twoBack = FenOf(MainBoard);
    Play("e8d8");
    ASSERT_TRUE(Game.Undo());
    EXPECT_EQ(FenOf(MainBoard), twoBack);
    ASSERT_TRUE(Game.Undo() && Game.Undo());
    EXPECT_TRUE((MainBoard.BlackPawns & Sq("d5")) && MainBoard.FiftyMoveCount == 2 && MainBoard.SideToMove == 1);
    while (Game.Undo()) {}
    EXPECT_EQ(FenOf(MainBoard), "4k3/8/8/3p4/8/8/4P3/1N2K1n1 w -- - 0 ; ");
}

} // namespace
