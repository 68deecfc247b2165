// The slider lookups give exactly the ray-by-ray sets, on the lookup this
// build uses and on the multiply-and-shift one of portable builds.
#include <gtest/gtest.h>

#include <vector>

#include "board/Attacks.h"
#include "board/MagicNumbers.h"

TEST(SliderAttacks, LookupAndMagicNumbersMatchRaysForEveryBlockerSet) {
    u64 noise = 0x5851f42d4c957f2dULL; // men off the blocker squares must not matter
    for (bool bishop : {true, false})
        for (int sq = 0; sq < 64; ++sq) {
            const u64 blockers = bishop ? attacks::BishopBlockers(sq) : attacks::RookBlockers(sq);
            const u64 magic = (bishop ? BishopMagics : RookMagics)[sq ^ 56];
            const int bits = PopCount(blockers);
            std::vector<u64> table(size_t(1) << bits, ~u64(0)); // no attack set is the full board
            u64 occupied = 0;
            do { // every subset of the blockers
                noise = noise * 6364136223846793005ULL + 1442695040888963407ULL;
                auto rays = [&](u64 board) {
                    return bishop ? attacks::BishopByRays(sq, board) : attacks::RookByRays(sq, board);
                };
                for (u64 board : {occupied, occupied | (noise & ~blockers)})
                    ASSERT_EQ(bishop ? attacks::Bishop(sq, board) : attacks::Rook(sq, board), rays(board)) << sq;
                const u64 set = rays(occupied);
                u64& slot = table[(occupied * magic) >> (64 - bits)];
                ASSERT_TRUE(slot == ~u64(0) || slot == set) << "magic of " << bishop << sq;
                slot = set;
                occupied = (occupied - blockers) & blockers;
            } while (occupied);
        }
}
