// What enters the position key. The tables themselves are pinned by the
// node counts of the bench signature.
#include <gtest/gtest.h>

#include <cstring>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "board/HashKeys.h"
#include "support/TestBoards.h"

// Each half of the key is the XOR of one entry per man, the side's and the
// castling rights' entries; nothing else on the record enters.
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
