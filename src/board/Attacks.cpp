// Builds the attack tables at compile time.
#include "board/Attacks.h"

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

} // namespace

constexpr Tables tables = Build();

} // namespace attacks
