// Amounts and conditions the evaluation driver applies itself, between the
// calls of its terms. The breakdown of the evaluation retraces the driver
// and reads them here, so that both always agree.
#pragma once

#include "core/Geometry.h"

namespace evaldriver {

constexpr int PawnEndingBonus = 200; // a pawn grows towards 1000 as pieces leave
constexpr int FirstLazyMargin = 6000;
constexpr int SecondLazyMargin = 2000;
constexpr int BishopColourPawn = 50; // enemy pawn fixed on the bishop's colour
constexpr int CentreSquare = 30;     // per centre square a minor piece or rook attacks
constexpr int MatingMaterialBonus = 800;

inline int ForSide(char side, int whiteScore) { return side ? -whiteScore : whiteScore; }

// The blend of the middle-game and end-game sums by game phase (1..24).
inline int Taper(int phase, int middleGame, int endGame) { return (phase * endGame + (24 - phase) * middleGame) / 24; }

// A real attack on the king needs two pieces, and a queen or four pieces.
inline bool CanAttackKing(int nonPawns, int queens) { return nonPawns > 1 && (queens || nonPawns > 3); }

// Kings castled on opposite wings (files a-d against f-h): pawn storms count in full.
inline bool OppositeWings(int whiteKingFile, int blackKingFile) {
    return (whiteKingFile <= 3 && blackKingFile >= 5) || (blackKingFile <= 3 && whiteKingFile >= 5);
}

inline u64 SameColourSquares(u64 bishop) {
    return bishop & geometry::LightSquares ? geometry::LightSquares : geometry::DarkSquares;
}

} // namespace evaldriver
