// Time management by node counts. A move's time becomes a node budget at
// the assumed speed; the speed is re-measured once per move when the
// budget first runs out, a root failing low earns one extension, and twice
// the budget is the emergency limit at which a search is abandoned. The
// clock itself is read only at those points.
#include "search/TimeManagement.h"

#include <algorithm>

#include "board/ChessBoard.h"
#include "core/Log.h"
#include "core/Platform.h"
#include "core/Status.h"
#include "search/SearchRoutines.h"

namespace {

constexpr int SessionShare = 95;     // percent of the time left spread over the moves to go
constexpr int SuddenDeathMoves = 30; // moves the time left must last without a session length
constexpr int LateGameMoves = 40;    // ... late in a game without increment
constexpr int LateGamePly = 120;
constexpr i64 MinuteMs = 60000;
constexpr int EmergencyIncrementShare = 30; // percent of the increment when the clock is nearly out
constexpr int PollsPerSecond = 100;         // at the assumed speed
constexpr int PollsPerMoveTime = 32;        // the fewest polls within a move's time
constexpr i64 LevelPollNodes = 1024;        // nodes between polls at a playing level

i32 moveOverhead = DefaultMoveOverheadMs;

// What is left of a time once the overhead is paid; never less than a
// millisecond, so that a search with no time left still makes its first move.
i32 LessOverhead(i32 ms) { return std::max(ms - moveOverhead, 1); }

} // namespace

void SetMoveOverhead(long long milliseconds) {
    moveOverhead = i32(std::clamp(milliseconds, 0LL, 1LL * MaxMoveOverheadMs));
}

i32 MoveOverheadMs() { return moveOverhead; }

i32 SearchElapsedMs() { return ClockMs() - MainStatus.SearchStartTime; }

void SetSecondsPerMove(long long seconds) {
    Status& s = MainStatus;
    s.ST = ClampToI32(seconds * 1000);
    s.TimePerMove = ClampToI32(seconds * 900);
    s.TimeLeft = ClampToI32(seconds * MinuteMs);
}

void SetMoveTime(i32 milliseconds) {
    Status& s = MainStatus;
    s.ST = milliseconds;
    LogF("MainStatus.ST = %d\n", s.ST);
    s.TimePerMove = s.ST;
    s.TimeLeft = ClampToI32(s.ST * 60LL);
    LogF("MainStatus.ST = %d\n", s.ST);
}

void SetAnalysisTime() {
    if (MainStatus.ST == 0) MainStatus.ST = AnalysisTime; // a fixed time is already in milliseconds
}

void AssumeSpeed(i32 nodesPerSecond) { MainStatus.NodesPerSecond = nodesPerSecond; }

void SetSearchLimits(long long nodes, int depth) {
    Search.NodeLimit = nodes > 0 ? nodes : 0;
    Search.DepthLimit = depth > 0 ? depth : 0;
}

void ClearSearchLimits() {
    Status& s = MainStatus;
    s.TimeInc = 0;
    s.TimeLeft = 0;
    MainBoard.FixedDepth = 0;
    s.FD = 0;
    s.ST = 0;
    SetSearchLimits(0, 0);
}

void SearchRoutines::SetBudget() {
    Status& s = MainStatus;
    if (s.ST) {
        DeadlineMs = s.TimePerMove = LessOverhead(s.ST);
        LogF(" TimePeMove after ST = %d \n", s.TimePerMove);
        LogF(" EmergencyTimeThreshold after ST = %lld \n", (long long)s.EmergencyThreshold);
    } else if (s.MovesPerSession) {
        DeadlineMs = LessOverhead(s.TimeLeft);
        s.TimePerMove = i32(i64(DeadlineMs) * SessionShare / s.MovesPerSession / 100);
        if (s.MovesPerSession < 4) s.TimePerMove /= 2;
    } else {
        // The clock less the overhead is all there is, and every move loses the overhead
        // again: of an increment only what is left of it after that counts.
        const i32 left = DeadlineMs = LessOverhead(s.TimeLeft);
        const i32 inc = std::max(s.TimeInc - moveOverhead, 0);
        s.TimePerMove = (s.GamePly > LateGamePly && inc <= 0) ? left / LateGameMoves : left / SuddenDeathMoves;
        if (Settings.outOfBookBonus && s.GamePly <= BookPly + 7)
            s.TimePerMove += s.TimePerMove >> 1; // just out of the book
        else if ((s.GamePly % 10 == 0 || s.GamePly % 9 == 0) && left > MinuteMs)
            s.TimePerMove = (s.TimePerMove * 7) >> 2;
        LogF(" TimePerMove Before Inc = %d \n", s.TimePerMove);
        i64 emergency = i64(inc) + 2 * i64(s.TimePerMove);
        if (emergency > left) {
            LogF("EmergencyTimeThreshold = %lld > TimeLeft %d\n", (long long)emergency, left);
            emergency = i64(inc) * EmergencyIncrementShare / 100;
        }
        LogF(" EmergencyTimeThreshold = %lld \n", (long long)emergency);
        // With time to spare the increment is spent on this move, half of it when it runs short.
        if (inc > 0) {
            if (left > 20000)
                s.TimePerMove = ClampToI32(i64(s.TimePerMove) + inc);
            else if (left > 10000)
                s.TimePerMove = ClampToI32(i64(s.TimePerMove) + inc / 2);
        }
        LogF(" TimePerMove After Inc = %d \n", s.TimePerMove);
        if (emergency <= i64(s.TimePerMove) + 1000) {
            s.TimePerMove = i32(emergency / 2);
            LogF(" Inc = %d \n", s.TimePerMove);
        }
        LogF(" Inc = %d \n", inc);
        LogF(" EmergencyTimeThreshold after comparing to Inc = %lld \n", (long long)emergency);
        Observer->BudgetSet();
    }
    // The budget is the nodes of half the time: the speed is measured when they are spent.
    NodesPerMove = i64(s.NodesPerSecond / 2000) * s.TimePerMove;
    s.EmergencyThreshold = 2 * NodesPerMove;
    LogBudget();
}

void SearchRoutines::LogBudget() const {
    const Status& s = MainStatus;
    LogF(" Initial Nodes Per Second = %d\n", s.NodesPerSecond);
    LogF(" Initial NodesPeMove  = %lld   Emergency Threshold = %lld\n", (long long)NodesPerMove,
         (long long)s.EmergencyThreshold);
    LogF("Current TimerPerMove is %d\n", s.TimePerMove);
}

// Turns the elapsed time into a new speed estimate and node budget.
void SearchRoutines::RemeasureSpeed(const char* label, bool announce) {
    Status& s = MainStatus;
    const i32 ms = SearchElapsedMs();
    LogF("Time Consumption for %s was %f \n", label, ms / 1000.0);
    if (ms > 0) {
        const long long total = TotalNodes();
        LogF("Current TimerPerMove is %d\n", s.TimePerMove);
        LogF("Previous NPS was %d\n", s.NodesPerSecond);
        LogF("Previous NodesPerMove was %lld\n", (long long)NodesPerMove);
        LogF("Nodes for the first 7 ply %lld\n", total);
        s.NodesPerSecond = ClampToI32(total * 1000 / ms);
        NodesPerMove = i64(s.NodesPerSecond / 1000) * s.TimePerMove;
        if (announce) Observer->SpeedMeasured(s.NodesPerSecond, ms);
        LogF(" Dynamic Nodes Per Second = %d\n", s.NodesPerSecond);
        s.EmergencyThreshold = 2 * NodesPerMove;
        LogF(" NodesPeMove after Dynamic Adjustment = %lld   Emergency Threshold = %lld\n", (long long)NodesPerMove,
             (long long)s.EmergencyThreshold);
    }
    FirstHalfDone = 1;
}

void SearchRoutines::DoubleBudget() {
    Status& s = MainStatus;
    NodesPerMove *= 2;
    s.TimePerMove = ClampToI32(2LL * s.TimePerMove);
    s.EmergencyThreshold *= 2;
}

// The one fail-low extension of a move: twice the budget, four times if time was already up.
void SearchRoutines::GrantFailLowExtension() {
    DoubleBudget();
    TimerExtended = 1;
    WriteLogFile("Timer Extended - Failing Low\n");
    if (TimeUp) { // the budget was already spent: the root may go on after all
        DoubleBudget();
        TimeUp = 0;
    }
}

// Spends the one fail-low extension of the move, or ends the search.
bool SearchRoutines::ExtendOrStopAtBoundary() {
    if (FailingLow && !TimerExtended && MainStatus.ST == 0) {
        GrantFailLowExtension();
        FirstHalfDone = 2;
        return false;
    }
    StopKeepingMove();
    return true;
}

bool SearchRoutines::BudgetSpentBeforeIteration() {
    const Status& s = MainStatus;
    if (s.Pondering || s.Analyze || s.FD || TotalNodes() <= NodesPerMove) return false;
    switch (FirstHalfDone) {
    case 0: RemeasureSpeed("first 7 ply", false); return TotalNodes() > NodesPerMove && ExtendOrStopAtBoundary();
    case 1: return ExtendOrStopAtBoundary();
    default: // already extended at an iteration boundary
        StopKeepingMove();
        return true;
    }
}

bool SearchRoutines::BudgetSpentAtPoll() {
    const Status& s = MainStatus;
    // The first iteration always runs to its end: only it is sure to give a move.
    if (IterationDepth <= 1) return false;
    // A fixed time is kept by the clock itself, between two polls.
    if (s.ST && SearchElapsedMs() >= DeadlineMs) {
        UnwindAndEnd();
        return true;
    }
    // So is the emergency limit, before the speed is known as after, and never past the clock.
    // The search stops at the last poll two gaps (see PollInterval) and a millisecond before
    // the limit, since the speed varies between polls and the move must still be sent.
    const i64 gap = std::min<i64>(1000 / PollsPerSecond, s.TimePerMove / PollsPerMoveTime);
    if (SearchElapsedMs() + 2 * gap + 1 >= std::min<i64>(2LL * s.TimePerMove, DeadlineMs)) {
        UnwindNow();
        return true;
    }
    // Over the budget: the one extension while failing low; otherwise a
    // fixed time ends the search at once, a budget after the root's current move.
    auto extendOrStop = [&]() -> bool {
        if (FailingLow && !TimerExtended && !s.ST) {
            GrantFailLowExtension();
            return false;
        }
        if (s.ST) {
            UnwindAndEnd();
            return true;
        }
        EndAfterRootMove();
        return false;
    };
    const long long total = TotalNodes();
    if (FirstHalfDone == 0) {
        if (total > NodesPerMove || Stop == 1) {
            RemeasureSpeed("first half of search", true);
            if ((TotalNodes() > NodesPerMove || Stop == 1) && extendOrStop()) return true;
        }
        return false;
    }
    // After a fail-low extension at an iteration boundary only the emergency limit applies:
    // twice the budget in nodes, and in time, since the speed varies within a move.
    if (FirstHalfDone == 1 && (total > NodesPerMove || Stop == 1) && extendOrStop()) return true;
    if (total >= s.EmergencyThreshold || Stop == 1) {
        UnwindNow();
        return true;
    }
    return false;
}

i64 SearchRoutines::MateLineGiveUpMs() const {
    const Status& s = MainStatus;
    if (s.Analyze || s.Pondering || s.FD) return -1;
    return std::min<i64>(2LL * s.TimePerMove, DeadlineMs);
}

bool SearchRoutines::DeepeningDone(int depth, int score, bool* easyMove) {
    Status& s = MainStatus;
    if (s.ST) return SearchElapsedMs() > DeadlineMs;
    // A move far better than the rest from the first iteration on, and never replaced.
    if (depth == 1) *easyMove = score - EasyMoveMargin > SecondBest;
    if (depth >= EasyMoveMinDepth && BestMoveChanges == 0 && !FailingLow && *easyMove) return true;
    if (TotalNodes() >= NodesPerMove) {
        s.DepthReached = depth;
        return true;
    }
    return false;
}

bool SearchRoutines::WorthExtending(int depth, int score) const {
    const Status& s = MainStatus;
    return depth >= FailLowMinDepth && (s.MovesPerSession > 2 || s.MovesPerSession == 0) &&
           score + FailLowMargin < RootScore && s.TimeLeft / 4 >= s.TimeInc;
}

void SearchRoutines::MeasureAnalysisSpeed() {
    const i32 ms = SearchElapsedMs();
    if (ms > 0) MainStatus.NodesPerSecond = ClampToI32(TotalNodes() * 1000 / ms);
}

i64 SearchRoutines::PollInterval() const {
    // Input and the clock are looked at PollsPerSecond times a second, and at least
    // PollsPerMoveTime times within a move's time, however short, so that no limit is overrun.
    const Status& s = MainStatus;
    i64 interval = s.NodesPerSecond / PollsPerSecond;
    // At a level the polls come at fixed node counts, not by the measured speed, so that a node
    // limit ends the search on the same node (and leaves the same table) at any speed.
    if (LevelSearching) interval = LevelPollNodes;
    if (s.TimePerMove > 0 && !s.Analyze && !s.Pondering) {
        const i64 share = i64(s.NodesPerSecond) * s.TimePerMove / (1000 * PollsPerMoveTime);
        if (share < interval) interval = share;
    }
    if (interval < 100) interval = 100;
    if (NodeLimit) {
        const i64 left = NodeLimit - TotalNodes();
        if (left < interval) interval = left > 0 ? left : 0;
    }
    return interval;
}

bool SearchRoutines::NodeLimitReached() const { return NodeLimit && TotalNodes() >= NodeLimit; }
