// Command-line options.
#include "frontend/app/CommandLine.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "book/PolyglotBook.h"
#include "core/Status.h"
#include "frontend/app/Startup.h"
#include "frontend/batch/BatchJobs.h"
#include "frontend/xboard/Console.h"
#include "search/TimeManagement.h"

namespace {

const char* const helpText = "xboard   used when interfacing with xboard\n"
                             "-uci   used when interfacing with an UCI based GUI\n"
                             "-bench  run an internal benchmark suite\n"
                             "-fd  n    fixes search depth to n ply (min n = 3)\n"
                             "-lpf filename  loads a position from file\n"
                             "-pev  filename - run through a testsuite (EPD Format) & output full evaluation "
                             "detail per position\n"
                             "-sd  n   sets max search depth to n ply (min n = 3)\n"
                             "-sp  self play\n"
                             "-ts  filename run through a testsuite (EPD Format)\n";

constexpr int MaxFixedDepth = 100;    // deeper than any search goes
constexpr int DefaultBenchDepth = 11; // the depth of "make bench"

// The number the leading digits spell (no sign), saturated; 0 when the text starts otherwise.
int Number(const char* text) {
    long long v = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p) {
        v = v * 10 + (*p - '0');
        if (v > INT_MAX) return INT_MAX;
    }
    return int(v);
}

// The argument list with the option being examined, its value reader and the matching rules.
struct Args {
    int argc;
    char** argv;
    int next;        // index of the next unexamined argument
    const char* arg; // text the remaining tests of this pass look at

    bool Exact(const char* option) const { return std::strcmp(arg, option) == 0; }
    bool Contains(const char* option) const { return std::strstr(arg, option) != nullptr; }
    // Consumes the next argument as the value; false when there is none.
    bool TakeValue() {
        if (next >= argc) return false;
        arg = argv[next++];
        return true;
    }
};

void SetFixedDepth(int depth) {
    const int n = std::min(depth, MaxFixedDepth);
    MainStatus.setFD(char(n));
    MainBoard.MaxDepth = n;
    MainBoard.FixedDepth = n;
}

bool AllDigits(const char* text) { return *text && std::strspn(text, "0123456789") == std::strlen(text); }

// "velkor bench [DEPTH]", as testing frameworks run it: benchmark 1, ending
// in the line they read. Returns the index of the first argument left for
// the options.
int BenchCommand(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "bench") != 0) return 1;
    MainStatus.BenchNumber = 1;
    BenchSummaryRequested = true;
    const bool depthGiven = argc > 2 && AllDigits(argv[2]);
    SetFixedDepth(depthGiven ? std::max(Number(argv[2]), 1) : DefaultBenchDepth);
    return depthGiven ? 3 : 2;
}

// A book that cannot be used is reported on standard error, which no
// protocol reads, and play goes on without one.
void LoadBook(const char* path) {
    std::string message;
    if (!LoadPolyglotBook(path, &message)) std::fprintf(stderr, "%s\n", message.c_str());
}

} // namespace

void ParseCommandLine(int argc, char** argv) {
    Status& s = MainStatus;
    Args a{argc, argv, BenchCommand(argc, argv), nullptr};
    while (a.next < argc) {
        a.arg = argv[a.next++];
        if (a.Exact("-satrain")) s.SATrain = 1;
        if (a.Exact("-bench")) s.BenchNumber = 1;
        if (a.Exact("-bench2")) s.BenchNumber = 2;
        if (a.Exact("-bench3")) s.BenchNumber = 3;
        if (a.Exact("-bench4")) s.BenchNumber = 4;
        if (a.Exact("-bench5")) s.BenchNumber = 5;
        if (a.Exact("-fd") && a.TakeValue()) SetFixedDepth(Number(a.arg));
        if (a.Exact("-help") || a.Exact("-h")) {
            ShowBanner();
            std::fputs(helpText, stdout);
            std::exit(0);
        }
        if (a.Contains("-kibitz")) s.Kibitz = 1;
        if (a.Contains("-lpf") && a.TakeValue()) {
            ShowBanner(); // an unreadable file is said at once
            LoadPositionFile(a.arg);
        }
        if (a.Contains("-nobook")) s.OwnBook = 0;
        if (a.Exact("-perft")) s.setPERFT(1);
        if (a.Exact("-mimicstudent") && a.TakeValue()) {
            ShowBanner();
            std::printf("## Mimic Student option detected \n");
            std::fflush(stdout);
            s.Mimic = 1;
            SuiteFile = a.arg;
        }
        if (a.Exact("-pev") && a.TakeValue()) {
            s.PEV = 1;
            SuiteFile = a.arg;
        }
        if (a.Contains("-post")) s.Post = 1;
        if (a.Contains("-sd") && a.TakeValue()) MainBoard.MaxDepth = Number(a.arg);
        if (a.Contains("-sp")) s.SelfPlay = 1;
        if (a.Contains("-trace")) s.Trace = 1;
        if (a.Contains("-st") && a.TakeValue()) SetSecondsPerMove(Number(a.arg));
        if (a.Contains("-tc")) a.TakeValue();
        if (a.Contains("-ts") && a.TakeValue()) {
            s.setDoTestSuite(1);
            SuiteFile = a.arg;
        }
        if (a.Contains("xboard")) s.setxboard(1);
        if (a.Contains("-uci")) s.UCImode = 1;
        if (a.Exact("-eval") && a.TakeValue()) {
            EvalSuiteRequested = true;
            EvalFile = a.arg;
        }
        if (a.Exact("-book") && a.TakeValue()) LoadBook(a.arg);
        if (a.Exact("-v") || a.Exact("-verbose")) SetConsoleVerbose(true);
    }
}
