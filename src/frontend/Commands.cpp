// The console and xboard command interpreter: one handler per command,
// looked up by exact match in the order of the command table.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "core/Log.h"
#include "core/Platform.h"
#include "core/Status.h"
#include "frontend/Diagram.h"
#include "frontend/GameLoop.h"
#include "search/SEE.h"
#include "search/SearchRoutines.h"
#include "search/TimeManagement.h"

namespace {

Status& S() { return MainStatus; }

char StatusLine(char*) {
    PrintStatusLine();
    return Handled;
}

char MoveNow(char*) {
    Search.AbortSearch();
    S().Post = 0;
    S().Analyze = 0;
    return StateChanged;
}

char Nothing(char*) { return Handled; }

// A fresh game from the initial position, the user to move.
void NewGamePosition() {
    MainBoard.InitRep();
    S().HumanToMove = 1;
    MainBoard.FiftyMoveCount = 0;
    MainBoard.SideToMove = 0;
    S().GameInProgress = 1;
}

char Abort(char*) {
    NewGamePosition();
    MainBoard.MaxDepth = 56;
    S().initVars();
    StartGamePosition();
    return StateChanged;
}

char Analyze(char*) {
    Status& s = S();
    s.Analyze = 1;
    s.Post = 1;
    s.Force = 0;
    s.HumanToMove = 0;
    AssumeSpeed(200001);
    SetAnalysisTime();
    return StateChanged;
}

char ToggleBook(char*) {
    if (!S().Analyze) S().OwnBook ^= 1;
    return Handled;
}

char Black(char*) {
    MainBoard.SideToMove = 1;
    return Handled;
}

char White(char*) {
    MainBoard.SideToMove = 0;
    return Handled;
}

char Display(char*) {
    ShowBoard(MainBoard);
    return Handled;
}

char DumpSee(char*) {
    int a = -1, b = -1;
    ReadInt(&a);
    ReadInt(&b);
    if (a < 0 || a > 63 || b < 0 || b > 63) return Handled;
    u64 target = SquareBit(b);
    int value = see.StaticExchangeEvaluation(char(MainBoard.PieceColor(target)), SquareBit(a), target, &MainBoard);
    std::printf("SEE value = %d\n", value);
    return Handled;
}

char Edit(char*) {
    SetupBoardFromEdit();
    StartGamePosition();
    return Handled;
}

char Exit(char*) {
    if (S().Analyze == 1) {
        S().Post = 0;
        S().Analyze = 0;
        Search.AbortSearch();
    }
    return StateChanged;
}

char Force(char*) {
    S().Force = 1;
    return Handled;
}

char Go(char*) {
    S().Force = 0;
    S().HumanToMove = 0;
    return StateChanged;
}

char Level(char*) {
    Status& s = S();
    int minutes;
    ReadInt(&s.MovesPerSession);
    if (ReadInt(&minutes)) s.TimeLeft = ClampToI32(minutes * 60000LL);
    int increment;
    if (ReadInt(&increment)) s.TimeInc = ClampToI32(increment * 1000LL);
    LogF("MovesPerSession %d TimeLeft %d TimeInc %d \n", s.MovesPerSession, s.TimeLeft, s.TimeInc);
    return Handled;
}

char Name(char*) {
    char ignored[WordSize];
    ReadWord(ignored, sizeof ignored);
    return Handled;
}

char New(char*) {
    Search.ClearHistory();
    NewGamePosition();
    S().initVars();
    if (S().Analyze == 1) {
        S().Post = 0;
        S().Analyze = 0;
    }
    StartGamePosition();
    return StateChanged;
}

char NoPost(char*) {
    S().Post = 0;
    return Handled;
}

char OpponentTime(char*) {
    int centiseconds;
    if (ReadInt(&centiseconds)) LogF(" %d\n", centiseconds);
    return Handled;
}

char Post(char*) {
    S().Post = 1;
    return Handled;
}

char Quit(char*) {
    S().NewMatch = 0;
    S().GameInProgress = 0;
    if (EngineThinking()) { // end at once rather than finish the search
        CloseLogFile();
        std::printf("Bye, Thanks for the match.\n");
        std::exit(0);
    }
    return QuitGame;
}

char SelfPlay(char*) {
    S().SelfPlay = 1;
    return StateChanged;
}

char SetBoard(char*) {
    char text[WordSize];
    ReadLine(text, sizeof text);
    const char* fen = text + std::strspn(text, " \t"); // the blank after the command word
    WriteLogFile(fen);
    SetupBoard(fen);
    MainBoard.FiftyMoveCount = 0; // the FEN's half-move clock is not read
    StartGamePosition();
    return Handled;
}

void MaxDepthHeader(const char* word) {
    if (S().xboard) return;
    std::printf("setting MAXDEPTH\n");
    std::printf("scanstring %s\n", word);
}

void MaxDepthFooter() {
    if (!S().xboard) std::printf("MAXDEPTH %d\n", MainBoard.MaxDepth);
}

char SetDepth(char* word) {
    MaxDepthHeader(word);
    ReadInt(&MainBoard.MaxDepth);
    MaxDepthFooter();
    MainBoard.BestFrom = MainBoard.BestTo = 0;
    return Handled;
}

char SetFixedDepth(char* word) {
    MaxDepthHeader(word);
    ReadInt(&MainBoard.MaxDepth);
    MaxDepthFooter();
    MainBoard.FixedDepth = MainBoard.MaxDepth;
    MainBoard.BestFrom = MainBoard.BestTo = 0;
    return Handled;
}

char SecondsPerMove(char*) {
    int n;
    if (ReadInt(&n)) SetSecondsPerMove(n);
    return Handled;
}

char Time(char*) {
    int centiseconds;
    if (ReadInt(&centiseconds)) S().TimeLeft = ClampToI32(centiseconds * 10LL);
    return Handled;
}

char TraceFlag(char*) {
    S().Trace ^= 1;
    return Handled;
}

char Xboard(char*) {
    S().xboard = 1;
    return Handled;
}

struct Command {
    const char* name;
    char (*handler)(char* word);
};

const Command commands[] = {
    {".", StatusLine},       {"?", MoveNow},         {"ClearGameInfo", Nothing}, {"InitGameInfo", Nothing},
    {"abort", Abort},        {"analyze", Analyze},   {"beep", Nothing},          {"bk", ToggleBook},
    {"black", Black},        {"bogus", Nothing},     {"displayboard", Display},  {"draw", Nothing},
    {"dumpsee", DumpSee},    {"easy", Nothing},      {"edit", Edit},             {"exit", Exit},
    {"force", Force},        {"fullrand", Nothing},  {"go", Go},                 {"hard", Nothing},
    {"hint", Nothing},       {"level", Level},       {"name", Name},             {"new", New},
    {"nopost", NoPost},      {"otim", OpponentTime}, {"ponder", Nothing},        {"post", Post},
    {"quit", Quit},          {"random", Nothing},    {"remove", Nothing},        {"selfplay", SelfPlay},
    {"setboard", SetBoard},  {"Depth", SetDepth},    {"DEPTH", SetDepth},        {"sd", SetDepth},
    {"sfd", SetFixedDepth},  {"st", SecondsPerMove}, {"time", Time},             {"traceflag", TraceFlag},
    {"undo", Nothing},       {"white", White},       {"xboard", Xboard},
};

} // namespace

char DoCommand(char* word) {
    char quit[] = "quit";
    if (!word[0] && InputEnded()) word = quit; // the search polled a closed input
    WriteLogFile(word);
    for (const Command& c : commands)
        if (std::strcmp(word, c.name) == 0) return c.handler(word);
    if (word[0] >= 'a' && word[0] <= 'h' && word[1] >= '0' && word[1] <= '8') return IsMove;
    return Handled;
}
