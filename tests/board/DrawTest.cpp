// Draws by material, fifty moves and the wrong-coloured bishop.
#include <gtest/gtest.h>

#include "board/ChessBoard.h"
#include "support/TestBoards.h"

TEST(Draw, MaterialFiftyMovesAndTheWrongBishop) {
    const struct {
        const char* fen;
        int result, mating, fifty = 0; // CheckDraw, MatingMaterial (unless -1), FiftyMoveCount
    } cases[] = {
        {"4k3/8/8/8/8/8/8/1N2K1N1 w - -", 8, 0x00},
        {"4k3/8/8/8/8/8/8/1NB1K3 w - -", 0, 0x01},
        {"4k3/8/8/8/8/8/8/1NN1K1N1 w - -", 0, 0x01},
        {"r3k3/8/8/8/8/8/8/Q3K3 w - -", 0, 0x21},
        // A king in the corner with the other king a knight's jump off can still be mated.
        {"k7/2K5/8/8/8/8/8/8 w - -", 0, 0x00},
        {"k7/8/8/3K4/8/8/8/8 w - -", 8, 0x00},
        // Fifty moves come after material.
        {"4k3/8/8/8/8/8/8/R3K3 w - -", 0, -1, 99},
        {"4k3/8/8/8/8/8/8/R3K3 w - -", 7, -1, 100},
        {"4k3/8/8/8/8/8/8/4K3 w - -", 8, -1, 100},
        // Bishop and rook's pawn against a king in front of the promotion square the bishop misses.
        {"6k1/8/8/7P/4B3/8/8/4K3 w - -", 8, -1},
        {"6k1/8/8/7P/3B4/8/8/4K3 w - -", 0, -1},
        {"8/8/6k1/7P/4B3/8/8/4K3 w - -", 0, -1},
        {"6k1/8/8/7P/4B3/8/8/N3K3 w - -", 0, -1},
        {"4k3/8/8/4b3/7p/8/8/6K1 b - -", 8, -1},
        {"4k3/8/8/3b4/p7/8/1K6/8 b - -", 8, -1},
    };
    for (const auto& c : cases) {
        ChessBoard b = BoardFromFen(c.fen);
        b.FiftyMoveCount = c.fifty;
        EXPECT_EQ(b.CheckDraw(0), c.result) << c.fen << " " << c.fifty;
        EXPECT_EQ(c.mating < 0 ? -1 : b.MatingMaterial, c.mating) << c.fen;
    }
}
