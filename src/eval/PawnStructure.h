// The static pawn terms of one colour: what the pawn hash stores for both
// colours at once, and what the breakdown of the evaluation reads for each.
#pragma once

#include "board/Bitboard.h"

// Middle-game bonus per pawn on d4, e4, d5, e5.
constexpr int CentrePawn = 60;

// One colour's static terms, computed as if it were White.
struct PawnSide {
    int score = 0, passerScore = 0, middleGame = 0, endGame = 0, doubled = 0;
    u8 passerRank[8] = {}; // by file, 0 = none
    u8 passerCount = 0;
};

// The static pawn terms of the pawns `own` against `enemy`, both seen from
// the owner's side (own pawns move towards rank 8).
PawnSide ScorePawns(u64 own, u64 enemy, int ownKing);
