// Transposition table storage, replacement and probing.
#include "search/TranspositionTables.h"

#include <sys/mman.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/Log.h"
#include "search/SearchConstants.h"

TranspositionTables PositionCache;

namespace {

inline bool Live(const TTEntry& e) { return i8(e.flag) > 0; }
inline bool SameKey(const TTEntry& e, u64 upper, u64 lower) { return e.upper == upper && e.lower == lower; }
inline TTBucket& BucketOf(TTBucket* buckets, u64 lower) { return buckets[u32(lower) & TTIndexMask]; }

} // namespace

TranspositionTables::TranspositionTables() {
    // Probes land anywhere in the table: large pages spare most of the TLB misses.
    constexpr size_t page = size_t(2) << 20;
    const size_t bytes = (size_t(TTBuckets) * sizeof(TTBucket) + page - 1) / page * page;
    buckets = static_cast<TTBucket*>(std::aligned_alloc(page, bytes));
    if (buckets) {
        madvise(buckets, bytes, MADV_HUGEPAGE);
        std::memset(static_cast<void*>(buckets), 0, bytes);
    }
    if (!buckets) {
        std::printf("ERROR: cannot allocate the transposition table\n");
        std::exit(1);
    }
    masks[0] = 3;
    for (int n = 6; n <= 28; ++n) masks[n - 5] = (u64(1) << n) - 1;
    masks[23] = 0xffffffffULL;
    hits = misses = 0;
}

void TranspositionTables::ClearTranspositionTables() {
    WriteLogFile("Clearing Transposition Tables\n");
    std::memset(static_cast<void*>(buckets), 0, size_t(TTBuckets) * sizeof(TTBucket));
}

void TranspositionTables::AgeTranspositionTables() {
    for (u32 i = 0; i < TTBuckets; ++i)
        for (TTEntry& e : buckets[i].entry) e.flag = 0;
}

void TranspositionTables::InsertTranspositionTables(u64 upper, u64 lower, char, int depth, short move, int value,
                                                    char type, int, int) {
    TTBucket& b = BucketOf(buckets, lower);
    // Mate scores are stored further from zero by the depth; the prober takes its ply off.
    if (value > MateStoreBound)
        value += depth;
    else if (value < -MateStoreBound)
        value -= depth;
    TTEntry fresh{upper, lower, i32(move), value, u8(type), 0, i8(depth)};

    TTEntry& e0 = b.entry[0];
    bool mayReplace0 = !(e0.depth > depth && Live(e0));
    if ((!Live(e0) || SameKey(e0, upper, lower)) && mayReplace0) {
        b.entry[2] = b.entry[1];
        b.entry[1] = e0;
        fresh.flag = 2;
        e0 = fresh;
    } else {
        b.entry[2] = b.entry[1];
        fresh.flag = 4;
        b.entry[1] = fresh;
    }
}

char TranspositionTables::SearchTranspositionTables(u64 upper, u64 lower, char, int depth, int alpha, int beta,
                                                    int* value, int* move) {
    TTBucket& b = BucketOf(buckets, lower);
    const int R = depth >= 6 ? 3 : 2;
    char result = NoHit;
    int bestDepth = -1;
    for (int i = 0; i < 3; ++i) {
        TTEntry& e = b.entry[i];
        if (!SameKey(e, upper, lower)) {
            if (i == 2) break;
            continue;
        }
        if (i == 0 || bestDepth < e.depth) {
            *move = e.move;
            bestDepth = e.depth;
        }
        if (!Live(e)) {
            if (i == 2) break;
            continue;
        }
        // An upper bound below beta from a search nearly as deep says a null move would not fail high.
        if (e.type == UpperBound && e.value < beta) result = e.depth >= depth - R ? NoHitNullFutile : NoHit;
        if (depth <= e.depth) {
            char hit = -1;
            if (e.type == ExactScore) {
                *value = e.value;
                hit = ExactHit;
            } else if (e.type == LowerBound && beta <= e.value) {
                *value = beta;
                hit = FailHigh;
            } else if (e.type == UpperBound && e.value <= alpha) {
                *value = alpha;
                hit = FailLow;
            }
            if (hit >= 0) {
                if (i == 0) e.flag = 2;
                ++hits;
                return hit;
            }
        }
        if (i == 2) {
            ++misses;
            return result;
        }
    }
    ++misses;
    return NoHit;
}

bool TranspositionTables::Resize(int) { return true; }

int TranspositionTables::HashFull() const {
    int used = 0;
    for (u32 i = 0; i < 1000; ++i) used += Live(buckets[i].entry[0]);
    return used;
}
