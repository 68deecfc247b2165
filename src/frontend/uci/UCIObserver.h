// UCI's side of the search: the "info" lines, and the lines read while
// the engine thinks, handed to the interpreter.
#pragma once

#include <string>

#include "frontend/shared/GameObserver.h"

class UCIObserver : public GameObserver {
public:
    void PlayingAtLevel(int elo, u64 seed) override;
    void IterationStarted(int depth) override;
    void BookMoveChosen() override;
    bool ChooseBookMove(char side, char castling, const ChessBoard& board, Move* move) override;
    void RootMoveStarted(int depth, PVEntry move, int number, long long nodes) override;
    void NewBestLine(const SearchReport& report) override;
    void IterationInterrupted(const SearchReport& report, Interruption how, int legalMoves) override;
    void IterationDone(const SearchReport& report) override;
    void SearchFinished(const SearchReport& report, bool stopped, bool bookMove, bool hasMove) override;
    void PlayMove(const Move& move) override;

protected:
    bool ReadCommand(std::string* command) override;
    bool Interpret(const std::string& line) override;
    bool Waiting() const override;
};

// The score as UCI writes it: "cp 34" or "mate 3", "mate -2"; a stalemate scores 0.
std::string UciScore(const SearchReport& report);
