// The UCI interpreter cycle and its handlers other than "go".
#include "frontend/UCIProtocol.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "core/Log.h"
#include "core/Platform.h"
#include "core/Status.h"
#include "eval/PositionEvaluate.h"
#include "frontend/GameRecord.h"
#include "frontend/OpeningBook.h"
#include "search/MoveHistory.h"
#include "search/SearchRoutines.h"
#include "search/TimeManagement.h"
#include "search/TranspositionTables.h"

UCIProtocol UCI;

namespace {

bool Is(const char* line, const char* keyword) { return std::strcmp(line, keyword) == 0; }
bool Begins(const char* line, const char* keyword) { return std::strncmp(line, keyword, std::strlen(keyword)) == 0; }
bool Has(const char* line, const char* keyword) { return std::strstr(line, keyword) != nullptr; }

void Reply(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

// The game position reset to the initial one, as "position" and "ucinewgame" need it.
void ResetGamePosition() {
    Search.ClearHistory();
    MainBoard.InitRep();
    MainStatus.initVars();
}

// The text that starts `skip` characters after the keyword, or the empty end of the line.
char* After(char* keyword, size_t skip) { return keyword + std::min(skip, std::strlen(keyword)); }

} // namespace

int UCIProtocol::UCIPrep(const char* line) {
    if (!line[0] && InputEnded()) Quit(); // the search polled a closed input
    std::snprintf(Command, sizeof Command, "%s", line);
    WriteLogFile(Command);
    return UCICore();
}

int UCIProtocol::UCICore() {
    for (;;) {
        if (int result = HandleLine()) return result;
        std::memset(Command, ' ', 5000);
        std::strcpy(Command, "\n");
        if (State != Waiting) {
            WriteLogFile("State != WAITING so returning 1\n");
            return 1;
        }
        if (!ReadLine(Command, sizeof Command)) Quit(); // end of input
        WriteLogFile(Command);
    }
}

int UCIProtocol::HandleLine() {
    if (Is(Command, "uci")) Identify();
    if (Is(Command, "isready")) ReadyRequest();
    if (Begins(Command, "position")) SetPosition();
    if (Begins(Command, "go")) Go();
    if (Is(Command, "VelkorSearchFinished")) {
        WriteLogFile("Received the VelkorSearchFinished message - a search has finished\n");
        WriteLogFile("===========================================================\n");
        State = Waiting;
    }
    if (Begins(Command, "ponderhit")) {
        MainStatus.Pondering = 0;
        State = Searching;
        return 1;
    }
    if (Begins(Command, "stop") && (State == PonderingState || State == InfiniteAnalysis)) {
        Search.AbortSearch();
        MainStatus.Analyze = 0;
        MainStatus.Pondering = 0;
        WriteLogFile("Received stop and Aborting Ponder\n");
        return 2;
    }
    if (Is(Command, "ucinewgame")) {
        if (State != Waiting) {
            // The line stays in Command: it runs again once "bestmove" is out.
            Search.AbortSearch();
            MainStatus.Analyze = 0;
            MainStatus.Pondering = 0;
            WriteLogFile("Received ucinewgame while doing something other than WAITING\n");
            return 2;
        }
        NewGame();
    }
    if (Begins(Command, "setoption")) SetOption();
    if (Begins(Command, "quit")) Quit();
    return 0;
}

void UCIProtocol::Identify() {
    char line[128];
    std::snprintf(line, sizeof line, "id name Velkor %s", Version);
    Reply(line);
    Reply("id author the Velkor developers");
    Reply("option name UCI_AnalyseMode type check default false");
    Reply("option name OwnBook type check default false");
    Reply("option name SecondaryBook type check default false");
    Reply("option name UCI_ShowCurrLine type check default true");
    Reply("option name Ponder type check default false");
    Reply("option name UCI_EngineAbout type string default Velkor, a bitboard chess engine");
    Reply("uciok");
    WriteLogFile("Sent uciok\n");
    MainStatus.OwnBook = 0;
    if (!SearchRunning) State = Waiting; // mid-search the search's state must stay
}

void UCIProtocol::ReadyRequest() {
    if (State == Waiting || State == Searching) {
        std::printf("readyok\n");
        std::fflush(stdout);
        WriteLogFile("Sent readyok\n");
    } else {
        ReadyPending = 1; // answered when the search returns
    }
    std::fflush(stdout);
}

void UCIProtocol::SetPosition() {
    Status& s = MainStatus;
    ChessBoard& b = MainBoard;
    if (Has(Command, "startpos")) {
        HashSide = 0;
        ResetGamePosition();
        s.HumanToMove = 1;
        b.FiftyMoveCount = 0;
        b.SideToMove = 0;
        s.GameInProgress = 1;
    }
    if (char* fen = std::strstr(Command, "fen")) {
        ResetGamePosition();
        s.HumanToMove = 1;
        b.FiftyMoveCount = 0;
        b.SideToMove = 0;
        const char* text = After(fen, 4);
        SetupBoard(text);
        WriteLogFile(text);
        HashSide = b.SideToMove; // the keys follow the side to move of the replayed position
    }
    if (Has(Command, "startpos") || Has(Command, "fen")) {
        RefreshPieceCounts(b);
        MoveList.Init(); // no keys of an earlier game stay behind a list without moves
    }
    if (char* moves = std::strstr(Command, "moves")) {
        int n = ProcessMoves(After(moves, 6));
        if (n % 2) b.SideToMove ^= 1;
    }
}

void UCIProtocol::NewGame() {
    Status& s = MainStatus;
    HashSide = 0;
    ResetGamePosition();
    ClearPawnHash();
    PositionCache.ClearTranspositionTables();
    WriteLogFile("Processing ucinewgame\n");
    PonderOption = 0;
    State = Waiting;
    s.HumanToMove = 1;
    MainBoard.FiftyMoveCount = 0;
    MainBoard.SideToMove = 0;
    s.GameInProgress = 1;
    s.Pondering = 0;
    AssumeSpeed(800000);
    RefreshPieceCounts(MainBoard);
}

void UCIProtocol::SetOption() {
    Status& s = MainStatus;
    bool on = Has(Command, "true");
    if (Has(Command, "OwnBook")) {
        s.OwnBook = on;
        if (on) buildbook();
    } else if (Has(Command, "SecondaryBook")) {
        if (on) buildbook();
        s.OwnBook = on;
    }
    if (Has(Command, "UCI_ShowCurrLine")) ShowCurrLine = on;
    if (Has(Command, "UCI_AnalyseMode")) {
        AnalyseMode = on;
        s.Analyze = on;
        s.Post = on;
        if (on) {
            s.Force = 0;
            s.HumanToMove = 0;
            AssumeSpeed(200005);
            SetAnalysisTime();
        }
    }
    if (Has(Command, "Ponder")) {
        if (on) s.Pondering = 0;
        PonderOption = on;
    }
}

void UCIProtocol::Quit() {
    CloseLogFile();
    Continue = 0;
    MainStatus.NewMatch = 0;
    MainStatus.GameInProgress = 0;
    std::exit(0);
}
