// Bit utilities and the text dump of a bitboard.
#include "board/Bitboard.h"

#include <cstdio>

// clang-format off
const int magictable[64] = {
     0,  1, 48,  2, 57, 49, 28,  3, 61, 58, 50, 42, 38, 29, 17,  4,
    62, 55, 59, 36, 53, 51, 43, 22, 45, 39, 33, 30, 24, 18, 12,  5,
    63, 47, 56, 27, 60, 41, 37, 16, 54, 35, 52, 21, 44, 32, 23, 11,
    46, 26, 40, 15, 34, 20, 31, 10, 25, 14, 19,  9, 13,  8,  7,  6,
};
// clang-format on

int MybitScanForward(u64 b) {
    if (b == 0) return 64;
    int index = 1;
    if ((b & 0xffffffffULL) == 0) {
        index += 32;
        b >>= 32;
    }
    if ((b & 0xffffULL) == 0) {
        index += 16;
        b >>= 16;
    }
    if ((b & 0xffULL) == 0) {
        index += 8;
        b >>= 8;
    }
    if ((b & 0xfULL) == 0) {
        index += 4;
        b >>= 4;
    }
    if ((b & 0x3ULL) == 0) {
        index += 2;
        b >>= 2;
    }
    if ((b & 0x1ULL) == 0) index += 1;
    return index;
}

int SimpleBitCount(u64 b) {
    int count = 0;
    while (b) {
        b &= b - 1;
        ++count;
    }
    return count;
}

int MyLog2(u64 b) {
    b |= b >> 1;
    b |= b >> 2;
    b |= b >> 4;
    b |= b >> 8;
    b |= b >> 16;
    b |= b >> 32;
    b = b - ((b >> 1) & 0x5555555555555555ULL);
    b = (b & 0x3333333333333333ULL) + ((b >> 2) & 0x3333333333333333ULL);
    b = (b + (b >> 4)) & 0x0f0f0f0f0f0f0f0fULL;
    return int((b * 0x0101010101010101ULL) >> 56) - 1;
}

void DisplayBit(int square, u64 b) { std::fputs((b >> square) & 1 ? "1 " : "- ", stdout); }

void Displaybits(u64 b) {
    std::fputs("   A B C D E F G H\n\n", stdout);
    for (int rank = 7; rank >= 0; --rank) {
        std::printf("%d  ", rank + 1);
        for (int file = 0; file < 8; ++file) DisplayBit(rank * 8 + file, b);
        std::printf(" %d\n", rank + 1);
    }
    std::fputs("\n   A B C D E F G H\n", stdout);
    std::fflush(stdout);
}
