// The search object: iterative deepening, the root search, alpha-beta and
// quiescence, the killer, history and principal-variation tables, the
// input poll and the node-budget time management. It reports through a
// SearchObserver and never prints.
#pragma once

#include "board/ChessBoard.h"
#include "movegen/MoveGen.h"
#include "search/LevelChoice.h"
#include "search/PlayingLevel.h"
#include "search/SearchConstants.h"
#include "search/SearchReport.h"

constexpr int PVRows = 250;
constexpr int PVSlots = MaxLineMoves;
constexpr int MaxSearchPly = 200; // plies with killer slots

// One of an iteration's best lines: its root move first, and its exact score.
struct RootLine {
    int score;
    MoveLine line;
};

// One node's place in the tree: everything Search needs besides the window and the board.
struct Node {
    char side;     // to move
    char castling; // rights of the side to move's position
    int depth;     // remaining plies; zero or below only when in check
    int ply;       // distance from the root; a null move's child is two plies deeper
    bool nullAllowed;
    bool inCheck;
    NodeType type;
};

// What the front end in charge asks of every search; the console's wishes
// until a front end says otherwise.
struct SearchSettings {
    bool keyOnGameStack = false;  // the root's key joins the game's positions for the repetition rule
    bool outOfBookBonus = true;   // half as much time again on the first moves out of the book
    bool waitsForCommand = false; // a ponder search or analysis that has seen enough waits for a command
};

class SearchRoutines {
public:
    // Time management (TimeManagement.cpp).
    u8 FirstHalfDone; // speed re-measured this move: 1 by the poll, 2 after a fail-low extension
    i64 NodesPerMove; // node budget of the move
    u8 TimerExtended; // the one fail-low extension of the move was granted
    i32 DeadlineMs;   // the most a timed search may take: its clock or fixed time less the move overhead

    u8 BookMove; // the iteration took its move from a book

    // How a running search ends. The flags are set only by the transitions
    // below (and the fail-low extension, which may take TimeUp back) and
    // cleared only by ResetStops.
    u8 TimeUp;      // the root finishes the move it is searching, then the deepening ends
    u8 Abort;       // every node returns at once; the unfinished iteration's result is dropped
    u8 Stop;        // nodes return after undoing their move; the deepening ends
    u8 CommandStop; // a command ended the search: no move is played

    i8 BestMoveChanges;
    u8 FailingLow;
    i32 RootLegalMoves, BookPly, SecondBest, RootScore;
    i64 PollCountdown; // nodes until the next input poll
    i32 History[2][4096];
    i32 HistoryMax;
    i32 RootMovesSearched, RootMoveCount, IterationDepth;
    // Row p belongs to the node at ply p; for p >= 1 slot 0 holds the end
    // index, the node's move sits in slot p and its continuation after it.
    PVEntry PV[PVRows][PVSlots];
    u16 Killers[MaxSearchPly][2];
    i32 PVLength;
    i64 Nodes, CacheHits, QNodes;
    i32 PollDepth, PollPly;
    i32 IterationMaxPly; // beyond this ply every node is a horizon node
    i64 NodeLimit;       // the search ends after this many nodes; 0 = no limit
    i32 DepthLimit;      // no iteration deeper than this; 0 = no limit
    // Root moves a front end restricts the search to (fromIndex * 64 + toIndex); none = all.
    i32 RootMoveFilterCount;
    u16 RootMoveFilter[256];
    // Who hears the reports; a silent observer until a front end registers.
    SearchObserver* Observer;
    SearchSettings Settings;
    // The position searched, from which reported lines are played.
    ChessBoard RootBoard;
    // How many best lines each iteration finds and reports (MultiPV); 1 is the plain root search.
    i32 LineCount = 1;
    // The lines of the last finished iteration when LineCount > 1, best first.
    RootLine Lines[MaxRootLines];
    i32 LinesFound;
    // The playing level the front end asked for (LevelChoice.cpp); in force in every search but an analysis.
    PlayingLevel Level;
    u64 LevelGameSeed = 0; // the seed of this game's choices: Level.seed, or one drawn for the game
    u64 LevelRandom = 0;   // where the choices' generator stands

    SearchRoutines();

    // Chooses the move of the game position and has the observer play it;
    // returns the score, or -110000 (mated) / 110001 (stalemate) when no
    // move was played.
    int ProgressiveDeepening(ChessBoard board, char maxDepth, Move* best);
    // A new game: its seed is Level.seed, or drawn anew when that is 0; the choices start from it.
    void StartLevelGame();
    bool LevelInForce() const;
    // One root search of the given depth, without time control; plays nothing.
    int SearchExactDepth(ChessBoard board, char depth, Move* best);
    // One iteration: every root move to the depth; the best move into *best.
    int SearchTreeRoot(char side, ChessBoard board, int alpha, int beta, int depth, Move* best, char castling);
    // One iteration that keeps the LineCount best root moves with exact scores (RootLines.cpp):
    // into Lines, and the best move into *best, only when every root move was searched.
    int SearchRootLines(char side, ChessBoard board, int depth, Move* best, char castling);
    int Search(int alpha, int beta, ChessBoard board, Node node);
    // Leaves the position as it found it, but for its MatingMaterial, which it brings up to date.
    int Quiesce(char side, int alpha, int beta, ChessBoard& position);
    // Value of the man of the side opposite to `side` on the square, 0 if none.
    int ValueCapturedPiece(char side, u64 square, const ChessBoard* board) const;
    // Non-zero when the observer says a command is waiting (xboard and UCI only).
    int InputDetected();
    // The stop transitions. The clock's budget is spent: the root finishes its move.
    void EndAfterRootMove() { TimeUp = 1; }
    // Past the emergency limit: every node unwinds, the last finished iteration's move is played.
    void UnwindNow() { Abort = 1; }
    // The fixed time per move is up: unwind, and start no other root move or iteration.
    void UnwindAndEnd() { Abort = TimeUp = 1; }
    // Enough searched (a budget at an iteration boundary, a node limit, a command
    // that releases a ponder search): end now and play the best move found.
    void StopKeepingMove() { Stop = Abort = TimeUp = 1; }
    // A command ended the search (the front ends call this): end now, play no move.
    void AbortSearch() {
        StopKeepingMove();
        CommandStop = 1;
    }
    // Before a search: no stop decided.
    void ResetStops() { TimeUp = Abort = Stop = CommandStop = 0; }
    void ClearHistory();
    // Puts every table the search uses in place and has its memory touched,
    // so that the next search runs at full speed: a front end does this
    // before it says it is ready.
    void MakeReady();
    void AddHistory(char side, int move, int depth);
    long long TotalNodes() const { return Nodes + QNodes; }
    // A report of the search so far with this result; a stalemate scores 0.
    SearchReport Report(int depth, int score, const Move& move) const;
    // A report of one of the lines of the last finished iteration (rank 1 = the best).
    SearchReport LineReport(int depth, int rank) const;
    // Is the root move among those a front end allowed (all when it named none)?
    bool RootMoveAllowed(u64 from, u64 to) const;

    // Time management (TimeManagement.cpp): the node budget from the clock
    // settings, the speed re-measure, the one fail-low extension, the
    // emergency limit and the stop checks.
    void SetBudget();
    void LogBudget() const;
    // The poll's budget check; true when the node must return at once.
    bool BudgetSpentAtPoll();
    // Before an iteration; true when the deepening must end.
    bool BudgetSpentBeforeIteration();
    // After an iteration; true when its result is good enough to play.
    bool DeepeningDone(int depth, int score, bool* easyMove);
    // At the root: is the new best so far below the last score that the clock should give more time?
    bool WorthExtending(int depth, int score) const;
    // In an analysis, the speed measured over the search so far.
    void MeasureAnalysisSpeed();
    // Nodes until the next poll.
    i64 PollInterval() const;
    bool NodeLimitReached() const;
    // When a report's mating line must give up being carried on: the emergency limit of a
    // search under a clock; -1 for analyses, ponder searches and fixed depths.
    i64 MateLineGiveUpMs() const;

private:
    // The deepening itself; ProgressiveDeepening puts a level's limits around it.
    int Deepen(ChessBoard board, char maxDepth, Move* best);
    // A level's limits on this search (a node limit, more lines than shown) and their removal.
    void BeginLevelSearch();
    void EndLevelSearch(i64 nodeLimit);
    void ChooseLevelLine(Move* best, int* score);
    bool LevelSearching = false; // this search plays at a level
    LevelLimits LevelSearch;     // its limits
    i32 ShownLines = 1;          // the lines the front end asked to see; LineCount may search more
    // Input and budget check of a node; true when the node must return 0.
    bool Poll(int ply, int depth);
    // Clears the counters and stops of the last search and sets up the root.
    void PrepareSearch(ChessBoard& board, bool pushKey);
    bool SearchRootMove(const ChessBoard& board, const Node& child, int alpha, int beta, bool first, bool reducible,
                        bool hardStop, int* v);
    // The report of a line from the root: its moves as far as they are legal, a mate carried on to the mate.
    SearchReport ReportOf(int depth, int score, const MoveLine& line) const;
    // The moves of the last finished iteration's lines searched first, in their order.
    void OrderPreviousLines(MoveGen& list, int count) const;
    // Horizon node: the table, else quiescence, stored.
    int HorizonNode(int alpha, int beta, ChessBoard& board, const Node& node, u64 upper, u64 lower);
    void RemeasureSpeed(const char* label, bool announce);
    void DoubleBudget();
    void GrantFailLowExtension();
    bool ExtendOrStopAtBoundary();
    void WaitWhilePondering();
};

extern SearchRoutines Search;
// The game moves followed by the current search line, by game ply.
extern int FTMoveList[FTMoveListSize];
