// The slider lookups give exactly the ray-by-ray sets, on the lookup this
// build uses and on the multiply-and-shift one of portable builds.
#include <gtest/gtest.h>

#include <vector>

#include "board/Attacks.h"
#include "board/MagicNumbers.h"

namespace {

// Every subset of the set, the empty one first.
std::vector<u64> Subsets(u64 set) {
    std::vector<u64> all;
    u64 subset = 0;
    do {
        all.push_back(subset);
        subset = (subset - set) & set;
    } while (subset);
    return all;
}

} // namespace

TEST(SliderAttacks, LookupMatchesRaysForEveryBlockerSet) {
    u64 noise = 0x5851f42d4c957f2dULL; // men off the blocker squares must not matter
    for (int sq = 0; sq < 64; ++sq) {
        for (u64 occupied : Subsets(attacks::BishopBlockers(sq))) {
            noise = noise * 6364136223846793005ULL + 1442695040888963407ULL;
            const u64 board = occupied | (noise & ~attacks::BishopBlockers(sq));
            ASSERT_EQ(attacks::Bishop(sq, occupied), attacks::BishopByRays(sq, occupied)) << sq;
            ASSERT_EQ(attacks::Bishop(sq, board), attacks::BishopByRays(sq, board)) << sq;
        }
        for (u64 occupied : Subsets(attacks::RookBlockers(sq))) {
            noise = noise * 6364136223846793005ULL + 1442695040888963407ULL;
            const u64 board = occupied | (noise & ~attacks::RookBlockers(sq));
            ASSERT_EQ(attacks::Rook(sq, occupied), attacks::RookByRays(sq, occupied)) << sq;
            ASSERT_EQ(attacks::Rook(sq, board), attacks::RookByRays(sq, board)) << sq;
        }
    }
}

TEST(SliderAttacks, MagicNumbersSeparateDifferentSets) {
    for (bool bishop : {true, false}) {
        for (int sq = 0; sq < 64; ++sq) {
            const u64 blockers = bishop ? attacks::BishopBlockers(sq) : attacks::RookBlockers(sq);
            const u64 magic = (bishop ? BishopMagics : RookMagics)[sq ^ 56];
            const int bits = PopCount(blockers);
            std::vector<u64> table(size_t(1) << bits, ~u64(0)); // no attack set is the full board
            for (u64 occupied : Subsets(blockers)) {
                const u64 set = bishop ? attacks::BishopByRays(sq, occupied) : attacks::RookByRays(sq, occupied);
                u64& slot = table[(occupied * magic) >> (64 - bits)];
                ASSERT_TRUE(slot == ~u64(0) || slot == set) << (bishop ? "bishop " : "rook ") << sq;
                slot = set;
            }
        }
    }
}
