// One iteration at the root: book probe, root move loop with its own late
// move rule, the root principal variation and the iteration's output.
#include <cstdio>

#include "core/Log.h"
#include "core/Status.h"
#include "eval/PositionEvaluate.h"
#include "frontend/OpeningBook.h"
#include "frontend/UCIProtocol.h"
#include "movegen/MoveGen.h"
#include "search/SearchRoutines.h"

namespace {

struct RootMove {
    u64 from, to;
    char promote;
};

RootMove FromCode(const PVEntry& e) { return {SquareBit(e.move / 64), SquareBit(e.move % 64), e.promote}; }

void MoveText(char* buffer, const RootMove& m) {
    fillmovestring(buffer, 0, char(SquareOf(m.from)), char(SquareOf(m.to)), m.promote, Search.PV[0], Search.PVLength);
}

long long TotalNodes() { return (long long)(Search.Nodes + Search.QNodes); }

// The xboard thinking line: depth, score, time, nodes and the line.
void PostLine(int depth, int score, const char* text) {
    printf("%d %d %d %lld %s", depth, score / 10, MainStatus.TimeLastPly, TotalNodes(), text);
    fflush(stdout);
}

} // namespace

int SearchRoutines::SearchTreeRoot(char side, ChessBoard board, int alpha, int beta, int depth, u64* bestFrom,
                                   u64* bestTo, char* bestPromote, char castling) {
    Status& s = MainStatus;
    const char opponent = side ^ 1;
    char text[MoveTextSize];

    if (s.UCImode) {
        printf("info depth %d\n", depth);
        fflush(stdout);
    }

    if (s.BenchNumber == 0 && s.OwnBook == 1 && depth == 1) {
        const int k = InBook(side, castling, MainBoard);
        if (k >= 0) {
            MoveGen list;
            list.GenerateAllMoves(side, &board, castling);
            list.GetMove(k, bestFrom, bestTo, bestPromote);
            BookMove = 1;
            BookPly = s.GamePly;
            return 0;
        }
    }

    RootMove saved = FromCode(PV[0][0]);
    LogF("Init Tree Root Search Choice From=%d  To=%d  Promo=%c\n", PV[0][0].move / 64, PV[0][0].move % 64,
         PV[0][0].promote);

    SecondBest = -110200;
    PE.PosEval(side, alpha, beta, &board);
    IterationDepth = depth;
    MoveGen list;
    const int count = list.GenerateAllMoves(side, &board, castling);
    RootMoveCount = count;
    const u64 enemyKing = side ? board.WhiteKing : board.BlackKing;
    list.AssignMoveOrderValues(count, 0, enemyKing, 0, 1);

    const int minorsAndMajors = board.WhiteQueenCount + board.WhiteRookCount + board.WhiteBishopCount +
                                board.WhiteKnightCount + board.BlackQueenCount + board.BlackRookCount +
                                board.BlackBishopCount + board.BlackKnightCount;
    const bool hardStop = !s.FD && !s.Pondering; // whether Abort ends the iteration
    int best = -110200, legal = 0, v = -110200;

    // An interrupted iteration shows its best score; before any move finished, the last iteration's.
    auto shownScore = [&]() { return best > -110200 ? best : RootScore; };
    // An abort ends the iteration with the best move so far in the outputs.
    auto interrupted = [&](int which, int i) {
        LogF("Tree Search #%d Interrupted at m=%d LegalMoves=%d NumMove=%d\n", which, i, legal, count);
        *bestFrom = saved.from;
        *bestTo = saved.to;
        *bestPromote = saved.promote;
        MoveText(text, saved);
        LogF("Tree Root Search Choice #%d From=%d  To=%d  Promo=%d\n", which, SquareOf(saved.from),
             SquareOf(saved.to), saved.promote);
        WriteLogFile(text);
        if (s.xboard && s.Post && (which == 2 || depth > 7)) PostLine(depth, shownScore(), text);
        if (s.UCImode && (which == 2 || depth > 7)) {
            printf("info depth %d score cp %d time %d nodes %lld pv%s", depth, shownScore() / 10, s.TimeLastPly * 1000,
                   TotalNodes(), text);
            if (which == 1) printf("info currmovenumber %d\n", legal);
        }
        fflush(stdout);
        return v;
    };

    for (int i = 0; i < count && best < beta; ++i) {
        if (TimeUp && !s.FD && !s.Pondering) {
            LogF("Tree Root Search Interrupted at m=%d LegalMoves=%d NumMove=%d\n", i, legal, count);
            break;
        }
        RootMovesSearched = i + 1;
        RootMove m;
        list.NextMove(i, count, &m.from, &m.to, &m.promote);
        if (s.UCImode && !UCI.RootMoveAllowed(m.from, m.to)) continue; // "go searchmoves"
        const u64 enemyMenBefore = side ? board.WhitePieces : board.BlackPieces;
        char castleMask;
        board.MakeMove(m.from, m.to, m.promote, &castleMask);
        if (board.InCheck(side ? board.BlackKing : board.WhiteKing, side)) {
            board.UndoMove(0);
            continue;
        }
        ++Nodes;
        ++legal;
        if (s.UCImode) {
            if (UCI.ShowCurrLine && depth > 8 && TotalNodes() > 3LL * s.NodesPerSecond) {
                const int f = SquareOf(m.from), t = SquareOf(m.to);
                printf("info currmove %c%d%c%d currmovenumber %d\n", 'a' + f % 8, f / 8 + 1, 'a' + t % 8, t / 8 + 1,
                       legal);
            }
            fflush(stdout);
        }
        const char givesCheck = board.InCheck(opponent ? board.BlackKing : board.WhiteKing, opponent);
        const int ext = givesCheck;
        const bool capture = (side ? board.WhitePieces : board.BlackPieces) != enemyMenBefore;
        const bool reducible = m.promote == NoPromotion && depth > 2 && legal > 2 && !givesCheck && !capture &&
                               list.OrderValue[i] <= 950 && minorsAndMajors > 2;
        const char childCastling = castling & castleMask;
        const int maxPly = board.MaxPly;

        if (depth + ext == 1) {
            v = -Quiesce(opponent, -beta, -alpha, board, 0, 0, 1);
        } else {
            bool fullDepthNeeded = true;
            if (legal == 1) {
                v = -Search(opponent, -beta, -alpha, board, depth - 1 + ext, 1, 1, childCastling, givesCheck, 1,
                            maxPly);
                fullDepthNeeded = false;
            } else if (reducible) {
                v = -Search(opponent, -alpha - 1, -alpha, board, depth - 2, 1, 1, childCastling, 0, 3, maxPly);
                if (Abort && hardStop) {
                    board.UndoMove(0);
                    return interrupted(1, i);
                }
                fullDepthNeeded = v > alpha;
            }
            if (fullDepthNeeded) {
                v = -Search(opponent, -alpha - 1, -alpha, board, depth - 1 + ext, 1, 1, childCastling, givesCheck, 3,
                            maxPly);
                if (Abort && hardStop) {
                    board.UndoMove(0);
                    return interrupted(1, i);
                }
                if (v > alpha && v < beta)
                    v = -Search(opponent, -beta, -alpha, board, depth - 1 + ext, 1, 1, childCastling, givesCheck, 1,
                                maxPly);
            }
            if (Abort && hardStop) {
                board.UndoMove(0);
                return interrupted(1, i);
            }
        }
        board.UndoMove(0);
        if (Abort && hardStop) return interrupted(2, i);
        if (Stop) break;

        if (v > best) {
            SecondBest = best;
            saved = m;
            if (depth > 9 && (s.MovesPerSession > 2 || s.MovesPerSession == 0) && v + 200 < RootScore &&
                s.TimeLeft / 4 >= s.TimeInc * 1000)
                FailingLow = 1;
            best = v;
            if (v > alpha) {
                ++BestMoveChanges;
                PV[0][0] = PVEntry{u16(MoveCode(m.from, m.to)), m.promote};
                int end = PV[1][0].move;
                if (end > PVSlots) end = PVSlots;
                PVLength = end;
                for (int k = 1; k < end; ++k) PV[0][k] = PV[1][k];
                MoveText(text, m);
                const int score = v / 10;
                if (depth > 7) {
                    LogF("ply %d  v %d  TimeLastPly %d  TotalNodes %lld  %s", depth, v, s.TimeLastPly, TotalNodes(),
                         text);
                    if (s.Post && s.xboard) PostLine(depth, v, text);
                }
                if (s.UCImode) {
                    printf("info depth %d score cp %d", depth, score);
                    if (s.Analyze) printf(" time %d", s.TimeLastPly * 1000);
                    printf(" nodes %lld pv%s", TotalNodes(), text);
                    fflush(stdout);
                }
                alpha = v;
            }
        } else if (v > SecondBest) {
            SecondBest = v;
        }
    }

    if ((Stop || TimeUp || Abort) && !s.Pondering) {
        MoveText(text, saved);
        if (s.Post && s.xboard) PostLine(depth, shownScore(), text);
        if (s.UCImode) {
            printf("info depth %d score cp %d nodes %lld pv%s", depth, shownScore() / 10, TotalNodes(), text);
            fflush(stdout);
        }
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
                best = 110001;
        }
    }
    *bestFrom = saved.from;
    *bestTo = saved.to;
    *bestPromote = saved.promote;
    return best;
}
