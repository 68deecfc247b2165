// Precomputed attack sets of single men. They give exactly the sets that
// shifting ray by ray from the square would give (blockers included, no
// wrap-around at the a- and h-files), at the cost of a lookup.
#pragma once

#include "board/Bitboard.h"

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

inline u64 Bishop(int square, u64 occupied) {
    return Ray(NorthEast, square, occupied) | Ray(NorthWest, square, occupied) |
           Ray(SouthWest, square, occupied) | Ray(SouthEast, square, occupied);
}

inline u64 Rook(int square, u64 occupied) {
    return Ray(North, square, occupied) | Ray(East, square, occupied) | Ray(South, square, occupied) |
           Ray(West, square, occupied);
}

} // namespace attacks
