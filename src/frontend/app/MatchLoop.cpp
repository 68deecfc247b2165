// The match loop and the hand-over between protocols: the only place that
// names both UCI and xboard.
#include "frontend/app/MatchLoop.h"

#include <cstdio>

#include "board/ChessBoard.h"
#include "core/Log.h"
#include "core/Status.h"
#include "eval/PositionEvaluate.h"
#include "frontend/app/Startup.h"
#include "frontend/batch/BatchInput.h"
#include "frontend/batch/BatchJobs.h"
#include "frontend/shared/Diagram.h"
#include "frontend/uci/UCIObserver.h"
#include "frontend/uci/UCIProtocol.h"
#include "frontend/xboard/Console.h"
#include "frontend/xboard/GameLoop.h"
#include "frontend/xboard/XboardObserver.h"
#include "frontend/xboard/XboardProtocol.h"
#include "search/SearchRoutines.h"
#include "search/TranspositionTables.h"

namespace {

// A batch job's searches report as the console's do, and hear only "quit" and the end of input.
class BatchObserver : public XboardObserver {
public:
    bool InputWaiting() override { return BatchStopRequested(); }
    bool RunCommand() override { EndStoppedBatchJob(); }
};

UCIObserver uciObserver;
XboardObserver xboardObserver; // the console's too
BatchObserver batchObserver;

// The search reports to the protocol the engine speaks, and does what it asks.
void ConnectSearch() {
    const Status& s = MainStatus;
    Search.Observer = s.UCImode             ? static_cast<SearchObserver*>(&uciObserver)
                      : BatchJobRequested() ? &batchObserver
                                            : &xboardObserver;
    Search.Settings = s.UCImode ? UCISearch : s.xboard ? XboardSearch : ConsoleSearch;
}

// Under UCI the interpreter takes over with the first word as its first line;
// it comes back only to be started again.
void RunUCI() {
    UCI.UCIPrep(FirstInputWord());
    if (UCI.Continue == 1) MainStatus.NewMatch = 1;
}

} // namespace

int RunMatchLoop() {
    Status& s = MainStatus;
    ConnectSearch();
    for (;;) {
        WriteLogFile("=====================================\n");
        WriteLogFile("Next Match\n");
        WriteLogFile("=====================================\n");
        if (s.xboard == 1) {
            ClearPawnHash();
            PositionCache.ClearTranspositionTables();
        }
        Phashattempts = 0;
        Phashmisses = 0;
        Search.ClearHistory();
        if (BatchJobRequested()) return RunBatchJob();

        StartConsolePlay();
        if (PersonAtConsole()) {
            ApplyConsoleDefaults();
            GreetPerson();
        } else if (!s.xboard && !s.UCImode) { // self play
            std::printf("\nHello! I am Velkor\n");
            std::printf("MAXDEPTH = %d\n", MainBoard.MaxDepth);
            ShowBoard(MainBoard);
        }
        s.HumanToMove = 1;
        if (s.UCImode == 1)
            RunUCI();
        else
            RunGameLoop(FirstInputWord(), FirstInputLineRest());
        if (!s.NewMatch) break;
    }
    CloseLogFile();
    if (!s.xboard) std::printf("Bye, Thanks for the match.\n");
    return 0;
}
