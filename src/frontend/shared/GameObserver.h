// What the console, xboard and UCI front ends do alike while the engine
// thinks: they hand the search the book's move, play its chosen move on the
// game position, read the commands that arrive, and show table traces.
// Each protocol's observer derives from this and words the reports itself.
#pragma once

#include <string>

#include "search/SearchReport.h"

class GameObserver : public SearchObserver {
public:
    // The Polyglot book first, then the built-in one.
    bool ChooseBookMove(char side, char castling, const ChessBoard& board, u64* from, u64* to, char* promote) override;
    void PlayMove(u64 from, u64 to, char promote) override;
    void TableTrace(TraceEvent event, int value, int alpha, int beta, u64 upper, u64 lower) override;
    bool InputWaiting() override;
    bool RunCommand() override;
    void AwaitCommand() override;

protected:
    // Reads the next command: a word here, a line in UCI. False at the end of input.
    virtual bool ReadCommand(char* buffer, int size);
    // The protocol's interpreter for one command; the result codes of DoCommand (2: the search stops).
    virtual int Interpret(char* command) = 0;
    // After a command that did not stop the search.
    virtual void AfterCommand() {}
    // A search that has seen enough waits for a command while this holds
    // (pondering, or an analysis that only a command ends).
    virtual bool Waiting() const;

private:
    // Reads one command (the end of input reads as "quit") and interprets it; true when it stops the search.
    bool ReadAndInterpret();
};

// The report's line as move text: " e2e4 e7e5 g1f3 \n" (MoveTextSize bytes).
void LineText(char* out, const SearchReport& report);

// The report's line as moves: "e2e4 e7e5 e7e8q".
std::string LineMoves(const SearchReport& report);

// Registers the observer of the mode the engine runs in.
void RegisterSearchObserver();
