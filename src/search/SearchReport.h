// The seam between the search and the front ends. The search never
// prints: it reports what it found as values and asks for what only a
// front end can give (commands waiting on the input, a book move, playing
// the chosen move). The console, xboard and UCI front ends each implement
// SearchObserver and word the reports in their own protocol.
#pragma once

#include "board/ChessBoard.h"
#include "movegen/MoveGen.h"

// A principal variation, the root move first.
struct MoveLine {
    int length = 0;
    PVEntry moves[MaxLineMoves];
};

constexpr int MaxRootLines = 64; // the most lines an iteration finds and reports (MultiPV)

// Where a search stands.
struct SearchReport {
    int depth = 0;            // the iteration
    int selDepth = 0;         // the deepest ply reached
    int score = 0;            // engine units, side to move's view
    bool mate = false;        // the score announces a mate
    int mateMoves = 0;        // moves to that mate, negative when being mated
    long long nodes = 0;      // interior and quiescence nodes
    long long elapsedMs = 0;  // wall time since the search started
    int estimatedSeconds = 0; // the last iteration's time by the speed estimate
    int multiPv = 0;          // the line's rank when an iteration reports several (1 = best); 0 with one line
    MoveLine line;            // legal moves only; empty when the root has no legal move
};

// How an iteration ended early: the abort came in the middle of a root
// move's search, right after it, or the root loop stopped between moves.
enum class Interruption { InMove, AfterMove, BetweenMoves };

// Which table event a trace reports.
enum class TraceEvent { CacheHit, NullMoveStore };

class SearchObserver {
public:
    virtual ~SearchObserver() = default;

    // Reports, in the order a search makes them.
    virtual void BudgetSet() {}                               // the clock's budget of this move
    virtual void PlayingAtLevel(int /*elo*/, u64 /*seed*/) {} // the search plays at a level, its choices from the seed
    virtual void AnalysisTick() {}                            // before each iteration of an analysis
    virtual void IterationStarted(int /*depth*/) {}
    virtual void BookMoveChosen() {} // the iteration found a book move
    virtual void RootMoveStarted(int /*depth*/, PVEntry /*move*/, int /*number*/, long long /*nodes*/) {}
    virtual void NewBestLine(const SearchReport&) {} // the root raised alpha
    virtual void IterationInterrupted(const SearchReport&, Interruption, int /*legalMoves*/) {}
    virtual void IterationDone(const SearchReport&) {}
    virtual void SpeedMeasured(int /*nodesPerSecond*/, int /*milliseconds*/) {} // the poll re-measured the speed
    virtual void SearchFinished(const SearchReport&, bool /*stopped*/, bool /*bookMove*/, bool /*hasMove*/) {}
    virtual void Polled() {} // a poll found no input
    virtual void TableTrace(TraceEvent, int /*value*/, int /*alpha*/, int /*beta*/, u64 /*upper*/, u64 /*lower*/) {}

    // Requests.
    virtual bool InputWaiting() { return false; }
    // Runs the waiting command; true when it ends the search.
    virtual bool RunCommand() { return false; }
    // Waits for a command and runs it: the end of a ponder search that has seen enough.
    virtual void AwaitCommand() {}
    // A book move for the position, when the front end's books know one.
    virtual bool ChooseBookMove(char /*side*/, char /*castling*/, const ChessBoard&, Move* /*move*/) { return false; }
    // Plays the chosen move on the game position.
    virtual void PlayMove(const Move& /*move*/) {}
};
