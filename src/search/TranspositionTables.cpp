// Transposition table storage, replacement and probing.
#include "search/TranspositionTables.h"

#include <pthread.h>
#include <sched.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "core/Log.h"
#include "search/SearchConstants.h"

TranspositionTables PositionCache;

namespace {

constexpr size_t LargePage = size_t(2) << 20;

inline bool Live(const TTEntry& e) { return i8(e.flag) > 0; }
inline bool SameKey(const TTEntry& e, u64 upper, u64 lower) { return e.upper == upper && e.lower == lower; }

// The largest power-of-two bucket count whose buckets fit in the given number of MiB.
size_t BucketsFitting(int megabytes) {
    const size_t fit = (size_t(megabytes) << 20) / sizeof(TTBucket);
    size_t count = 1;
    while (count * 2 <= fit) count *= 2;
    return count;
}

// Fresh anonymous memory, which the kernel hands over already zeroed and
// only as it is first touched, so a start-up costs nothing for the table.
// Aligned to a large page, since probes land anywhere in the table and
// large pages spare most of the TLB misses. Null when refused.
TTBucket* MapBuckets(size_t bytes, size_t* mapped) {
    const size_t length = (bytes + LargePage - 1) / LargePage * LargePage;
    void* p = mmap(nullptr, length + LargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return nullptr;
    const uintptr_t start = uintptr_t(p);
    const uintptr_t aligned = (start + LargePage - 1) & ~uintptr_t(LargePage - 1);
    if (aligned > start) munmap(p, aligned - start);
    const uintptr_t end = start + length + LargePage;
    if (end > aligned + length) munmap(reinterpret_cast<void*>(aligned + length), end - (aligned + length));
    madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
    *mapped = length;
    return reinterpret_cast<TTBucket*>(aligned);
}

// The kernel zeroes a page when it is first written. Done ahead, on another
// core, that work leaves the search; the contents stay zero either way. One
// large page at a time: populating holds the memory-map lock, and the main
// thread must not wait for the whole table when it maps memory of its own.
void PopulateInBackground(void* start, size_t bytes) {
#ifdef MADV_POPULATE_WRITE
    std::thread([start, bytes] {
        sched_param none{};
        pthread_setschedparam(pthread_self(), SCHED_IDLE, &none); // only on a core nothing else wants
        for (size_t done = 0; done < bytes; done += LargePage)
            madvise(static_cast<char*>(start) + done, std::min(LargePage, bytes - done), MADV_POPULATE_WRITE);
    }).detach();
#else
    (void)start, (void)bytes;
#endif
}

} // namespace

TranspositionTables::TranspositionTables()
    : buckets(nullptr), indexMask(0), hits(0), misses(0), mappedBytes(0), clears(0), ages(0) {
    if (!Resize(TTDefaultMegabytes)) {
        std::printf("ERROR: cannot allocate the transposition table\n");
        std::exit(1);
    }
}

TranspositionTables::~TranspositionTables() {
    if (buckets) munmap(buckets, mappedBytes);
}

bool TranspositionTables::Resize(int megabytes) {
    if (megabytes < TTMinMegabytes || megabytes > TTMaxMegabytes) return false;
    const size_t count = BucketsFitting(megabytes);
    size_t mapped = 0;
    TTBucket* fresh = MapBuckets(count * sizeof(TTBucket), &mapped);
    if (!fresh) return false;
    if (buckets) munmap(buckets, mappedBytes);
    buckets = fresh;
    mappedBytes = mapped;
    indexMask = count - 1;
    clears = ages = 0; // fresh memory: every stamp is 0
    PopulateInBackground(buckets, mappedBytes);
    return true;
}

int TranspositionTables::HashFull() const {
    const size_t sample = BucketCount() < 1000 ? BucketCount() : 1000;
    size_t used = 0;
    for (size_t i = 0; i < sample; ++i) {
        const TTEntry& e = buckets[i].entry[0];
        used += e.stamp == clears && buckets[i].entry[1].stamp == ages && Live(e);
    }
    return int(used * 1000 / sample);
}

void TranspositionTables::ClearTranspositionTables() {
    WriteLogFile("Clearing Transposition Tables\n");
    // After 2^32 clears the stamps would come round again: empty the memory itself.
    if (++clears == 0) std::memset(static_cast<void*>(buckets), 0, BucketCount() * sizeof(TTBucket));
}

// Every user move ages the table: done bucket by bucket as they are used, it costs nothing here.
void TranspositionTables::AgeTranspositionTables() {
    if (++ages != 0) return;
    // After 2^32 agings the stamps would come round again: age every entry now.
    for (size_t i = 0; i < BucketCount(); ++i) {
        for (TTEntry& e : buckets[i].entry)
            if (e.flag) e.flag = 0;
        buckets[i].entry[1].stamp = 0;
    }
}

void TranspositionTables::InsertTranspositionTables(u64 upper, u64 lower, char, int depth, short move, int value,
                                                    char type, int, int) {
    TTBucket& b = BucketOf(lower);
    // Mate scores are stored further from zero by the depth; the prober takes its ply off.
    if (value > MateStoreBound)
        value += depth;
    else if (value < -MateStoreBound)
        value -= depth;
    TTEntry fresh{upper, lower, i32(move), value, u8(type), 0, i8(depth), 0, clears};

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
    b.entry[1].stamp = ages; // the stamps stay in place while the entries move down
}

char TranspositionTables::SearchTranspositionTables(u64 upper, u64 lower, char, int depth, int alpha, int beta,
                                                    int* value, int* move) {
    TTBucket& b = BucketOf(lower);
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
