// Finds the multipliers of the slider attack tables for processors without
// PEXT and prints them as src/board/MagicNumbers.cpp lays them out (rank 8
// first). Each square gets the smallest table PEXT would give it, 2^bits
// entries for bits relevant blockers, so both ways share one layout.
// Built by "cmake --build build --target velkor_findmagics".
#include <cstdio>
#include <vector>

#include "board/Attacks.h"

namespace {

u64 state = 0x9e3779b97f4a7c15ULL; // fixed: the same numbers on every run

u64 Random() {
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    return state * 0x2545f4914f6cdd1dULL;
}

// Few set bits make good multipliers.
u64 SparseRandom() { return Random() & Random() & Random(); }

u64 FindMagic(int square, bool bishop) {
    const u64 mask = bishop ? attacks::BishopBlockers(square) : attacks::RookBlockers(square);
    const int bits = PopCount(mask);
    std::vector<u64> occupancy, reference;
    u64 subset = 0;
    do { // every subset of the mask
        occupancy.push_back(subset);
        reference.push_back(bishop ? attacks::BishopByRays(square, subset) : attacks::RookByRays(square, subset));
        subset = (subset - mask) & mask;
    } while (subset);
    std::vector<u64> table(size_t(1) << bits);
    std::vector<int> used(size_t(1) << bits);
    for (int attempt = 1;; ++attempt) {
        const u64 magic = SparseRandom();
        if (PopCount((mask * magic) >> 56) < 6) continue;
        bool fits = true;
        for (size_t i = 0; i < occupancy.size() && fits; ++i) {
            const size_t index = (occupancy[i] * magic) >> (64 - bits);
            if (used[index] != attempt) {
                used[index] = attempt;
                table[index] = reference[i];
            } else if (table[index] != reference[i]) {
                fits = false;
            }
        }
        if (fits) return magic;
    }
}

void Print(const char* name, bool bishop) {
    std::printf("const u64 %s[64] = {\n", name);
    for (int rank = 7; rank >= 0; --rank) {
        std::printf("   ");
        for (int file = 0; file < 8; ++file)
            std::printf(" 0x%016llxULL,", (unsigned long long)FindMagic(rank * 8 + file, bishop));
        std::printf("\n");
    }
    std::printf("};\n");
}

} // namespace

int main() {
    Print("RookMagics", false);
    Print("BishopMagics", true);
}
