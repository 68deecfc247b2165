// Random key tables and the key functions.
#include "board/HashKeys.h"

#include <cstdlib>

#include "board/ChessBoard.h"

u64 UPStable[12 * 64];
u64 LPStable[12 * 64];
u64 CastleCode[16];
u64 WtoMove, BtoMove;
u64 UWCanEP[8], LWCanEP[8], UBCanEP[8], LBCanEP[8];
u32 UsedRandoms[2000];
int maxRandoms;
u64 PawnSquareMap[64];

// Seed of the generator; any fixed table with an odd word serves.
// clang-format off
const u32 RandomSeed[55] = {
    0x2ceaee21, 0xaa80754d, 0xb3c4904a, 0xbc69cf42, 0x377b2fd5,
    0x64d815de, 0xf66e100d, 0x1069e6a5, 0x7be90291, 0x68901baf,
    0xf2caa7c3, 0x5a55db21, 0x4c88c014, 0xa0c1ac9a, 0x9e5c77e7,
    0x37e83672, 0x960fde3f, 0xd4076a09, 0xf4a4cb6f, 0xf541557f,
    0x4285a9af, 0x8e4d95dd, 0x7b96dae0, 0xd9f321be, 0x7df64fcf,
    0xf6453aa7, 0x92191efb, 0xd9895985, 0x68518d38, 0xaa7d7e42,
    0xcf273511, 0x138c146f, 0x57100d0a, 0x2bb1b013, 0xd6e649d7,
    0xa7fdd0bb, 0xa95d2364, 0x3976bad3, 0x5bc5a782, 0x4bcdebb2,
    0xa6480378, 0x0653e779, 0xcbad05ba, 0xa433bde1, 0xd1c28862,
    0x8f217978, 0x860b0f2a, 0x4f09bc2d, 0x871aba07, 0xb551a6cc,
    0x661dc63e, 0x9a7f8d63, 0x6e7133fb, 0xdf97f5fd, 0xce07ea31,
};
// clang-format on

namespace {

struct LaggedFibonacci {
    u32 y[55];
    int j = 0, k = 0;
    bool init = true;
};
LaggedFibonacci generator;

u64 Random64() {
    u64 high = BetterRandom32();
    return (high << 32) | BetterRandom32();
}

} // namespace

u32 BetterRandom32() {
    LaggedFibonacci& g = generator;
    if (g.init) {
        g.init = false;
        for (int i = 0; i < 55; ++i) g.y[i] = RandomSeed[i];
        g.j = 23;
        g.k = 54;
    }
    u32 result = g.y[g.k] + g.y[g.j];
    g.y[g.k] = result;
    if (--g.j < 0) g.j = 54;
    if (--g.k < 0) g.k = 54;
    return result;
}

void initPStable() {
    maxRandoms = 0;
    for (u32& r : UsedRandoms) r = 0;
    for (int i = 0; i < 12 * 64; ++i) {
        UPStable[i] = Random64();
        LPStable[i] = Random64();
    }
    for (u64& c : CastleCode) c = Random64();
    BtoMove = Random64();
    WtoMove = Random64();
    for (int f = 0; f < 8; ++f) {
        UWCanEP[f] = Random64();
        LWCanEP[f] = Random64();
        UBCanEP[f] = Random64();
        LBCanEP[f] = Random64();
    }
}

void genpiecekey(const BoardState& b, u64* upper, u64* lower) {
    // The twelve piece sets in piece-code order.
    const u64 sets[12] = {b.WhitePawns, b.WhiteKnights, b.WhiteBishops, b.WhiteRooks, b.WhiteQueens, b.WhiteKing,
                          b.BlackPawns, b.BlackKnights, b.BlackBishops, b.BlackRooks, b.BlackQueens, b.BlackKing};
    u64 up = 0, low = 0;
    for (int code = 0; code < 12; ++code) {
        for (u64 set = sets[code]; set; set &= set - 1) {
            const int index = code * 64 + SquareOf(set);
            up ^= UPStable[index];
            low ^= LPStable[index];
        }
    }
    *upper = up;
    *lower = low;
}

namespace {

// What the side to move and the castling rights add to both key halves.
u64 SideAndCastling(char side, int castling) { return (side ? BtoMove : WtoMove) ^ CastleCode[castling & 15]; }

} // namespace

void genhashcode(char side, int castling, u64* upper, u64* lower, const ChessBoard* board) {
    u64 up, low;
    genpiecekey(*board, &up, &low);
    const u64 common = SideAndCastling(side, castling);
    *upper = up ^ common;
    *lower = low ^ common;
}

void PositionKey(char side, int castling, const BoardState& board, u64* upper, u64* lower) {
    const u64 common = SideAndCastling(side, castling);
    *upper = board.PieceKeyUpper ^ common;
    *lower = board.PieceKeyLower ^ common;
}

u64 PositionKeyLower(char side, int castling, const BoardState& board) {
    return board.PieceKeyLower ^ SideAndCastling(side, castling);
}

bool PieceKeyCurrent(const BoardState& board) {
    u64 upper, lower;
    genpiecekey(board, &upper, &lower);
    return upper == board.PieceKeyUpper && lower == board.PieceKeyLower;
}

void genpawnhashcode(char, const ChessBoard& board, u32* key) {
    u32 k = 0;
    for (u64 set = board.WhitePawns; set; set &= set - 1) k ^= u32(LPStable[SquareOf(set)]);
    for (u64 set = board.BlackPawns; set; set &= set - 1) k ^= u32(LPStable[6 * 64 + SquareOf(set)]);
    *key = k;
}

bool FindRandom(u32 value, int n) {
    for (int i = 0; i < n && i < 2000; ++i)
        if (UsedRandoms[i] == value) return true;
    return false;
}

u32 Random32() {
    u32 r;
    do r = u32(std::rand());
    while (r == 0);
    return r;
}

void initPawnSquareMap() {
    for (int i = 0; i < 64; ++i) PawnSquareMap[i] = SquareBit(i);
}

namespace {

// The piece code of a man of `side` on the square, -1 when it holds none.
int CodeOn(const BoardState& b, char side, u64 sq) {
    const int kind = b.KindOn(side, sq);
    return kind < 0 ? -1 : kind + (side ? BlackOffset : 0);
}

} // namespace

u64 PositionKeyLowerAfter(char side, int castling, const BoardState& board, u64 from, u64 to) {
    const int mover = CodeOn(board, side, from);
    if (mover < 0) return 0;
    const int fromSq = SquareOf(from), toSq = SquareOf(to);
    u64 lower = board.PieceKeyLower ^ LPStable[mover * 64 + fromSq] ^ LPStable[mover * 64 + toSq];
    const int victim = CodeOn(board, side ^ 1, to);
    if (victim >= 0) lower ^= LPStable[victim * 64 + toSq];
    return lower ^ SideAndCastling(side ^ 1, castling & CastlingKept(side, mover % BlackOffset, fromSq));
}
