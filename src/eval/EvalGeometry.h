// Square sets and distances the evaluation terms share, built at compile
// time so that no term depends on start-up order. Files, ranks and the
// centre come from the board geometry of the core.
#pragma once

#include <array>
#include <cstdlib>

#include "board/Bitboard.h"
#include "core/Geometry.h"

namespace evalgeo {

using SquareSets = std::array<u64, 64>;

using geometry::Centre;
using geometry::FileABits;
using geometry::FileMask;
using geometry::Rank1Bits;
using geometry::RankMask;

// The files on either side of file f (one for the a- and h-files).
inline constexpr std::array<u64, 8> AdjacentFiles = [] {
    std::array<u64, 8> t{};
    for (int f = 0; f < 8; ++f) t[f] = (f > 0 ? FileABits << (f - 1) : 0) | (f < 7 ? FileABits << (f + 1) : 0);
    return t;
}();

// Ranks 1 .. r+1: the squares on rank index r or lower.
inline constexpr std::array<u64, 8> RanksUpTo = [] {
    std::array<u64, 8> t{};
    u64 acc = 0;
    for (int r = 0; r < 8; ++r) t[r] = acc |= Rank1Bits << (8 * r);
    return t;
}();

// Squares of the same file above (towards rank 8) and below the square.
inline constexpr SquareSets AboveOnFile = [] {
    SquareSets t{};
    for (int s = 0; s < 64; ++s)
        for (int x = s + 8; x < 64; x += 8) t[s] |= u64(1) << x;
    return t;
}();

inline constexpr SquareSets BelowOnFile = [] {
    SquareSets t{};
    for (int s = 0; s < 64; ++s)
        for (int x = s - 8; x >= 0; x -= 8) t[s] |= u64(1) << x;
    return t;
}();

// A white pawn's span: the squares ahead of it on its own and the neighbouring files.
inline constexpr SquareSets WhiteSpan = [] {
    SquareSets t{};
    for (int s = 0; s < 64; ++s) {
        u64 files = (FileABits << (s & 7)) | AdjacentFiles[s & 7];
        t[s] = files & ~RanksUpTo[s >> 3];
    }
    return t;
}();

// A pawn's span for either colour: a black pawn's is the mirror of White's.
inline u64 PawnSpan(int side, int square) {
    return side ? __builtin_bswap64(WhiteSpan[square ^ 56]) : WhiteSpan[square];
}

// A one-square set, empty for an index off the board.
constexpr u64 SafeBit(int square) { return square >= 0 && square < 64 ? u64(1) << square : 0; }

// The set seen from the other side of the board: rank r becomes rank 7 - r.
inline u64 Flip(u64 b) { return __builtin_bswap64(b); }

// Every square of every file that holds a member of b.
constexpr u64 FileFill(u64 b) {
    b |= b << 8;
    b |= b << 16;
    b |= b << 32;
    b |= b >> 8;
    b |= b >> 16;
    b |= b >> 32;
    return b;
}

// King distance: the larger of the file and the rank difference.
inline constexpr std::array<std::array<u8, 64>, 64> KingDistance = [] {
    std::array<std::array<u8, 64>, 64> t{};
    for (int a = 0; a < 64; ++a)
        for (int b = 0; b < 64; ++b) {
            int df = (a & 7) - (b & 7), dr = (a >> 3) - (b >> 3);
            df = df < 0 ? -df : df;
            dr = dr < 0 ? -dr : dr;
            t[a][b] = u8(df > dr ? df : dr);
        }
    return t;
}();

inline int Distance(int a, int b) { return KingDistance[a][b]; }

// The three files next to a king on file f: f-1..f+1, or a-c and f-h at the edges.
inline u64 WingFiles(int kingFile) {
    int first = kingFile == 0 ? 0 : kingFile == 7 ? 5 : kingFile - 1;
    return FileMask[first] | FileMask[first + 1] | FileMask[first + 2];
}

} // namespace evalgeo
