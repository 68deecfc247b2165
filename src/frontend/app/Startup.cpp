// The start-up sequence.
#include "frontend/app/Startup.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/ChessBoard.h"
#include "board/HashKeys.h"
#include "book/OpeningBook.h"
#include "core/Log.h"
#include "core/Platform.h"
#include "core/Status.h"
#include "eval/PositionEvaluate.h"
#include "frontend/app/CommandLine.h"
#include "frontend/batch/BatchJobs.h"
#include "search/TranspositionTables.h"

namespace {

// The first input word; in UCI mode it is the interpreter's first line.
char firstWord[256];
std::string firstLineRest; // the console's and xboard's: the arguments of a first command
bool bannerShown = false;

void ReadFirstWord() {
    if (!ReadWord(firstWord, sizeof firstWord)) return; // end of input: nothing to choose
    if (std::strstr(firstWord, "uci")) MainStatus.UCImode = 1;
    if (std::strstr(firstWord, "xboard")) MainStatus.xboard = 1;
    if (!MainStatus.UCImode && !AtLineEnd())
        ReadLine(&firstLineRest, 65536);
    else
        SkipChar();
}

} // namespace

const char* FirstInputWord() { return firstWord; }

const std::string& FirstInputLineRest() { return firstLineRest; }

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
