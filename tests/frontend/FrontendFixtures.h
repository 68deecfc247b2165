// Shared set-up for the front-end tests: scripted standard input (the
// interpreters read further words and numbers straight from stdin) and a
// UCI interpreter waiting over the initial position.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "board/ChessBoard.h"
#include "frontend/Status.h"
#include "frontend/UCIProtocol.h"
#include "search/MoveHistory.h"

inline void FeedInput(const std::string& text) {
    char path[] = "/tmp/velkor-input-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, text.data(), text.size()), ssize_t(text.size()));
    close(fd);
    ASSERT_TRUE(std::freopen(path, "r", stdin));
    unlink(path);
}

class UCITest : public testing::Test {
protected:
    void SetUp() override {
        MainStatus.UCImode = 1;
        MainStatus.initVars();
        MainBoard.InitRep();
        MoveList.Init();
        UCI.State = Waiting;
        UCI.PonderOption = UCI.ReadyPending = UCI.AnalyseMode = UCI.HashSide = 0;
    }
    void TearDown() override { MainStatus.UCImode = MainStatus.Analyze = MainStatus.Pondering = 0; }
    // One pass of the handlers over the line, as the interpreter cycle makes it.
    int Handle(const char* line) {
        std::snprintf(UCI.Command, sizeof UCI.Command, "%s", line);
        return UCI.HandleLine();
    }
};
