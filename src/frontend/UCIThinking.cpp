// UCI's words for what the search reports: the "info" lines.
#include <cstdio>

#include "core/Status.h"
#include "frontend/UCIProtocol.h"
#include "movegen/MoveGen.h"

UCIObserver UCIReporter;

namespace {

// "info depth D score cp S[ time T] nodes N pv ..." with the time in the estimate's whole seconds.
void InfoLine(const SearchReport& r, bool withTime) {
    char text[MoveTextSize];
    LineText(text, r);
    std::printf("info depth %d score cp %d", r.depth, r.score / 10);
    if (withTime) std::printf(" time %d", r.estimatedSeconds * 1000);
    std::printf(" nodes %lld pv%s", r.nodes, text);
    std::fflush(stdout);
}

} // namespace

void UCIObserver::AnalysisTick() {
    std::printf("info nps %d\ninfo time %d\n", MainStatus.NodesPerSecond, MainStatus.TimeLastPly * 1000);
    std::fflush(stdout);
}

void UCIObserver::IterationStarted(int depth) {
    std::printf("info depth %d\n", depth);
    std::fflush(stdout);
}

void UCIObserver::BookMoveChosen() {
    std::printf("tellics kibitz Opening Book Move\n");
    std::fflush(stdout);
}

// Late in a long search only, when the GUI asked for the current line.
void UCIObserver::RootMoveStarted(int depth, PVEntry move, int number, long long nodes) {
    if (UCI.ShowCurrLine && depth > 8 && nodes > 3LL * MainStatus.NodesPerSecond) {
        const int f = move.move / 64, t = move.move % 64;
        std::printf("info currmove %c%d%c%d currmovenumber %d\n", 'a' + f % 8, f / 8 + 1, 'a' + t % 8, t / 8 + 1,
                    number);
    }
    std::fflush(stdout);
}

void UCIObserver::NewBestLine(const SearchReport& r) { InfoLine(r, MainStatus.Analyze != 0); }

void UCIObserver::IterationInterrupted(const SearchReport& r, Interruption how, int legalMoves) {
    switch (how) {
    case Interruption::InMove:
        if (r.depth <= 7) break;
        InfoLine(r, true);
        std::printf("info currmovenumber %d\n", legalMoves);
        break;
    case Interruption::AfterMove: InfoLine(r, true); break;
    case Interruption::BetweenMoves: InfoLine(r, false); break;
    }
    std::fflush(stdout);
}

void UCIObserver::IterationDone(const SearchReport& r) {
    const Status& s = MainStatus;
    if (s.Post && r.estimatedSeconds > 3) {
        char text[MoveTextSize];
        LineText(text, r);
        std::printf("%d %d %d %lld %s\n", r.depth, r.score / 10, r.estimatedSeconds, r.nodes, text);
        std::fflush(stdout);
    }
    if (s.Post || s.Analyze) InfoLine(r, true);
}

void UCIObserver::SpeedMeasured(int nodesPerSecond, int seconds) {
    std::printf("info nps %d time %f\n", nodesPerSecond, seconds * 1000.0);
    std::fflush(stdout);
}

// Without a legal move there is no line to show.
void UCIObserver::SearchFinished(const SearchReport& r, bool, bool, bool hasMove) {
    if (hasMove) {
        InfoLine(r, true);
        return;
    }
    std::printf("info depth %d score cp %d time %d nodes %lld\n", r.depth, r.score / 10, r.estimatedSeconds * 1000,
                r.nodes);
    std::fflush(stdout);
}

int UCIObserver::Interpret(char* word) { return UCI.UCIPrep(word); }
