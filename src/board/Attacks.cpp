// Builds the step and ray tables at compile time and the slider lookup
// tables at start-up.
#include "board/Attacks.h"

#include "board/MagicNumbers.h"

namespace attacks {
namespace {

constexpr bool OnBoard(int file, int rank) { return file >= 0 && file < 8 && rank >= 0 && rank < 8; }

constexpr u64 Steps(int square, const int (&df)[8], const int (&dr)[8]) {
    u64 set = 0;
    for (int i = 0; i < 8; ++i) {
        int f = square % 8 + df[i], r = square / 8 + dr[i];
        if (OnBoard(f, r)) set |= u64(1) << (r * 8 + f);
    }
    return set;
}

constexpr Tables Build() {
    Tables t{};
    constexpr int knightF[8] = {1, 2, 2, 1, -1, -2, -2, -1};
    constexpr int knightR[8] = {2, 1, -1, -2, -2, -1, 1, 2};
    constexpr int kingF[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    constexpr int kingR[8] = {1, 1, 0, -1, -1, -1, 0, 1};
    // In the order of Direction.
    constexpr int rayF[8] = {0, 1, 1, -1, 0, -1, -1, 1};
    constexpr int rayR[8] = {1, 0, 1, 1, -1, 0, -1, -1};
    for (int sq = 0; sq < 64; ++sq) {
        t.knight[sq] = Steps(sq, knightF, knightR);
        t.king[sq] = Steps(sq, kingF, kingR);
        for (int d = 0; d < 8; ++d) {
            u64 ray = 0;
            for (int f = sq % 8 + rayF[d], r = sq / 8 + rayR[d]; OnBoard(f, r); f += rayF[d], r += rayR[d])
                ray |= u64(1) << (r * 8 + f);
            t.ray[d][sq] = ray;
        }
    }
    return t;
}

// A ray without its last square.
u64 Inner(Direction d, int square) {
    const u64 ray = tables.ray[d][square];
    if (!ray) return 0;
    return ray & ~(d < South ? u64(1) << (63 - __builtin_clzll(ray)) : ray & (0 - ray));
}

// Every square's table takes 2^blockers entries: 5248 for bishops, 102400 for rooks.
constexpr size_t StoreSize = 5248 + 102400;
u64 store[StoreSize];

// Fills the tables of one kind from the ray sets of every blocker subset.
u64* Fill(SliderTable (&table)[64], const u64 (&magics)[64], u64 (*blockers)(int), u64 (*byRays)(int, u64), u64* next) {
    for (int sq = 0; sq < 64; ++sq) {
        SliderTable& t = table[sq];
        t.blockers = blockers(sq);
        t.magic = magics[sq ^ 56];
        t.shift = unsigned(64 - PopCount(t.blockers));
        t.sets = next;
        u64 subset = 0;
        do {
            next[SliderIndex(t, subset)] = byRays(sq, subset);
            subset = (subset - t.blockers) & t.blockers;
        } while (subset);
        next += size_t(1) << PopCount(t.blockers);
    }
    return next;
}

// The squares between and the line through every pair on a common ray.
void FillLines() {
    for (int a = 0; a < 64; ++a) {
        for (int d = 0; d < 8; ++d) {
            const u64 ray = tables.ray[d][a];
            const u64 line = ray | tables.ray[(d + 4) % 8][a] | SquareBit(a); // direction d + 4 points back
            for (u64 set = ray; set; set &= set - 1) {
                const int b = __builtin_ctzll(set);
                BetweenTable[a][b] = ray & ~tables.ray[d][b] & ~SquareBit(b);
                LineTable[a][b] = line;
            }
        }
    }
}

// Runs before every other constructor of the program, so that any of them
// could already look up attacks. It reads only constant tables.
struct SliderTablesBuilder {
    SliderTablesBuilder() {
        u64* next = Fill(BishopTable, BishopMagics, BishopBlockers, BishopByRays, store);
        Fill(RookTable, RookMagics, RookBlockers, RookByRays, next);
        FillLines();
    }
};

} // namespace

constexpr Tables tables = Build();
SliderTable BishopTable[64];
SliderTable RookTable[64];
u64 BetweenTable[64][64];
u64 LineTable[64][64];

__attribute__((init_priority(101))) SliderTablesBuilder builder;

u64 BishopBlockers(int square) {
    return Inner(NorthEast, square) | Inner(NorthWest, square) | Inner(SouthWest, square) | Inner(SouthEast, square);
}

u64 RookBlockers(int square) {
    return Inner(North, square) | Inner(East, square) | Inner(South, square) | Inner(West, square);
}

} // namespace attacks
