// The console and xboard command interpreter: one handler per command,
// looked up by the whole word in the order of the command table. A command
// that changes the position while the engine thinks stops the search first
// (result StateChanged), so a move found for one position is never played
// into another.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "book/PolyglotBook.h"
#include "core/Log.h"
#include "core/Numbers.h"
#include "core/Platform.h"
#include "core/Status.h"
#include "frontend/shared/Diagram.h"
#include "frontend/shared/EngineIdentity.h"
#include "frontend/shared/EvalTable.h"
#include "frontend/shared/GameRecord.h"
#include "frontend/shared/PositionInput.h"
#include "frontend/xboard/CommandInput.h"
#include "frontend/xboard/Console.h"
#include "frontend/xboard/GameLoop.h"
#include "frontend/xboard/LevelCommands.h"
#include "frontend/xboard/XboardProtocol.h"
#include "search/MoveHistory.h"
#include "search/SEE.h"
#include "search/SearchRoutines.h"
#include "search/TimeManagement.h"
#include "search/TranspositionTables.h"

namespace {

constexpr i32 AnalysisSpeed = 200001;            // nodes a second assumed when an analysis starts
constexpr int MaxDepthCommand = 100;             // "sd" and "sfd" beyond this mean this
constexpr long long MaxCentiseconds = 1LL << 28; // "time" and "otim": about a month
constexpr long long MaxMovesPerSession = 10000;
constexpr long long MaxLevelMinutes = 100000;
constexpr long long MaxIncrementMs = 86400000; // a day

Status& S() { return MainStatus; }

std::string RestOfLine() { return Input.RestOfLine(); }

// A command without the number it needs changes nothing and says so in xboard's form.
void NoNumber(const std::string& command) {
    std::printf("Error (no number): %.200s\n", command.c_str());
    std::fflush(stdout);
}

// The command's number from its line, clamped; false (and the target unchanged) when there is none.
bool ReadClamped(const char* command, long long low, long long high, long long* value) {
    int v;
    std::string word;
    if (!Input.Number(&v, &word)) {
        NoNumber(word.empty() ? command : std::string(command) + " " + word);
        return false;
    }
    *value = std::clamp<long long>(v, low, high);
    return true;
}

// At a person's console a setting is confirmed with the opponent it makes.
void ConfirmOpponent() {
    if (PersonAtConsole()) std::printf("%s plays at %s.\n", EngineName, OpponentText().c_str());
}

// Ends a running search without a move: the position is about to change.
char StopThinking() {
    if (!EngineThinking()) return Handled;
    Search.AbortSearch();
    return StateChanged;
}

// The position changed: an analysis starts again on the new one.
char PositionChanged() {
    if (S().Analyze) {
        S().HumanToMove = 0;
        if (EngineThinking()) Search.AbortSearch();
        return StateChanged;
    }
    return StopThinking();
}

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

char Abort(char*) {
    StopThinking();
    ResetGame();
    MainBoard.MaxDepth = 56;
    StartGamePosition();
    return StateChanged;
}

char Analyze(char*) {
    Status& s = S();
    s.Analyze = 1;
    s.Post = 1;
    s.Force = 0;
    s.HumanToMove = 0;
    AssumeSpeed(AnalysisSpeed);
    SetAnalysisTime();
    return StateChanged;
}

char ToggleBook(char*) {
    if (!S().Analyze) S().OwnBook ^= 1;
    return Handled;
}

// At a person's console the side to move set by hand starts the game record
// anew from the position, as a set-up does: the moves before it no longer
// replay to it.
char SetSideToMove(int side) {
    StopThinking();
    const bool changed = MainBoard.SideToMove != side;
    MainBoard.SideToMove = side;
    if (PersonAtConsole() && changed) StartGamePosition();
    return Handled;
}

char Black(char*) { return SetSideToMove(1); }

char White(char*) { return SetSideToMove(0); }

char Display(char*) {
    ShowBoard(MainBoard);
    return Handled;
}

char DumpSee(char*) {
    int a = -1, b = -1;
    Input.Number(&a);
    Input.Number(&b);
    if (a < 0 || a > 63 || b < 0 || b > 63) return Handled;
    u64 target = SquareBit(b);
    int value = see.StaticExchangeEvaluation(char(MainBoard.PieceColor(target)), SquareBit(a), target, &MainBoard);
    std::printf("SEE value = %d\n", value);
    return Handled;
}

// A refused position: xboard shows the GUI's error box, the console says why.
void RefusePosition(const std::string& problem) {
    if (S().xboard)
        std::printf("tellusererror Illegal position\n");
    else
        std::printf("Illegal position: %s\n", problem.c_str());
    std::fflush(stdout);
    LogF("Refused position: %s", problem.c_str());
}

char Quit(char*);

char Edit(char*) {
    const char stopped = StopThinking();
    const ChessBoard before = MainBoard;
    if (!SetupBoardFromEdit()) { // "quit" or the end of input in the editor: the edit is dropped
        MainBoard = before;
        char quit[] = "quit";
        return Quit(quit);
    }
    // The editor builds any board; it is kept only if it is a position.
    RefreshPieceCounts(MainBoard);
    const std::string problem = CheckPosition(MainBoard);
    if (!problem.empty()) {
        MainBoard = before;
        RefusePosition(problem);
        return stopped;
    }
    StartGamePosition();
    return stopped == StateChanged ? stopped : PositionChanged();
}

// The evaluation's table of the current position; under xboard each line behind "# ", which xboard
// ignores. Taken on a copy, so a running search goes on undisturbed.
char Eval(char*) {
    const std::string table = PositionEvalTable(MainBoard);
    size_t start = 0;
    for (size_t end; (end = table.find('\n', start)) != std::string::npos; start = end + 1)
        std::printf("%s%s\n", S().xboard ? "# " : "", table.substr(start, end - start).c_str());
    std::fflush(stdout);
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

// Force mode while the engine thinks ends the search without a move, and
// stays on for the moves that follow.
char Force(char*) {
    S().Force = 1;
    if (EngineThinking()) KeepForceMode();
    return StopThinking();
}

char Go(char*) {
    if (PersonAtConsole() && !S().GameInProgress) { // a finished game gets no more moves
        RefuseAfterEnd();
        return Handled;
    }
    S().Force = 0;
    S().HumanToMove = 0;
    return StateChanged;
}

char Help(char*) {
    if (PersonAtConsole()) {
        ShowConsoleHelp();
        return Handled;
    }
    std::printf("Moves as e2e4 or e7e8q. go: the engine moves; new: a new game; undo: take back a move;\n"
                "force: enter moves for both sides, go to end it; sd N: depth limit; st N: seconds a move;\n"
                "level MOVES MINUTES[:SECONDS] INCREMENT; setboard FEN; displayboard; selfplay; quit.\n"
                "analyze: think about the position until exit; multipv N: show the N best lines;\n"
                "eval: the evaluation of the position, term by term.\n");
    PrintLevelHelp();
    return Handled;
}

bool StartsNumber(const std::string& word, bool fraction) {
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    return !word.empty() && (digit(word[0]) || (fraction && word[0] == '.' && word.size() > 1 && digit(word[1])));
}

// "level MPS BASE INC": BASE in minutes or minutes:seconds, INC in (fractional) seconds.
// All three come from the command's line; without them the clock stays as it was.
char Level(char* command) {
    Status& s = S();
    std::string mps, base, inc;
    Input.Argument(&mps);
    Input.Argument(&base);
    Input.Argument(&inc);
    if (!StartsNumber(mps, false) || !StartsNumber(base, false) || !StartsNumber(inc, true)) {
        std::string text = command;
        for (const std::string* w : {&mps, &base, &inc})
            if (!w->empty()) text += " " + *w;
        NoNumber(text);
        return Handled;
    }
    DropDefaultClock();
    s.MovesPerSession = int(ParseInteger(mps.c_str(), 0, MaxMovesPerSession, 0));
    const char* colon = std::strchr(base.c_str(), ':');
    long long ms = ParseInteger(base.c_str(), 0, MaxLevelMinutes, 0) * 60000;
    if (colon) ms += ParseInteger(colon + 1, 0, 59, 0) * 1000;
    s.TimeLeft = ClampToI32(ms);
    s.TimeInc = i32(ParseSecondsAsMs(inc.c_str(), MaxIncrementMs, 0));
    LogF("MovesPerSession %d TimeLeft %d TimeInc %d \n", s.MovesPerSession, s.TimeLeft, s.TimeInc);
    if (PersonAtConsole()) s.ST = 0; // a person's clock replaces a time a move
    ConfirmOpponent();
    return Handled;
}

// xboard's "hint" is left unanswered; a person gets one.
char Hint(char*) {
    if (PersonAtConsole()) ShowHint();
    return Handled;
}

// The rest of the line belongs to the command and is ignored with it.
char Name(char*) {
    RestOfLine();
    return Handled;
}

// A new game; in an analysis, the analysis goes on from the initial position.
char New(char*) {
    StopThinking();
    const SessionSettings kept = KeepSessionSettings();
    ResetGame();
    if (PersonAtConsole()) RestoreSessionSettings(kept); // a person set them for the session
    Search.StartLevelGame();
    S().Force = 0;
    StartGamePosition();
    if (S().Analyze) { // the analysis goes on, as long as before
        S().HumanToMove = 0;
        SetAnalysisTime();
    }
    if (PersonAtConsole()) {
        std::printf("New game: %s plays at %s.\n", EngineName, OpponentText().c_str());
        ShowTurn("");
    }
    return StateChanged;
}

void SetLineCount(long long lines) { Search.LineCount = int(std::clamp<long long>(lines, 1, MaxRootLines)); }

// "multipv N": the N best lines of each iteration are shown, from the next search on.
char MultiPV(char* command) {
    long long lines;
    if (ReadClamped(command, 1, MaxRootLines, &lines)) SetLineCount(lines);
    return Handled;
}

char NoPost(char*) {
    S().Post = 0;
    return Handled;
}

// A spin option's value, clamped into its range; the GUI is told what was used instead.
long long SpinValue(const std::string& name, const std::string& value, long long low, long long high,
                    long long fallback) {
    const long long asked = ParseInteger(value.c_str(), INT64_MIN, INT64_MAX, fallback);
    const long long used = std::clamp<long long>(asked, low, high);
    if (used != asked)
        std::printf("telluser %s %.40s is out of range %lld..%lld: %lld used\n", name.c_str(), value.c_str(), low, high,
                    used);
    return used;
}

// xboard's option command: "option NAME=VALUE" for the options the features announce.
char Option(char*) {
    const std::string text = RestOfLine();
    const size_t equals = text.find('=');
    const std::string name = text.substr(0, equals), value = equals == std::string::npos ? "" : text.substr(equals + 1);
    if (name == "BookFile") {
        std::string message;
        if (value.empty()) {
            UnloadPolyglotBook();
        } else if (!LoadPolyglotBook(value, &message)) {
            std::printf("telluser %s\n", message.c_str());
        }
    } else if (name == "BookSeed") {
        const long long seed = SpinValue(name, value, 0, INT32_MAX, 0);
        if (seed > 0) SetPolyglotBookSeed(u64(seed));
    } else if (name == "Move Overhead") {
        SetMoveOverhead(SpinValue(name, value, 0, MaxMoveOverheadMs, DefaultMoveOverheadMs));
    } else if (name == "MultiPV") {
        SetLineCount(SpinValue(name, value, 1, MaxRootLines, 1));
    } else {
        SetLevelOption(name, value);
    }
    return Handled;
}

// "memory N": the table in N MiB, sized as UCI's Hash sizes it.
char Memory(char* command) {
    long long megabytes;
    if (ReadClamped(command, TTMinMegabytes, TTMaxMegabytes, &megabytes) && !PositionCache.Resize(int(megabytes)))
        std::printf("telluser not enough memory for that table: memory unchanged\n");
    std::fflush(stdout);
    return Handled;
}

char OpponentTime(char* command) {
    long long centiseconds;
    if (ReadClamped(command, 0, MaxCentiseconds, &centiseconds)) LogF(" %lld\n", centiseconds);
    return Handled;
}

// The number alone is echoed: whatever is glued to it stays on the line as the next word.
char Ping(char* command) {
    long long number;
    if (ReadClamped(command, INT32_MIN, INT32_MAX, &number)) {
        if (!EngineThinking()) Search.MakeReady(); // the next search must not wait for its memory
        std::printf("pong %lld\n", number);
    }
    std::fflush(stdout);
    return Handled;
}

char Post(char*) {
    S().Post = 1;
    return Handled;
}

// Protocol version 2 and later hear what the engine supports, at once.
char Protover(char* command) {
    long long version = 0;
    if (!ReadClamped(command, 0, 1000, &version) || version < 2) return Handled;
    std::printf("feature ping=1 setboard=1 usermove=1 time=1 analyze=1 colors=0 sigint=0 sigterm=0 reuse=1 "
                "draw=0 playother=0 san=0 variants=\"normal\" myname=\"%s %s\"\n",
                EngineName, EngineVersion);
    std::printf("feature option=\"BookFile -file \" option=\"BookSeed -spin 0 0 2147483647\" "
                "option=\"MultiPV -spin 1 1 %d\"\n",
                MaxRootLines);
    std::printf("feature memory=1\n");
    std::printf("feature option=\"Move Overhead -spin %d 0 %d\"\n", DefaultMoveOverheadMs, MaxMoveOverheadMs);
    PrintLevelFeatures();
    std::printf("feature done=1\n");
    std::fflush(stdout);
    return Handled;
}

char Quit(char*) {
    S().NewMatch = 0;
    S().GameInProgress = 0;
    if (EngineThinking()) { // end at once rather than finish the search
        CloseLogFile();
        if (!S().xboard) std::printf("Bye, Thanks for the match.\n");
        std::exit(0);
    }
    return QuitGame;
}

// The game is over: a search stops without a move, and the engine waits for the next game.
char Result(char*) {
    std::string result;
    Input.Argument(&result);
    RestOfLine();
    if (result == "1-0" || result == "0-1" || result == "1/2-1/2") Game.SetResult(result);
    const bool wasPlaying = S().GameInProgress;
    S().GameInProgress = 0;
    if (PersonAtConsole() && wasPlaying) OfferNewGame();
    return StopThinking();
}

char SelfPlay(char*) {
    S().SelfPlay = 1;
    return StateChanged;
}

char SetBoard(char*) {
    const std::string fen = RestOfLine();
    WriteLogFile(fen.c_str());
    ChessBoard position;
    const std::string problem = ReadPosition(fen.c_str(), &position);
    if (!problem.empty()) {
        RefusePosition(problem);
        return Handled;
    }
    const char stopped = StopThinking();
    position.MaxDepth = MainBoard.MaxDepth;
    position.FixedDepth = MainBoard.FixedDepth;
    MainBoard = position;
    MainBoard.FiftyMoveCount = 0; // the FEN's half-move clock is not read
    S().GameInProgress = 1;
    StartGamePosition();
    if (PersonAtConsole()) ShowTurn("");
    return stopped == StateChanged ? stopped : PositionChanged();
}

void MaxDepthHeader(const char* word) {
    if (S().xboard) return;
    Diagnostic("setting MAXDEPTH\n");
    Diagnostic("scanstring %s\n", word);
}

void MaxDepthFooter() {
    if (S().xboard) return;
    Diagnostic("MAXDEPTH %d\n", MainBoard.MaxDepth);
    ConfirmOpponent();
}

bool ReadDepth(char* word) {
    long long depth;
    if (!ReadClamped(word, 1, MaxDepthCommand, &depth)) return false;
    MaxDepthHeader(word);
    MainBoard.MaxDepth = int(depth);
    MaxDepthFooter();
    return true;
}

char SetDepth(char* word) {
    if (!ReadDepth(word)) return Handled;
    MainBoard.BestFrom = MainBoard.BestTo = 0;
    return Handled;
}

char SetFixedDepth(char* word) {
    if (!ReadDepth(word)) return Handled;
    MainBoard.FixedDepth = MainBoard.MaxDepth;
    MainBoard.BestFrom = MainBoard.BestTo = 0;
    return Handled;
}

char SecondsPerMove(char* command) {
    long long n;
    if (ReadClamped(command, 0, 1000000, &n)) {
        DropDefaultClock();
        SetSecondsPerMove(n);
        ConfirmOpponent();
    }
    return Handled;
}

char Time(char* command) {
    long long centiseconds;
    if (ReadClamped(command, 0, MaxCentiseconds, &centiseconds)) S().TimeLeft = ClampToI32(centiseconds * 10);
    return Handled;
}

char TraceFlag(char*) {
    S().Trace ^= 1;
    return Handled;
}

// Takes back one move ("undo") or a move of each side ("remove").
char TakeBack(int plies) {
    const char stopped = StopThinking();
    int taken = 0;
    for (; taken < plies && Game.Undo(); ++taken)
        if (S().GamePly > 1) --S().GamePly;
    if (taken == 0) {
        if (PersonAtConsole()) std::printf("Nothing to take back.\n");
        return stopped;
    }
    MoveList.Init(); // the keys of the positions taken back must not count as repetitions
    S().GameInProgress = 1;
    if (PersonAtConsole()) ShowTurn(taken == 1 ? "One move taken back." : "Two moves taken back.");
    return stopped == StateChanged ? stopped : PositionChanged();
}

char Undo(char*) { return TakeBack(1); }
char Remove(char*) { return TakeBack(2); }

char Xboard(char*) {
    LeaveConsolePlay();
    S().xboard = 1;
    Search.Settings = XboardSearch;
    return Handled;
}

struct Command {
    const char* name;
    char (*handler)(char* word);
};

const Command commands[] = {
    {".", StatusLine},
    {"?", MoveNow},
    {"ClearGameInfo", Nothing},
    {"InitGameInfo", Nothing},
    {"abort", Abort},
    {"accepted", Name},
    {"analyze", Analyze},
    {"beep", Nothing},
    {"bk", ToggleBook},
    {"black", Black},
    {"bogus", Nothing},
    {"computer", Nothing},
    {"cores", Name},
    {"displayboard", Display},
    {"draw", Nothing},
    {"dumpsee", DumpSee},
    {"easy", Nothing},
    {"edit", Edit},
    {"egtpath", Name},
    {"eval", Eval},
    {"exit", Exit},
    {"force", Force},
    {"fullrand", Nothing},
    {"go", Go},
    {"hard", Nothing},
    {"help", Help},
    {"hint", Hint},
    {"ics", Name},
    {"level", Level},
    {"memory", Memory},
    {"multipv", MultiPV},
    {"name", Name},
    {"new", New},
    {"nopost", NoPost},
    {"option", Option},
    {"otim", OpponentTime},
    {"ping", Ping},
    {"ponder", Nothing},
    {"post", Post},
    {"protover", Protover},
    {"quit", Quit},
    {"random", Nothing},
    {"rating", Name},
    {"rejected", Name},
    {"remove", Remove},
    {"result", Result},
    {"selfplay", SelfPlay},
    {"setboard", SetBoard},
    {"Depth", SetDepth},
    {"DEPTH", SetDepth},
    {"sd", SetDepth},
    {"sfd", SetFixedDepth},
    {"st", SecondsPerMove},
    {"time", Time},
    {"traceflag", TraceFlag},
    {"undo", Undo},
    {"white", White},
    {"xboard", Xboard},
};

} // namespace

bool IsCommand(const char* word) {
    for (const Command& c : commands)
        if (std::strcmp(word, c.name) == 0) return true;
    return std::strcmp(word, "usermove") == 0 || IsConsoleCommand(word) || IsLevelCommand(word);
}

char DoCommand(char* word) {
    char quit[] = "quit";
    if (!word[0] && InputEnded()) word = quit; // the search polled a closed input
    WriteLogFile(word);
    // "usermove e2e4": the move is the next word of the line, read into the
    // word's place; whatever it is, it is tried as a move.
    if (std::strcmp(word, "usermove") == 0) {
        std::string move;
        if (!Input.Argument(&move)) {
            std::printf("Error (no move): usermove\n");
            std::fflush(stdout);
            return Handled;
        }
        std::snprintf(word, WordSize, "%s", move.c_str());
        return IsMove;
    }
    for (const Command& c : commands)
        if (std::strcmp(word, c.name) == 0) return c.handler(word);
    if (char result; RunLevelCommand(word, &result)) return result;
    char result;
    if (ConsoleCommand(word, &result)) return result;
    // At a person's console any other word may be a move in standard notation; the move reader says what it is.
    if (PersonAtConsole() && word[0]) return IsMove;
    if (word[0] >= 'a' && word[0] <= 'h' && word[1] >= '0' && word[1] <= '8') return IsMove;
    if (word[0]) {
        if (S().xboard)
            std::printf("Error (unknown command): %s\n", word);
        else
            std::printf("Unknown command: %s (help lists the commands)\n", word);
        std::fflush(stdout);
    }
    return Handled;
}
