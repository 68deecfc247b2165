// What enters the position key (the tables are pinned by the bench signature's node counts).
#include <gtest/gtest.h>

#include <cstring>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "board/HashKeys.h"
#include "support/TestBoards.h"

// Each half of the key: one entry per man, the side's and the rights'; nothing else enters.
TEST(HashKeys, KeyIsTheSumOfItsEntries) {
    const char letters[] = "PNBRQKpnbrqk";
    const ChessBoard boards[] = {
        BoardFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"),
        BoardFromFen("r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 b kq -"),
        After("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", {"e2e4", "a7a6", "e4e5", "d7d5"}),
        After("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", {"e1g1", "h8h1"})};
    for (const ChessBoard& b : boards) {
        u64 upper = 0, lower = 0;
        for (int sq = 0; sq < 64; ++sq)
            if (b.AllPieces & SquareBit(sq)) {
                int code = int(std::strchr(letters, DecodePiece(SquareBit(sq), b)) - letters);
                upper ^= UPStable[code * 64 + sq], lower ^= LPStable[code * 64 + sq];
            }
        for (char side : {0, 1})
            for (int castling = 0; castling < 16; ++castling) {
                u64 u, l, common = (side ? BtoMove : WtoMove) ^ CastleCode[castling];
                genhashcode(side, castling, &u, &l, &b);
                ASSERT_EQ(u, upper ^ common) << FenOf(b) << int(side) << " " << castling;
                ASSERT_EQ(l, lower ^ common) << FenOf(b) << int(side) << " " << castling;
            }
    }
}

// The key foreseen for prefetching is exact for plain moves and captures, rights given up included.
TEST(HashKeys, KeyAfterAMoveIsForeseenWithoutMakingIt) {
    const ChessBoard boards[] = {BoardFromFen("r3k2r/pbppqpb1/1pn1pnp1/4N3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -"),
                                 BoardFromFen("r3k2r/pbppqpb1/1pn1pnp1/4N3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq -")};
    int checked = 0;
    for (const ChessBoard& b : boards) {
        const char side = char(b.SideToMove);
        const u64 own = side ? b.BlackPieces : b.WhitePieces;
        const u64 enemyKing = side ? b.WhiteKing : b.BlackKing;
        for (u64 men = own; men; men &= men - 1) {
            const u64 from = men & (0 - men);
            for (int sq = 0; sq < 64; ++sq) {
                const u64 to = SquareBit(sq);
                const bool pawn = b.IsPawn(side, from), king = b.IsKing(side, from);
                if ((to & (own | enemyKing)) || (pawn && (sq < 8 || sq >= 56)) ||
                    (pawn && (SquareOf(from) ^ sq) % 8 && b.IsEmptySquare(to)) ||
                    (king && (SquareOf(from) == 4 || SquareOf(from) == 60) && (sq % 8 == 2 || sq % 8 == 6)))
                    continue; // promotion, en passant, castling
                for (int castling : {0, 5, 15}) {
                    ChessBoard after = b;
                    char mask;
                    after.MakeMove(from, to, NoPromotion, &mask);
                    ASSERT_EQ(PositionKeyLowerAfter(side, castling, b, from, to),
                              PositionKeyLower(char(side ^ 1), castling & mask, after))
                        << FenOf(b) << " " << SquareOf(from) << "-" << sq << " rights " << castling;
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 1000);
}
