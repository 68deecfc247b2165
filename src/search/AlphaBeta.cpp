// The alpha-beta node below the root: polling, repetition and draw tests,
// table probe, static cut-off, null move, internal deepening, extensions,
// late-move reductions, futility and principal-variation search.
#include <cassert>

#include "board/HashKeys.h"
#include "core/Status.h"
#include "eval/EvalGeometry.h"
#include "eval/PositionEvaluate.h"
#include "movegen/MoveGen.h"
#include "search/MoveHistory.h"
#include "search/SearchRoutines.h"
#include "search/TranspositionTables.h"

namespace {

// The node's key stays on the stack of positions for as long as the node runs.
struct KeyOnStack {
    KeyOnStack(u64 upper, u64 lower) { MoveList.InsertHashCodeMoveHistory(upper, lower); }
    ~KeyOnStack() { MoveList.RetractMove(); }
    KeyOnStack(const KeyOnStack&) = delete;
    KeyOnStack& operator=(const KeyOnStack&) = delete;
};

// Stores a node's result by how it relates to the window it was searched with.
void StoreResult(u64 upper, u64 lower, int ply, int depth, short move, int value, int alpha, int beta, bool exact) {
    if (value >= beta)
        PositionCache.InsertTranspositionTables(upper, lower, ply, depth, move, value, LowerBound, alpha, beta);
    else if (exact)
        PositionCache.InsertTranspositionTables(upper, lower, ply, depth, move, value, ExactScore, alpha, beta);
    else
        PositionCache.InsertTranspositionTables(upper, lower, ply, depth, move, alpha, UpperBound, alpha, beta);
}

// Moves chosen a few at a time, whose children's buckets are loaded together.
constexpr int MovesChosenAhead = 6;

// Puts moves i.. in their final order a few at a time and starts loading
// the buckets of their children, and of the children's null moves, which a
// child tries first, together: on a table this large each load waits for a
// page walk, and loads issued together wait for it once. Returns the index
// after the last move chosen.
int ChooseAndPrefetch(MoveGen& list, int i, int count, char side, int castling, const ChessBoard& board) {
    const int end = i + MovesChosenAhead < count ? i + MovesChosenAhead : count;
    for (int k = i; k < end; ++k) list.SelectBest(k, count);
    for (int k = i; k < end; ++k) {
        const u64 child = PositionKeyLowerAfter(side, castling, board, list.From[k], list.To[k]);
        PositionCache.Prefetch(child);
        PositionCache.Prefetch(child ^ WtoMove ^ BtoMove); // the same men, the other side to move
    }
    return end;
}

} // namespace

int SearchRoutines::HorizonNode(int alpha, int beta, ChessBoard& board, const Node& node, u64 upper, u64 lower) {
    if (board.FiftyMoveCount > 2 && MoveList.ThreeFoldRepDetection(board.FiftyMoveCount, upper, lower)) return 0;
    int value = 0, move = 0;
    const char probe =
        PositionCache.SearchTranspositionTables(upper, lower, node.ply, node.depth, alpha, beta, &value, &move);
    ++CacheHits;
    if (probe <= ExactHit) return value;
    const int v = Quiesce(node.side, alpha, beta, board);
    StoreResult(upper, lower, node.ply, node.depth, 0, v, alpha, beta, v > alpha);
    return v;
}

int SearchRoutines::Search(int alpha, int beta, ChessBoard board, Node node) {
    const Status& s = MainStatus;
    const char side = node.side, opponent = side ^ 1;
    const int depth = node.depth, ply = node.ply;

    // Step 1. Poll the input and the clock every so many nodes (never in a benchmark).
    if (!s.BenchNumber && !Stop) {
        if (PollCountdown-- <= 0 && Poll(ply, depth)) return 0;
    }

    // Step 2. The node's key, on the stack of positions until the node returns.
    u64 upper, lower;
    PositionKey(side, node.castling, board, &upper, &lower);
    assert(PieceKeyCurrent(board));
    PositionCache.Prefetch(lower);
    const KeyOnStack pushed(upper, lower);

    // Step 3. Horizon. Plies from 199 on always end here so that the ply-indexed tables suffice.
    if (((ply > IterationMaxPly || depth <= 0) && !node.inCheck) || ply >= PVSlots - 1)
        return HorizonNode(alpha, beta, board, node, upper, lower);

    // Step 4. Draws by material, the fifty-move rule and repetition.
    if (ply > MainStatus.SelDepth) MainStatus.SelDepth = ply;
    if (board.CheckDraw(node.inCheck) ||
        (board.FiftyMoveCount > 2 && MoveList.ThreeFoldRepDetection(board.FiftyMoveCount, upper, lower) > 0))
        return 0;

    // Step 5. Transposition table. A principal-variation node never cuts on it.
    const bool notPV = node.type != PVNode;
    const int alphaIn = alpha;
    int ttValue = 0, ttMove = 0;
    const char probe =
        PositionCache.SearchTranspositionTables(upper, lower, ply, depth, alpha, beta, &ttValue, &ttMove);
    bool pruningAllowed = true;
    if (probe <= ExactHit) {
        Observer->TableTrace(TraceEvent::CacheHit, ttValue, alpha, beta, upper, lower);
        if (!notPV) {
            pruningAllowed = false;
        } else {
            PV[ply][0].move = u16(ply);
            PV[ply][ply].move = u16(ttMove);
            return ttValue;
        }
    }

    const u64 ownKing = side ? board.BlackKing : board.WhiteKing;
    const u64 enemyKing = side ? board.WhiteKing : board.BlackKing;
    const bool mayPrune = pruningAllowed && notPV && node.nullAllowed && !node.inCheck;

    // Step 6. Static cut-off near the leaves: the evaluation far above beta, with a piece to move.
    // Never against a mate bound: the evaluation proves no mate and refutes none.
    if (mayPrune && depth <= StaticCutMaxDepth && !IsMate(beta) &&
        (side ? board.BlackPieceCount > board.BlackPawnCount : board.WhitePieceCount > board.WhitePawnCount)) {
        const int e = PE.PosEval(side, alpha, beta, &board);
        if (depth >= 1 && e - StaticCutMargin[depth] >= beta) return e - StaticCutMargin[depth];
    }

    // Step 7. Null move: if passing still holds beta, the node is good enough. A score near a
    // mate after passing marks a mate threat that extends the moves below. A pass proves no
    // mate: it is not tried against a mate bound, and a mate it finds is stored as beta.
    char mateThreat = 0;
    if (mayPrune && probe != NoHitNullFutile && !IsMate(beta)) {
        const int own = PE.SideMaterialValue(side, &board);
        if ((own > NullMoveMaterial || depth <= NullMoveMaxDepth) &&
            PE.MaterialOnly(side, &board) + NullMoveMargin >= beta) {
            const int theirs = PE.SideMaterialValue(opponent, &board);
            int nullDepth = depth - 4;
            if (depth <= 5) ++nullDepth;
            if (own + theirs > NullMoveFullBoard) --nullDepth;
            const int v = -Search(-beta, -beta + 1, board,
                                  Node{opponent, node.castling, nullDepth, ply + 2, false, false, node.type});
            if (Abort) return 0;
            if (v >= beta) {
                PositionCache.InsertTranspositionTables(upper, lower, ply, depth - NullMoveStoreReduction, 0,
                                                        IsMate(v) ? beta : v, LowerBound, alpha, beta);
                Observer->TableTrace(TraceEvent::NullMoveStore, v, alpha, beta, upper, lower);
                PV[ply][0].move = 0;
                return beta;
            }
            mateThreat = v < MateThreatened;
        }
    }

    // Step 8. Internal iterative deepening: without a table move, a shallower search finds one.
    if (pruningAllowed && beta - alpha > 1 && notPV && depth >= IIDMinDepth) {
        Node shallower = node;
        shallower.depth = depth - IIDReduction;
        shallower.nullAllowed = false;
        Search(alpha, beta, board, shallower);
        if (Abort && !s.Pondering) return 0;
        int unused;
        PositionCache.SearchTranspositionTables(upper, lower, ply, depth, alpha, beta, &unused, &ttMove);
    }

    // The table move's bucket loads while the moves are generated and ordered.
    if (depth > 1 && ttMove)
        PositionCache.Prefetch(
            PositionKeyLowerAfter(side, node.castling, board, SquareBit(ttMove / 64), SquareBit(ttMove % 64)));

    // Step 9. The moves: only evasions in check, ordered by table move, line, captures, killers, history.
    MoveGen list;
    char singleReply = 0;
    int count;
    if (node.inCheck) {
        count = list.GenCheckEvasions(side, &board);
        singleReply = count == 1;
    } else {
        count = list.GenerateAllMoves(side, &board, node.castling);
    }
    list.AssignMoveOrderValues(count, ply, enemyKing, ttMove, node.type);

    // Step 10. The move loop.
    int best = WorstScore, legal = 0;
    bool alphaRaised = false;
    char bestFutile = 0;
    if (count > 0 && beta >= LowestBeta) {
        NodeType childType = node.type;
        const u64 enemyMenBefore = side ? board.WhitePieces : board.BlackPieces;
        const int ftIndex = s.GamePly + ply;
        int chosen = 0; // moves 0..chosen-1 are in their final order
        for (int i = 0; i < count; ++i) {
            // Step 10a. Make the move; one that leaves the king attacked is dropped.
            if (depth > 1 && i >= chosen) chosen = ChooseAndPrefetch(list, i, count, side, node.castling, board);
            // Below depth 2 most children are quiescence nodes: no probe to prefetch for.
            const auto [from, to, promote] = depth > 1 ? list.GetMove(i) : list.NextMove(i, count);
            char castleMask;
            const bool quietTarget = board.IsEmptySquare(to);
            board.MakeMove(from, to, promote, &castleMask);
            PrefetchPawnHash(board.PawnKingHash); // the child's pawn slot loads while this node decides
            const int code = MoveCode(from, to);
            if (ftIndex >= 0 && ftIndex < FTMoveListSize) FTMoveList[ftIndex] = code;
            if (board.InCheck(side ? board.BlackKing : board.WhiteKing, side)) {
                board.UndoMove(0);
                if (best >= beta) break;
                continue;
            }
            ++legal;
            ++Nodes;
            const char givesCheck = board.InCheck(opponent ? board.BlackKing : board.WhiteKing, opponent);
            const bool capture = (side ? board.WhitePieces : board.BlackPieces) != enemyMenBefore;
            const bool promotes = promote != NoPromotion;

            // Step 10b. Late moves: quiet, ordered low, not a passed-pawn push, nothing urgent.
            bool lateMove = legal >= LateMoveMinLegal && !promotes && depth > 2 && !givesCheck && ply != 1 &&
                            !mateThreat && !singleReply && !capture && list.OrderValue[i] <= LateMoveOrderValue;
            if (lateMove && board.IsPawn(side, to))
                lateMove = (evalgeo::PawnSpan(side, SquareOf(to)) & (side ? board.WhitePawns : board.BlackPawns)) != 0;

            // Step 10c. One ply more for a check, a mate threat or a single reply, on the line
            // or when the move checks; otherwise a late move is reduced, and at depth 2 a quiet
            // move far below alpha goes straight to quiescence, unless alpha is a mate that a
            // quiet move may still better.
            const int extensions = mateThreat + singleReply + givesCheck;
            const int ext = (childType == PVNode || givesCheck) && extensions > 0 ? 1 : 0;
            int reduction = 0;
            char futile = 0;
            if (ext == 0) {
                if (lateMove && !node.inCheck)
                    reduction = depth == 3 ? 1 : 2;
                else if (!lateMove && depth == 2 && !node.inCheck && childType != PVNode && !promotes && !capture)
                    futile = alpha > PE.MaterialOnly(side, &board) + FutilityMargin && !IsMate(alpha);
            }
            const int newDepth = depth - 1 + ext - futile - reduction;
            Node child{opponent, char(node.castling & castleMask), newDepth, ply + 1, true, givesCheck != 0, childType};

            // Step 10d. Principal-variation search: the first move (and every move of a non-PV
            // node) with the full window, later moves of a PV node with a null window first.
            int v;
            if (legal == 1 || notPV) {
                if (node.type == CutNode)
                    childType = AllNode;
                else if (node.type == AllNode)
                    childType = CutNode;
                child.type = childType;
                if (newDepth > 0 || givesCheck)
                    v = -Search(-beta, -alpha, board, child);
                else
                    v = -Quiesce(opponent, -beta, -alpha, board);
            } else {
                child.type = AllNode;
                if (newDepth > 0 || givesCheck) {
                    v = -Search(-alpha - 1, -alpha, board, child);
                    if (v > alpha && v < beta) v = -Search(-beta, -alpha, board, child);
                } else {
                    v = -Quiesce(opponent, -beta, -alpha, board);
                }
                childType = AllNode;
            }
            if (Abort) {
                board.UndoMove(0);
                return 0;
            }

            // Step 10e. A reduced move that beats alpha is searched again to full depth, on the line.
            if (v > alpha && reduction) {
                child.depth = depth - 1 + ext;
                child.type = PVNode;
                v = -Search(-beta, -alpha, board, child);
                if (Abort) {
                    board.UndoMove(0);
                    return 0;
                }
            }
            board.UndoMove(0);
            if (Stop) return 0;

            // Step 10f. A new best: the line, and on a cut-off the history and the killers.
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

    // Step 11. No legal move: mated, stalemated, or the opponent's king left in check.
    if (legal == 0) {
        if (board.InCheck(ownKing, side))
            best = ply - MATE;
        else if (board.InCheck(enemyKing, opponent))
            best = MATE - ply;
        else
            best = -ply;
    }

    // Step 12. Store, unless the best move was only looked at by quiescence. Without a legal move
    // the score is exact whatever the window: stored as an upper bound at alpha, a mate or
    // stalemate below the window would read as a mate sooner than this one.
    if (!bestFutile)
        StoreResult(upper, lower, ply, depth, short(PV[ply][ply].move), best, alphaIn, beta, alphaRaised || legal == 0);
    return best;
}
