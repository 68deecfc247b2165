// What the console, xboard and UCI front ends do alike while the engine
// thinks: they hand the search the book's move, play its chosen move on the
// game position, read the commands that arrive, and show table traces.
// Each protocol's observer derives from this and words the reports itself.
#pragma once

#include <string>

#include "search/SearchReport.h"

class GameObserver : public SearchObserver {
public:
    // The books' choice (Polyglot first, then the built-in one).
    bool ChooseBookMove(char side, char castling, const ChessBoard& board, Move* move) override;
    void PlayMove(const Move& move) override;
    void TableTrace(TraceEvent event, int value, int alpha, int beta, u64 upper, u64 lower) override;
    // A whole line is waiting (or the input has ended).
    bool InputWaiting() override;
    bool RunCommand() override;
    void AwaitCommand() override;

protected:
    // Reads the next command: a word under xboard, a line under UCI. False at the end of input.
    virtual bool ReadCommand(std::string* command) = 0;
    // The protocol's interpreter for one command; true when the command ends the search.
    virtual bool Interpret(const std::string& command) = 0;
    // After a command that did not stop the search.
    virtual void AfterCommand() {}
    // A search that has seen enough waits for a command while this holds
    // (pondering, or an analysis that only a command ends).
    virtual bool Waiting() const;

private:
    // Reads one command (the end of input reads as "quit") and interprets it; true when it stops the search.
    bool ReadAndInterpret();
};
