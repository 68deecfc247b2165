// The random sequence, the order in which it fills the key tables, and
// what enters the position key and the pawn-and-king key.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "board/HashKeys.h"
#include "support/TestBoards.h"

namespace {

// Lagged Fibonacci with lags 24 and 55, written out from its definition.
std::vector<u32> ReferenceSequence(size_t n) {
    std::vector<u32> x(RandomSeed, RandomSeed + 55), out;
    int j = 23, k = 54;
    while (out.size() < n) {
        x[k] += x[j];
        out.push_back(x[k]);
        j = (j + 54) % 55;
        k = (k + 54) % 55;
    }
    return out;
}

struct Key {
    u64 upper, lower;
    bool operator==(const Key& o) const { return upper == o.upper && lower == o.lower; }
    bool operator!=(const Key& o) const { return !(*this == o); }
    bool operator<(const Key& o) const { return upper != o.upper ? upper < o.upper : lower < o.lower; }
};

Key KeyOf(const ChessBoard& b, int side, int castling) {
    Key k;
    genhashcode(char(side), castling, &k.upper, &k.lower, &b);
    return k;
}

} // namespace

TEST(HashKeys, TablesAreFilledFromTheSequenceInOrder) {
    bool seedHasOddWord = false;
    for (u32 w : RandomSeed) seedHasOddWord |= (w & 1) != 0;
    EXPECT_TRUE(seedHasOddWord) << "the generator needs an odd word";

    std::vector<u32> r = ReferenceSequence(2 * (2 * 768 + 16 + 2 + 32));
    EXPECT_EQ(r[0], RandomSeed[54] + RandomSeed[23]);
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
        EXPECT_EQ(UWCanEP[f], take());
        EXPECT_EQ(LWCanEP[f], take());
        EXPECT_EQ(UBCanEP[f], take());
        EXPECT_EQ(LBCanEP[f], take());
    }
}

TEST(HashKeys, EachManEntersUnderItsOwnCodeAndSquare) {
    const char letters[] = "PNBRQKpnbrqk";
    std::set<Key> seen;
    for (int code = 0; code < 12; ++code) {
        for (int square : {0, 27, 63}) {
            MainBoard.ClearField();
            AddPiece(letters[code], square);
            Key k = KeyOf(MainBoard, 0, 0);
            u64 common = WtoMove ^ CastleCode[0];
            EXPECT_EQ(k.upper, UPStable[code * 64 + square] ^ common) << letters[code] << square;
            EXPECT_EQ(k.lower, LPStable[code * 64 + square] ^ common) << letters[code] << square;
            seen.insert(k);
        }
    }
    EXPECT_EQ(seen.size(), 36u);

    MainBoard.ClearField();
    Key empty = KeyOf(MainBoard, 0, 0);
    EXPECT_EQ(empty.upper, WtoMove ^ CastleCode[0]);
    EXPECT_EQ(empty.lower, WtoMove ^ CastleCode[0]);
}

TEST(HashKeys, SideAndCastlingChangeBothHalvesByTheirEntries) {
    ChessBoard b = BoardFromFen("r3k2r/pppq1ppp/2n5/3pp3/8/2N2N2/PPPP1PPP/R2QK2R w KQkq -");
    Key white = KeyOf(b, 0, 15), black = KeyOf(b, 1, 15);
    EXPECT_EQ(white.upper ^ black.upper, WtoMove ^ BtoMove);
    EXPECT_EQ(white.lower ^ black.lower, WtoMove ^ BtoMove);
    for (int castling = 0; castling < 16; ++castling) {
        Key k = KeyOf(b, 0, castling);
        EXPECT_EQ(k.upper ^ white.upper, CastleCode[castling] ^ CastleCode[15]) << castling;
        EXPECT_EQ(k.lower ^ white.lower, CastleCode[castling] ^ CastleCode[15]) << castling;
    }
    EXPECT_EQ(KeyOf(b, 0, b.Castling), white) << "the arguments decide, not the board's own fields";
    b.SideToMove = 1;
    b.Castling = 0;
    EXPECT_EQ(KeyOf(b, 0, 15), white);
}

TEST(HashKeys, SamePositionSameKeyWhateverTheWayThere) {
    // 1. Nf3 Nc6 2. Nc3 Nf6 against 1. Nc3 Nf6 2. Nf3 Nc6: same men, different last moves.
    auto play = [](std::initializer_list<std::pair<const char*, const char*>> moves) {
        ChessBoard b = BoardFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
        char mask;
        for (auto [from, to] : moves) b.MakeMove(Sq(from), Sq(to), NoPromotion, &mask);
        return b;
    };
    ChessBoard a = play({{"g1", "f3"}, {"b8", "c6"}, {"b1", "c3"}, {"g8", "f6"}});
    ChessBoard c = play({{"b1", "c3"}, {"g8", "f6"}, {"g1", "f3"}, {"b8", "c6"}});
    ASSERT_NE(a.LastFrom, c.LastFrom);
    EXPECT_EQ(KeyOf(a, 0, 15), KeyOf(c, 0, 15));
    EXPECT_EQ(a.PawnKingHash, c.PawnKingHash);
    ChessBoard fromText = BoardFromFen("r1bqkb1r/pppppppp/2n2n2/8/8/2N2N2/PPPPPPPP/R1BQKB1R w KQkq -");
    EXPECT_EQ(KeyOf(fromText, 0, 15), KeyOf(a, 0, 15));

    // En passant rights are not part of the key: the same men after a double step or not.
    ChessBoard doubleStep = play({{"e2", "e4"}, {"a7", "a6"}, {"e4", "e5"}, {"d7", "d5"}});
    ChessBoard singleSteps = play({{"e2", "e4"}, {"d7", "d6"}, {"e4", "e5"}, {"d6", "d5"}, {"a7", "a6"}});
    EXPECT_EQ(KeyOf(doubleStep, 0, 15), KeyOf(singleSteps, 0, 15));
    EXPECT_NE(KeyOf(doubleStep, 0, 15), KeyOf(play({{"e2", "e4"}}), 0, 15));
}

TEST(HashKeys, PawnKeyCoversPawnsOnlyAndIgnoresTheSide) {
    ChessBoard b = BoardFromFen("4k3/4p3/8/8/8/8/4P3/RNBQK3 w - -");
    u32 white, black;
    genpawnhashcode(0, b, &white);
    genpawnhashcode(1, b, &black);
    EXPECT_EQ(white, black);
    EXPECT_EQ(white, u32(LPStable[SquareOf(Sq("e2"))]) ^ u32(LPStable[6 * 64 + SquareOf(Sq("e7"))]));
    EXPECT_EQ(b.PawnKingHash, white);
}

TEST(HashKeys, DrawLogLookupNeedsAPositiveCount) {
    EXPECT_FALSE(FindRandom(0, 0));
    EXPECT_FALSE(FindRandom(0, -3));
    EXPECT_TRUE(FindRandom(0, 1)) << "the log is zeroed by initPStable";
    EXPECT_FALSE(FindRandom(1, 1 << 30)) << "a count past the log stops at its end";
}
