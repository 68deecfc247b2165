// The search drivers: iterative deepening for play, the fixed-depth search
// of the benchmarks, and the input poll between nodes.
#include "board/HashKeys.h"
#include "core/Log.h"
#include "core/Platform.h"
#include "core/Status.h"
#include "eval/PawnHash.h"
#include "movegen/MoveGen.h"
#include "search/MateLine.h"
#include "search/MoveHistory.h"
#include "search/SearchRoutines.h"
#include "search/TimeManagement.h"
#include "search/TranspositionTables.h"

namespace {

constexpr i32 CommandBurstMs = 10; // the longest one poll spends running waiting commands
// The longest a front end waits for the table before it says it is ready: GUIs time out.
constexpr i32 ReadyWaitMs = 1000;
// The stack a search's first iterations reach: made before it, not by its first nodes.
constexpr size_t SearchStackBytes = size_t(1) << 20;

__attribute__((noinline)) void TouchSearchStack() {
    char frames[SearchStackBytes];
    volatile char* page = frames;
    for (size_t i = 0; i < SearchStackBytes; i += 4096) page[i] = 0;
}

bool IsMateScore(int v) { return v > MateFound || (v >= -MATE && v < -MateFound); }

// Deepening goes on until the depth covers the mate's plies: a shallower iteration may have
// left a shorter mate to the moves it reduced or pruned.
bool MateCovered(int v, int depth) { return IsMateScore(v) && depth >= MATE - (v > 0 ? v : -v); }

void MoveText(char* buffer, const Move& m) {
    fillmovestring(buffer, 0, char(SquareOf(m.from)), char(SquareOf(m.to)), m.promote, Search.PV[0], Search.PVLength);
}

} // namespace

void SearchRoutines::MakeReady() {
    PositionCache.WaitUntilPopulated(ReadyWaitMs);
    TouchPages(PawnHashArray, sizeof PawnHashArray);
    TouchPages(this, sizeof *this);
    TouchSearchStack();
}

int SearchRoutines::InputDetected() { return Observer->InputWaiting() ? 1 : 0; }

void SearchRoutines::PrepareSearch(ChessBoard& board, bool pushKey) {
    Status& s = MainStatus;
    s.SelDepth = s.TimeLastPly = 0;
    CacheHits = Nodes = QNodes = 0;
    BookMove = TimerExtended = 0;
    ResetStops();
    RootScore = RootLegalMoves = LinesFound = 0;
    PositionCache.Populate();
    board.InitPieceCounts();
    for (int row = 0; row < PVSlots; ++row)
        for (int slot = 0; slot < PVSlots; ++slot) PV[row][slot] = PVEntry{0, 0};
    for (int ply = 0; ply < MaxSearchPly; ++ply) Killers[ply][0] = Killers[ply][1];
    s.SearchStartTime = ClockMs();
    genpawnhashcode(board.SideToMove, board, &board.PawnKingHash);
    u64 upper, lower;
    genhashcode(board.SideToMove, board.Castling, &upper, &lower, &board);
    if (pushKey) MoveList.InsertMoveHistory(upper, lower);
    RootBoard = board;
}

SearchReport SearchRoutines::Report(int depth, int score, const Move& move) const {
    // The move itself, then the continuation the root keeps behind it; no move, no line.
    MoveLine line;
    if (move.from != move.to) {
        line.moves[0] = PVEntry{u16(MoveCode(move.from, move.to)), move.promote};
        line.length = PVLength > 1 ? (PVLength < PVSlots ? PVLength : PVSlots) : 1;
        for (int i = 1; i < line.length; ++i) line.moves[i] = PV[0][i];
    }
    return ReportOf(depth, score, line);
}

SearchReport SearchRoutines::LineReport(int depth, int rank) const {
    SearchReport r = ReportOf(depth, Lines[rank - 1].score, Lines[rank - 1].line);
    r.multiPv = rank;
    return r;
}

SearchReport SearchRoutines::ReportOf(int depth, int score, const MoveLine& line) const {
    const Status& s = MainStatus;
    SearchReport r;
    r.selDepth = s.SelDepth;
    r.score = score == StalemateResult ? 0 : score;
    r.mate = r.score != 0 && IsMateScore(score);
    if (r.mate) r.mateMoves = score > 0 ? (MATE - score + 1) / 2 : -(MATE + score) / 2;
    r.nodes = TotalNodes();
    r.elapsedMs = SearchElapsedMs();
    r.estimatedSeconds = s.TimeLastPly;
    const char side = char(RootBoard.SideToMove), castling = char(RootBoard.Castling);
    r.line = r.mate ? CompleteMatingLine(RootBoard, side, castling, line, score, MateLineGiveUpMs())
                    : LegalLine(RootBoard, side, castling, line);
    // A report without a move claims no depth: the root has no legal move, or none was searched.
    r.depth = r.line.length ? depth : 0;
    return r;
}

bool SearchRoutines::Poll(int ply, int depth) {
    const Status& s = MainStatus;
    PollPly = ply;
    PollDepth = depth;
    // Every command already waiting is run now, not one a poll: a burst of
    // them must not hold back a ping behind it by a poll interval each.
    // Input that never dries up yields to the search after a poll interval.
    if (!InputDetected()) {
        Observer->Polled();
    } else {
        const i32 started = ClockMs();
        do {
            if (Observer->RunCommand()) {
                AbortSearch();
                return true;
            }
        } while (ClockMs() - started < CommandBurstMs && InputDetected());
    }
    // A level's first iteration runs to its end however few its nodes: only it is sure to give a move.
    if (NodeLimitReached() && !(LevelSearching && IterationDepth <= 1)) {
        StopKeepingMove();
        return true;
    }
    // Analyses, ponder searches and fixed depths know no budget.
    if (!s.Analyze && !s.Pondering && !s.FD && BudgetSpentAtPoll()) return true;
    PollCountdown = PollInterval();
    return false;
}

int SearchRoutines::ProgressiveDeepening(ChessBoard board, char maxDepth, Move* best) {
    const i64 nodeLimit = NodeLimit;
    BeginLevelSearch();
    const int v = Deepen(board, maxDepth, best);
    EndLevelSearch(nodeLimit);
    return v;
}

int SearchRoutines::Deepen(ChessBoard board, char maxDepthArg, Move* best) {
    Status& s = MainStatus;
    int maxDepth = maxDepthArg < 1 ? DefaultMaxDepth : maxDepthArg;
    PrepareSearch(board, Settings.keyOnGameStack);

    if (s.FD == 0) {
        SetBudget();
    } else {
        s.DepthReached = s.FD;
        LogBudget();
        maxDepth = s.FD;
    }
    FirstHalfDone = 0;
    PollCountdown = PollInterval();
    if (board.MaxDepth >= 1 && maxDepth > board.MaxDepth) maxDepth = board.MaxDepth;
    if (DepthLimit > 0 && maxDepth > DepthLimit) maxDepth = DepthLimit;

    char text[MoveTextSize];
    int v = -MATE, d = 1;
    int shown = 0; // the depth of the result: its iteration finished, or its move was searched that deep
    bool easyMove = false;
    for (;; ++d) {
        // Step 1. The budget between iterations; an analysis measures its speed instead.
        if (d > 1 && (NodeLimitReached() || BudgetSpentBeforeIteration())) break;
        if (s.Analyze) {
            MeasureAnalysisSpeed();
            Observer->AnalysisTick();
        }

        // Step 2. One root search a ply deeper, its horizon twice (later four times) the depth.
        s.SelDepth = 0;
        BestMoveChanges = -1;
        FailingLow = 0;
        board.MaxPly = d <= 6 ? 2 * d : 4 * d;
        IterationMaxPly = board.MaxPly;
        const int previous = v;
        v = LineCount > 1 ? SearchRootLines(board.SideToMove, board, d, best, board.Castling)
                          : SearchTreeRoot(board.SideToMove, board, -MATE, MATE, d, best, board.Castling);
        RootScore = v;
        if (BookMove) {
            Observer->BookMoveChosen();
            WriteLogFile("Opening Book Move\n");
            break;
        }

        // Step 3. The iteration's time by the speed estimate; an aborted one counts with the last score.
        s.TimeLastPly = s.NodesPerSecond > 0 ? i32(TotalNodes() / s.NodesPerSecond) : 0;
        if (s.TimeLastPly > 3) {
            MoveText(text, *best);
            LogF("Move Time: %d milliseconds", s.TimeLastPly);
            LogF(" %d  %d %d  %lld %s", d, v, s.TimeLastPly, TotalNodes(), text);
        }
        // An iteration cut short keeps the best move it finished (shown when it was found), else the
        // last iteration's result; only a finished iteration reports as done.
        const bool finished = !Abort && !Stop && (!TimeUp || RootMovesSearched == RootMoveCount);
        if (Abort && BestMoveChanges < 0) {
            LogF("New v from PreviousBestValue %d\n", previous);
            v = previous;
        }
        if (finished || BestMoveChanges >= 0) shown = d;
        if (finished && LineCount > 1 && LinesFound > 0) {
            // A level may search more lines than the front end shows.
            for (int rank = 1; rank <= LinesFound && rank <= ShownLines; ++rank) {
                SearchReport r = LineReport(d, rank);
                if (ShownLines == 1) r.multiPv = 0;
                Observer->IterationDone(r);
            }
        } else if (finished) {
            Observer->IterationDone(Report(d, v, *best));
        }

        // Step 4. Stop rules: a command, the clock, a mate the depth covers, a forced move or the
        // depth limit. A ponder search, or an analysis that only a command ends, then waits for
        // that command.
        if (Stop && !s.Pondering) {
            // A command ends the search without a move; the clock only ends the deepening.
            if (CommandStop) return v;
            break;
        }
        if (!s.FD && !s.Pondering && (TimeUp || DeepeningDone(d, v, &easyMove))) break; // the clock said so
        // A single legal move is forced; a single move a front end listed is one it wants searched.
        // A level's nodes spent in a ponder search: it waits for the command as one that has seen enough.
        const bool seenEnough = MateCovered(v, d) || (RootLegalMoves == 1 && RootMoveFilterCount == 0) ||
                                (LevelSearching && NodeLimitReached());
        if ((s.Pondering && v == 0 && d >= PonderDrawDepth) || seenEnough || s.FD == d || d + 1 > maxDepth) {
            if (s.Pondering || (s.Analyze && !s.FD)) {
                WaitWhilePondering();
                if (CommandStop) return v; // stopped rather than released: nothing to play
            }
            break;
        }
    }

    // Finish: at a level, one of the best lines in place of the best (not a book move, not a
    // forced one); then play the move and report it.
    if (LevelSearching && !BookMove && RootLegalMoves > 1 && v != StalemateResult && v != -MATE)
        ChooseLevelLine(best, &v);
    if (v != StalemateResult && v != -MATE) Observer->PlayMove(*best);
    SearchReport result = Report(shown, v, *best);
    if (ShownLines > 1 && LinesFound > 0) result.multiPv = 1;
    Observer->SearchFinished(result, Stop, BookMove, best->from != best->to);
    return v;
}

// Holds the result until a command ends the ponder search or the analysis.
void SearchRoutines::WaitWhilePondering() {
    if (!Settings.waitsForCommand) return;
    Observer->AwaitCommand();
    StopKeepingMove(); // a command that ends the search without a move has said so itself
}

int SearchRoutines::SearchExactDepth(ChessBoard board, char depth, Move* best) {
    Status& s = MainStatus;
    int d = depth;
    if (d < 1) {
        d = ExactDepthUnlimited;
        board.MaxPly = 2 * ExactDepthUnlimited;
    } else {
        board.MaxPly = 2 * d;
    }
    IterationMaxPly = board.MaxPly;
    PrepareSearch(board, true);
    s.DepthReached = s.FD;
    return SearchTreeRoot(board.SideToMove, board, -MATE, MATE, d, best, board.Castling);
}
