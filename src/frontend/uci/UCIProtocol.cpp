// The UCI interpreter cycle and its handlers other than "position" and "go".
#include "frontend/uci/UCIProtocol.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "board/ChessBoard.h"
#include "book/OpeningBook.h"
#include "book/PolyglotBook.h"
#include "core/Log.h"
#include "core/Numbers.h"
#include "core/Platform.h"
#include "core/Status.h"
#include "eval/PositionEvaluate.h"
#include "frontend/shared/GameRecord.h"
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

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
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

int UCIProtocol::UCIPrep(const char* line) {
    if (!line[0] && InputEnded()) Quit(); // the search polled a closed input
    SetProblemSink(ProblemAsInfo);
    std::snprintf(Command, sizeof Command, "%s", line);
    WriteLogFile(Command);
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
        WriteLogFile(Command);
    }
}

bool UCIProtocol::NextLine() {
    if (!deferred.empty()) {
        std::snprintf(Command, sizeof Command, "%s", deferred.front().c_str());
        deferred.pop_front();
        return true;
    }
    return ReadLine(Command, sizeof Command);
}

int UCIProtocol::HandleLine() {
    const std::string word = FirstWord(Command);
    // While a search runs only what concerns it acts at once; the rest waits for "bestmove".
    if (SearchRunning) {
        auto endSearch = [] {
            Search.AbortSearch();
            MainStatus.Analyze = 0;
            MainStatus.Pondering = 0;
        };
        if (word == "isready") ReadyRequest();
        if (word == "uci") Identify();
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
    if (word == "quit") Quit();
    return 0;
}

void UCIProtocol::Identify() {
    char line[128];
    std::snprintf(line, sizeof line, "id name %s %s", EngineName, Version);
    Reply(line);
    std::snprintf(line, sizeof line, "id author %s", EngineAuthor);
    Reply(line);
    Reply("option name UCI_AnalyseMode type check default false");
    Reply("option name OwnBook type check default false");
    Reply("option name SecondaryBook type check default false");
    Reply("option name UCI_ShowCurrLine type check default true");
    Reply("option name Ponder type check default false");
    Reply("option name UCI_EngineAbout type string default Velkor, a bitboard chess engine");
    Reply("option name Hash type spin default 192 min 1 max 4096");
    Reply("option name Clear Hash type button");
    Reply("option name BookFile type string default <empty>");
    Reply("option name BookSeed type spin default 0 min 0 max 2147483647");
    Reply("uciok");
    WriteLogFile("Sent uciok\n");
    MainStatus.OwnBook = PolyglotBookLoaded(); // a book given with -book is meant to be used
}

void UCIProtocol::ReadyRequest() {
    Reply("readyok");
    WriteLogFile("Sent readyok\n");
}

// Clears the tables and the game; the options keep their values.
void UCIProtocol::NewGame() {
    Status& s = MainStatus;
    HashSide = 0;
    Search.ClearHistory();
    MainBoard.InitRep();
    s.initVars();
    ClearPawnHash();
    PositionCache.ClearTranspositionTables();
    WriteLogFile("Processing ucinewgame\n");
    State = Waiting;
    s.HumanToMove = 1;
    MainBoard.FiftyMoveCount = 0;
    MainBoard.SideToMove = 0;
    s.GameInProgress = 1;
    s.Pondering = 0;
    AssumeSpeed(800000);
    RefreshPieceCounts(MainBoard);
}

// "setoption name <id> [value <x>]": the name may hold blanks and is matched without regard to case.
void UCIProtocol::SetOption() {
    Status& s = MainStatus;
    std::istringstream in(Command);
    std::string word, name, value;
    in >> word >> word; // "setoption", "name"
    if (word != "name") {
        InfoString("setoption needs a name");
        return;
    }
    while (in >> word && word != "value") name += (name.empty() ? "" : " ") + word;
    bool hasValue = word == "value";
    while (hasValue && in >> word) value += (value.empty() ? "" : " ") + word;
    const std::string id = Lower(name);
    const std::string v = Lower(value);
    auto check = [&](u8* target) {
        if (v != "true" && v != "false") return false;
        *target = v == "true";
        return true;
    };
    bool ok = true;
    if (id == "ownbook" || id == "secondarybook") {
        u8 on = 0;
        ok = check(&on);
        if (ok) {
            if (on) buildbook();
            s.OwnBook = on;
        }
    } else if (id == "uci_showcurrline") {
        ok = check(&ShowCurrLine);
    } else if (id == "uci_analysemode") {
        ok = check(&AnalyseMode);
        if (ok) {
            s.Analyze = s.Post = AnalyseMode;
            if (AnalyseMode) {
                s.Force = 0;
                s.HumanToMove = 0;
                AssumeSpeed(200005);
                SetAnalysisTime();
            }
        }
    } else if (id == "ponder") {
        ok = check(&PonderOption);
        if (ok && PonderOption) s.Pondering = 0;
    } else if (id == "hash") {
        const char* end = nullptr;
        const long long mb = ParseInteger(value.c_str(), TTMinMegabytes, TTMaxMegabytes, 0, &end);
        ok = !value.empty() && *end == '\0';
        if (ok && !PositionCache.Resize(int(mb))) InfoString("not enough memory for that table: Hash unchanged");
    } else if (id == "clear hash") {
        PositionCache.ClearTranspositionTables();
    } else if (id == "bookfile") {
        // A book is only read when a book is used at all: OwnBook comes with it.
        std::string message;
        if (value.empty() || value == "<empty>") {
            UnloadPolyglotBook();
        } else if (LoadPolyglotBook(value, &message)) {
            s.OwnBook = 1;
        } else {
            InfoString(message.c_str());
        }
    } else if (id == "bookseed") {
        const char* end = nullptr;
        const long long seed = ParseInteger(value.c_str(), -1, INT32_MAX, -1, &end);
        ok = !value.empty() && *end == '\0' && seed >= 0;
        if (ok && seed > 0) SetPolyglotBookSeed(u64(seed));
    } else if (id == "uci_engineabout") {
        // Read only.
    } else {
        InfoString(("no such option: " + name).c_str());
        return;
    }
    if (!ok) InfoString(("invalid value for " + name + ": " + value).c_str());
}

void UCIProtocol::Quit() {
    CloseLogFile();
    Continue = 0;
    MainStatus.NewMatch = 0;
    MainStatus.GameInProgress = 0;
    std::exit(0);
}
