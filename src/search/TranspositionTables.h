// The transposition table: buckets of three entries indexed by the low
// bits of the lower key half (21 bits at the default size). Entry 0
// prefers deep and fresh results; entries 1 and 2 take what it refuses,
// older entries shifting down.
#pragma once

#include <cstddef>
#include <memory>

#include "board/Bitboard.h"

// Stored bound of an entry.
enum TTBound : u8 { UpperBound = 0, LowerBound = 1, ExactScore = 2 };

// Probe results.
enum TTProbe { FailLow = 0, FailHigh = 1, ExactHit = 2, NoHit = 3, NoHitNullFutile = 4 };

// One entry as it reads: the key, the move (fromIndex * 64 + toIndex, 0 =
// none), the score (a mate as its distance from the storing node), the bound, the
// flag (0 empty or aged; 2 written to entry 0; 4 written to entry 1) and the
// remaining depth of the search that stored it.
struct TTEntry {
    u64 upper, lower;
    i32 move;
    i32 value;
    u8 type; // TTBound
    u8 flag;
    i8 depth;
};

// An entry as stored, in 20 bytes. The key's lower half keeps only the bits
// above the 13 that every table size indexes by (the bucket holds the rest);
// the move sits above them. `data`: value in bits 0-19, depth 20-27, bound
// 28-29, flag / 2 in 30-31.
struct __attribute__((packed)) TTSlot {
    u64 upper;
    u64 lowerAndMove;
    u32 data;
};
constexpr int TTFlagShift = 30;
constexpr u32 TTFlagBits = 3u << TTFlagShift;

// Three entries and the stamps of the bucket in one cache line: a probe
// costs one memory access.
struct alignas(64) TTBucket {
    TTSlot slot[3];
    u16 cleared; // the clear the bucket was last emptied by
    u16 aged;    // the aging it last had

    // Aged entries keep their moves but give no cut-offs.
    void AgeEntries() {
        for (TTSlot& e : slot) e.data &= ~TTFlagBits;
    }
};
static_assert(sizeof(TTBucket) == 64, "a bucket fills one cache line");

// Table sizes a front end may ask for, and the size at start-up.
constexpr int TTMinMegabytes = 1;
constexpr int TTMaxMegabytes = 4096;
constexpr int TTDefaultMegabytes = 192;

class PopulateJob;

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
    // Starts the zeroing of the table's memory on another core, once per
    // table (and for every later size). Called when the engine first waits
    // for input, when a batch job starts and when a search starts: the
    // first replies to a front end never wait for it, and searches seldom do.
    void Populate();
    // Populates the rest of the table on this thread too and returns once
    // all of it is in place, so that a search never waits for its memory;
    // or after maxMs, when the system is slow to give it (gigabytes that
    // the kernel must first gather into large pages), the rest following
    // on the other thread.
    void WaitUntilPopulated(i32 maxMs);
    bool Populated() const;
    // Per mille of a sample of first entries filled since the last aging.
    int HashFull() const;

    // Entry i (0..2) of a bucket, unpacked.
    TTEntry Entry(size_t bucket, int i) const;

    // Starts loading the bucket of a key that will be probed soon.
    void Prefetch(u64 lower) const { __builtin_prefetch(&buckets[lower & indexMask]); }
    // Empties every entry. A bucket is emptied when it is next used, so a
    // clear costs nothing however large the table.
    void ClearTranspositionTables();
    // Makes every entry unusable for cut-offs while keeping its move for ordering.
    void AgeTranspositionTables();
    // Mate scores come and go as the search keeps them, by the distance from the root: `ply` is
    // the node's. alpha and beta are not used.
    void InsertTranspositionTables(u64 upper, u64 lower, int ply, int depth, short move, int value, char type,
                                   int alpha, int beta);
    // Returns a TTProbe code; *move gets the stored move of any entry with the key. A fail-low or
    // fail-high gives alpha or beta as they were passed, an exact hit the stored score.
    char SearchTranspositionTables(u64 upper, u64 lower, int ply, int depth, int alpha, int beta, int* value,
                                   int* move);
    // The move of the deepest entry with the key, live or aged, without touching the table; 0 when none.
    int StoredMove(u64 upper, u64 lower) const;

private:
    size_t mappedBytes;                      // the whole mapping behind buckets
    u16 clears;                              // clears since the table was emptied: a bucket with another stamp is empty
    u16 ages;                                // agings since then: a bucket with another stamp has its entries aged
    bool populateWanted;                     // Populate has been called: later tables are populated at once
    std::shared_ptr<PopulateJob> populating; // the zeroing of this table's memory, once started

    // The bucket of a key, brought up to date with the clears and agings
    // it has missed (both are applied to a bucket only when it is used).
    TTBucket& BucketOf(u64 lower) {
        TTBucket& b = buckets[lower & indexMask];
        if (b.cleared != clears) {
            b = TTBucket{};
            b.cleared = clears;
            b.aged = ages;
        } else if (b.aged != ages) {
            b.AgeEntries();
            b.aged = ages;
        }
        return b;
    }
};

extern TranspositionTables PositionCache;
