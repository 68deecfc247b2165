// Static exchange evaluation: the material outcome of the capture sequence
// on one square, both sides recapturing with their cheapest man and free
// to stop. Pins, checks and king legality are ignored.
#pragma once

#include "board/ChessBoard.h"

class SEE {
public:
    const ChessBoard* board;
    // dir[a][b]: the index step from a towards b on a common line, else 0.
    i16 dir[64][64];

    SEE();
    // `side` owns the man on `to`; the result is for the capturing side.
    int StaticExchangeEvaluation(char side, u64 from, u64 to, const ChessBoard* b);
    // Every man of either colour that attacks the target square.
    u64 SquareAttacksDefences(u64 target) const;
    // Index of side's least valuable man in the set, -1 if none.
    int LVP(char side, u64 set) const;
    // Adds the first rook-, bishop- or queen-like man behind `square` along `dir`.
    u64 AddXrayAttacker(u64 attackers, int square, int direction) const;
};

extern SEE see;
