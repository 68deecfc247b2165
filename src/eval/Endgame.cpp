// Material patterns that override or scale the evaluation: balanced
// endings without pawns, rook against a minor piece, a lone extra minor
// piece against pawns, and bishops of opposite colours.
#include "core/Status.h"
#include "eval/EvalTables.h"
#include "eval/PositionEvaluate.h"

namespace {

constexpr int ExtraMinorAgainstPawns = 1100;

} // namespace

int PositionEvaluate::DrawishEnding(char side) {
    const ChessBoard& b = *bb;
    if (b.WhitePawnCount || b.BlackPawnCount) return 0;
    return WhiteNonPawnCount + BlackNonPawnCount == 2 ? TwoPieceEndings(side) : 0;
}

int PositionEvaluate::TwoPieceEndings(char) {
    const ChessBoard& b = *bb;
    bool blackMinor = b.BlackKnightCount == 1 || b.BlackBishopCount == 1;
    bool whiteMinor = b.WhiteKnightCount == 1 || b.WhiteBishopCount == 1;
    return (b.WhiteRookCount == 1 && blackMinor) || (b.BlackRookCount == 1 && whiteMinor);
}

// Without pawns, equal material is a draw and one minor piece more is not
// enough to win: both are settled by the kings' placement and a fraction
// of the material.
bool PositionEvaluate::PawnlessEnding(char side, int material, int* score) {
    const ChessBoard& b = *bb;
    if (b.WhiteRookCount != b.BlackRookCount || b.WhiteQueenCount != b.BlackQueenCount) return false;
    int own = side ? BlackKingSquare : WhiteKingSquare, other = side ? WhiteKingSquare : BlackKingSquare;
    int kings = KingEnding[own] - KingEnding[other];
    int minorsW = b.WhiteBishopCount + b.WhiteKnightCount, minorsB = b.BlackBishopCount + b.BlackKnightCount;
    if (minorsW == minorsB) {
        *score = kings;
        return true;
    }
    bool bishopsAgainstKnight = (b.WhiteBishopCount == 2 && b.BlackBishopCount == 0 && b.BlackKnightCount == 1) ||
                                (b.BlackBishopCount == 2 && b.WhiteBishopCount == 0 && b.WhiteKnightCount == 1);
    if ((minorsW - minorsB == 1 || minorsB - minorsW == 1) && !bishopsAgainstKnight) {
        *score = kings + 3 * (side ? -material : material) / 4;
        return true;
    }
    return false;
}

int PositionEvaluate::ScaleEnding(int score, int material) {
    const ChessBoard& b = *bb;
    int minorsW = b.WhiteBishopCount + b.WhiteKnightCount, minorsB = b.BlackBishopCount + b.BlackKnightCount;
    bool sameHeavies = b.WhiteQueenCount == b.BlackQueenCount && b.WhiteRookCount == b.BlackRookCount;

    // A minor piece more, but no pawns to promote, against pawns.
    if (sameHeavies && b.WhitePawnCount && !b.BlackPawnCount && minorsW + 1 == minorsB) score += ExtraMinorAgainstPawns;
    if (sameHeavies && b.BlackPawnCount && !b.WhitePawnCount && minorsW == minorsB + 1) score -= ExtraMinorAgainstPawns;

    // Bishops of opposite colours: only a quarter of the positional score survives.
    const Status& m = MainStatus;
    u64 pawns = b.WhitePawns | b.BlackPawns;
    int pawnDifference = b.WhitePawnCount - b.BlackPawnCount;
    bool oppositeBishops = ((b.WhiteBishops & m.LightSquares) && (b.BlackBishops & m.DarkSquares)) ||
                           ((b.WhiteBishops & m.DarkSquares) && (b.BlackBishops & m.LightSquares));
    if (WhiteNonPawnCount == BlackNonPawnCount && material == 0 && b.WhiteBishopCount == 1 && b.BlackBishopCount == 1 &&
        !b.WhiteKnightCount && !b.BlackKnightCount && !b.WhiteQueenCount && !b.BlackQueenCount && !b.WhiteRookCount &&
        pawnDifference <= 3 && pawnDifference >= -3 && (pawns & ~(m.FileA | m.FileH)) && oppositeBishops)
        score -= 3 * (score - MaterialOnly(0, bb)) / 4;
    return score;
}
