// The fixed square sets of the board, built at compile time: files, ranks,
// colours, corners and halves. Squares are 0..63 = rank * 8 + file (a1 = 0,
// h1 = 7, a8 = 56, h8 = 63); bit i of a set stands for square i.
#pragma once

#include <array>

#include "core/Types.h"

namespace geometry {

inline constexpr u64 FileABits = 0x0101010101010101ULL;
inline constexpr u64 Rank1Bits = 0xffULL;

inline constexpr std::array<u64, 8> FileMask = [] {
    std::array<u64, 8> t{};
    for (int f = 0; f < 8; ++f) t[f] = FileABits << f;
    return t;
}();

inline constexpr std::array<u64, 8> RankMask = [] {
    std::array<u64, 8> t{};
    for (int r = 0; r < 8; ++r) t[r] = Rank1Bits << (8 * r);
    return t;
}();

// One square by file letter and rank number: Square('e', 4).
constexpr u64 Square(char file, int rank) { return u64(1) << ((rank - 1) * 8 + (file - 'a')); }

inline constexpr u64 LightSquares = 0x55aa55aa55aa55aaULL; // h1 and a8 are light
inline constexpr u64 DarkSquares = ~LightSquares;
inline constexpr u64 Corners = Square('a', 1) | Square('h', 1) | Square('a', 8) | Square('h', 8);
inline constexpr u64 WhiteHalf = 0x00000000ffffffffULL; // ranks 1-4
inline constexpr u64 BlackHalf = ~WhiteHalf;
inline constexpr u64 Centre = Square('d', 4) | Square('e', 4) | Square('d', 5) | Square('e', 5);

} // namespace geometry
