// The transposition table: buckets of three entries indexed by the low
// bits of the lower key half (21 bits at the default 192 MiB). Entry 0
// prefers deep and fresh results; entries 1 and 2 take what it refuses,
// older entries shifting down.
#pragma once

#include <cstddef>

#include "board/Bitboard.h"

// Stored bound of an entry.
enum TTBound : u8 { UpperBound = 0, LowerBound = 1, ExactScore = 2 };

// Probe results.
enum TTProbe { FailLow = 0, FailHigh = 1, ExactHit = 2, NoHit = 3, NoHitNullFutile = 4 };

// The two 32-bit fields come first so that an entry packs into 32 bytes:
//   0 upper | 8 lower | 16 move | 20 value | 24 type flag depth - | 28 stamp
struct TTEntry {
    u64 upper, lower;
    i32 move;   // fromIndex * 64 + toIndex, 0 = none
    i32 value;  // score with mate scores pushed out by the depth
    u8 type;    // TTBound
    u8 flag;    // 0 empty or aged; 2 written to entry 0; 4 written to entry 1
    i8 depth;   // remaining depth of the search that stored it
    u8 spare;
    u32 stamp;  // entry 0: the clear the bucket was last emptied by; entry 1: the aging it last had
};
static_assert(sizeof(TTEntry) == 32, "three entries per 96-byte bucket");

struct TTBucket {
    TTEntry entry[3];
};

// Table sizes a front end may ask for, and the size at start-up.
constexpr int TTMinMegabytes = 1;
constexpr int TTMaxMegabytes = 4096;
constexpr int TTDefaultMegabytes = 192;

class TranspositionTables {
public:
    TTBucket* buckets;
    u64 indexMask; // bucket count - 1
    i32 hits;
    i32 misses;

    // Allocates the default table; ends the process if that fails.
    TranspositionTables();
    ~TranspositionTables();
    TranspositionTables(const TranspositionTables&) = delete;
    TranspositionTables& operator=(const TranspositionTables&) = delete;

    // Replaces the table by an empty one of the largest power-of-two number
    // of buckets that fits in `megabytes` MiB (1..4096). False, with the old
    // table kept, when the size is out of range or the memory is refused.
    bool Resize(int megabytes);
    size_t BucketCount() const { return size_t(indexMask) + 1; }
    // Per mille of a sample of first entries filled since the last aging.
    int HashFull() const;

    // Starts loading the bucket of a key that will be probed soon.
    void Prefetch(u64 lower) const {
        const char* bucket = reinterpret_cast<const char*>(&buckets[lower & indexMask]);
        __builtin_prefetch(bucket);
        __builtin_prefetch(bucket + sizeof(TTBucket) - 1); // a bucket may straddle two cache lines
    }
    // Empties every entry. A bucket is emptied when it is next used, so a
    // clear costs nothing however large the table.
    void ClearTranspositionTables();
    // Makes every entry unusable for cut-offs while keeping its move for ordering.
    void AgeTranspositionTables();
    void InsertTranspositionTables(u64 upper, u64 lower, char side, int depth, short move, int value, char type,
                                   int alpha, int beta);
    // Returns a TTProbe code; *move gets the stored move of any entry with the key.
    char SearchTranspositionTables(u64 upper, u64 lower, char side, int depth, int alpha, int beta, int* value,
                                   int* move);

private:
    size_t mappedBytes; // the whole mapping behind buckets
    u32 clears;         // clears since the table was mapped: a bucket with another stamp is empty
    u32 ages;           // agings since then: a bucket with another stamp has its entries aged

    // The bucket of a key, brought up to date with the clears and agings
    // it has missed (both are applied to a bucket only when it is used).
    TTBucket& BucketOf(u64 lower) {
        TTBucket& b = buckets[lower & indexMask];
        if (b.entry[0].stamp != clears) {
            b = TTBucket{};
            b.entry[0].stamp = clears;
            b.entry[1].stamp = ages;
        } else if (b.entry[1].stamp != ages) {
            for (TTEntry& e : b.entry) e.flag = 0;
            b.entry[1].stamp = ages;
        }
        return b;
    }
};

extern TranspositionTables PositionCache;
