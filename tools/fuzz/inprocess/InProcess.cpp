// velkor_fuzz_inprocess: the engine's text readers fuzzed inside one process,
// thousands of inputs a second instead of one process an input.
//
//   velkor_fuzz_inprocess --target uci|xboard|epd|book --corpus DIR [--seconds N] [--seed S] [--work DIR]
//
// Each input is a mutation of a seed from the corpus directory, fed to the
// real reader: UCI and xboard/console sessions through standard input and the
// interpreters' own loops, EPD text through the -eval, -pev and -lpf readers
// and the position checks, book bytes through the Polyglot reader and its
// move choice. The link wraps exit(), so "quit" and the end of input return
// here instead of ending the process; searches are cut after a few hundred
// nodes. A crash or sanitizer report ends the process: the input that caused
// it is the file "current" in the work directory. A run that takes more than
// ten seconds is killed by the alarm, with the same file kept.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "board/HashKeys.h"
#include "book/OpeningBook.h"
#include "book/PolyglotBook.h"
#include "core/Platform.h"
#include "core/Status.h"
#include "eval/PositionEvaluate.h"
#include "frontend/batch/EvalSuite.h"
#include "frontend/batch/TestSuite.h"
#include "frontend/shared/GameRecord.h"
#include "frontend/shared/PositionInput.h"
#include "frontend/uci/UCIObserver.h"
#include "frontend/uci/UCIProtocol.h"
#include "frontend/xboard/CommandInput.h"
#include "frontend/xboard/Console.h"
#include "frontend/xboard/GameLoop.h"
#include "frontend/xboard/XboardObserver.h"
#include "frontend/xboard/XboardProtocol.h"
#include "fuzz/Rng.h"
#include "movegen/LegalMoves.h"
#include "movegen/PerfT.h"
#include "search/MoveHistory.h"
#include "search/SearchRoutines.h"
#include "search/TranspositionTables.h"

namespace {

struct EngineExit {
    int code;
};

constexpr long long NodeBudget = 100; // a search is stopped at its first poll past this
constexpr i32 AssumedSpeed = 10000;   // nodes a second: a poll every hundred nodes
constexpr size_t MaxInput = 1 << 16;
constexpr unsigned RunAlarmSeconds = 10;

// The searches stop themselves: a poll past the budget, or a wait for a command, gets one that ends them.
class UciHarness : public UCIObserver {
public:
    bool InputWaiting() override { return Search.TotalNodes() > NodeBudget; }
    void AwaitCommand() override { Interpret("stop"); }
    void IterationStarted(int depth) override {
        MainStatus.NodesPerSecond = AssumedSpeed;
        UCIObserver::IterationStarted(depth);
    }

protected:
    bool ReadCommand(std::string* command) override {
        *command = "stop";
        return true;
    }
};

class XboardHarness : public XboardObserver {
public:
    bool InputWaiting() override { return Search.TotalNodes() > NodeBudget; }
    void AwaitCommand() override { Interpret("?"); }
    void IterationStarted(int depth) override {
        MainStatus.NodesPerSecond = AssumedSpeed;
        SearchObserver::IterationStarted(depth);
    }

protected:
    bool ReadCommand(std::string* command) override {
        *command = "?";
        return true;
    }
};

UciHarness uciHarness;
XboardHarness xboardHarness;
std::string current; // the file that holds the input being run
int currentFd = -1;

void Store(const std::string& input) {
    if (ftruncate(currentFd, 0) != 0 || pwrite(currentFd, input.data(), input.size(), 0) != ssize_t(input.size())) {
        std::perror("velkor_fuzz_inprocess: writing the current input");
        std::abort();
    }
}

void FeedStandardInput() {
    const int fd = open(current.c_str(), O_RDONLY);
    dup2(fd, STDIN_FILENO);
    close(fd);
    RestartInput();
}

void ResetEngine() {
    Status& s = MainStatus;
    s.initVars();
    s.xboard = s.UCImode = 0;
    MainBoard.InitRep();
    MainBoard.MaxDepth = 56;
    ResetGame();
    MoveList.Init();
    RefreshPieceCounts(MainBoard);
    Search.ClearHistory();
    s.NodesPerSecond = AssumedSpeed;
    UCI.State = Waiting;
    UCI.SearchRunning = 0;
    UCI.Continue = 1;
    UCI.PonderOption = UCI.AnalyseMode = 0;
    LeaveConsolePlay(); // no console state of the last input
    Input.Reset();
}

// Lines that would make every input a benchmark of memset go: a table of
// 4 GB ("Hash"), and past the first two searches and the first new game
// (each clears tables of megabytes, which under the sanitizers costs more
// than reading a thousand lines).
std::string Trimmed(const std::string& input) {
    std::istringstream in(input);
    std::string kept, line;
    int searches = 0, newGames = 0;
    while (std::getline(in, line)) {
        std::string lower = line;
        for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (lower.find("hash") != std::string::npos && lower.find("value") != std::string::npos) continue;
        if (lower.find("go") != std::string::npos && ++searches > 2) continue;
        if (lower.find("ucinewgame") != std::string::npos && ++newGames > 1) continue;
        kept += line + "\n";
    }
    return kept;
}

void RunUci(const std::string& input) {
    ResetEngine();
    MainStatus.UCImode = 1;
    Search.Observer = &uciHarness;
    Search.Settings = UCISearch;
    Store(Trimmed(input));
    FeedStandardInput();
    try {
        UCI.UCIPrep(""); // reads lines until the end of input, which quits
    } catch (const EngineExit&) {}
}

void RunXboard(const std::string& input) {
    ResetEngine();
    MainStatus.xboard = input.empty() || (input[0] & 1); // the console for the other half
    Search.Observer = &xboardHarness;
    Search.Settings = MainStatus.xboard ? XboardSearch : ConsoleSearch;
    StartConsolePlay(); // a person's console, as the match loop starts it
    Store(input);
    FeedStandardInput();
    try {
        RunGameLoop("", "");
    } catch (const EngineExit&) {}
}

void RunEpd(const std::string& input) {
    ResetEngine();
    Store(input);
    Status& s = MainStatus;
    EvalSuite(current.c_str());
    s.PEV = 1; // the boards drawn, no search
    ParseEPDSuite(current.c_str());
    s.PEV = 0;
    try {
        LoadPositionFile(current.c_str());
    } catch (const EngineExit&) {}
    std::istringstream in(input);
    for (std::string line; std::getline(in, line);) {
        for (const bool epd : {false, true}) {
            ChessBoard board;
            if (!ReadPosition(line.c_str(), &board, epd).empty()) continue;
            MainBoard = board;
            RefreshPieceCounts(MainBoard);
            (void)Pos2FenText(MainBoard);
            (void)PE.PosEval(char(MainBoard.SideToMove), -110000, 110000, &MainBoard);
            for (const Move& m : LegalMoves(MainBoard))
                if (!IsLegal(MainBoard, m)) std::abort(); // the two legal-move answers disagree
            PerfT perft(2);
        }
    }
}

const char* const BookPositions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "8/1P6/8/8/8/8/6k1/K7 w - - 0 1",
};

void RunBook(const std::string& input) {
    Store(input);
    std::string message;
    if (!LoadPolyglotBook(current, &message)) return;
    SetPolyglotBookSeed(u64(input.size()) + 1);
    for (const char* fen : BookPositions) {
        ChessBoard board;
        if (!ReadPosition(fen, &board).empty()) std::abort();
        const char side = char(board.SideToMove);
        Move move;
        if (!PolyglotBookMove(board, side, char(board.Castling), &move)) continue;
        bool legal = false;
        for (const Move& m : LegalMoves(board, side, char(board.Castling)))
            legal |= m.from == move.from && m.to == move.to;
        if (!legal) std::abort(); // the book gave a move the position does not have
    }
    UnloadPolyglotBook();
}

struct Target {
    const char* name;
    void (*run)(const std::string&);
    std::vector<std::string> tokens; // spliced into inputs by the mutator
};

const std::vector<Target> targets = {
    {"uci",
     RunUci,
     {"uci\n",
      "isready\n",
      "ucinewgame\n",
      "position startpos moves ",
      "position fen ",
      " moves ",
      "go depth 2\n",
      "go nodes 50\n",
      "go infinite\n",
      "go ponder\n",
      "stop\n",
      "ponderhit\n",
      "quit\n",
      "go wtime ",
      " btime ",
      " winc ",
      " movestogo ",
      " movetime ",
      " mate ",
      " searchmoves ",
      "setoption name ",
      " value ",
      "OwnBook",
      "Ponder",
      "UCI_AnalyseMode",
      "BookFile",
      "BookSeed",
      "Clear Hash",
      "true",
      "false",
      "e2e4",
      "e7e8q",
      "a7a8n",
      "e1g1",
      "0000",
      "-1",
      "99999999999999999999",
      "\r\n",
      "\xEF\xBB\xBF",
      "8/8/8 w",
      "k7/8/8/8/8/8/8/K7 b - - 0 1",
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"}},
    {"xboard",
     RunXboard,
     {"xboard\n",
      "protover 2\n",
      "new\n",
      "force\n",
      "go\n",
      "level ",
      "st ",
      "sd ",
      "sfd ",
      "time ",
      "otim ",
      "usermove ",
      "ping ",
      "setboard ",
      "edit\n",
      "#\n",
      ".\n",
      "c\n",
      "Ke1\n",
      "xe4\n",
      "Pa7\n",
      "undo\n",
      "remove\n",
      "analyze\n",
      "exit\n",
      "?\n",
      "result 1-0 {x}\n",
      "post\n",
      "nopost\n",
      "option BookSeed=",
      "option BookFile=",
      "quit\n",
      "hint\n",
      "moves\n",
      "verbose\n",
      "Nf3\n",
      "O-O\n",
      "exd5\n",
      "e8=Q\n",
      "bk\n",
      "white\n",
      "black\n",
      "displayboard\n",
      "dumpsee ",
      "e2e4\n",
      "e7e5\n",
      "a7a8q\n",
      "40 5 0\n",
      "0:30",
      "0.5",
      "-7",
      "2147483648",
      "\r\n",
      "\xEF\xBB\xBF",
      "8/8/8/8/8/8/8/K6k w - - 0 1\n"}},
    {"epd", RunEpd, {"rnbqkbnr", "pppppppp", "8",           "/",    " w ",    " b ", "KQkq",     " - ",
                     "e3",       "e6",       " bm ",        " id ", "\"x\";", "K",   "k",        "P",
                     "p",        "Q",        "99999999999", "\r\n", "\n",     "0 1", "/8/8/8/8", "RRRRRRRR"}},
    {"book",
     RunBook,
     {std::string("\x46\x3b\x96\x18\x16\x91\xfc\x9c", 8), std::string(16, '\0'), "\x01\x0c", std::string("\xff\xff", 2),
      std::string("\x7f\xff", 2), std::string("\x01\x2f", 2)}},
};

std::string Mutate(Rng& rng, const std::vector<std::string>& corpus, const std::vector<std::string>& tokens) {
    std::string s = rng.Pick(corpus);
    const int steps = rng.Range(1, 6);
    for (int i = 0; i < steps; ++i) {
        const size_t at = s.empty() ? 0 : size_t(rng.Below(int(s.size()) + 1));
        const size_t span = s.empty() ? 0 : size_t(rng.Range(1, 16));
        switch (rng.Below(9)) {
        case 0:
            if (!s.empty()) s[at % s.size()] ^= char(1 << rng.Below(8));
            break;
        case 1: s.insert(at, 1, char(rng.Below(256))); break;
        case 2: s.erase(at, span); break;
        case 3: s.insert(at, rng.Pick(tokens)); break;
        case 4: s.replace(at, span, rng.Pick(tokens)); break;
        case 5: s.insert(at, s.substr(at, span * size_t(rng.Range(1, 4)))); break;
        case 6: {
            const std::string& other = rng.Pick(corpus);
            const size_t from = other.empty() ? 0 : size_t(rng.Below(int(other.size())));
            s.insert(at, other.substr(from, size_t(rng.Range(1, 64))));
            break;
        }
        case 7: s.insert(at, std::to_string(rng.Next() >> rng.Below(64))); break;
        default: s.insert(at, std::string(size_t(rng.Range(1, 300)), char(rng.Pick({"a", " ", "1", "\n"})[0]))); break;
        }
    }
    if (s.size() > MaxInput) s.resize(MaxInput);
    return s;
}

[[noreturn]] void Usage(const char* why) {
    std::fprintf(stderr,
                 "velkor_fuzz_inprocess: %s\n"
                 "usage: velkor_fuzz_inprocess --target uci|xboard|epd|book --corpus DIR [--seconds N] [--seed S] "
                 "[--work DIR]\n",
                 why);
    std::_Exit(2);
}

} // namespace

// exit() from the engine comes here (-Wl,--wrap=exit) and unwinds to the run that called it.
extern "C" [[noreturn]] void __wrap_exit(int code) { throw EngineExit{code}; }

int main(int argc, char** argv) {
    // Memory-backed when the machine has it: the input is written there before every run.
    std::string targetName, corpusDir,
        work =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm/velkor-fuzz-inprocess" : "/tmp/velkor-fuzz-inprocess";
    long seconds = 10;
    std::uint64_t seed = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc) Usage(("missing value after " + a).c_str());
        const std::string v = argv[++i];
        if (a == "--target")
            targetName = v;
        else if (a == "--corpus")
            corpusDir = v;
        else if (a == "--seconds")
            seconds = std::atol(v.c_str());
        else if (a == "--seed")
            seed = std::strtoull(v.c_str(), nullptr, 10);
        else if (a == "--work")
            work = v;
        else
            Usage(("unknown option " + a).c_str());
    }
    const Target* target = nullptr;
    for (const Target& t : targets)
        if (targetName == t.name) target = &t;
    if (!target) Usage("no such target");

    std::vector<std::string> corpus;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(corpusDir, error)) {
        std::ifstream in(entry.path(), std::ios::binary);
        corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (corpus.empty()) Usage(("no seed inputs in " + corpusDir).c_str());

    std::filesystem::create_directories(work, error);
    current = work + "/current-" + target->name;
    currentFd = open(current.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (currentFd < 0 || chdir(work.c_str()) != 0) Usage(("cannot use the work directory " + work).c_str());
    // What the engine says goes nowhere; the report goes to standard error.
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    close(null);

    MainStatus.initVars();
    MainBoard.InitRep();
    initPStable();
    buildbook();
    PositionCache.Resize(1);

    Rng rng(seed);
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + std::chrono::seconds(seconds);
    long runs = 0;
    for (const std::string& s : corpus) { // every seed once as it is
        alarm(RunAlarmSeconds);
        target->run(s);
        ++runs;
    }
    while (std::chrono::steady_clock::now() < end) {
        const std::string input = Mutate(rng, corpus, target->tokens);
        alarm(RunAlarmSeconds);
        target->run(input);
        ++runs;
    }
    alarm(0);
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "velkor_fuzz_inprocess: %s: %ld runs in %.0f s (%.0f a second), no finding\n", target->name,
                 runs, elapsed, runs / elapsed);
    std::fflush(stdout);
    std::_Exit(0); // the engine's globals are in whatever state the last run left
}
