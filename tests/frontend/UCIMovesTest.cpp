// "position" lines: the move list replayed on the game position with its
// keys, side to move, ply and fifty-move count.
#include <cstring>
#include <string>

#include "board/HashKeys.h"
#include "frontend/UCIFixture.h"
#include "support/TestBoards.h"

namespace {

// The key the history should hold for MainBoard as it stands.
HistoryKey KeyNow() {
    HistoryKey k;
    genhashcode(char(MainBoard.SideToMove), MainBoard.Castling, &k.upper, &k.lower, &MainBoard);
    return k;
}

bool SameKey(const HistoryKey& a, const HistoryKey& b) { return a.upper == b.upper && a.lower == b.lower; }

TEST_F(UCITest, StartposWithThreeMoves) {
    Handle("position startpos moves e2e4 e7e5 g1f3");
    EXPECT_EQ(MainBoard.SideToMove, 1);
    EXPECT_EQ(MainStatus.GamePly, 3);
    EXPECT_EQ(MainBoard.FiftyMoveCount, 1);
    EXPECT_EQ(MoveList.NumMoves, 3);
    EXPECT_TRUE(SameKey(MoveList.entries[2], KeyNow()));
    EXPECT_EQ(FenOf(MainBoard).rfind("rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq ", 0), 0u);
}

TEST_F(UCITest, FenWithBlackToMoveKeepsItsSideAndKeysFollowTheSideToMove) {
    Handle("position fen 4k3/8/8/8/8/8/8/4K2R b K - 0 1 moves e8d8 e1f1");
    EXPECT_EQ(MainBoard.SideToMove, 1);
    EXPECT_EQ(MainBoard.Castling, 0); // the king left e1
    EXPECT_EQ(MoveList.NumMoves, 2);
    EXPECT_TRUE(SameKey(MoveList.entries[1], KeyNow()));
    EXPECT_EQ(UCI.HashSide, 1);
}

TEST_F(UCITest, ReplayedRepetitionGivesEqualKeysTwoPliesApartInPairs) {
    Handle("position startpos moves g1f3 g8f6 f3g1 f6g8 g1f3 g8f6");
    ASSERT_EQ(MoveList.NumMoves, 6);
    EXPECT_TRUE(SameKey(MoveList.entries[0], MoveList.entries[4]));
    EXPECT_TRUE(SameKey(MoveList.entries[1], MoveList.entries[5]));
    EXPECT_FALSE(SameKey(MoveList.entries[0], MoveList.entries[1]));
    EXPECT_EQ(MoveList.ThreeFoldRepDetection(MainBoard.FiftyMoveCount, MoveList.entries[5].upper,
                                             MoveList.entries[5].lower),
              1);
}

TEST_F(UCITest, PromotionLetterIsSteppedOverAndApplied) {
    Handle("position fen 8/4P3/8/8/8/8/k7/7K w - - moves e7e8n a2a3 e8d6");
    EXPECT_EQ(MoveList.NumMoves, 3);
    EXPECT_TRUE(MainBoard.WhiteKnights & SquareBit(43)); // d6
    EXPECT_EQ(MainBoard.SideToMove, 1);
}

TEST_F(UCITest, EnPassantAndCastlingFromTheMoveList) {
    Handle("position startpos moves e2e4 a7a6 e4e5 d7d5 e5d6 a6a5 g1f3 a5a4 f1e2 a4a3 e1g1");
    EXPECT_FALSE(MainBoard.BlackPawns & SquareBit(35)); // d5 taken en passant
    EXPECT_TRUE(MainBoard.WhiteKing & SquareBit(6));
    EXPECT_TRUE(MainBoard.WhiteRooks & SquareBit(5));
    EXPECT_EQ(MainBoard.Castling, 12);
    EXPECT_EQ(MainBoard.SideToMove, 1);
}

TEST_F(UCITest, EmptyOrMalformedMoveListsApplyNothingOrStopAtTheFirstNonMove) {
    Handle("position startpos moves");
    EXPECT_EQ(MoveList.NumMoves, 0);
    EXPECT_EQ(MainBoard.SideToMove, 0);
    Handle("position startpos moves e2e4 xyz e7e5");
    EXPECT_EQ(MoveList.NumMoves, 1);
    EXPECT_EQ(MainBoard.SideToMove, 1);
    Handle("position startpos moves e2e4  e7e5"); // two blanks end the list
    EXPECT_EQ(MoveList.NumMoves, 1);
    Handle("position startpos moves a0a1 e2e4"); // a square off the board: the turn passes, nothing moves
    EXPECT_EQ(MoveList.NumMoves, 2);
    EXPECT_EQ(MainBoard.SideToMove, 0);
    EXPECT_TRUE(MainBoard.WhitePawns & SquareBit(28));
}

TEST_F(UCITest, PositionWithoutMovesForgetsTheEarlierGamesKeys) {
    Handle("position startpos moves e2e4 e7e5");
    Handle("position startpos");
    EXPECT_EQ(MoveList.NumMoves, 0);
    EXPECT_EQ(MainBoard.SideToMove, 0);
    EXPECT_EQ(UCI.HashSide, 0);
}

TEST_F(UCITest, OverlongLineIsCutNotOverrun) {
    std::string line = "position startpos moves";
    while (line.size() < 3 * UCICommandSize) line += " g1f3 g8f6 f3g1 f6g8";
    std::snprintf(UCI.Command, sizeof UCI.Command, "%s", line.c_str());
    EXPECT_EQ(std::strlen(UCI.Command), size_t(UCICommandSize - 1));
    testing::internal::CaptureStdout(); // the history's overflow messages
    UCI.HandleLine();
    testing::internal::GetCapturedStdout();
    EXPECT_GT(MoveList.NumMoves, 1900);
    EXPECT_EQ(MainBoard.SideToMove, MoveList.NumMoves % 2);
}

} // namespace
