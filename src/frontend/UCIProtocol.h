// The UCI interpreter. Runs at the top level while the engine waits, and
// re-entrantly from the search's input polling for each word that arrives.
#pragma once

#include "board/Bitboard.h"
#include "frontend/GameObserver.h"

constexpr int UCICommandSize = 10000;

// Conversation states.
enum UCIState : u8 { Waiting = 0, Searching = 1, PonderingState = 2, InfiniteAnalysis = 3 };

class UCIProtocol {
public:
    char Command[UCICommandSize] = "\n"; // the line being interpreted
    i32 FromIndex = 0, ToIndex = 0;      // squares of the move MakeMoves applies
    char Promotion = 0;                  // promotion character of the engine's move
    u8 HashSide = 0;                     // side given to the history keys
    u8 State = Waiting;
    u64 FromBit = 0, ToBit = 0;
    char Version[40] = "1.0";
    u8 Continue = 1;
    u8 PonderOption = 0;
    u8 ShowCurrLine = 1;
    u8 ReadyPending = 0; // an "isready" came during a ponder or infinite search
    u8 AnalyseMode = 0;  // the UCI_AnalyseMode option
    u8 SearchRunning = 0; // a "go" is in its search: the lines come from the search's polls

    // Copies the line into Command, logs it and interprets it. Returns 1 to
    // let a running search go on, 2 to stop it.
    int UCIPrep(const char* line);
    // Interprets Command and, while no search runs, reads and interprets
    // further lines. "quit" and the end of input end the process.
    int UCICore();
    // One pass of the handlers over Command: 1 or 2 when the cycle returns
    // there (see UCIPrep), 0 when it goes on to read the next line.
    int HandleLine();
    // Applies a blank-separated list of moves to MainBoard; returns how many.
    int ProcessMoves(char* list);
    // Applies one move given as text and records the position's key.
    char* MakeMoves(char* move);

    // Steps of "go" before the search: the clock, depth, mode and
    // searchmoves settings of the line.
    void ApplyGoLine(const char* line);
    // The "bestmove" text of a search result: " e2e4 " or " e7e8q ", with
    // the ponder move behind it when the option is on; " 0000" for no move.
    void BestMoveText(char* out, int size, bool hasMove, u64 from, u64 to, char promote) const;

private:
    void Identify();
    void ReadyRequest();
    void SetPosition();
    void Go();
    void SearchAndReply();
    void NewGame();
    void SetOption();
    [[noreturn]] void Quit();
    void ReadSearchMoves(const char* list);
};

extern UCIProtocol UCI;

// UCI's words for what the search reports: "info" lines (UCIThinking.cpp).
class UCIObserver : public GameObserver {
public:
    void AnalysisTick() override;
    void IterationStarted(int depth) override;
    void BookMoveChosen() override;
    void RootMoveStarted(int depth, PVEntry move, int number, long long nodes) override;
    void NewBestLine(const SearchReport& report) override;
    void IterationInterrupted(const SearchReport& report, Interruption how, int legalMoves) override;
    void IterationDone(const SearchReport& report) override;
    void SpeedMeasured(int nodesPerSecond, int seconds) override;
    void SearchFinished(const SearchReport& report, bool stopped, bool bookMove, bool hasMove) override;

protected:
    int Interpret(char* word) override;
};

extern UCIObserver UCIReporter;
