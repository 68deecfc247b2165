// The generators' lists in their exact order, on which the search's node counts depend (random
// games check the sets), and the move text.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "movegen/MoveGen.h"
#include "support/TestBoards.h"

namespace {

enum Gen { All, Quiesce, Evasions, Castle, Pawns };

// The generator's list for the side to move after the moves (castling: the rights given, -1 the board's).
void Expect(Gen gen, const char* fen, const char* expected, std::initializer_list<const char*> before = {},
            int castling = -1) {
    ChessBoard b = After(fen, before);
    const u64 men = b.AllPieces;
    const char side = char(b.SideToMove), rights = char(castling < 0 ? b.Castling : castling);
    MoveGen list;
    list.Board = &b;
    list.MoveCount = -1;
    int n = gen == All        ? list.GenerateAllMoves(side, &b, rights)
            : gen == Quiesce  ? list.GenerateQuiesceMoves(side, &b)
            : gen == Evasions ? list.GenCheckEvasions(side, &b)
            : gen == Castle   ? list.GenCastle(side, 0, rights)
                              : list.GenPawns(side, 0);
    EXPECT_EQ(ListOf(list, n), Words(expected)) << fen;
    EXPECT_EQ(list.MoveCount, gen == All ? n : -1) << "only the full list stores its count: " << fen;
    EXPECT_EQ(b.AllPieces, men) << "the board is left as it was: " << fen;
    for (int i = 0; gen == Castle && i < n; ++i) EXPECT_EQ(list.OrderValue[i], 800);
}

} // namespace

TEST(Generators, OrderByKindOfManCapturesFirst) {
    Expect(All, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
           "b1a3 b1c3 g1f3 g1h3 a2a4 a2a3 b2b4 b2b3 c2c4 c2c3 d2d4 d2d3 e2e4 e2e3 f2f4 f2f3 g2g4 g2g3 h2h4 h2h3");
    Expect(Quiesce, "4k3/8/2p5/Q2n3R/B3P3/2N2n2/4K3/8 w - -", "a5d5 h5d5 c3d5 a4c6 e4e5 e4d5 e2f3");
    // Pushes promote to queens only.
    Expect(Pawns, "r3k3/1P6/8/8/8/8/8/4K3 w - -", "b7b8Q b7a8Q");
    Expect(Pawns, "4k3/8/8/8/8/8/6p1/4K2R b", "g2g1q g2h1q");
}

TEST(Generators, EvasionsAndEnPassantRightAfterTheDoubleStep) {
    Expect(Evasions, "4r2k/3P4/8/1Q5B/R7/2N5/8/4K3 w - -",
           "e1d1 e1f1 e1d2 e1f2 c3e2 c3e4 a4e4 h5e2 h5e8 d7e8Q b5e2 b5e5");
    Expect(Evasions, "7k/3p4/8/2P1P3/4K3/8/8/8 b - -", "e4d3 e4e3 e4f3 e4d4 e4f4 e4d5 e4f5 c5d6 e5d6", {"d7d5"});
    const char* ep = "4k3/2ppp3/8/2P1P3/8/8/8/4K3 b - -";
    Expect(Pawns, ep, "c5c6 c5d6 e5e6 e5d6", {"d7d5"});
    Expect(Pawns, ep, "c5c6 e5e6", {"d7d5", "e1e2", "e8d8"});     // one move too late
    Expect(Pawns, "4k3/8/8/2PpP3/8/8/8/4K3 w - d6", "c5c6 e5e6"); // the text's field gives none
    Expect(Castle, "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", "e1g1 e1c1", {}, 3);
}

TEST(MoveText, PromotionSuffixAndPrincipalVariation) {
    char text[MoveTextSize];
    fillmovestring(text, 0, 52, 60, 1);
    EXPECT_STREQ(text, " e7e8n;\n");
    const PVEntry line[3] = {{12 * 64 + 28, NoPromotion}, {52 * 64 + 36, NoPromotion}, {6 * 64 + 21, NoPromotion}};
    fillmovestring(text, 0, 12, 28, 4, line, 3); // e2e4 e7e5 g1f3
    EXPECT_STREQ(text, " e2e4q;e7e5 g1f3 \n");
    // The longest line the table can hold still fits the buffer, and a longer length is cut.
    std::vector<PVEntry> longest(MaxLineMoves + 50, PVEntry{63 * 64 + 63, 0});
    fillmovestring(text, 0, 63, 63, 0, longest.data(), int(longest.size()));
    EXPECT_EQ(std::strlen(text), size_t(7 + 5 * (MaxLineMoves - 1)));
}
