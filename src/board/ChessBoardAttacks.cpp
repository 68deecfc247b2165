// Attack detection on the position record.
#include "board/ChessBoard.h"
#include "core/Status.h"

namespace {

// Union of the rays from the king whose first man is one of the attackers.
u64 CheckRays(const attacks::Direction (&dirs)[4], u64 kingSq, u64 attackers, u64 occupied) {
    if (!kingSq) return 0;
    int king = SquareOf(kingSq);
    u64 mask = 0;
    for (attacks::Direction d : dirs) {
        u64 ray = attacks::Ray(d, king, occupied);
        if (ray & attackers) mask |= ray;
    }
    return mask;
}

} // namespace

u64 ChessBoard::BishopCheckMask(u64 kingSq, u64 attackers) const {
    static constexpr attacks::Direction dirs[4] = {attacks::SouthEast, attacks::NorthEast, attacks::SouthWest,
                                                   attacks::NorthWest};
    return CheckRays(dirs, kingSq, attackers, AllPieces);
}

u64 ChessBoard::RookCheckMask(u64 kingSq, u64 attackers) const {
    static constexpr attacks::Direction dirs[4] = {attacks::South, attacks::North, attacks::West, attacks::East};
    return CheckRays(dirs, kingSq, attackers, AllPieces);
}

bool ChessBoard::IsAttacked(u64 sq, char side) const {
    const Status& s = MainStatus;
    u64 pawns, knights, diagonal, straight, king;
    if (side) {
        pawns = (((sq & ~s.FileH) >> 7) | ((sq & ~s.FileA) >> 9)) & WhitePawns;
        knights = WhiteKnights;
        diagonal = WhiteBishops | WhiteQueens;
        straight = WhiteRooks | WhiteQueens;
        king = WhiteKing;
    } else {
        pawns = (((sq & ~s.FileA) << 7) | ((sq & ~s.FileH) << 9)) & BlackPawns;
        knights = BlackKnights;
        diagonal = BlackBishops | BlackQueens;
        straight = BlackRooks | BlackQueens;
        king = BlackKing;
    }
    if (pawns) return true;
    for (u64 set = sq; set; set &= set - 1) {
        int square = SquareOf(set);
        if ((attacks::Knight(square) & knights) || (attacks::Bishop(square, AllPieces) & diagonal) ||
            (attacks::Rook(square, AllPieces) & straight) || (attacks::King(square) & king))
            return true;
    }
    return false;
}

int ChessBoard::RookAttackCount(u64 sq) const {
    u64 own = ((WhiteRooks | WhiteQueens) & sq) ? WhitePieces : BlackPieces;
    return PopCount(RookMask(sq) & ~own);
}

u64 ChessBoard::NorthAttacks(u64 sliders, u64 empty) {
    sliders |= empty & (sliders << 8);
    empty &= empty << 8;
    sliders |= empty & (sliders << 16);
    empty &= empty << 16;
    sliders |= empty & (sliders << 32);
    return sliders << 8;
}

u64 ChessBoard::SouthAttacks(u64 sliders, u64 empty) {
    sliders |= empty & (sliders >> 8);
    empty &= empty >> 8;
    sliders |= empty & (sliders >> 16);
    empty &= empty >> 16;
    sliders |= empty & (sliders >> 32);
    return sliders >> 8;
}
