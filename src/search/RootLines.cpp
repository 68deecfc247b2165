// The root of an iteration that keeps several best lines (MultiPV). One
// pass over the root moves: until LineCount lines are held each move is
// searched with the full window; after that the window's floor is the
// weakest line held, so a move is searched again with the full window above
// that floor only when it beats it. Every line held has an exact score.
#include "core/Log.h"
#include "core/Status.h"
#include "eval/PositionEvaluate.h"
#include "movegen/MoveGen.h"
#include "search/SearchRoutines.h"

namespace {

Move FromCode(const PVEntry& e) { return {SquareBit(e.move / 64), SquareBit(e.move % 64), e.promote}; }

// Puts the line among the held ones by its score, after those that score as much; the weakest
// drops out when there are more than `most`.
void Insert(RootLine* lines, int* held, int most, const RootLine& line) {
    int at = *held < most ? *held : most - 1;
    for (; at > 0 && lines[at - 1].score < line.score; --at) lines[at] = lines[at - 1];
    lines[at] = line;
    if (*held < most) ++*held;
}

} // namespace

void SearchRoutines::OrderPreviousLines(MoveGen& list, int count) const {
    for (int k = 0; k < LinesFound; ++k)
        for (int i = 0; i < count; ++i)
            if (MoveCode(list.From[i], list.To[i]) == Lines[k].line.moves[0].move)
                list.OrderValue[i] = PVMoveValue + LinesFound - k;
}

int SearchRoutines::SearchRootLines(char side, ChessBoard board, int depth, Move* bestMove, char castling) {
    const Status& s = MainStatus;
    const char opponent = side ^ 1;
    Observer->IterationStarted(depth);

    // The book, once per search, as with one line.
    if (s.BenchNumber == 0 && s.OwnBook == 1 && depth == 1 &&
        Observer->ChooseBookMove(side, castling, board, bestMove)) {
        BookMove = 1;
        BookPly = s.GamePly;
        return 0;
    }

    // The moves: the last iteration's lines first, in their order.
    const Move previous = FromCode(PV[0][0]);
    PE.PosEval(side, -MATE, MATE, &board);
    IterationDepth = depth;
    MoveGen list;
    const int count = list.GenerateAllMoves(side, &board, castling);
    RootMoveCount = count;
    const u64 enemyKing = side ? board.WhiteKing : board.BlackKing;
    list.AssignMoveOrderValues(count, 0, enemyKing, 0, PVNode);
    OrderPreviousLines(list, count);
    const int minorsAndMajors = board.QuickPieceCount(side);
    const int wanted = LineCount < MaxRootLines ? LineCount : MaxRootLines;
    const bool hardStop = !s.FD && !s.Pondering;
    static RootLine held[MaxRootLines]; // this iteration's lines, kept only when it finishes
    int found = 0, legal = 0, v = WorstScore;

    // An iteration cut short keeps the last one's lines and move.
    auto cutShort = [&](int i) {
        LogF("Tree Root Lines Interrupted at m=%d LegalMoves=%d NumMove=%d\n", i, legal, count);
        *bestMove = previous;
        return RootScore;
    };

    for (int i = 0; i < count; ++i) {
        if (TimeUp && !s.FD && !s.Pondering) return cutShort(i);
        RootMovesSearched = i + 1;
        const Move m = list.NextMove(i, count);
        if (!RootMoveAllowed(m.from, m.to)) continue;
        const u64 enemyMenBefore = side ? board.WhitePieces : board.BlackPieces;
        char castleMask;
        board.MakeMove(m.from, m.to, m.promote, &castleMask);
        if (board.InCheck(side ? board.BlackKing : board.WhiteKing, side)) {
            board.UndoMove(0);
            continue;
        }
        ++Nodes;
        ++legal;
        Observer->RootMoveStarted(depth, PVEntry{u16(MoveCode(m.from, m.to)), m.promote}, legal, TotalNodes());

        // Until the lines are all held, a move gets the full window; then the weakest line is the
        // floor, and late quiet moves are tried a ply shallower first, as with one line.
        const bool full = found == wanted;
        const int alpha = full ? held[wanted - 1].score : -MATE;
        const bool givesCheck = board.InCheck(opponent ? board.BlackKing : board.WhiteKing, opponent);
        const bool capture = (side ? board.WhitePieces : board.BlackPieces) != enemyMenBefore;
        const bool reducible = full && m.promote == NoPromotion && depth > 2 && legal >= LateMoveMinLegal + wanted &&
                               !givesCheck && !capture && list.OrderValue[i] <= LateMoveOrderValue &&
                               minorsAndMajors > 2;
        const Node child{opponent, char(castling & castleMask), depth - 1 + givesCheck, 1, true, givesCheck, PVNode};
        const bool done = SearchRootMove(board, child, alpha, MATE, !full, reducible, hardStop, &v);
        board.UndoMove(0);
        if (!done || (Abort && hardStop) || Stop) return cutShort(i);
        if (full && v <= alpha) continue;

        // A line: the move, then the continuation its child left (none from quiescence).
        RootLine line;
        line.score = v;
        line.line.moves[0] = PVEntry{u16(MoveCode(m.from, m.to)), m.promote};
        int end = child.depth == 0 ? 1 : PV[1][0].move;
        if (end > PVSlots) end = PVSlots;
        line.line.length = end > 1 ? end : 1;
        for (int k = 1; k < line.line.length; ++k) line.line.moves[k] = PV[1][k];
        Insert(held, &found, wanted, line);
    }

    // A finished iteration: its lines, the best one as the root's line, the clock's signals.
    RootLegalMoves = legal;
    if (legal == 0) {
        *bestMove = previous;
        LinesFound = 0;
        const u64 ownKing = side ? board.BlackKing : board.WhiteKing;
        if (board.InCheck(ownKing, side)) return -MATE;
        return board.InCheck(enemyKing, opponent) ? MATE : StalemateResult;
    }
    for (int k = 0; k < found; ++k) Lines[k] = held[k];
    LinesFound = found;
    const MoveLine& best = Lines[0].line;
    BestMoveChanges =
        previous.from != previous.to && best.moves[0].move == MoveCode(previous.from, previous.to) ? 0 : 1;
    for (int k = 0; k < best.length; ++k) PV[0][k] = best.moves[k];
    PVLength = best.length;
    *bestMove = FromCode(best.moves[0]);
    SecondBest = found > 1 ? Lines[1].score : WorstScore;
    if (WorthExtending(depth, Lines[0].score)) FailingLow = 1;
    return Lines[0].score;
}
