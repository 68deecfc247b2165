// The search object: iterative deepening with time management, the root
// search, alpha-beta, quiescence, move ordering state and input polling.
#pragma once

#include "board/ChessBoard.h"
#include "movegen/MoveGen.h"

constexpr int MATE = 110000;
constexpr int PVRows = 250;
constexpr int PVSlots = MaxLineMoves;
constexpr int MaxSearchPly = 200; // plies with killer slots

class SearchRoutines {
public:
    u8 FirstHalfDone;  // speed re-measured this move: 1 by the poll, 2 after a fail-low extension
    i64 NodesPerMove;  // node budget of the move
    u8 BookMove, TimeUp, Abort;
    i8 BestMoveChanges;
    u8 FailingLow, TimerExtended;
    i32 RootLegalMoves, BookPly, SecondBest, RootScore;
    i64 PollCountdown; // nodes until the next input poll
    i32 History[2][4096];
    i32 HistoryMax;
    u8 Stop;
    i32 RootMovesSearched, RootMoveCount, IterationDepth;
    // Row p belongs to the node at ply p; for p >= 1 slot 0 holds the end
    // index, the node's move sits in slot p and its continuation after it.
    PVEntry PV[PVRows][PVSlots];
    u16 Killers[MaxSearchPly][2];
    i32 PVLength;
    i64 Nodes, CacheHits, QNodes;
    i32 PollDepth, PollPly;
    u8 CommandStop; // a command stopped the search: no move was played

    // Chooses and plays the move of the game position; returns the score,
    // or -110000 (mated) / 110001 (stalemate) when no move was played.
    int ProgressiveDeepening(ChessBoard board, char maxDepth, u64* bestFrom, u64* bestTo, char* bestPromote);
    // One root search of the given depth, without time control; plays nothing.
    int SearchExactDepth(ChessBoard board, char depth, u64* bestFrom, u64* bestTo, char* bestPromote);
    int SearchTreeRoot(char side, ChessBoard board, int alpha, int beta, int depth, u64* bestFrom, u64* bestTo,
                       char* bestPromote, char castling);
    int Search(char side, int alpha, int beta, ChessBoard board, int depth, int ply, char NullAllowed, char castling,
               char inCheck, char NodeType, int MaxPly);
    int Quiesce(char side, int alpha, int beta, ChessBoard board, int qdepth, char castling, int qply);
    // Value of the man of the side opposite to `side` on the square, 0 if none.
    int ValueCapturedPiece(char side, u64 square, const ChessBoard* board) const;
    // Non-zero when a command waits on standard input (xboard and UCI only).
    // At the end of input the search hands the interpreters the word "quit".
    int InputDetected();
    void AbortSearch();
    // The xboard analysis status line: time, nodes, depth, root moves left and in all.
    void PrintStatus() const;
    void ClearHistory();
    void AddHistory(char side, int move, int depth);

    // Parts of the drivers.
    // Input and budget check of a node; true when the node must return 0.
    bool Poll(int ply, int depth);
    void PrepareSearch(ChessBoard& board, bool pushKey);
    void SetBudget();
    void LogBudget() const;
    void RemeasureSpeed(const char* label, bool announce);
    void DoubleBudget();
    void GrantFailLowExtension();
    bool ExtendOrStopAtBoundary();
    void WaitWhilePondering();
};

extern SearchRoutines Search;
// The game moves followed by the current search line, by game ply.
extern int FTMoveList[600];
