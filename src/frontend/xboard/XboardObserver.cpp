// The console's and xboard's words for what the search reports: thinking
// lines ("ply score time nodes line" with the time in centiseconds and
// mates as 100000 + moves), kibitz lines, the analysis status line, and the
// console's time report.
#include "frontend/xboard/XboardObserver.h"

#include <cstdio>
#include <string>

#include "book/BookChoice.h"
#include "core/Platform.h"
#include "core/Status.h"
#include "frontend/shared/LineText.h"
#include "frontend/xboard/CommandInput.h"
#include "frontend/xboard/Console.h"
#include "frontend/xboard/GameLoop.h"
#include "frontend/xboard/XboardProtocol.h"
#include "movegen/MoveGen.h"
#include "search/SearchRoutines.h"
#include "search/TimeManagement.h"

namespace {

constexpr int MateScore = 100000;     // xboard's mate convention: 100000 + moves to mate
constexpr i32 StatusIntervalMs = 125; // an analysis shows its status eight times a second

int ThinkingScore(const SearchReport& r) {
    if (!r.mate) return r.score / 10;
    return r.mateMoves > 0 ? MateScore + r.mateMoves : -MateScore + r.mateMoves;
}

ShownLines shown;

// A line is shown once, however often it is reported (new best, iteration cut short or done);
// without a move (no legal one at the root) there is no line to show.
void ThinkingLine(const SearchReport& r) {
    if (r.line.length == 0 || !shown.Fresh(r)) return;
    std::printf("%d %d %lld %lld %s\n", r.depth, ThinkingScore(r), r.elapsedMs / 10, r.nodes, LineMoves(r).c_str());
    std::fflush(stdout);
}

void SayLookingInBook() { Diagnostic("Look through the Opening Book\n"); }

} // namespace

// The console says when it turns to the built-in book (a person's console in match.log).
bool XboardObserver::ChooseBookMove(char side, char castling, const ChessBoard& board, Move* move) {
    return ::ChooseBookMove(board, side, castling, move, MainStatus.xboard ? nullptr : SayLookingInBook);
}

void XboardObserver::BudgetSet() {
    const Status& s = MainStatus;
    if (s.xboard) return; // the console's report
    Diagnostic("Time Per Move = %d\n", s.TimePerMove);
    Diagnostic("Time Left = %d\n", s.TimeLeft);
    Diagnostic("DefaultMovesPerSession = %d\n", s.DefaultMovesPerSession);
}

void XboardObserver::IterationStarted(int depth) {
    if (depth == 1) shown.Clear(); // a new search
}

void XboardObserver::BookMoveChosen() {
    std::printf("tellics kibitz Opening Book Move\n");
    std::fflush(stdout);
}

void XboardObserver::NewBestLine(const SearchReport& r) {
    if (r.depth > 7 && MainStatus.Post) ThinkingLine(r);
}

void XboardObserver::IterationInterrupted(const SearchReport& r, Interruption how, int) {
    if (MainStatus.Post && (how != Interruption::InMove || r.depth > 7)) ThinkingLine(r);
}

void XboardObserver::IterationDone(const SearchReport& r) {
    if (MainStatus.Post || MainStatus.Analyze) ThinkingLine(r);
}

void XboardObserver::SearchFinished(const SearchReport& r, bool, bool bookMove, bool) {
    const Status& s = MainStatus;
    if (!s.Kibitz) return;
    if (bookMove) {
        std::printf("tellics kibitz Book Move\n");
    } else {
        char text[MoveTextSize];
        LineText(text, r);
        std::printf("tellics kibitz ply=%d v=%d centipawns millisecs=%d Nodes=%lld nps=%d %s\n", s.DepthReached,
                    r.score / 10, r.estimatedSeconds > 1 ? r.estimatedSeconds : 1, r.nodes, s.NodesPerSecond, text);
    }
    std::fflush(stdout);
}

void XboardObserver::Polled() {
    const Status& s = MainStatus;
    static i32 lastStatus = 0;
    if (Search.IterationDepth <= 7 || s.Analyze != 1 || s.xboard != 1) return;
    const i32 now = ClockMs();
    if (now - lastStatus < StatusIntervalMs) return;
    lastStatus = now;
    PrintStatusLine();
}

// An analysis only looks: the game position stays.
void XboardObserver::PlayMove(const Move& move) {
    if (!MainStatus.Analyze) GameObserver::PlayMove(move);
}

// xboard hears every command while the engine thinks. At the console only
// "quit" and the end of input act at once; other words wait for the move, as
// typed. Input that had ended before the search began does not end it.
bool XboardObserver::InputWaiting() {
    if (MainStatus.xboard) return Input.CommandWaiting();
    return Input.QuitIsNext() || (!InputEndedBeforeSearch() && Input.Exhausted());
}

bool XboardObserver::ReadCommand(std::string* command) {
    char word[WordSize];
    const bool read = Input.NextWord(word, sizeof word);
    *command = word;
    return read;
}

bool XboardObserver::Interpret(const std::string& command) {
    char word[WordSize];
    std::snprintf(word, sizeof word, "%s", command.c_str());
    const int result = DoCommand(word);
    return (result == IsMove ? MoveWhileThinking(word) : result) == StateChanged;
}

void PrintStatusLine() {
    const SearchRoutines& q = Search;
    std::printf("stat01: %d %lld %d %d %d\n", SearchElapsedMs() / 10, q.TotalNodes(), q.IterationDepth,
                q.RootMoveCount - q.RootMovesSearched, q.RootMoveCount);
    std::fflush(stdout);
}
