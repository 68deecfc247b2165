// Draws by material, fifty moves and the wrong-coloured bishop, and the
// fifty-move counter of moves entered from outside.
#include <gtest/gtest.h>

#include "board/ChessBoard.h"
#include "support/TestBoards.h"

TEST(Draw, MaterialAndMatingMaterial) {
    struct Case {
        const char* fen;
        int result;
        int mating; // MatingMaterial
    } cases[] = {
        {"4k3/8/8/8/8/8/8/4K3 w - -", 8, 0x00},
        {"4k3/8/8/8/8/8/8/2B1K3 w - -", 8, 0x00},     // king and bishop
        {"4k3/8/8/8/8/8/8/1N2K1N1 w - -", 8, 0x00},   // two knights cannot force mate
        {"4k3/8/8/8/8/8/8/1NB1K3 w - -", 0, 0x01},    // bishop and knight can
        {"4k3/8/8/8/8/8/8/2B1KB2 w - -", 0, 0x01},    // so can two bishops
        {"4k3/8/8/8/8/8/8/1NN1K1N1 w - -", 0, 0x01},  // and three knights
        {"4k3/8/8/8/8/8/8/R3K3 w - -", 0, 0x01},
        {"r3k3/8/8/8/8/8/8/4K3 w - -", 0, 0x20},
        {"4k3/p7/8/8/8/8/8/4K3 w - -", 0, 0x20},
        {"r3k3/8/8/8/8/8/8/Q3K3 w - -", 0, 0x21},
        {"2b1k3/8/8/8/8/8/8/1N2K3 w - -", 8, 0x00},   // a minor piece each
        // A king in the corner with the other king two squares off can still be mated.
        {"k7/2K5/8/8/8/8/8/8 w - -", 0, 0x00},
        {"k7/2K5/8/8/8/8/8/7N w - -", 0, 0x00},
        {"k7/8/1K6/8/8/8/8/8 w - -", 0, 0x00},
        {"k7/8/8/3K4/8/8/8/8 w - -", 8, 0x00},
        {"k7/1K6/8/8/8/8/8/8 w - -", 8, 0x00},
        {"8/8/8/8/8/8/5k2/7K b - -", 0, 0x00},
    };
    for (const Case& c : cases) {
        ChessBoard b = BoardFromFen(c.fen);
        EXPECT_EQ(b.CheckDraw(0), c.result) << c.fen;
        EXPECT_EQ(b.MatingMaterial, c.mating) << c.fen;
    }
}

TEST(Draw, FiftyMovesComeAfterMaterial) {
    ChessBoard b = BoardFromFen("4k3/8/8/8/8/8/8/R3K3 w - -");
    b.FiftyMoveCount = 99;
    EXPECT_EQ(b.CheckDraw(1), 0);
    b.FiftyMoveCount = 100;
    EXPECT_EQ(b.CheckDraw(1), 7);
    b = BoardFromFen("4k3/8/8/8/8/8/8/4K3 w - -");
    b.FiftyMoveCount = 100;
    EXPECT_EQ(b.CheckDraw(0), 8);
}

TEST(Draw, WrongColouredBishopWithARooksPawn) {
    struct Case {
        const char* fen;
        int result;
    } cases[] = {
        {"6k1/8/8/7P/4B3/8/8/4K3 w - -", 8}, // light bishop, h-pawn, king on g8
        {"6k1/8/8/7P/3B4/8/8/4K3 w - -", 0}, // dark bishop controls h8
        {"8/7k/8/7P/4B3/8/8/4K3 w - -", 8},
        {"8/8/6k1/7P/4B3/8/8/4K3 w - -", 0}, // king not in front of the pawn
        {"1k6/8/8/P7/3B4/8/8/4K3 w - -", 8}, // dark bishop, a-pawn
        {"1k6/8/8/P7/4B3/8/8/4K3 w - -", 0},
        {"6k1/8/8/7P/4B3/8/8/N3K3 w - -", 0}, // a knight too
        {"6k1/p7/8/7P/4B3/8/8/4K3 w - -", 0}, // black has a pawn
        {"6kn/8/8/7P/4B3/8/8/4K3 w - -", 0},  // black has a piece
        {"6k1/8/8/6PP/4B3/8/8/4K3 w - -", 0}, // two pawns
        {"4k3/8/8/4b3/7p/8/8/6K1 b - -", 8},  // black: dark bishop, h-pawn, king on g1
        {"4k3/8/8/3b4/7p/8/8/6K1 b - -", 0},
        {"4k3/8/8/3b4/p7/8/8/1K6 b - -", 8},  // light bishop, a-pawn
        {"4k3/8/8/3b4/p7/8/1K6/8 b - -", 8},
        {"4k3/8/8/4b3/p7/8/1K6/8 b - -", 0},
    };
    for (const Case& c : cases) {
        ChessBoard b = BoardFromFen(c.fen);
        EXPECT_EQ(b.CheckDraw(0), c.result) << c.fen;
    }
}

TEST(Draw, FiftyMoveCounterOfEnteredMoves) {
    ChessBoard b = BoardFromFen("4k3/4p3/8/8/8/8/4P3/1N2K3 w - -");
    auto index = [](const char* s) { return char(SquareOf(Sq(s))); };
    b.FiftyMoveCount = 99;
    EXPECT_TRUE(b.Test50MoveRule(index("b1"), index("c3")));
    EXPECT_EQ(b.FiftyMoveCount, 100);
    b.FiftyMoveCount = 98;
    EXPECT_FALSE(b.Test50MoveRule(index("b1"), index("c3")));
    EXPECT_EQ(b.FiftyMoveCount, 99);
    EXPECT_FALSE(b.Test50MoveRule(index("e2"), index("e4")));
    EXPECT_EQ(b.FiftyMoveCount, 0);
    b.FiftyMoveCount = 40;
    EXPECT_FALSE(b.Test50MoveRule(index("e7"), index("e5"))) << "black pawns count too";
    EXPECT_EQ(b.FiftyMoveCount, 0);
    b.FiftyMoveCount = 40;
    EXPECT_FALSE(b.Test50MoveRule(index("e1"), index("e2"))) << "any man on the target square";
    EXPECT_EQ(b.FiftyMoveCount, 0);
}
