// The UCI interpreter. It reads whole lines: at the top level while the
// engine waits, and from the search's input poll while it thinks, when only
// the commands that concern a running search act at once ("isready",
// "stop", "ponderhit", "quit", and "eval", which only reads); a new position, option or game waits until
// "bestmove" is out.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "board/Bitboard.h"
#include "frontend/shared/EngineIdentity.h"
#include "movegen/MoveGen.h"
#include "search/SearchRoutines.h"

// A longer line is not interpreted at all (a 5,000-ply game takes 30 kB).
constexpr size_t UCILineLimit = size_t(8) << 20;

// A UCI search keeps its clock as the GUI set it (no bonus out of the book),
// and a ponder search or analysis that has seen enough waits for "stop" or
// "ponderhit". The GUI keeps the game's positions itself.
constexpr SearchSettings UCISearch{false, false, true};

// Nodes a second assumed until a search measures its own: for "go infinite"
// and a new game.
constexpr i32 InfiniteSearchSpeed = 800000;

// Conversation states.
enum UCIState : u8 { Waiting = 0, Searching = 1, PonderingState = 2, InfiniteAnalysis = 3 };

// The limits of a "go" line, read and clamped before anything changes.
struct GoLine {
    long long time[2] = {-1, -1}; // wtime, btime in ms; -1 when not given
    long long increment[2] = {0, 0};
    long long movesToGo = 0, depth = 0, nodes = 0, mate = 0, moveTime = -1;
    bool infinite = false, ponder = false;
    bool searchMovesGiven = false;
    std::vector<u16> searchMoves; // fromIndex * 64 + toIndex
};
GoLine ParseGoLine(const char* line);

class UCIProtocol {
public:
    std::string Command = "\n";     // the line being interpreted
    i32 FromIndex = 0, ToIndex = 0; // squares of the move MakeMoves applies
    char Promotion = 0;             // promotion character of the engine's move
    u8 HashSide = 0;                // side given to the history keys
    u8 State = Waiting;
    u64 FromBit = 0, ToBit = 0;
    const char* Version = EngineVersion;
    u8 Continue = 1;
    // Options; each keeps its value until the GUI changes it.
    u8 PonderOption = 0;
    u8 ShowCurrLine = 1;
    u8 AnalyseMode = 0;
    u8 SearchRunning = 0; // a "go" is in its search: lines come from the search's polls

    // Copies the line into Command, logs it and interprets it. At the top
    // level it goes on reading lines until the process ends; from a search
    // it returns 1 to let the search go on, 2 to stop it.
    int UCIPrep(const std::string& line);
    int UCICore();
    // One pass of the handlers over Command: 1 or 2 when the cycle returns
    // to a running search, 0 when it goes on to the next line.
    int HandleLine();
    // Applies a blank-separated list of moves to the position SetPosition set up, each checked:
    // stops at the first that is malformed or not legal and says so.
    // Returns how many were applied.
    int ProcessMoves(const char* list);
    // Applies one legal move and records the position's key.
    void MakeMoves(const Move& move);

    // The settings a "go" line makes before the search; returns the line as read.
    GoLine ApplyGoLine(const char* line);
    // The "bestmove" text of a search result: " e2e4 " or " e7e8q ", with
    // the ponder move behind it when the option is on; " 0000" for no move.
    void BestMoveText(char* out, int size, bool hasMove, const Move& best) const;

private:
    void Identify();
    void ReadyRequest();
    void SetPosition();
    void Go();
    void SearchAndReply(const GoLine& go);
    void NewGame();
    void SetOption();
    void Eval();
    [[noreturn]] void Quit();
    bool NextLine(); // the next waiting line into Command; false at the end of input

    std::deque<std::string> deferred; // lines that came during a search, for after it
};

extern UCIProtocol UCI;

// Says something a GUI shows but does not interpret: "info string <text>".
void InfoString(const char* text);
// Reads the next line from standard input; a line longer than UCILineLimit
// is said to be refused and reads as an empty line. False at the end of input.
bool ReadUCILine(std::string* line);
