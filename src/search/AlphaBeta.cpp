// The alpha-beta node below the root: polling, repetition and draw tests,
// table probe, static cut-off, null move, internal deepening, extensions,
// late-move reductions, futility and principal-variation search.
#include <cstdio>

#include "board/HashKeys.h"
#include "core/Status.h"
#include "eval/EvalGeometry.h"
#include "eval/PositionEvaluate.h"
#include "movegen/MoveGen.h"
#include "search/MoveHistory.h"
#include "search/SearchRoutines.h"
#include "search/TranspositionTables.h"

namespace {

constexpr int WorstScore = -110200;
constexpr int MateBound = 109799;

int MateAdjusted(int value, int ply) {
    if (value > MateBound) return value - ply;
    if (value < -MateBound) return value + ply;
    return value;
}

void TraceCacheEvent(const char* what, int v, int alpha, int beta, u64 upper, u64 lower) {
    if (MainStatus.Trace != 1) return;
    printf("%s v=%d alpha=%d beta=%d\n", what, v, alpha, beta);
    printf("Upper HC %llu Lower HC %llu\n", (unsigned long long)upper, (unsigned long long)lower);
}

} // namespace

int SearchRoutines::Search(char side, int alpha, int beta, ChessBoard board, int depth, int ply, char NullAllowed,
                           char castling, char inCheck, char NodeType, int MaxPly) {
    Status& s = MainStatus;
    if (!s.FD && !s.BenchNumber && !Stop) {
        if (PollCountdown-- <= 0 && Poll(ply, depth)) return 0;
    }

    u64 upper, lower;
    genhashcode(side, castling, &upper, &lower, &board);
    PositionCache.Prefetch(lower);
    MoveList.InsertHashCodeMoveHistory(upper, lower);
    const char opponent = side ^ 1;
    const int alphaIn = alpha;

    // Horizon. Plies from 199 on always end here so that the ply-indexed tables suffice.
    if (((ply > MaxPly || depth <= 0) && !inCheck) || ply >= PVSlots - 1) {
        if (board.FiftyMoveCount > 2 && MoveList.ThreeFoldRepDetection(board.FiftyMoveCount, upper, lower)) {
            MoveList.RetractMove();
            return 0;
        }
        int value = 0, move = 0;
        char probe = PositionCache.SearchTranspositionTables(upper, lower, side, depth, alpha, beta, &value, &move);
        if (probe <= ExactHit) {
            ++CacheHits;
            MoveList.RetractMove();
            return MateAdjusted(value, ply);
        }
        const int v = Quiesce(side, alpha, beta, board, depth, 0, ply + 1);
        if (v >= beta)
            PositionCache.InsertTranspositionTables(upper, lower, side, depth, 0, v, LowerBound, alpha, beta);
        else if (v > alpha)
            PositionCache.InsertTranspositionTables(upper, lower, side, depth, 0, v, ExactScore, alpha, beta);
        else
            PositionCache.InsertTranspositionTables(upper, lower, side, depth, 0, alpha, UpperBound, alpha, beta);
        ++CacheHits;
        MoveList.RetractMove();
        return v;
    }

    if (ply > s.SelDepth) s.SelDepth = ply;
    if (board.CheckDraw(inCheck) || (board.FiftyMoveCount > 2 &&
                                     MoveList.ThreeFoldRepDetection(board.FiftyMoveCount, upper, lower) > 0)) {
        MoveList.RetractMove();
        return 0;
    }

    const bool notPV = NodeType != 1;
    int ttValue = 0, ttMove = 0;
    char probe = PositionCache.SearchTranspositionTables(upper, lower, side, depth, alpha, beta, &ttValue, &ttMove);
    bool pruningAllowed = true;
    char mateThreat = 0;
    if (probe <= ExactHit) {
        TraceCacheEvent("Position Cache Hit:", ttValue, alpha, beta, upper, lower);
        ttValue = MateAdjusted(ttValue, ply);
        if (NodeType == 1) {
            pruningAllowed = false; // a principal-variation node never cuts on the table
        } else {
            PV[ply][0].move = u16(ply);
            PV[ply][ply].move = u16(ttMove);
            MoveList.RetractMove();
            return ttValue;
        }
    }

    const u64 ownKing = side ? board.BlackKing : board.WhiteKing;
    const u64 enemyKing = side ? board.WhiteKing : board.BlackKing;

    if (pruningAllowed && notPV && NullAllowed && !inCheck && depth <= 3 && beta >= -109899 && beta <= 109899 &&
        (side ? board.BlackPieceCount > board.BlackPawnCount : board.WhitePieceCount > board.WhitePawnCount)) {
        static const int margin[4] = {0, 1100, 1925, 2700};
        const int e = PE.PosEval(side, alpha, beta, &board);
        if (depth >= 1 && e - margin[depth] >= beta) {
            MoveList.RetractMove();
            return e - margin[depth];
        }
    }

    if (pruningAllowed && probe != NoHitNullFutile && notPV && NullAllowed && !inCheck) {
        const int own = PE.SideMaterialValue(side, &board);
        if ((own > 9300 || depth <= 6) && PE.MaterialOnly(side, &board) + 2000 >= beta) {
            const int theirs = PE.SideMaterialValue(opponent, &board);
            int nullDepth = depth - 4;
            if (depth <= 5) ++nullDepth;
            if (own + theirs > 33000) --nullDepth;
            const int v = -Search(opponent, -beta, -beta + 1, board, nullDepth, ply + 2, 0, castling, 0, NodeType,
                                  MaxPly);
            if (Abort && !s.FD) {
                MoveList.RetractMove();
                return 0;
            }
            if (v >= beta) {
                PositionCache.InsertTranspositionTables(upper, lower, side, depth - 3, 0, v, LowerBound, alpha, beta);
                TraceCacheEvent("Position Cache Insert (NullM):", v, alpha, beta, upper, lower);
                PV[ply][0].move = 0;
                MoveList.RetractMove();
                return beta;
            }
            mateThreat = v < -109699;
        }
    }

    if (pruningAllowed && beta - alpha > 1 && notPV && depth > 3) {
        Search(side, alpha, beta, board, depth - 3, ply, 0, castling, inCheck, NodeType, MaxPly);
        if (Abort && !s.FD && !s.Pondering) {
            MoveList.RetractMove();
            return 0;
        }
        int unused;
        PositionCache.SearchTranspositionTables(upper, lower, side, depth, alpha, beta, &unused, &ttMove);
    }

    MoveGen list;
    char singleReply = 0;
    int count;
    if (inCheck) {
        count = list.GenCheckEvasions(side, &board);
        singleReply = count == 1;
    } else {
        count = list.GenerateAllMoves(side, &board, castling);
    }
    list.AssignMoveOrderValues(count, ply, enemyKing, ttMove, NodeType);

    int best = WorstScore, legal = 0;
    bool alphaRaised = false;
    char bestFutile = 0;
    if (count > 0 && beta >= -110199) {
        char childType = NodeType;
        const u64 enemyMenBefore = side ? board.WhitePieces : board.BlackPieces;
        const int ftIndex = s.GamePly + ply;
        for (int i = 0; i < count; ++i) {
            u64 from, to;
            char promote, castleMask;
            list.NextMove(i, count, &from, &to, &promote);
            const bool quietTarget = board.IsEmptySquare(to);
            board.MakeMove(from, to, promote, &castleMask);
            const int code = MoveCode(from, to);
            if (ftIndex >= 0 && ftIndex < 600) FTMoveList[ftIndex] = code;
            if (board.InCheck(side ? board.BlackKing : board.WhiteKing, side)) {
                board.UndoMove(0);
                if (best >= beta) break;
                continue;
            }
            ++legal;
            ++Nodes;
            const char givesCheck = board.InCheck(opponent ? board.BlackKing : board.WhiteKing, opponent);
            const bool capture = (side ? board.WhitePieces : board.BlackPieces) != enemyMenBefore;
            const int extensions = mateThreat + singleReply + givesCheck;
            const bool promotes = promote != NoPromotion;

            bool lateMove = legal > 2 && !promotes && depth > 2 && !givesCheck && ply != 1 && !mateThreat &&
                            !singleReply && !capture && list.OrderValue[i] <= 950;
            if (lateMove && board.IsPawn(side, to))
                lateMove = (evalgeo::PawnSpan(side, SquareOf(to)) & (side ? board.WhitePawns : board.BlackPawns)) != 0;

            const int ext = (childType == 1 || givesCheck) && extensions > 0 ? 1 : 0;
            int reduction = 0;
            char futile = 0;
            if (ext == 0) {
                if (lateMove && !inCheck)
                    reduction = depth == 3 ? 1 : 2;
                else if (!lateMove && depth == 2 && !inCheck && childType != 1 && !promotes && !capture)
                    futile = alpha > PE.MaterialOnly(side, &board) + 3440;
            }
            const int newDepth = depth - 1 + ext - futile - reduction;
            const char childCastling = castling & castleMask;

            int v;
            if (legal == 1 || notPV) {
                if (NodeType == 2)
                    childType = 3;
                else if (NodeType == 3)
                    childType = 2;
                if (newDepth > 0 || givesCheck)
                    v = -Search(opponent, -beta, -alpha, board, newDepth, ply + 1, 1, childCastling, givesCheck,
                                childType, MaxPly);
                else
                    v = -Quiesce(opponent, -beta, -alpha, board, depth - 1, 0, ply + 1);
            } else {
                if (newDepth > 0 || givesCheck) {
                    v = -Search(opponent, -alpha - 1, -alpha, board, newDepth, ply + 1, 1, childCastling, givesCheck,
                                3, MaxPly);
                    if (v > alpha && v < beta)
                        v = -Search(opponent, -beta, -alpha, board, newDepth, ply + 1, 1, childCastling, givesCheck,
                                    3, MaxPly);
                } else {
                    v = -Quiesce(opponent, -beta, -alpha, board, newDepth, 0, ply + 1);
                }
                childType = 3;
            }
            if (Abort && !s.FD) {
                board.UndoMove(0);
                MoveList.RetractMove();
                return 0;
            }
            if (v > alpha && reduction) {
                v = -Search(opponent, -beta, -alpha, board, depth - 1 + ext, ply + 1, 1, childCastling, givesCheck, 1,
                            MaxPly);
                if (Abort && !s.FD) {
                    board.UndoMove(0);
                    MoveList.RetractMove();
                    return 0;
                }
            }
            board.UndoMove(0);
            if (Stop) {
                MoveList.RetractMove();
                return 0;
            }

            if (v > best) {
                best = v;
                bestFutile = futile;
                if (v > alpha) {
                    PV[ply][ply] = PVEntry{u16(code), promote};
                    int end = depth + ext == 1 ? ply : PV[ply + 1][0].move;
                    if (end > PVSlots) end = PVSlots;
                    for (int k = ply + 1; k < end; ++k) PV[ply][k] = PV[ply + 1][k];
                    PV[ply][0].move = u16(end);
                    if (v >= beta) {
                        AddHistory(side, code, depth);
                        if (quietTarget && !promotes && code != Killers[ply][0]) {
                            Killers[ply][1] = Killers[ply][0];
                            Killers[ply][0] = u16(code);
                        }
                    }
                    alpha = v;
                    alphaRaised = true;
                }
            }
            if (best >= beta) break;
        }
    }

    if (legal == 0) {
        if (board.InCheck(ownKing, side))
            best = ply - MATE;
        else if (board.InCheck(enemyKing, opponent))
            best = MATE - ply;
        else
            best = -ply;
    }

    if (!bestFutile) {
        const short move = short(PV[ply][ply].move);
        if (best >= beta)
            PositionCache.InsertTranspositionTables(upper, lower, side, depth, move, best, LowerBound, alphaIn, beta);
        else if (alphaRaised)
            PositionCache.InsertTranspositionTables(upper, lower, side, depth, move, best, ExactScore, alphaIn, beta);
        else
            PositionCache.InsertTranspositionTables(upper, lower, side, depth, move, alphaIn, UpperBound, alphaIn,
                                                    beta);
    }
    MoveList.RetractMove();
    return best;
}
