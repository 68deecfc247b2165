// The move list: generation order, selection by NextMove, and move text.
#include <gtest/gtest.h>

#include <cstring>

#include "movegen/MoveNames.h"
#include "search/SearchRoutines.h"

TEST(MoveList, InitialPositionInGenerationOrder) {
    ChessBoard b = BoardFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
    MoveGen list;
    ASSERT_EQ(list.GenerateAllMoves(0, &b, 15), 20);
    EXPECT_EQ(list.MoveCount, 20);
    EXPECT_EQ(ListOf(list, 20), Words("b1a3 b1c3 g1f3 g1h3 a2a4 a2a3 b2b4 b2b3 c2c4 c2c3 d2d4 d2d3 "
                                      "e2e4 e2e3 f2f4 f2f3 g2g4 g2g3 h2h4 h2h3"));
    ASSERT_EQ(list.GenerateAllMoves(1, &b, 15), 20);
    EXPECT_EQ(ListOf(list, 20), Words("b8a6 b8c6 g8f6 g8h6 a7a5 a7a6 b7b5 b7b6 c7c5 c7c6 d7d5 d7d6 "
                                      "e7e5 e7e6 f7f5 f7f6 g7g5 g7g6 h7h5 h7h6"));
}

TEST(MoveList, CapturesByKindThenQuietMovesThenPawns) {
    ChessBoard b = BoardFromFen("4k3/8/8/8/8/1pp5/pB1PPn1P/RN1QK2R w K -");
    MoveGen list;
    int count = list.GenerateAllMoves(0, &b, 1);
    EXPECT_EQ(ListOf(list, count), Words("b1c3 b2c3 a1a2 d1b3 e1f2 b1a3 b2c1 b2a3 h1f1 h1g1 d1c1 d1c2 e1g1 e1f1 "
                                         "d2d4 d2d3 d2c3 e2e4 e2e3 h2h4 h2h3"));
}

TEST(MoveList, QuiescenceAndCaptureListsKeepTheirOwnOrder) {
    // Every kind of white man can capture something.
    ChessBoard b = BoardFromFen("4k3/8/2p5/Q2n3R/B3P3/2N2n2/4K3/8 w - -");
    MoveGen list;
    list.MoveCount = -1;
    int count = list.GenerateQuiesceMoves(0, &b);
    EXPECT_EQ(ListOf(list, count), Words("a5d5 h5d5 c3d5 a4c6 e4e5 e4d5 e2f3"));
    EXPECT_EQ(list.MoveCount, -1);
    count = list.GenCaptures(0, &b);
    EXPECT_EQ(ListOf(list, count), Words("c3d5 a4c6 h5d5 a5d5 e2f3"));
    EXPECT_EQ(list.MoveCount, count);
}

TEST(MoveList, SetWisePawnCapturesTakeTheHSideFirst) {
    ChessBoard b = BoardFromFen("4k3/8/8/1p1p1p2/2P1P1P1/8/8/4K3 w - -");
    MoveGen list;
    list.Board = &b;
    EXPECT_EQ(ListOf(list, list.GenPawnCaptures(0, 0)), Words("c4d5 e4f5 c4b5 e4d5 g4f5"));
    EXPECT_EQ(ListOf(list, list.GenPawnCaptures(1, 0)), Words("b5c4 d5e4 f5g4 d5c4 f5e4"));
    EXPECT_EQ(ListOf(list, list.GenPawns(0, 0)), Words("c4c5 c4b5 c4d5 e4e5 e4d5 e4f5 g4g5 g4f5"));
}

TEST(MoveList, NextMoveTakesTheEarliestOfEqualValues) {
    MoveGen list;
    const char* names[4] = {"a2a3", "b2b3", "c2c3", "d2d3"};
    const int values[4] = {5, 9, 9, 7};
    for (int i = 0; i < 4; ++i) {
        list.From[i] = Sq(names[i]);
        list.To[i] = Sq(names[i] + 2);
        list.Promote[i] = NoPromotion;
        list.OrderValue[i] = values[i];
        list.AttackerWeight[i] = i;
    }
    std::vector<std::string> order;
    for (int i = 0; i < 4; ++i) {
        u64 from, to;
        char promote;
        list.NextMove(i, 4, &from, &to, &promote);
        order.push_back(MoveName(from, to, promote));
    }
    EXPECT_EQ(order, Words("b2b3 c2c3 d2d3 a2a3"));
    EXPECT_EQ(std::vector<int>(list.OrderValue, list.OrderValue + 4), (std::vector<int>{9, 9, 7, 5}));
    // The quiescence arrays are not carried along.
    EXPECT_EQ(std::vector<int>(list.AttackerWeight, list.AttackerWeight + 4), (std::vector<int>{0, 1, 2, 3}));

    // Past the count nothing is scanned: the entry comes out as it stands.
    list.OrderValue[3] = 100;
    u64 from, to;
    char promote;
    list.NextMove(3, 3, &from, &to, &promote);
    EXPECT_EQ(MoveName(from, to, promote), "a2a3");
    list.GetMove(1, &from, &to, &promote);
    EXPECT_EQ(MoveName(from, to, promote), "c2c3");
}

TEST(MoveText, SquaresAndPromotionSuffix) {
    char text[MoveTextSize];
    const int e7 = 52, e8 = 60;
    const struct {
        char code;
        const char* expected;
    } cases[] = {{4, " e7e8q;\n"},  {10, " e7e8q;\n"}, {1, " e7e8n;\n"}, {7, " e7e8n;\n"},
                 {2, " e7e8b;\n"},  {8, " e7e8b;\n"},  {3, " e7e8r;\n"}, {9, " e7e8r;\n"},
                 {0, " e7e8 \n"},   {5, " e7e8 \n"},   {'Q', " e7e8 \n"}, {NoPromotion, " e7e8 \n"}};
    for (const auto& c : cases) {
        fillmovestring(text, 0, e7, e8, c.code, 0);
        EXPECT_STREQ(text, c.expected) << int(c.code);
    }
    fillmovestring(text, 0, 0, 63, NoPromotion, 0);
    EXPECT_STREQ(text, " a1h8 \n");
}

TEST(MoveText, PrincipalVariationFollowsTheMove) {
    char text[MoveTextSize];
    const int codes[3] = {12 * 64 + 28, 52 * 64 + 36, 6 * 64 + 21}; // e2e4 e7e5 g1f3
    for (int i = 0; i < 3; ++i) Search.PV[0][i] = {u16(codes[i]), NoPromotion};
    Search.PVLength = 3;
    fillmovestring(text, 0, 12, 28, 4, 1);
    EXPECT_STREQ(text, " e2e4q;e7e5 g1f3 \n");
    fillmovestring(text, 0, 12, 28, 0, 0);
    EXPECT_STREQ(text, " e2e4 \n") << "only with the line flag";
    Search.PVLength = 1;
    fillmovestring(text, 0, 12, 28, 0, 1);
    EXPECT_STREQ(text, " e2e4 \n") << "a one-move line adds nothing";

    // The longest line the table can hold still fits the buffer.
    for (int i = 0; i < PVSlots; ++i) Search.PV[0][i] = {u16(63 * 64 + 63), 0};
    Search.PVLength = PVSlots + 50;
    fillmovestring(text, 0, 63, 63, 0, 1);
    EXPECT_EQ(std::strlen(text), size_t(7 + 5 * (PVSlots - 1)));
    std::memset(Search.PV, 0, sizeof Search.PV);
    Search.PVLength = 0;
}
