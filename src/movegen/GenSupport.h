// What the generators share: one side's men by kind, the append steps and
// the pawn directions of each side. Internal to move generation.
#pragma once

#include "core/Status.h"
#include "movegen/MoveGen.h"

struct ArmySets {
    u64 pawns, knights, bishops, rooks, queens, king, men;
};

inline ArmySets ArmyOf(const ChessBoard& b, char side) {
    if (side)
        return {b.BlackPawns, b.BlackKnights, b.BlackBishops, b.BlackRooks, b.BlackQueens, b.BlackKing, b.BlackPieces};
    return {b.WhitePawns, b.WhiteKnights, b.WhiteBishops, b.WhiteRooks, b.WhiteQueens, b.WhiteKing, b.WhitePieces};
}

inline u64 LowestSquare(u64 set) { return set & (0 - set); }

// A board set up from nonsense can hold more men than chess allows: the list keeps what fits.
inline int AppendMove(MoveGen& list, int index, u64 from, u64 to, char promote) {
    if (index >= MaxMoves) return index;
    list.From[index] = from;
    list.To[index] = to;
    list.Promote[index] = promote;
    return index + 1;
}

// One move from `from` to each square of `targets`, lowest first.
inline int AppendTargets(MoveGen& list, int index, u64 from, u64 targets) {
    for (; targets; targets &= targets - 1) index = AppendMove(list, index, from, LowestSquare(targets), NoPromotion);
    return index;
}

inline u64 KnightAttacks(const ChessBoard& b, u64 sq) { return b.KnightMask(sq); }
inline u64 BishopAttacks(const ChessBoard& b, u64 sq) { return b.BishopMask(sq); }
inline u64 RookAttacks(const ChessBoard& b, u64 sq) { return b.RookMask(sq); }
inline u64 QueenAttacks(const ChessBoard& b, u64 sq) { return b.BishopMask(sq) | b.RookMask(sq); }

// Every man of the set, lowest first, to each square it attacks in targets.
template <u64 (*Attacks)(const ChessBoard&, u64)>
int AppendMenMoves(MoveGen& list, int index, u64 men, u64 targets) {
    for (; men; men &= men - 1) {
        u64 from = LowestSquare(men);
        index = AppendTargets(list, index, from, Attacks(*list.Board, from) & targets);
    }
    return index;
}

// Pawn geometry of one side; black's is white's turned upside down.
struct PawnRanks {
    u64 start;      // double steps start here
    u64 last;       // promotion rank
    u64 enPassant;  // rank from which this side captures en passant
    u64 enemyStart; // the enemy's double steps start here
    char queen;     // promotion character
};

inline PawnRanks PawnRanksOf(char side) {
    const Status& s = MainStatus;
    if (side) return {s.Rank7, s.Rank1, s.Rank4, s.Rank2, 'q'};
    return {s.Rank2, s.Rank8, s.Rank5, s.Rank7, 'Q'};
}

// One rank forward for the side.
inline u64 Ahead(char side, u64 sq) { return side ? sq >> 8 : sq << 8; }
// Forward diagonals; the caller rules out the a-file or the h-file.
inline u64 AheadASide(char side, u64 sq) { return side ? sq >> 9 : sq << 7; }
inline u64 AheadHSide(char side, u64 sq) { return side ? sq >> 7 : sq << 9; }
// The promotion character of a pawn move onto `to`.
inline char PromotionOn(const PawnRanks& r, u64 to) { return (to & r.last) ? r.queen : NoPromotion; }
