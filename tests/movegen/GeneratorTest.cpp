// The generators' lists in their exact order: all moves, quiescence and
// capture lists, castling, pawns and en passant, check evasions; then the
// selection step, the king-set messages and the move text.
#include <gtest/gtest.h>

#include <cstring>

#include "movegen/MoveGen.h"
#include "search/SearchRoutines.h"
#include "support/TestBoards.h"

namespace {

enum Gen { All, Quiesce, Captures, Evasions, Castle, Pawns, PawnCaptures };

struct Case {
    const char* fen; // the generator works for the side to move in the text
    const char* expected;
    std::initializer_list<const char*> before = {}; // moves played first
    int castling = -1;                              // rights given to GenCastle and GenerateAllMoves
};

// Runs one generator; entry points that store MoveCount must store it, the others must leave it.
void Expect(Gen gen, const Case& c) {
    ChessBoard b = After(c.fen, c.before), before = b;
    char side = char(b.SideToMove), castling = char(c.castling < 0 ? b.Castling : c.castling);
    MoveGen list;
    list.Board = &b;
    list.MoveCount = -1;
    int n = gen == All            ? list.GenerateAllMoves(side, &b, castling)
            : gen == Quiesce      ? list.GenerateQuiesceMoves(side, &b)
            : gen == Captures     ? list.GenCaptures(side, &b)
            : gen == Evasions     ? list.GenCheckEvasions(side, &b)
            : gen == Castle       ? list.GenCastle(side, 0, castling)
            : gen == Pawns        ? list.GenPawns(side, 0)
                                  : list.GenPawnCaptures(side, 0);
    EXPECT_EQ(ListOf(list, n), Words(c.expected)) << c.fen;
    EXPECT_EQ(list.MoveCount, gen == All || gen == Captures ? n : -1) << c.fen;
    EXPECT_EQ(b.AllPieces, before.AllPieces) << "the board is left as it was: " << c.fen;
    for (int i = 0; gen == Castle && i < n; ++i) EXPECT_EQ(list.OrderValue[i], 800);
}

} // namespace

TEST(Generators, FullListsByKindOfMan) {
    for (const Case& c : {
             Case{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
                  "b1a3 b1c3 g1f3 g1h3 a2a4 a2a3 b2b4 b2b3 c2c4 c2c3 d2d4 d2d3 e2e4 e2e3 f2f4 f2f3 g2g4 g2g3 h2h4 h2h3"},
             Case{"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -",
                  "b8a6 b8c6 g8f6 g8h6 a7a5 a7a6 b7b5 b7b6 c7c5 c7c6 d7d5 d7d6 e7e5 e7e6 f7f5 f7f6 g7g5 g7g6 h7h5 h7h6"},
             // Captures by kind of man, then quiet moves, then pawns.
             Case{"4k3/8/8/8/8/1pp5/pB1PPn1P/RN1QK2R w K -", "b1c3 b2c3 a1a2 d1b3 e1f2 b1a3 b2c1 b2a3 h1f1 h1g1 d1c1 "
                                                            "d1c2 e1g1 e1f1 d2d4 d2d3 d2c3 e2e4 e2e3 h2h4 h2h3"}})
        Expect(All, c);
    // Every kind of white man can capture something.
    Expect(Quiesce, {"4k3/8/2p5/Q2n3R/B3P3/2N2n2/4K3/8 w - -", "a5d5 h5d5 c3d5 a4c6 e4e5 e4d5 e2f3"});
    Expect(Captures, {"4k3/8/2p5/Q2n3R/B3P3/2N2n2/4K3/8 w - -", "c3d5 a4c6 h5d5 a5d5 e2f3"});
}

TEST(Generators, CastlingNeedsRightsRookFreeAndSafePath) {
    const char* corners = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -";
    for (const Case& c : {Case{corners, "e1g1 e1c1", {}, 3}, Case{"r3k2r/8/8/8/8/8/8/R3K2R b", "e8g8 e8c8", {}, 12},
                          Case{corners, "", {}, 12}, Case{corners, "e1c1", {}, 2},
                          Case{"r3k2r/8/8/8/8/8/8/R3K2R b", "e8g8", {}, 4},
                          Case{"4k3/8/8/8/8/8/8/RN2K1NR w KQ -", ""}, Case{"4k3/8/8/8/8/8/8/R2QK2R w KQ -", "e1g1"},
                          Case{"4k3/8/8/8/8/8/8/4K2Q w K -", ""},            // a queen is no rook
                          Case{"4k3/8/8/8/8/8/8/4K2r w K -", ""},            // nor is an enemy rook
                          Case{"rN2k2r/8/8/8/8/8/8/4K2R b kq -", "e8g8"},    // b8 must be empty too
                          Case{"4k3/8/b7/8/8/8/8/R3K2R w KQ -", "e1c1"},     // f1 attacked
                          Case{"4k3/8/8/7b/8/8/8/R3K2R w KQ -", "e1g1"},     // d1 attacked
                          Case{"4k3/7b/8/8/8/8/8/R3K2R w KQ -", "e1g1 e1c1"}, // only b1 attacked
                          Case{"4r1k1/8/8/8/8/8/8/R3K2R w KQ -", ""},        // not out of check
                          Case{"6k1/8/8/8/8/8/7p/R3K2R w KQ -", "e1c1"}, Case{"r3k2r/8/8/8/8/8/8/5Q2 b kq -", "e8c8"}})
        Expect(Castle, c);
}

TEST(Generators, PawnsPromoteToQueensAndTakeEnPassantRightAfterTheDoubleStep) {
    const char* ep = "4k3/2ppp3/8/2P1P3/8/8/8/4K3 b - -";
    for (const Case& c : {Case{"r3k3/1P6/8/8/8/8/8/4K3 w - -", "b7b8Q b7a8Q"}, Case{"4k3/8/8/8/8/8/6p1/4K2R b", "g2g1q g2h1q"},
                          Case{"1n2k3/1P6/8/8/8/8/1P6/4K3 w - -", "b2b4 b2b3"}, Case{ep, "c5c6 c5d6 e5e6 e5d6", {"d7d5"}},
                          Case{ep, "c5c6 e5e6", {"d7d6", "e1e2", "d6d5"}}, Case{ep, "c5c6 e5e6", {"d7d5", "e1e2", "e8d8"}},
                          Case{"4k3/8/8/2PpP3/8/8/8/4K3 w - d6", "c5c6 e5e6"}, // the text's field gives none
                          Case{"4k3/8/8/8/3p1p2/8/4P3/4K3 w - -", "d4d3 d4e3 f4f3 f4e3", {"e2e4"}},
                          Case{"4k3/p7/8/1P6/8/8/8/4K3 b - -", "b5b6 b5a6", {"a7a5"}},
                          Case{"4k3/7p/8/6P1/8/8/8/4K3 b - -", "g5g6 g5h6", {"h7h5"}},
                          Case{"4k3/8/8/1p1p1p2/2P1P1P1/8/8/4K3 w", "c4c5 c4b5 c4d5 e4e5 e4d5 e4f5 g4g5 g4f5"}})
        Expect(Pawns, c);
    // The set-wise captures take the h-side first and carry no promotion letter.
    Expect(PawnCaptures, {"4k3/8/8/1p1p1p2/2P1P1P1/8/8/4K3 w", "c4d5 e4f5 c4b5 e4d5 g4f5"});
    Expect(PawnCaptures, {"4k3/8/8/1p1p1p2/2P1P1P1/8/8/4K3 b", "b5c4 d5e4 f5g4 d5c4 f5e4"});
    Expect(PawnCaptures, {"r3k3/1P6/8/8/8/8/8/4K3 w - -", "b7a8"});
}

TEST(Generators, EvasionsKingStepsThenCapturesAndInterpositions) {
    for (const Case& c : {
             Case{"4r2k/3P4/8/1Q5B/R7/2N5/8/4K3 w - -", "e1d1 e1f1 e1d2 e1f2 c3e2 c3e4 a4e4 h5e2 h5e8 d7e8Q b5e2 b5e5"},
             Case{"4r2k/8/8/8/8/8/4K3/8 w - -", "e2d1 e2f1 e2d2 e2f2 e2d3 e2f3"}, // not along the checker's line
             Case{"7k/8/8/8/K6r/3PN3/2P1P3/8 w - -", "a4a3 a4b3 a4a5 a4b5 e3c4 e3g4 d3d4 c2c4"},
             Case{"K6r/2P3P1/8/8/8/8/8/7k w - -", "a8a7 a8b7 c7c8Q g7g8Q g7h8Q"},
             Case{"8/8/8/8/8/8/2p3p1/k6R b - -", "a1a2 a1b2 c2c1q g2g1q g2h1q"},
             Case{"4r2k/8/8/8/8/R2n4/8/4K3 w - -", "e1d1 e1f1 e1d2"}, // two checkers: king moves only
             // Rook and queen count as one kind: moves into both lines are left to the legality test.
             Case{"4r2k/8/8/8/8/2N5/8/q3K3 w - -", "e1d2 e1f2 c3b1 c3d1 c3e2 c3e4"},
             Case{"7k/8/8/3p1p2/4K3/8/8/R7 w - -", "e4d3 e4e3 e4f3 e4d4 e4f4 e4d5 e4e5 e4f5"},
             Case{"R5k1/5ppp/8/8/8/8/8/6K1 b - -", ""},
             Case{"7k/5p2/8/4P3/6K1/8/8/8 b - -", "g4f3 g4g3 g4h3 g4f4 g4h4 g4f5 g4g5 g4h5 e5f6", {"f7f5"}},
             Case{"8/8/8/6k1/4p3/8/5P2/K7 w - -", "g5f4 g5g4 g5h4 g5f5 g5h5 g5f6 g5g6 g5h6 e4f3", {"f2f4"}},
             Case{"7k/3p4/8/2P1P3/4K3/8/8/8 b - -", "e4d3 e4e3 e4f3 e4d4 e4f4 e4d5 e4f5 c5d6 e5d6", {"d7d5"}},
             Case{"7k/8/3p4/2P5/4K3/8/8/8 b - -", "e4d3 e4e3 e4f3 e4d4 e4f4 e4d5 e4e5 e4f5", {"d6d5"}}})
        Expect(Evasions, c);
}

TEST(MoveList, NextMoveTakesTheEarliestOfEqualValues) {
    MoveGen list;
    const int values[4] = {5, 9, 9, 7};
    for (int i = 0; i < 4; ++i) {
        list.From[i] = SquareBit(8 + i), list.To[i] = SquareBit(16 + i), list.Promote[i] = NoPromotion;
        list.OrderValue[i] = values[i];
    }
    std::string order;
    u64 from, to;
    char promote;
    for (int i = 0; i < 4; ++i) {
        list.NextMove(i, 4, &from, &to, &promote);
        order += MoveName(from, to, promote) + " ";
    }
    EXPECT_EQ(order, "b2b3 c2c3 d2d3 a2a3 ");
    list.OrderValue[3] = 100;
    list.NextMove(3, 3, &from, &to, &promote); // past the count nothing is scanned
    EXPECT_EQ(MoveName(from, to, promote), "a2a3");
}

TEST(MoveList, MissingAndExtraKingsAreReported) {
    ChessBoard b = BoardFromFen("4k3/8/8/8/8/8/8/1n6 w - -");
    MoveGen list;
    const std::string none = "Major Error: There is No king of a given color\n";
    EXPECT_EQ(CaptureStdout([&] { list.GenerateAllMoves(0, &b, 0); }), none + none);
    // Two white kings (text can't place them): one message per extra king, moves for both.
    b.WhiteKing = b.WhitePieces = Sq("a1") | Sq("h1");
    b.AllPieces = b.WhitePieces | b.BlackPieces;
    std::vector<std::string> moves;
    const std::string extra = "Major Error: There is more than one king of a given color\n";
    EXPECT_EQ(CaptureStdout([&] { moves = ListOf(list, list.GenKings(0, 0)); }), extra);
    EXPECT_EQ(moves, Words("a1a2 a1b2 h1g1 h1g2 h1h2"));
    EXPECT_EQ(CaptureStdout([&] { moves = ListOf(list, list.GenKingCaptures(0, 0)); }), extra);
    EXPECT_EQ(moves, Words("a1b1"));
}

TEST(MoveText, PromotionSuffixAndPrincipalVariation) {
    char text[MoveTextSize];
    const std::pair<char, const char*> codes[] = {{4, " e7e8q;\n"}, {10, " e7e8q;\n"}, {1, " e7e8n;\n"},
                                                  {8, " e7e8b;\n"}, {3, " e7e8r;\n"},  {0, " e7e8 \n"},
                                                  {5, " e7e8 \n"},  {'Q', " e7e8 \n"}, {NoPromotion, " e7e8 \n"}};
    for (auto [code, expected] : codes) {
        fillmovestring(text, 0, 52, 60, code, 0);
        EXPECT_STREQ(text, expected) << int(code);
    }
    const int line[3] = {12 * 64 + 28, 52 * 64 + 36, 6 * 64 + 21}; // e2e4 e7e5 g1f3
    for (int i = 0; i < 3; ++i) Search.PV[0][i] = {u16(line[i]), NoPromotion};
    Search.PVLength = 3;
    fillmovestring(text, 0, 12, 28, 4, 1);
    EXPECT_STREQ(text, " e2e4q;e7e5 g1f3 \n");
    fillmovestring(text, 0, 12, 28, 0, 0);
    EXPECT_STREQ(text, " e2e4 \n") << "only with the line flag";
    // The longest line the table can hold still fits the buffer.
    for (int i = 0; i < PVSlots; ++i) Search.PV[0][i] = {u16(63 * 64 + 63), 0};
    Search.PVLength = PVSlots + 50;
    fillmovestring(text, 0, 63, 63, 0, 1);
    EXPECT_EQ(std::strlen(text), size_t(7 + 5 * (PVSlots - 1)));
    std::memset(Search.PV, 0, sizeof Search.PV);
    Search.PVLength = 0;
}
