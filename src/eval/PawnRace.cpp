// Pawn races in king-and-pawn endings: the rule of the square, and who
// wins when both sides queen.
#include "eval/EvalGeometry.h"
#include "eval/PositionEvaluate.h"

using evalgeo::Distance;

namespace {

constexpr int RaceWon = 5700;

// The passer of one colour that queens soonest among those the enemy king
// cannot catch: its steps to go and its promotion square, or steps -1.
struct Runner {
    int steps = -1;
    int square = 0;
};

} // namespace

bool PositionEvaluate::DoesPawnPromote(char colour, int rank, int promotionSquare, char side) {
    int moves = colour ? rank : 7 - rank;
    if (moves == 6) moves = 5; // the double step from the starting rank
    int d = Distance(promotionSquare, colour ? WhiteKingSquare : BlackKingSquare);
    return d > moves + 1 || (side == colour && d > moves);
}

bool PositionEvaluate::QueenAttacks(char, int square, u64 targets) {
    u64 q = SquareBit(square);
    return (bb->RookMask(q) | bb->BishopMask(q)) & targets;
}

int PositionEvaluate::RuleofSquare(char side) {
    if (WhiteNonPawnCount || BlackNonPawnCount) return 0;

    Runner white, black;
    for (int f = 0; f < 8; ++f) {
        if (int r = WhitePasserRank[f + 1];
            r && DoesPawnPromote(0, r, f + 56, side) && (white.steps < 0 || 7 - r < white.steps))
            white = {7 - r, f + 56};
        if (int r = BlackPasserRank[f + 1]; r && DoesPawnPromote(1, r, f, side) && (black.steps < 0 || r < black.steps))
            black = {r, f};
    }
    if (white.steps < 0) return black.steps < 0 ? 0 : -RaceWon;
    if (black.steps < 0) return RaceWon;
    if (white.steps != black.steps) return white.steps < black.steps ? RaceWon : -RaceWon;

    // Both queen on the same move: the first new queen may check the other
    // king, or win the other queen when it appears.
    u64 whiteKing = bb->WhiteKing, blackKing = bb->BlackKing;
    int pw = white.square, pb = black.square;
    if (side == 0) {
        if (QueenAttacks(0, pw, blackKing)) return Distance(BlackKingSquare, pb) <= 2 ? 0 : RaceWon;
        int v = QueenAttacks(0, pw, SquareBit(pb)) && Distance(BlackKingSquare, pb) >= 3 ? RaceWon : 0;
        if (!QueenAttacks(1, pb, whiteKing) || !QueenAttacks(1, pb, SquareBit(pw))) return v;
        return Distance(WhiteKingSquare, pw) <= 2 ? 0 : -RaceWon;
    }
    if (QueenAttacks(1, pb, whiteKing)) return Distance(WhiteKingSquare, pw) <= 2 ? 0 : -RaceWon;
    int v = QueenAttacks(1, pb, SquareBit(pw)) && Distance(WhiteKingSquare, pw) >= 3 ? -RaceWon : 0;
    if (!QueenAttacks(0, pw, blackKing) || !QueenAttacks(0, pw, SquareBit(pb))) return v;
    return Distance(BlackKingSquare, pb) <= 2 ? 0 : RaceWon;
}
