// The random sequence, the order in which it fills the key tables, and
// what enters the position key and the pawn-and-king key.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "board/HashKeys.h"
#include "support/TestBoards.h"

namespace {

// Lagged Fibonacci with lags 24 and 55, written out from its definition.
std::vector<u32> ReferenceSequence(size_t n) {
    std::vector<u32> x(RandomSeed, RandomSeed + 55), out;
    for (int j = 23, k = 54; out.size() < n; j = (j + 54) % 55, k = (k + 54) % 55) {
        x[k] += x[j];
        out.push_back(x[k]);
    }
    return out;
}

} // namespace

TEST(HashKeys, TablesAreFilledFromTheSequenceInOrder) {
    std::vector<u32> r = ReferenceSequence(2 * (2 * 768 + 16 + 2 + 32));
    EXPECT_EQ(r[55], r[0] + r[55 - 24]) << "the 56th value updates word 54 again";
    size_t next = 0;
    auto take = [&] {
        u64 high = r[next++];
        return (high << 32) | r[next++];
    };
    for (int i = 0; i < 768; ++i) {
        ASSERT_EQ(UPStable[i], take()) << "UPStable " << i;
        ASSERT_EQ(LPStable[i], take()) << "LPStable " << i;
    }
    for (int i = 0; i < 16; ++i) ASSERT_EQ(CastleCode[i], take()) << i;
    EXPECT_EQ(BtoMove, take());
    EXPECT_EQ(WtoMove, take());
    for (int f = 0; f < 8; ++f) {
        u64 uw = take(), lw = take(), ub = take(), lb = take();
        EXPECT_TRUE(UWCanEP[f] == uw && LWCanEP[f] == lw && UBCanEP[f] == ub && LBCanEP[f] == lb) << f;
    }
}

// Each half of the key is the XOR of one entry per man, the side's and the
// castling rights' entries; nothing else on the record enters.
TEST(HashKeys, KeyIsTheSumOfItsEntries) {
    const char letters[] = "PNBRQKpnbrqk";
    const ChessBoard boards[] = {
        BoardFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"),
        BoardFromFen("r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 b kq -"),
        After("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", {"e2e4", "a7a6", "e4e5", "d7d5"}),
        After("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", {"e1g1", "h8h1"}),
        BoardFromFen("8/8/8/8/8/8/8/8 w - -")};
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

TEST(HashKeys, PawnKeyCoversPawnsOnlyAndIgnoresTheSide) {
    ChessBoard b = BoardFromFen("4k3/4p3/8/8/8/8/4P3/RNBQK3 w - -");
    u32 white, black;
    genpawnhashcode(0, b, &white);
    genpawnhashcode(1, b, &black);
    EXPECT_EQ(white, black);
    EXPECT_EQ(white, u32(LPStable[SquareOf(Sq("e2"))]) ^ u32(LPStable[6 * 64 + SquareOf(Sq("e7"))]));
}
