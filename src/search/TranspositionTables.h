// The transposition table: buckets of three entries indexed by the low 21
// bits of the lower key half. Entry 0 prefers deep and fresh results;
// entries 1 and 2 take what it refuses, older entries shifting down.
#pragma once

#include "board/Bitboard.h"

// Stored bound of an entry.
enum TTBound : u8 { UpperBound = 0, LowerBound = 1, ExactScore = 2 };

// Probe results.
enum TTProbe { FailLow = 0, FailHigh = 1, ExactHit = 2, NoHit = 3, NoHitNullFutile = 4 };

// The two 32-bit fields come first so that an entry packs into 32 bytes.
struct TTEntry {
    u64 upper, lower;
    i32 move;   // fromIndex * 64 + toIndex, 0 = none
    i32 value;  // score with mate scores pushed out by the depth
    u8 type;    // TTBound
    u8 flag;    // 0 empty or aged; 2 written to entry 0; 4 written to entry 1
    i8 depth;   // remaining depth of the search that stored it
};
static_assert(sizeof(TTEntry) == 32, "three entries per 96-byte bucket");

struct TTBucket {
    TTEntry entry[3];
};

constexpr u32 TTIndexMask = 0x1fffff;
constexpr u32 TTBuckets = TTIndexMask + 4; // 2^21 + 3

class TranspositionTables {
public:
    TTBucket* buckets;
    i32 hits;
    i32 misses;
    u64 masks[24];

    // Allocates the table once; ends the process if that fails.
    TranspositionTables();
    // Starts loading the bucket of a key that will be probed soon.
    void Prefetch(u64 lower) const {
        const char* bucket = reinterpret_cast<const char*>(&buckets[u32(lower) & TTIndexMask]);
        __builtin_prefetch(bucket);
        __builtin_prefetch(bucket + sizeof(TTBucket) - 1); // a bucket may straddle two cache lines
    }
    // Sets the size in MiB (placeholder until the table can be resized).
    bool Resize(int megabytes);
    // Per mille of the first thousand buckets' first entries in use.
    int HashFull() const;
    // Empties every entry.
    void ClearTranspositionTables();
    // Makes every entry unusable for cut-offs while keeping its move for ordering.
    void AgeTranspositionTables();
    void InsertTranspositionTables(u64 upper, u64 lower, char side, int depth, short move, int value, char type,
                                   int alpha, int beta);
    // Returns a TTProbe code; *move gets the stored move of any entry with the key.
    char SearchTranspositionTables(u64 upper, u64 lower, char side, int depth, int alpha, int beta, int* value,
                                   int* move);
};

extern TranspositionTables PositionCache;
