// The key stack's repetition count.
#include <gtest/gtest.h>

#include "search/MoveHistory.h"

namespace {

// Pushes keys 1, 2, 3, ... given by the list (0 = a fresh, unique key).
void Push(std::initializer_list<u64> keys) {
    u64 fresh = 1000;
    for (u64 k : keys) MoveList.InsertHashCodeMoveHistory(k ? k : ++fresh, 0);
}

TEST(Repetition, SameSideWithinTheWindow) {
    MoveList.Init();
    Push({7, 0, 0, 0, 7}); // the same position four plies apart
    EXPECT_EQ(1, MoveList.ThreeFoldRepDetection(5, 7, 0));
    EXPECT_EQ(0, MoveList.ThreeFoldRepDetection(4, 7, 0)); // one record outside
    MoveList.Init();
    Push({7, 0, 0, 7}); // three plies apart: the other side to move
    EXPECT_EQ(0, MoveList.ThreeFoldRepDetection(10, 7, 0));
    MoveList.Init();
    Push({7, 0, 7, 0, 7});
    EXPECT_EQ(2, MoveList.ThreeFoldRepDetection(10, 7, 0));
}

TEST(Repetition, FullStackIsNotOverrun) {
    MoveList.Init();
    testing::internal::CaptureStdout();
    for (int i = 0; i < HistoryCapacity + 10; ++i) MoveList.InsertHashCodeMoveHistory(5, 5);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, out.find("MAJOR ERROR"));
    for (int i = 0; i < HistoryCapacity + 10; ++i) MoveList.RetractMove();
    EXPECT_EQ(0, MoveList.NumMoves);
}

} // namespace
