// Constant tables of the evaluation and the helpers that lay them out.
//
// Square tables are indexed a1 = 0 .. h8 = 63. In the source they are
// written as the board reads, rank 8 at the top; FromDiagram turns such a
// diagram into square order. A black table is the white one mirrored
// across the middle of the board: Black[s] = White[s ^ 56].
#pragma once

#include <array>

#include "board/Bitboard.h"

using SquareTable = std::array<int, 64>;

// Rank 8 comes first in a diagram, so diagram row r holds rank 8 - r.
constexpr SquareTable FromDiagram(const SquareTable& diagram) {
    SquareTable t{};
    for (int s = 0; s < 64; ++s) t[s] = diagram[s ^ 56];
    return t;
}

constexpr SquareTable Mirrored(const SquareTable& white) {
    SquareTable t{};
    for (int s = 0; s < 64; ++s) t[s] = white[s ^ 56];
    return t;
}

// Pawns (pawn structure).
extern const SquareTable WPawnSquare, BPawnSquare;
extern const int ProtectedPassers[8];
extern const int ConnectedPassers[8];
extern const int KingProximityPasserPenalty[8];
extern const int IsolatedPawn[8];

// Kings.
extern const SquareTable WKingSquare, BKingSquare, KingEnding;

// Minor pieces.
extern const SquareTable WKnightSquare, BKnightSquare, KnightEnding;
extern const SquareTable WBishopSquare, BBishopSquare, BishopEnding;

// Mobility by the number of safe squares.
extern const int KnightMobility[16];
extern const int BishopMobility[16];
extern const int RookMobility[16];
extern const int QueenMobility[32];
