// The UCI interpreter cycle and its handlers other than "position" and "go".
#include "frontend/uci/UCIProtocol.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "board/ChessBoard.h"
#include "book/PolyglotBook.h"
#include "core/Log.h"
#include "core/Platform.h"
#include "core/Status.h"
#include "eval/PositionEvaluate.h"
#include "frontend/shared/EvalTable.h"
#include "frontend/shared/GameRecord.h"
#include "frontend/uci/UCIOptions.h"
#include "search/SearchRoutines.h"
#include "search/TimeManagement.h"
#include "search/TranspositionTables.h"

UCIProtocol UCI;

namespace {

void Reply(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

// The first word of a line, lower case kept as sent.
std::string FirstWord(const char* line) {
    std::istringstream in(line);
    std::string word;
    in >> word;
    return word;
}

// In UCI mode a problem the engine notices is shown, not interpreted.
void ProblemAsInfo(const char* text) {
    WriteLogFile(text);
    InfoString(text);
}

} // namespace

void InfoString(const char* text) {
    std::printf("info string %s\n", text);
    std::fflush(stdout);
}

bool ReadUCILine(std::string* line) {
    bool cut = false;
    if (!ReadLine(line, UCILineLimit, &cut)) return false;
    if (cut) {
        char text[96];
        std::snprintf(text, sizeof text, "line longer than %zu bytes ignored: %.20s", UCILineLimit, line->c_str());
        InfoString(text);
        line->clear();
    }
    return true;
}

int UCIProtocol::UCIPrep(const std::string& line) {
    if (line.empty() && InputEnded()) Quit(); // the search polled a closed input
    SetProblemSink(ProblemAsInfo);
    Command = line;
    WriteLogFile(Command.c_str());
    return UCICore();
}

int UCIProtocol::UCICore() {
    for (;;) {
        if (int result = HandleLine()) return result;
        if (SearchRunning) {
            WriteLogFile("State != WAITING so returning 1\n");
            return 1;
        }
        if (!NextLine()) Quit(); // end of input
        WriteLogFile(Command.c_str());
    }
}

bool UCIProtocol::NextLine() {
    if (!deferred.empty()) {
        Command = deferred.front();
        deferred.pop_front();
        return true;
    }
    return ReadUCILine(&Command);
}

int UCIProtocol::HandleLine() {
    const std::string word = FirstWord(Command.c_str());
    // While a search runs only what concerns it acts at once; the rest waits for "bestmove".
    if (SearchRunning) {
        auto endSearch = [] {
            Search.AbortSearch();
            MainStatus.Analyze = 0;
            MainStatus.Pondering = 0;
        };
        if (word == "isready") ReadyRequest();
        if (word == "uci") Identify();
        if (word == "eval") Eval(); // on a copy of the position: the search goes on undisturbed
        if (word == "quit") Quit();
        if (word == "ponderhit" && State == PonderingState) {
            MainStatus.Pondering = 0;
            State = Searching;
        }
        if (word == "stop") {
            endSearch();
            WriteLogFile("Received stop and Aborting Ponder\n");
            return 2;
        }
        if (word == "ucinewgame") {
            endSearch();
            WriteLogFile("Received ucinewgame while doing something other than WAITING\n");
            deferred.push_back(Command);
            return 2;
        }
        if (word == "position" || word == "setoption" || word == "debug" || word == "register")
            deferred.push_back(Command);
        if (word == "go") WriteLogFile("Ignored go while a search runs\n");
        return 1;
    }
    // Idle: "stop" and "ponderhit" have nothing to act on.
    if (word == "uci") Identify();
    if (word == "isready") ReadyRequest();
    if (word == "position") SetPosition();
    if (word == "go") Go();
    if (word == "ucinewgame") NewGame();
    if (word == "setoption") SetOption();
    if (word == "eval") Eval();
    if (word == "quit") Quit();
    return 0;
}

// The evaluation's table, each line as "info string" so that a GUI shows it and reads nothing into it.
void UCIProtocol::Eval() {
    std::istringstream table(PositionEvalTable(MainBoard));
    for (std::string line; std::getline(table, line);) InfoString(line.c_str());
}

void UCIProtocol::Identify() {
    char line[128];
    std::snprintf(line, sizeof line, "id name %s %s", EngineName, Version);
    Reply(line);
    std::snprintf(line, sizeof line, "id author %s", EngineAuthor);
    Reply(line);
    PrintOptions();
    Reply("uciok");
    WriteLogFile("Sent uciok\n");
    MainStatus.OwnBook = PolyglotBookLoaded(); // a book given with -book is meant to be used
}

// Ready means ready to search at full speed; during a search the memory is in use already.
void UCIProtocol::ReadyRequest() {
    if (!SearchRunning) Search.MakeReady();
    Reply("readyok");
    WriteLogFile("Sent readyok\n");
}

// Clears the tables and the game; the options keep their values.
void UCIProtocol::NewGame() {
    HashSide = 0;
    ResetGame();
    ClearPawnHash();
    PositionCache.ClearTranspositionTables();
    Search.StartLevelGame(); // a new game, a new seed when none is set
    WriteLogFile("Processing ucinewgame\n");
    State = Waiting;
    MainStatus.Pondering = 0;
    AssumeSpeed(InfiniteSearchSpeed);
    RefreshPieceCounts(MainBoard);
}

// "setoption name <id> [value <x>]": the name may hold blanks.
void UCIProtocol::SetOption() {
    std::istringstream in(Command);
    std::string word, name, value;
    in >> word >> word; // "setoption", "name"
    if (word != "name") {
        InfoString("setoption needs a name");
        return;
    }
    while (in >> word && word != "value") name += (name.empty() ? "" : " ") + word;
    const bool hasValue = word == "value";
    while (hasValue && in >> word) value += (value.empty() ? "" : " ") + word;
    ::SetOption(name, value);
}

void UCIProtocol::Quit() {
    CloseLogFile();
    Continue = 0;
    MainStatus.NewMatch = 0;
    MainStatus.GameInProgress = 0;
    std::exit(0);
}
