// The console's and xboard's side of the search: thinking lines, kibitz
// lines, the analysis status line, the console's time report, and the
// commands that arrive while the engine thinks.
#pragma once

#include "frontend/shared/GameObserver.h"

class XboardObserver : public GameObserver {
public:
    bool ChooseBookMove(char side, char castling, const ChessBoard& board, Move* move) override;
    void BudgetSet() override;
    void PlayingAtLevel(int elo, u64 seed) override; // LevelCommands.cpp
    void IterationStarted(int depth) override;
    void BookMoveChosen() override;
    void NewBestLine(const SearchReport& report) override;
    void IterationInterrupted(const SearchReport& report, Interruption how, int legalMoves) override;
    void IterationDone(const SearchReport& report) override;
    void SearchFinished(const SearchReport& report, bool stopped, bool bookMove, bool hasMove) override;
    void Polled() override;
    void PlayMove(const Move& move) override;
    bool InputWaiting() override;

protected:
    bool ReadCommand(std::string* command) override;
    bool Interpret(const std::string& command) override;
};
