// Console play for a person: the default opponent, the greeting, moves read
// in either notation, the engine's move in standard notation, and the end
// of a game that leaves the program waiting for the next one.
#include "frontend/xboard/Console.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/Log.h"
#include "core/Status.h"
#include "eval/PositionEvaluate.h"
#include "frontend/shared/EngineIdentity.h"
#include "frontend/shared/GameRecord.h"
#include "frontend/shared/PositionInput.h"
#include "movegen/LegalMoves.h"
#include "movegen/San.h"
#include "search/SearchRoutines.h"
#include "search/TimeManagement.h"

namespace {

// A club player's strength and a pace a person does not wait for.
constexpr int ConsoleElo = 1500;
constexpr int ConsoleSecondsPerMove = 3;
constexpr int UnlimitedDepth = 56; // the board's depth limit when nobody set one

bool person = false;
bool verbose = false;
bool defaultClock = false;    // the default time a move is in force
bool defaultsApplied = false; // the default level was set by the console
int engineSides = 0;          // bit 1 << side for each side the engine has moved for

const char* SideName(int side) { return side ? "Black" : "White"; }

std::string Plies(int n) { return std::to_string(n) + (n == 1 ? " ply" : " plies"); }

// "3 seconds", "0.5 seconds", "5 minutes".
std::string Duration(long long ms) {
    char text[48];
    if (ms >= 60000 && ms % 60000 == 0)
        std::snprintf(text, sizeof text, "%lld minute%s", ms / 60000, ms == 60000 ? "" : "s");
    else if (ms % 1000 == 0)
        std::snprintf(text, sizeof text, "%lld second%s", ms / 1000, ms == 1000 ? "" : "s");
    else
        std::snprintf(text, sizeof text, "%.1f seconds", double(ms) / 1000);
    return text;
}

std::string ClockText() {
    const Status& s = MainStatus;
    if (s.FD) return Plies(s.FD) + " deep a move";
    if (s.ST) return Duration(s.ST) + " a move";
    if (s.TimeLeft <= 0) return "no clock (the first iteration only)";
    std::string text = s.MovesPerSession ? std::to_string(s.MovesPerSession) + " moves in " + Duration(s.TimeLeft)
                                         : Duration(s.TimeLeft) + " for the game";
    if (s.TimeInc > 0) text += " plus " + Duration(s.TimeInc) + " a move";
    return text;
}

// The board, always with verbose; its evaluation as a diagnostic.
void DrawBoard(bool show) {
    if (show || verbose) MainBoard.DisplayBoard();
    if (MainStatus.PEV != 1) Diagnostic("\n PosEval from White view %d\n", PE.PosEval(0, -110000, 110000, &MainBoard));
    std::fflush(stdout);
}

// The legal moves that fit an ambiguous text: the same piece letter and destination.
std::string Candidates(const ChessBoard& board, std::string text) {
    while (!text.empty() && std::strchr("+#!?", text.back())) text.pop_back();
    std::string list;
    if (text.size() < 3) return list;
    for (const Move& m : LegalMoves(board)) {
        std::string san = SanOf(board, m);
        while (!san.empty() && std::strchr("+#", san.back())) san.pop_back();
        if (san.size() < 3 || san[0] != text[0] || san.compare(san.size() - 2, 2, text, text.size() - 2, 2) != 0)
            continue;
        list += (list.empty() ? "" : " or ") + san;
    }
    return list;
}

} // namespace

void StartConsolePlay() {
    const Status& s = MainStatus;
    person = !s.xboard && !s.UCImode && !s.SelfPlay;
}

bool PersonAtConsole() { return person; }

void LeaveConsolePlay() {
    Status& s = MainStatus;
    if (defaultsApplied) Search.Level = PlayingLevel{};
    if (defaultClock) s.ST = s.TimePerMove = s.TimeLeft = 0;
    person = defaultClock = defaultsApplied = false;
}

void SetConsoleVerbose(bool on) { verbose = on; }

bool ConsoleVerbose() { return verbose; }

void Diagnostic(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (!person || verbose) {
        std::fputs(text, stdout);
        std::fflush(stdout);
        return;
    }
    const size_t n = std::strlen(text);
    if (n && text[n - 1] == '\n') text[n - 1] = '\0'; // the log adds its own
    WriteLogFile(text);
}

void ApplyConsoleDefaults() {
    const Status& s = MainStatus;
    if (!person || s.FD || s.ST) return;
    Search.Level.limited = true;
    Search.Level.elo = ConsoleElo;
    SetSecondsPerMove(ConsoleSecondsPerMove);
    defaultClock = defaultsApplied = true;
}

void DropDefaultClock() {
    if (!defaultClock) return;
    Status& s = MainStatus;
    s.ST = s.TimePerMove = s.TimeLeft = 0;
    defaultClock = false;
}

std::string OpponentText() {
    std::string text = Search.Level.limited ? "about " + std::to_string(Search.Level.elo) + " Elo" : "full strength";
    text += ", " + ClockText();
    const int cap = MainBoard.MaxDepth;
    if (!MainStatus.FD && cap >= 1 && cap < UnlimitedDepth) text += ", at most " + Plies(cap) + " deep";
    return text;
}

void GreetPerson() {
    std::printf("\nHello! I am %s\n", EngineName);
    Diagnostic("MAXDEPTH = %d\n", MainBoard.MaxDepth);
    std::printf("You play %s; %s plays at %s.\n", SideName(MainBoard.SideToMove), EngineName, OpponentText().c_str());
    std::printf("Type moves as e4, Nf3, exd5, O-O or e2e4. hint suggests a move, help lists the commands.\n");
    DrawBoard(true);
}

SessionSettings KeepSessionSettings() {
    const Status& s = MainStatus;
    return {s.FD,
            s.ST,
            s.TimePerMove,
            s.TimeLeft,
            s.TimeInc,
            s.MovesPerSession,
            MainBoard.MaxDepth,
            MainBoard.FixedDepth,
            s.OwnBook,
            s.Post,
            defaultClock};
}

void RestoreSessionSettings(const SessionSettings& k) {
    Status& s = MainStatus;
    s.FD = i8(k.fd);
    s.ST = k.st;
    s.TimePerMove = k.timePerMove;
    s.TimeLeft = k.timeLeft;
    s.TimeInc = k.timeInc;
    s.MovesPerSession = k.movesPerSession;
    MainBoard.MaxDepth = k.maxDepth;
    MainBoard.FixedDepth = k.fixedDepth;
    s.OwnBook = u8(k.ownBook);
    s.Post = u8(k.post);
    defaultClock = k.defaultClock;
}

bool ReadConsoleMove(const ChessBoard& board, const char* word, Move* move, std::string* refusal) {
    const std::string text = word;
    Move coordinates;
    if (ParseMoveText(word, &coordinates)) {
        if (FindLegalMove(board, coordinates, move)) return true;
        *refusal = "Illegal move: " + text;
        return false;
    }
    switch (ReadSan(board, text, move)) {
    case SanReading::Ok: return true;
    case SanReading::Illegal: *refusal = "Illegal move: " + text; break;
    case SanReading::Ambiguous: *refusal = "Ambiguous move: " + text + " (" + Candidates(board, text) + ")"; break;
    case SanReading::NotUnderstood:
        // A word shaped like coordinates was always a move, if an illegal one.
        if (word[0] >= 'a' && word[0] <= 'h' && word[1] >= '0' && word[1] <= '8')
            *refusal = "Illegal move: " + text;
        else
            *refusal = "Unknown command or move: " + text + " (help lists the commands)";
        break;
    }
    return false;
}

bool AsLegalMove(const ChessBoard& board, const Move& move, Move* legal) {
    const bool letter = move.promote != NoPromotion && move.promote != 0;
    const Move asked{move.from, move.to,
                     letter ? char(std::tolower(static_cast<unsigned char>(move.promote))) : NoPromotion};
    return FindLegalMove(board, asked, legal);
}

bool LooksLikeMove(const ChessBoard& board, const char* word) {
    Move m;
    return ParseMoveText(word, &m) || ReadSan(board, word, &m) != SanReading::NotUnderstood;
}

void AnnounceEngineMove(const ChessBoard& before, const Move& move) {
    Move legal;
    const std::string san = AsLegalMove(before, move, &legal) ? SanOf(before, legal) : MoveNotation(move);
    const int plies = int(Game.Moves().size()) + Game.StartPosition().SideToMove;
    std::printf("%s plays %d. %s%s\n", EngineName, 1 + plies / 2, before.SideToMove ? "... " : "", san.c_str());
    Diagnostic("My move: %s\n", MoveNotation(move).c_str());
    NoteEngineSide(before.SideToMove);
}

void ShowAfterMove(int score, bool showBoard) {
    Diagnostic("Game Score %d\n", score);
    DrawBoard(showBoard);
}

bool AnnounceNoLegalMove() {
    const ChessBoard& b = MainBoard;
    if (HasLegalMove(b)) return false;
    const int side = b.SideToMove;
    const u64 king = side ? b.BlackKing : b.WhiteKing;
    if (king && b.InCheck(king, char(side))) {
        std::printf(side ? "White mates!\n" : "Black mates!\n");
        Game.SetResult(side ? "1-0" : "0-1");
    } else {
        std::printf("Stalemate\n");
        Game.SetResult("1/2-1/2");
    }
    MainStatus.GameInProgress = 0;
    std::fflush(stdout);
    return true;
}

namespace {

// "Game over: 1-0." or, for a game ended without a result, "Game over."
std::string GameOverText() {
    const std::string& result = Game.Result();
    return result == "*" ? "Game over." : "Game over: " + result + ".";
}

} // namespace

void OfferNewGame() {
    std::printf("%s Type new for another game, undo to take back a move, save FILE to keep the game, "
                "or quit.\n",
                GameOverText().c_str());
    std::fflush(stdout);
}

void RefuseAfterEnd() {
    std::printf("%s new starts another game, undo takes back a move.\n", GameOverText().c_str());
    std::fflush(stdout);
}

void ShowTurn(const char* what) {
    if (what && *what) std::printf("%s\n", what);
    DrawBoard(true);
    std::printf("%s to move.\n", SideName(MainBoard.SideToMove));
    std::fflush(stdout);
}

void NoteEngineSide(int side) { engineSides |= 1 << side; }

void ConsoleGameStarted() { engineSides = 0; }

int EngineSides() { return engineSides ? engineSides : 1 << (Game.StartPosition().SideToMove ^ 1); }
