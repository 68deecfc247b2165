// One iteration at the root: the book at depth 1, then every root move
// with the root's own late-move rule, keeping the root principal
// variation, the second-best score and the fail-low signal for the clock.
#include "core/Log.h"
#include "core/Status.h"
#include "eval/PositionEvaluate.h"
#include "movegen/MoveGen.h"
#include "search/SearchRoutines.h"

namespace {

Move FromCode(const PVEntry& e) { return {SquareBit(e.move / 64), SquareBit(e.move % 64), e.promote}; }

void LogLine(const char* format, int depth, const Move& m, int score, long long nodes) {
    char text[MoveTextSize];
    fillmovestring(text, 0, char(SquareOf(m.from)), char(SquareOf(m.to)), m.promote, Search.PV[0], Search.PVLength);
    LogF(format, depth, score, MainStatus.TimeLastPly, nodes, text);
}

} // namespace

int SearchRoutines::SearchTreeRoot(char side, ChessBoard board, int alpha, int beta, int depth, Move* bestMove,
                                   char castling) {
    const Status& s = MainStatus;
    const char opponent = side ^ 1;
    Observer->IterationStarted(depth);

    // Step 1. The book, once per search.
    if (s.BenchNumber == 0 && s.OwnBook == 1 && depth == 1) {
        if (Observer->ChooseBookMove(side, castling, board, bestMove)) {
            BookMove = 1;
            BookPly = s.GamePly;
            return 0;
        }
    }

    // Step 2. The moves, the last iteration's best first.
    Move saved = FromCode(PV[0][0]);
    LogF("Init Tree Root Search Choice From=%d  To=%d  Promo=%c\n", PV[0][0].move / 64, PV[0][0].move % 64,
         PV[0][0].promote);
    SecondBest = WorstScore;
    PE.PosEval(side, alpha, beta, &board);
    IterationDepth = depth;
    MoveGen list;
    const int count = list.GenerateAllMoves(side, &board, castling);
    RootMoveCount = count;
    const u64 enemyKing = side ? board.WhiteKing : board.BlackKing;
    list.AssignMoveOrderValues(count, 0, enemyKing, 0, PVNode);
    const int minorsAndMajors = board.QuickPieceCount(side);
    const bool hardStop = !s.FD && !s.Pondering; // whether Abort ends the iteration
    int best = WorstScore, legal = 0, v = WorstScore;

    // An interrupted iteration shows its best line; before any move finished, the last iteration's.
    auto interrupted = [&](Interruption how) {
        const bool found = best > WorstScore;
        Observer->IterationInterrupted(Report(found ? depth : depth - 1, found ? best : RootScore, saved), how, legal);
    };
    // An abort ends the iteration with the best move so far in the outputs.
    auto aborted = [&](Interruption how, int which, int i) {
        LogF("Tree Search #%d Interrupted at m=%d LegalMoves=%d NumMove=%d\n", which, i, legal, count);
        *bestMove = saved;
        char text[MoveTextSize];
        fillmovestring(text, 0, char(SquareOf(saved.from)), char(SquareOf(saved.to)), saved.promote, PV[0], PVLength);
        LogF("Tree Root Search Choice #%d From=%d  To=%d  Promo=%d\n", which, SquareOf(saved.from), SquareOf(saved.to),
             saved.promote);
        WriteLogFile(text);
        interrupted(how);
        return best > WorstScore ? best : v; // the driver keeps the last iteration's score when none finished
    };

    // Step 3. The move loop.
    for (int i = 0; i < count && best < beta; ++i) {
        if (TimeUp && !s.FD && !s.Pondering) { // a ponderhit may have ended the ponder search meanwhile
            LogF("Tree Root Search Interrupted at m=%d LegalMoves=%d NumMove=%d\n", i, legal, count);
            break;
        }
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

        // A check is searched a ply deeper; quiet moves late in the list a ply shallower.
        const bool givesCheck = board.InCheck(opponent ? board.BlackKing : board.WhiteKing, opponent);
        const int ext = givesCheck;
        const bool capture = (side ? board.WhitePieces : board.BlackPieces) != enemyMenBefore;
        const bool reducible = m.promote == NoPromotion && depth > 2 && legal >= LateMoveMinLegal && !givesCheck &&
                               !capture && list.OrderValue[i] <= LateMoveOrderValue && minorsAndMajors > 2;
        const Node child{opponent, char(castling & castleMask), depth - 1 + ext, 1, true, givesCheck, PVNode};
        if (!SearchRootMove(board, child, alpha, beta, legal == 1, reducible, hardStop, &v)) {
            board.UndoMove(0);
            return aborted(Interruption::InMove, 1, i);
        }
        board.UndoMove(0);
        if (Abort && hardStop) return aborted(Interruption::AfterMove, 2, i);
        if (Stop) break;

        // A new best move: the root line, and the signal that the score is falling.
        if (v > best) {
            SecondBest = best;
            saved = m;
            if (WorthExtending(depth, v)) FailingLow = 1;
            best = v;
            if (v > alpha) {
                ++BestMoveChanges;
                PV[0][0] = PVEntry{u16(MoveCode(m.from, m.to)), m.promote};
                int end = PV[1][0].move;
                if (end > PVSlots) end = PVSlots;
                PVLength = end;
                for (int k = 1; k < end; ++k) PV[0][k] = PV[1][k];
                if (depth > 7) LogLine("ply %d  v %d  TimeLastPly %d  TotalNodes %lld  %s", depth, m, v, TotalNodes());
                Observer->NewBestLine(Report(depth, v, m));
                alpha = v;
            }
        } else if (v > SecondBest) {
            SecondBest = v;
        }
    }

    // Step 4. The result: an interrupted iteration keeps the outputs as they were; no legal move
    // gives the mate, the stalemate, or the opponent's king in check.
    if ((Stop || TimeUp || Abort) && !s.Pondering) {
        interrupted(Interruption::BetweenMoves);
        if (Abort) return best;
    }
    if (!Stop && !TimeUp) {
        RootLegalMoves = legal;
        if (legal == 0) {
            const u64 ownKing = side ? board.BlackKing : board.WhiteKing;
            if (board.InCheck(ownKing, side))
                best = -MATE;
            else if (board.InCheck(enemyKing, opponent))
                best = MATE;
            else
                best = StalemateResult;
        }
    }
    *bestMove = saved;
    return best;
}

// Principal-variation search: the first move with the full window, the others with a null window
// (a late one a ply shallower first), searched again with the full one when they beat alpha. At
// depth 1 the move goes straight to quiescence. False when an abort cut the search short.
bool SearchRoutines::SearchRootMove(const ChessBoard& board, const Node& child, int alpha, int beta, bool first,
                                    bool reducible, bool hardStop, int* v) {
    auto search = [&](int a, int b, int depth, bool inCheck, NodeType type) {
        Node n = child;
        n.depth = depth;
        n.inCheck = inCheck;
        n.type = type;
        *v = -Search(a, b, board, n);
        return !(Abort && hardStop);
    };
    if (child.depth == 0) {
        ChessBoard position = board;
        *v = -Quiesce(child.side, -beta, -alpha, position);
        return true;
    }
    if (first) return search(-beta, -alpha, child.depth, child.inCheck, PVNode);
    if (reducible) {
        if (!search(-alpha - 1, -alpha, child.depth - 1, false, AllNode)) return false;
        if (*v <= alpha) return true;
    }
    if (!search(-alpha - 1, -alpha, child.depth, child.inCheck, AllNode)) return false;
    if (*v > alpha && *v < beta) return search(-beta, -alpha, child.depth, child.inCheck, PVNode);
    return true;
}

bool SearchRoutines::RootMoveAllowed(u64 from, u64 to) const {
    if (RootMoveFilterCount == 0) return true;
    const u16 code = u16(MoveCode(from, to));
    for (int i = 0; i < RootMoveFilterCount; ++i)
        if (RootMoveFilter[i] == code) return true;
    return false;
}
