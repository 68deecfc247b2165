// Quiescence: captures and quiet promotions below the horizon, with stand
// pat and an exchange filter for captures of cheaper men by dearer ones.
#include "eval/PositionEvaluate.h"
#include "movegen/MoveGen.h"
#include "search/SEE.h"
#include "search/SearchRoutines.h"

namespace {

// Dearer than everything else together: an exchange never gives the king.
constexpr int KingValue = 1000000;

} // namespace

int SearchRoutines::ValueCapturedPiece(char side, u64 square, const ChessBoard* board) const {
    static constexpr int Values[] = {0, PawnValue, KnightValue, BishopValue, RookValue, QueenValue, KingValue};
    return Values[board->KindOn(side ^ 1, square) + 1]; // an empty square is worth nothing
}

int SearchRoutines::Quiesce(char side, int alpha, int beta, ChessBoard& position) {
    ++QNodes;
    --PollCountdown;
    if (position.CheckDraw(0)) return 0;

    const int standPat = PE.PosEval(side, alpha, beta, &position);
    if (standPat >= beta) return standPat;
    // Moves are made on a copy of its own, taken only here: most nodes end on the stand pat, and
    // a copy of a record MakeMove has just written is slow to read back.
    ChessBoard board = position;
    int best = standPat;
    if (standPat > alpha) alpha = standPat;

    MoveGen list;
    const int count = list.GenerateQuiesceMoves(side, &board);
    list.QuiesceAssignMoveOrderValues(count);
    if (count <= 0) return best;

    const char opponent = side ^ 1;
    for (int i = 0; i < count; ++i) {
        const auto [from, to, promote] = list.NextMove(i, count);
        // Captures and promotions come first; the first quiet move ends the node.
        if (board.IsEmptySquare(to) && promote == NoPromotion) return best;
        if (board.IsKing(opponent, to)) return beta;
        if (ValueCapturedPiece(side, to, &board) < ValueCapturedPiece(opponent, from, &board) &&
            see.StaticExchangeEvaluation(opponent, from, to, &board) < 0)
            continue;

        char castleMask;
        board.MakeMove(from, to, promote, &castleMask);
        PrefetchPawnHash(board.PawnKingHash); // the child evaluates first
        const u64 ownKing = side ? board.BlackKing : board.WhiteKing;
        if (!board.InCheck(ownKing, side)) {
            const int v = -Quiesce(opponent, -beta, -alpha, board);
            if (v > best) {
                best = v;
                if (v > alpha) alpha = v;
            }
        }
        board.UndoMove(0);
        if (best >= beta) return best;
    }
    return best;
}
