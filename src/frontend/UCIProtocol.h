// The UCI interpreter. Runs at the top level while the engine waits, and
// re-entrantly from the search's input polling for each word that arrives.
#pragma once

#include "board/Bitboard.h"

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

    // Copies the line into Command, logs it and interprets it. Returns 1 to
    // let a running search go on, 2 to stop it.
    int UCIPrep(const char* line);
    int UCICore();
    // Applies a blank-separated list of moves to MainBoard; returns how many.
    int ProcessMoves(char* list);
    char* MakeMoves(char* move);
};

extern UCIProtocol UCI;
