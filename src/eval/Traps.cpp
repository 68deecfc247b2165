// Fixed patterns of trapped pieces: knights and bishops caught in a corner
// of the enemy camp, and a rook shut in by its own king.
#include "eval/PositionEvaluate.h"

namespace {

constexpr int TrappedKnight = 1219;
constexpr int TrappedBishop = 1600;
constexpr int ShutInRook = 1670;

constexpr u64 Sq(char file, int rank) { return u64(1) << ((rank - 1) * 8 + (file - 'a')); }

// One side's men and the enemy pawns, seen from that side: the patterns
// are written for White and Black's men are turned upside down first.
struct Men {
    u64 knights, bishops, rooks, king, pawns;
    u64 enemyPawns;
};

int TrappedMinors(const Men& m) {
    auto has = [&](u64 set, u64 sq) { return (set & sq) != 0; };
    u64 n = m.knights, p = m.enemyPawns;
    // Most positions have no minor piece on any of the squares below.
    constexpr u64 KnightTraps = Sq('h', 8) | Sq('h', 7) | Sq('g', 7) | Sq('a', 8) | Sq('a', 7) | Sq('b', 7);
    constexpr u64 BishopTraps = Sq('a', 7) | Sq('b', 8) | Sq('h', 7) | Sq('g', 8);
    if (!(n & KnightTraps) && !(m.bishops & BishopTraps)) return 0;
    int t = 0;
    if (has(n, Sq('h', 8)) && (has(p, Sq('h', 7)) || has(p, Sq('f', 7)))) t += TrappedKnight;
    if (has(n, Sq('h', 7)) && has(p, Sq('g', 7)) && (has(p, Sq('h', 6)) || has(p, Sq('f', 6)))) t += TrappedKnight;
    if (has(n, Sq('g', 7)) && has(p, Sq('h', 7)) && has(p, Sq('g', 6)) && has(p, Sq('f', 7))) t += TrappedKnight;
    if (has(n, Sq('a', 8)) && (has(p, Sq('a', 7)) || has(p, Sq('c', 7)))) t += TrappedKnight;
    if (has(n, Sq('a', 7)) && has(p, Sq('b', 7)) && (has(p, Sq('a', 6)) || has(p, Sq('c', 6)))) t += TrappedKnight;
    if (has(n, Sq('b', 7)) && has(p, Sq('a', 7)) && has(p, Sq('b', 6)) && has(p, Sq('c', 7))) t += TrappedKnight;
    if (has(m.bishops, Sq('a', 7) | Sq('b', 8)) && has(p, Sq('b', 6)) && has(p, Sq('c', 7))) t += TrappedBishop;
    if (has(m.bishops, Sq('h', 7) | Sq('g', 8)) && has(p, Sq('g', 6)) && has(p, Sq('f', 7))) t += TrappedBishop;
    return t;
}

// A rook in the corner behind its own uncastled king and pawns.
int ShutIn(const Men& m) {
    auto has = [&](u64 set, u64 squares) { return (set & squares) != 0; };
    if (has(m.king, Sq('f', 1) | Sq('g', 1)) && has(m.rooks, Sq('g', 1) | Sq('h', 1)) &&
        has(m.pawns, Sq('f', 2) | Sq('g', 2) | Sq('h', 2)))
        return ShutInRook;
    if (has(m.king, Sq('b', 1) | Sq('c', 1)) && has(m.rooks, Sq('a', 1) | Sq('b', 1)) &&
        has(m.pawns, Sq('a', 2) | Sq('b', 2) | Sq('c', 2)))
        return ShutInRook;
    return 0;
}

u64 Flip(u64 b) { return __builtin_bswap64(b); }

} // namespace

int PositionEvaluate::Traps(char) {
    const ChessBoard& b = *bb;
    Men white{b.WhiteKnights, b.WhiteBishops, b.WhiteRooks, b.WhiteKing, b.WhitePawns, b.BlackPawns};
    Men black{Flip(b.BlackKnights), Flip(b.BlackBishops), Flip(b.BlackRooks),
              Flip(b.BlackKing),    Flip(b.BlackPawns),   Flip(b.WhitePawns)};
    int t = TrappedMinors(black) - TrappedMinors(white);
    // Being shut in only matters while the enemy has a heavy piece to exploit it.
    if (b.BlackRookCount || b.BlackQueenCount) t -= ShutIn(white);
    if (b.WhiteRookCount || b.WhiteQueenCount) t += ShutIn(black);
    return t;
}
