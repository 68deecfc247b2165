// Transposition table storage, replacement and probing.
#include "search/TranspositionTables.h"

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <thread>

#include "core/Log.h"
#include "core/Platform.h"
#include "search/SearchConstants.h"

TranspositionTables PositionCache;

namespace {

constexpr size_t LargePage = size_t(2) << 20;

// Bits of the key's lower half that every table size takes for the bucket
// index (1 MiB holds 2^13 buckets): a slot keeps only the bits above them.
constexpr int IndexedBits = 13;
constexpr u64 LowerBitsKept = (u64(1) << (64 - IndexedBits)) - 1;
constexpr int MoveShift = 64 - IndexedBits;
constexpr int ValueBits = 20;

// A size in MiB becomes a bucket count at 96 bytes a bucket, the room three
// unpacked 32-byte entries take: each size keeps the count, and with it the
// search results, that it has always had, while the packed bucket takes 64.
constexpr size_t BucketBytesCounted = 96;

u64 LowerKept(u64 lower) { return lower >> IndexedBits; }
bool Live(const TTSlot& e) { return e.data >> TTFlagShift; }
bool SameKey(const TTSlot& e, u64 upper, u64 lower) {
    return e.upper == upper && (e.lowerAndMove & LowerBitsKept) == LowerKept(lower);
}
int MoveOf(const TTSlot& e) { return int(e.lowerAndMove >> MoveShift); }
int ValueOf(const TTSlot& e) { return i32(e.data << (32 - ValueBits)) >> (32 - ValueBits); }
int DepthOf(const TTSlot& e) { return i8(e.data >> 20); }
int TypeOf(const TTSlot& e) { return (e.data >> 28) & 3; }
int FlagOf(const TTSlot& e) { return int(e.data >> TTFlagShift) * 2; }
u32 FlagField(int flag) { return u32(flag / 2) << TTFlagShift; }
void SetFlag(TTSlot& e, int flag) { e.data = (e.data & ~TTFlagBits) | FlagField(flag); }

// The search scores a mate by its distance from the root; the table keeps it
// as the distance from the node that stores it, the same wherever the
// position is met again, and hands it back as a distance from the root of
// the node that probes it. Window bounds never pass through here.
int ToNodeDistance(int value, int ply) {
    if (value > MateScoreBound) return value + ply;
    if (value < -MateScoreBound) return value - ply;
    return value;
}
int ToRootDistance(int value, int ply) {
    if (value > MateScoreBound) return value - ply;
    if (value < -MateScoreBound) return value + ply;
    return value;
}

TTSlot Pack(u64 upper, u64 lower, int move, int value, int type, int flag, int depth) {
    assert(move >= 0 && move < 4096);
    assert(value >= -(1 << (ValueBits - 1)) && value < (1 << (ValueBits - 1)));
    const u32 data =
        (u32(value) & ((1u << ValueBits) - 1)) | u32(u8(depth)) << 20 | u32(type & 3) << 28 | FlagField(flag);
    return TTSlot{upper, LowerKept(lower) | u64(move) << MoveShift, data};
}

// The largest power-of-two bucket count whose buckets fit in the given number of MiB.
size_t BucketsFitting(int megabytes) {
    const size_t fit = (size_t(megabytes) << 20) / BucketBytesCounted;
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

} // namespace

// The kernel zeroes a page when it is first written. Done ahead, that work
// leaves the search; the contents stay zero either way. The work is cut into
// large pages that a thread of its own and any thread that must wait for the
// end (WaitUntilPopulated) take in turn, so that nothing waits for a thread
// the system does not run. One large page at a time: populating holds the
// memory-map lock, and the engine must not wait for the whole table when it
// maps memory of its own.
class PopulateJob {
public:
    PopulateJob(char* memory, size_t length)
        : start(memory), bytes(length), pages((length + LargePage - 1) / LargePage) {}

    // Populates the next page not yet taken; false when none is left.
    bool RunOne() {
        const size_t page = next.fetch_add(1);
        if (page >= pages) return false;
        const size_t offset = page * LargePage;
        Touch(start + offset, std::min(LargePage, bytes - offset));
        done.fetch_add(1);
        return true;
    }
    // Takes pages until none is left, then waits for those another thread is on;
    // gives up at the deadline (a ClockMs reading), leaving the rest to the thread.
    void Finish(i32 deadline) {
        while (ClockMs() < deadline && RunOne()) {}
        while (ClockMs() < deadline && done.load() < pages) std::this_thread::yield();
    }
    // Lets no thread take another page, and waits for the pages being populated.
    void Cancel() {
        const size_t taken = std::min(next.exchange(pages), pages);
        while (done.load() < taken) std::this_thread::yield();
    }
    bool Finished() const { return done.load() >= pages; }

private:
    static void Touch(char* p, size_t length) {
#ifdef MADV_POPULATE_WRITE
        if (madvise(p, length, MADV_POPULATE_WRITE) == 0 || errno != EINVAL) return;
#endif
        // Writing a zero into zeroed memory changes nothing but has the page made.
        for (size_t i = 0; i < length; i += 4096) reinterpret_cast<volatile char*>(p)[i] = 0;
    }

    char* const start;
    const size_t bytes, pages;
    std::atomic<size_t> next{0}, done{0};
};

TranspositionTables::TranspositionTables()
    : buckets(nullptr), indexMask(0), hits(0), misses(0), mappedBytes(0), clears(0), ages(0), populateWanted(false) {
    if (!Resize(TTDefaultMegabytes)) {
        std::printf("ERROR: cannot allocate the transposition table\n");
        std::exit(1);
    }
    OnFirstWait([] { PositionCache.Populate(); });
}

TranspositionTables::~TranspositionTables() {
    if (populating) populating->Cancel(); // the process may end while the thread works
    if (buckets) munmap(buckets, mappedBytes);
}

bool TranspositionTables::Resize(int megabytes) {
    if (megabytes < TTMinMegabytes || megabytes > TTMaxMegabytes) return false;
    const size_t count = BucketsFitting(megabytes);
    size_t mapped = 0;
    TTBucket* fresh = MapBuckets(count * sizeof(TTBucket), &mapped);
    if (!fresh) return false;
    if (populating) populating->Cancel();
    populating.reset();
    if (buckets) munmap(buckets, mappedBytes);
    buckets = fresh;
    mappedBytes = mapped;
    indexMask = count - 1;
    clears = ages = 0; // fresh memory: every stamp is 0
    if (populateWanted) Populate();
    return true;
}

void TranspositionTables::Populate() {
    populateWanted = true;
    if (populating) return;
    populating = std::make_shared<PopulateJob>(reinterpret_cast<char*>(buckets), mappedBytes);
    try {
        std::thread([job = populating] {
            while (job->RunOne()) {}
        }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the memory is populated when a front end waits for it, or as it is used.
    }
}

void TranspositionTables::WaitUntilPopulated(i32 maxMs) {
    Populate();
    populating->Finish(ClockMs() + maxMs);
}

bool TranspositionTables::Populated() const { return populating && populating->Finished(); }

TTEntry TranspositionTables::Entry(size_t bucket, int i) const {
    const TTSlot& e = buckets[bucket].slot[i];
    const u64 lower = (e.lowerAndMove & LowerBitsKept) << IndexedBits | (bucket & ((1u << IndexedBits) - 1));
    return TTEntry{e.upper, lower, MoveOf(e), ValueOf(e), u8(TypeOf(e)), u8(FlagOf(e)), i8(DepthOf(e))};
}

int TranspositionTables::HashFull() const {
    const size_t sample = BucketCount() < 1000 ? BucketCount() : 1000;
    size_t used = 0;
    for (size_t i = 0; i < sample; ++i)
        used += buckets[i].cleared == clears && buckets[i].aged == ages && Live(buckets[i].slot[0]);
    return int(used * 1000 / sample);
}

void TranspositionTables::ClearTranspositionTables() {
    WriteLogFile("Clearing Transposition Tables\n");
    // After 2^16 clears the stamps would come round again: empty the memory itself.
    if (++clears == 0) std::memset(static_cast<void*>(buckets), 0, BucketCount() * sizeof(TTBucket));
}

// Every user move ages the table: done bucket by bucket as they are used, it costs nothing here.
void TranspositionTables::AgeTranspositionTables() {
    if (++ages != 0) return;
    // After 2^16 agings the stamps would come round again: age every entry now.
    for (size_t i = 0; i < BucketCount(); ++i) {
        buckets[i].AgeEntries();
        buckets[i].aged = 0;
    }
}

void TranspositionTables::InsertTranspositionTables(u64 upper, u64 lower, int ply, int depth, short move, int value,
                                                    char type, int, int) {
    TTBucket& b = BucketOf(lower);
    value = ToNodeDistance(value, ply);

    TTSlot& e0 = b.slot[0];
    const bool mayReplace0 = !(DepthOf(e0) > depth && Live(e0));
    b.slot[2] = b.slot[1];
    if ((!Live(e0) || SameKey(e0, upper, lower)) && mayReplace0) {
        b.slot[1] = e0;
        e0 = Pack(upper, lower, move, value, type, 2, depth);
    } else {
        b.slot[1] = Pack(upper, lower, move, value, type, 4, depth);
    }
}

char TranspositionTables::SearchTranspositionTables(u64 upper, u64 lower, int ply, int depth, int alpha, int beta,
                                                    int* value, int* move) {
    TTBucket& b = BucketOf(lower);
    const int R = depth >= 6 ? 3 : 2;
    char result = NoHit;
    int bestDepth = -1;
    for (int i = 0; i < 3; ++i) {
        TTSlot& e = b.slot[i];
        if (!SameKey(e, upper, lower)) {
            if (i == 2) break;
            continue;
        }
        const int entryDepth = DepthOf(e);
        if (i == 0 || bestDepth < entryDepth) {
            *move = MoveOf(e);
            bestDepth = entryDepth;
        }
        if (!Live(e)) {
            if (i == 2) break;
            continue;
        }
        const int type = TypeOf(e), entryValue = ToRootDistance(ValueOf(e), ply);
        // An upper bound below beta from a search nearly as deep says a null move would not fail high.
        if (type == UpperBound && entryValue < beta) result = entryDepth >= depth - R ? NoHitNullFutile : NoHit;
        if (depth <= entryDepth) {
            char hit = -1;
            if (type == ExactScore) {
                *value = entryValue;
                hit = ExactHit;
            } else if (type == LowerBound && beta <= entryValue) {
                *value = beta;
                hit = FailHigh;
            } else if (type == UpperBound && entryValue <= alpha) {
                *value = alpha;
                hit = FailLow;
            }
            if (hit >= 0) {
                if (i == 0) SetFlag(e, 2);
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

int TranspositionTables::StoredMove(u64 upper, u64 lower) const {
    const TTBucket& b = buckets[lower & indexMask];
    if (b.cleared != clears) return 0; // emptied by a clear it has not met yet
    int move = 0, bestDepth = -1000;
    for (const TTSlot& e : b.slot)
        if (SameKey(e, upper, lower) && DepthOf(e) > bestDepth) {
            move = MoveOf(e);
            bestDepth = DepthOf(e);
        }
    return move;
}
