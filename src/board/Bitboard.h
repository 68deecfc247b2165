// Square numbering, bit scans and counts shared by every subsystem.
//
// Squares are 0..63 = rank * 8 + file (a1 = 0, h1 = 7, a8 = 56, h8 = 63);
// a set of squares is a u64 with bit i standing for square i. A single
// square travels as a one-bit set; RightMostBit(b) - 1 is its index.
#pragma once

#include "core/Types.h"

// De Bruijn sequence and its index table for isolating the lowest bit.
constexpr u64 Somemagic = 0x03f79d71b4cb0a89ULL;
extern const int magictable[64];

// 1 + index of the lowest set bit (1..64); 1 for an empty set.
inline int RightMostBit(u64 b) { return magictable[((b & (0 - b)) * Somemagic) >> 58] + 1; }

// Index of the lowest set bit: RightMostBit(b) - 1, by the processor's bit scan.
inline int SquareOf(u64 b) { return b ? __builtin_ctzll(b) : 0; }

inline u64 SquareBit(int square) { return u64(1) << square; }

inline int PopCount(u64 b) { return __builtin_popcountll(b); }

// The same 1-based index as RightMostBit by a branching binary search; 0 gives 64.
int MybitScanForward(u64 b);
// Population count by clearing the lowest bit until the set is empty.
int SimpleBitCount(u64 b);
// Index of the highest set bit; -1 for an empty set.
int MyLog2(u64 b);

// Prints "1 " for a set bit, "- " otherwise.
void DisplayBit(int square, u64 b);
// Prints a set as an 8x8 diagram, rank 8 at the top, framed by file letters.
void Displaybits(u64 b);
