// Material: the balance the search prunes with, and the corrections that
// depend on which pieces remain.
#include "eval/PositionEvaluate.h"

namespace {

constexpr int LoneBishopAgainstPawns = 750;
constexpr int LoneKnightAgainstPawns = 800;
// Doubled pawns hurt more when few heavy pieces remain to cover them.
constexpr int DoubledWithHeavies = 62, DoubledWithOneRook = 125, DoubledWithoutHeavies = 190;

int DoubledPenalty(int queens, int rooks, int doubled) {
    if (queens || rooks >= 2) return DoubledWithHeavies * doubled;
    return (rooks == 1 ? DoubledWithOneRook : DoubledWithoutHeavies) * doubled;
}

} // namespace

int PositionEvaluate::MaterialOnly(char side, const ChessBoard* b) const {
    int m = QueenValue * (b->WhiteQueenCount - b->BlackQueenCount) +
            RookValue * (b->WhiteRookCount - b->BlackRookCount) +
            BishopValue * (b->WhiteBishopCount + b->WhiteKnightCount - b->BlackBishopCount - b->BlackKnightCount) +
            PawnValue * (b->WhitePawnCount - b->BlackPawnCount);
    return side ? -m : m;
}

int PositionEvaluate::SideMaterialValue(char side, const ChessBoard* b) const {
    if (side)
        return RookValue * b->BlackRookCount + QueenValue * b->BlackQueenCount +
               BishopValue * (b->BlackBishopCount + b->BlackKnightCount);
    return RookValue * b->WhiteRookCount + QueenValue * b->WhiteQueenCount +
           BishopValue * (b->WhiteBishopCount + b->WhiteKnightCount);
}

int PositionEvaluate::DynamicPieceAdjustments() {
    const ChessBoard& b = *bb;
    int v = 0;
    // A lone minor piece cannot win against pawns; its material overstates it.
    if (b.WhiteBishopCount == 1 && !b.WhiteRookCount && !b.WhiteQueenCount && !b.WhiteKnightCount &&
        !b.WhitePawnCount && b.BlackPawnCount && !BlackNonPawnCount)
        v -= LoneBishopAgainstPawns;
    if (b.BlackBishopCount == 1 && !b.BlackRookCount && !b.BlackQueenCount && !b.BlackKnightCount &&
        !b.BlackPawnCount && b.WhitePawnCount && !WhiteNonPawnCount)
        v += LoneBishopAgainstPawns;
    if (b.WhiteKnightCount == 1 && !b.WhiteBishopCount && !b.WhiteRookCount && !b.WhiteQueenCount &&
        !b.WhitePawnCount && b.BlackPawnCount && !BlackNonPawnCount)
        v -= LoneKnightAgainstPawns;
    if (b.BlackKnightCount == 1 && !b.BlackBishopCount && !b.BlackRookCount && !b.BlackQueenCount &&
        !b.BlackPawnCount && b.WhitePawnCount && !WhiteNonPawnCount)
        v += LoneKnightAgainstPawns;

    v -= DoubledPenalty(b.WhiteQueenCount, b.WhiteRookCount, WhiteDoubledPawns);
    v += DoubledPenalty(b.BlackQueenCount, b.BlackRookCount, BlackDoubledPawns);
    return v;
}
