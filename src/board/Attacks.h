// Precomputed attack sets of single men. Sliders look their sets up by the
// men on the squares that can block them: PEXT gathers those bits where the
// processor has a fast one, a multiply-and-shift by a magic number does
// elsewhere. Either way the sets are exactly those of shifting ray by ray
// from the square (blockers included, no wrap-around at the a- and h-files).
#pragma once

#include <cstddef>

#include "board/Bitboard.h"

#if defined(__BMI2__) && !defined(__znver1__) && !defined(__znver2__) // microcoded PEXT is slow
#include <immintrin.h>
#define VELKOR_PEXT 1
#endif

namespace attacks {

// Ray directions: the first four step towards higher squares.
enum Direction { North, East, NorthEast, NorthWest, South, West, SouthWest, SouthEast };

struct Tables {
    u64 knight[64];
    u64 king[64];
    u64 ray[8][64]; // squares from (not including) the square to the board's edge
};

extern const Tables tables;

inline u64 Knight(int square) { return tables.knight[square]; }
inline u64 King(int square) { return tables.king[square]; }

// Squares on one ray up to and including the first occupied square.
inline u64 Ray(Direction d, int square, u64 occupied) {
    u64 ray = tables.ray[d][square];
    u64 blockers = ray & occupied;
    if (!blockers) return ray;
    int first = d < South ? __builtin_ctzll(blockers) : 63 - __builtin_clzll(blockers);
    return ray ^ tables.ray[d][first];
}

// Slider sets ray by ray: what the lookup tables are built from and checked against.
inline u64 BishopByRays(int square, u64 occupied) {
    return Ray(NorthEast, square, occupied) | Ray(NorthWest, square, occupied) | Ray(SouthWest, square, occupied) |
           Ray(SouthEast, square, occupied);
}

inline u64 RookByRays(int square, u64 occupied) {
    return Ray(North, square, occupied) | Ray(East, square, occupied) | Ray(South, square, occupied) |
           Ray(West, square, occupied);
}

// The squares whose men can block a slider on the square: its rays less
// the last square of each, which nothing stands behind.
u64 BishopBlockers(int square);
u64 RookBlockers(int square);

// One square's lookup: the blocker squares, the magic number and shift of
// the multiply-and-shift index, and its part of the shared attack store.
struct SliderTable {
    u64 blockers;
    u64 magic;
    const u64* sets;
    unsigned shift; // 64 - number of blocker squares
};

extern SliderTable BishopTable[64];
extern SliderTable RookTable[64];

inline size_t SliderIndex(const SliderTable& t, u64 occupied) {
#ifdef VELKOR_PEXT
    return size_t(_pext_u64(occupied, t.blockers));
#else
    return size_t(((occupied & t.blockers) * t.magic) >> t.shift);
#endif
}

inline u64 Bishop(int square, u64 occupied) {
    const SliderTable& t = BishopTable[square];
    return t.sets[SliderIndex(t, occupied)];
}

inline u64 Rook(int square, u64 occupied) {
    const SliderTable& t = RookTable[square];
    return t.sets[SliderIndex(t, occupied)];
}

inline u64 Queen(int square, u64 occupied) { return Bishop(square, occupied) | Rook(square, occupied); }

// For two squares on one rank, file or diagonal: the squares strictly
// between them, and the whole line through both. Empty for other pairs.
extern u64 BetweenTable[64][64];
extern u64 LineTable[64][64];
inline u64 Between(int a, int b) { return BetweenTable[a][b]; }
inline u64 Line(int a, int b) { return LineTable[a][b]; }

} // namespace attacks
