// What the options that match runners set do: the move overhead they give
// is the one the clock budget pays, within its range.
#include <gtest/gtest.h>

#include "frontend/uci/UCIOptions.h"
#include "search/TimeManagement.h"
#include "support/TestBoards.h"

TEST(UCIOptions, MoveOverheadReachesTheClockWithinItsRange) {
    for (auto [value, overhead] : {std::pair{"120", 120}, {"0", 0}, {"99999", 5000}, {"-3", 0}}) {
        const std::string said = CaptureStdout([&] { SetOption("move overhead", value); });
        const bool clamped = std::string(value) != std::to_string(overhead);
        EXPECT_EQ(said, clamped ? "info string Move Overhead " + std::string(value) +
                                      " is out of range 0..5000: " + std::to_string(overhead) + " used\n"
                                : "")
            << value;
        EXPECT_EQ(MoveOverheadMs(), overhead) << value;
    }
    EXPECT_EQ(CaptureStdout([] { SetOption("Move Overhead", "soon"); }),
              "info string invalid value for Move Overhead: soon\n");
    EXPECT_EQ(MoveOverheadMs(), 0) << "a refused value changes nothing";
    SetMoveOverhead(DefaultMoveOverheadMs);
}
