// Draws decided from the board alone: material, fifty moves, wrong bishop.
#include <algorithm>
#include <cstdlib>

#include "board/ChessBoard.h"
#include "core/Status.h"

namespace {

bool LacksMatingMaterial(int queens, int rooks, int pawns, int bishops, int knights) {
    if (queens || rooks || pawns) return false;
    return (bishops == 0 && knights <= 2) || (bishops == 1 && knights == 0);
}

// A lone rook's pawn whose promotion square the bishop does not cover,
// with the defending king in front of it.
bool WrongBishop(u64 pawn, u64 bishop, u64 defendingKing, bool white) {
    const Status& s = MainStatus;
    if (white) {
        if ((pawn & s.FileH) && (bishop & s.LightSquares) &&
            (defendingKing & (s.SquareH8 | s.SquareG8 | s.SquareG7 | s.SquareH7)))
            return true;
        return (pawn & s.FileA) && (bishop & s.DarkSquares) &&
               (defendingKing & (s.SquareA8 | s.SquareB8 | s.SquareB7 | s.SquareA7));
    }
    if ((pawn & s.FileH) && (bishop & s.DarkSquares) &&
        (defendingKing & (s.SquareH1 | s.SquareG1 | s.SquareG2 | s.SquareH2)))
        return true;
    return (pawn & s.FileA) && (bishop & s.LightSquares) &&
           (defendingKing & (s.SquareA1 | s.SquareB1 | s.SquareB2 | s.SquareA2));
}

} // namespace

int ChessBoard::CheckDraw(char) {
    bool whiteLacks =
        LacksMatingMaterial(WhiteQueenCount, WhiteRookCount, WhitePawnCount, WhiteBishopCount, WhiteKnightCount);
    bool blackLacks =
        LacksMatingMaterial(BlackQueenCount, BlackRookCount, BlackPawnCount, BlackBishopCount, BlackKnightCount);
    MatingMaterial = 0x21;
    if (whiteLacks) MatingMaterial = 0x20;
    if (blackLacks) MatingMaterial ^= 0x20;

    if (whiteLacks && blackLacks) {
        if (!((WhiteKing | BlackKing) & MainStatus.Corners)) return 8;
        // A king in the corner can still be mated when the other king stands two squares off.
        int w = SquareOf(WhiteKing), b = SquareOf(BlackKing);
        int distance = std::max(std::abs(w % 8 - b % 8), std::abs(w / 8 - b / 8));
        if (distance != 2) return 8;
    }

    if (FiftyMoveCount > 99) return 7;

    if (WhitePawnCount == 1 && BlackPawnCount == 0 && !WhiteRookCount && !WhiteQueenCount && !WhiteKnightCount &&
        BlackPieceCount == 0 && WhiteBishopCount == 1 && WrongBishop(WhitePawns, WhiteBishops, BlackKing, true))
        return 8;
    if (WhitePawnCount == 0 && BlackPawnCount == 1 && !BlackRookCount && !BlackQueenCount && !BlackKnightCount &&
        WhitePieceCount == 0 && BlackBishopCount == 1 && WrongBishop(BlackPawns, BlackBishops, WhiteKing, false))
        return 8;
    return 0;
}

bool ChessBoard::Test50MoveRule(char fromIndex, char toIndex) {
    u64 from = SquareBit(fromIndex & 63), to = SquareBit(toIndex & 63);
    if (((WhitePawns | BlackPawns) & from) || (AllPieces & to)) {
        FiftyMoveCount = 0;
        return false;
    }
    return ++FiftyMoveCount > 99;
}
