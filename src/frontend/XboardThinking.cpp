// The console's and xboard's words for what the search reports: thinking
// lines ("ply score time nodes line"), kibitz lines, the analysis status
// line, and the console's time report.
#include <cstdio>

#include "core/Platform.h"
#include "core/Status.h"
#include "frontend/GameLoop.h"
#include "movegen/MoveGen.h"
#include "search/SearchRoutines.h"

XboardObserver XboardReporter;

namespace {

// Depth, score in tenths of the engine's units, estimated seconds, nodes and the line.
void ThinkingLine(const SearchReport& r, const char* ending) {
    char text[MoveTextSize];
    LineText(text, r);
    std::printf("%d %d %d %lld %s%s", r.depth, r.score / 10, r.estimatedSeconds, r.nodes, text, ending);
    std::fflush(stdout);
}

bool XboardPost() { return MainStatus.xboard && MainStatus.Post; }

} // namespace

void XboardObserver::BudgetSet() {
    const Status& s = MainStatus;
    if (s.xboard || s.UCImode) return;
    std::printf("Time Per Move = %d\n", s.TimePerMove);
    std::printf("Time Left = %d\n", s.TimeLeft);
    std::printf("DefaultMovesPerSession = %d\n", s.DefaultMovesPerSession);
}

void XboardObserver::AnalysisTick() {
    std::printf("info nps %d\ninfo time %d\n", MainStatus.NodesPerSecond, MainStatus.TimeLastPly * 1000);
    std::fflush(stdout);
}

void XboardObserver::BookMoveChosen() {
    std::printf("tellics kibitz Opening Book Move\n");
    std::fflush(stdout);
}

void XboardObserver::NewBestLine(const SearchReport& r) {
    if (r.depth > 7 && XboardPost()) ThinkingLine(r, "");
}

void XboardObserver::IterationInterrupted(const SearchReport& r, Interruption how, int) {
    if (XboardPost() && (how != Interruption::InMove || r.depth > 7)) ThinkingLine(r, "");
}

void XboardObserver::IterationDone(const SearchReport& r) {
    const Status& s = MainStatus;
    if (s.Post && r.estimatedSeconds > 3) ThinkingLine(r, "\n");
    if (s.Post || s.Analyze) ThinkingLine(r, "\n");
}

void XboardObserver::SpeedMeasured(int nodesPerSecond, int seconds) {
    std::printf("info nps %d time %f\n", nodesPerSecond, seconds * 1000.0);
    std::fflush(stdout);
}

void XboardObserver::SearchFinished(const SearchReport& r, bool stopped, bool bookMove, bool) {
    const Status& s = MainStatus;
    if (s.Post && !stopped) ThinkingLine(r, "\n");
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
    if (Search.IterationDepth > 7 && s.Analyze == 1 && s.xboard == 1) PrintStatusLine();
}

int XboardObserver::Interpret(char* word) { return DoCommand(word); }

void XboardObserver::AfterCommand() { DiscardBufferedInput(); }

void PrintStatusLine() {
    const SearchRoutines& q = Search;
    std::printf("stat01: %d %lld %d %d %d\n", (ClockMs() - MainStatus.SearchStartTime) / 10, q.TotalNodes(),
                q.IterationDepth, q.RootMoveCount - q.RootMovesSearched, q.RootMoveCount);
    std::fflush(stdout);
}
