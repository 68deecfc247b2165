// Start-up sequence and match loop.
#include "frontend/app/Startup.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/ChessBoard.h"
#include "board/HashKeys.h"
#include "book/OpeningBook.h"
#include "core/Log.h"
#include "core/Platform.h"
#include "core/Status.h"
#include "eval/PositionEvaluate.h"
#include "frontend/app/CommandLine.h"
#include "frontend/batch/TestSuite.h"
#include "frontend/shared/Diagram.h"
#include "frontend/shared/GameObserver.h"
#include "frontend/xboard/GameLoop.h"
#include "movegen/PerfT.h"
#include "search/SearchRoutines.h"
#include "search/TranspositionTables.h"

namespace {

// The first input word; in UCI mode it is the interpreter's first line.
char firstWord[256];
bool bannerShown = false;

void ReadFirstWord() {
    if (!ReadWord(firstWord, sizeof firstWord)) return; // end of input: nothing to choose
    SkipChar();
    if (std::strstr(firstWord, "uci")) MainStatus.UCImode = 1;
    if (std::strstr(firstWord, "xboard")) MainStatus.xboard = 1;
}

} // namespace

void ShowBanner() {
    if (bannerShown || MainStatus.UCImode) return;
    bannerShown = true;
    std::printf("Velkor \n");
    std::fflush(stdout);
}

void StartUp(int argc, char** argv) {
    // A GUI that starts the engine without arguments sends the protocol's name
    // first: a UCI GUI must see nothing else, so the banner waits for that word.
    if (isatty(STDIN_FILENO)) ShowBanner();
    MainStatus.initVars();
    MainStatus.xboard = 0;
    MainStatus.UCImode = 0;
    MainBoard.InitRep();
    initPStable();
    buildbook();
    MainBoard.InitRep();
    MainStatus.initVars();
    OpenLogFile();
    ParseCommandLine(argc, argv);

    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN); // a GUI that goes away must not kill us mid-write
    std::fflush(stdout);
    std::setvbuf(stdin, nullptr, _IONBF, 0);
    std::setvbuf(stdout, nullptr, _IONBF, 0);

    const Status& s = MainStatus;
    // A batch job searches at once: the table's memory is populated from now
    // on, not from its first search (front ends wait for their first command).
    if (s.BenchNumber || s.SATrain || s.DoTestSuite || s.PEV || s.Mimic) PositionCache.Populate();
    if (!s.PERFT && !s.BenchNumber && !s.SATrain && !EvalSuiteRequested) ReadFirstWord();
    ShowBanner();
}

int RunMatchLoop() {
    Status& s = MainStatus;
    RegisterSearchObserver();
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

        if (s.PERFT == 1) {
            PerfT perft(s.getFD()); // the count runs and reports in the constructor
            return 0;
        }
        if (EvalSuiteRequested) {
            EvalSuite(EvalFile.c_str());
            return 0;
        }
        if (s.DoTestSuite != 0) {
            ParseEPDSuite(SuiteFile.c_str());
            return 0;
        }
        if (s.Mimic == 1) {
            std::printf("## Mimic == STUDENT\n");
            ParseEPDSuite(SuiteFile.c_str());
            return 0;
        }
        if (s.PEV != 0) {
            ParseEPDSuite(SuiteFile.c_str());
            return 0;
        }
        if (s.SATrain == 1) s.BenchNumber = 1;
        if (s.BenchNumber == 1) {
            Bench();
            std::exit(0);
        }
        if (s.BenchNumber == 2) {
            Bench2();
            std::exit(0);
        }

        if (!s.xboard && !s.UCImode) {
            std::printf("\nHello! I am Velkor\n");
            std::printf("MAXDEPTH = %d\n", MainBoard.MaxDepth);
            ShowBoard(MainBoard);
        }
        s.HumanToMove = 1;
        RunGameLoop(firstWord);
        if (!s.NewMatch) break;
    }
    CloseLogFile();
    if (!s.xboard) std::printf("Bye, Thanks for the match.\n");
    return 0;
}
