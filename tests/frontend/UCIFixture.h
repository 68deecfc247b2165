// A UCI interpreter in its waiting state over the initial position.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>

#include "board/ChessBoard.h"
#include "frontend/Status.h"
#include "frontend/UCIProtocol.h"
#include "search/MoveHistory.h"

class UCITest : public testing::Test {
protected:
    void SetUp() override {
        MainStatus.UCImode = 1;
        MainStatus.initVars();
        MainBoard.InitRep();
        MoveList.Init();
        UCI.State = Waiting;
        UCI.PonderOption = 0;
        UCI.ReadyPending = 0;
        UCI.AnalyseMode = 0;
        UCI.HashSide = 0;
    }
    void TearDown() override {
        MainStatus.UCImode = 0;
        MainStatus.Analyze = 0;
        MainStatus.Pondering = 0;
    }
public:
    // Runs the handlers once over the line, as the interpreter cycle does.
    int Run(const char* line) { return Handle(line); }

protected:
    int Handle(const char* line) {
        std::snprintf(UCI.Command, sizeof UCI.Command, "%s", line);
        return UCI.HandleLine();
    }
};
