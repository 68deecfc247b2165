// UCI's words for what the search reports: the "info" lines, and the
// search-side of the conversation (lines read while the engine thinks).
#include "frontend/uci/UCIObserver.h"

#include <cstdio>
#include <string>

#include "core/Platform.h"
#include "core/Status.h"
#include "frontend/shared/LineText.h"
#include "frontend/shared/PositionInput.h"
#include "frontend/uci/UCIProtocol.h"
#include "movegen/MoveGen.h"
#include "search/SearchRoutines.h"
#include "search/TranspositionTables.h"

namespace {

// "info depth D seldepth S score ... nodes N nps R time T hashfull H pv ...", times in real milliseconds.
void InfoLine(const SearchReport& r) {
    const long long ms = r.elapsedMs > 0 ? r.elapsedMs : 0;
    const long long nps = ms > 0 ? r.nodes * 1000 / ms : 0;
    std::printf("info depth %d seldepth %d score %s nodes %lld nps %lld time %lld hashfull %d pv %s\n", r.depth,
                r.selDepth, UciScore(r).c_str(), r.nodes, nps, ms, PositionCache.HashFull(), LineMoves(r).c_str());
    std::fflush(stdout);
}

} // namespace

std::string UciScore(const SearchReport& r) {
    if (r.mate) return "mate " + std::to_string(r.mateMoves);
    return "cp " + std::to_string(r.score / 10);
}

void UCIObserver::IterationStarted(int depth) {
    std::printf("info depth %d\n", depth);
    std::fflush(stdout);
}

void UCIObserver::BookMoveChosen() { InfoString("book move"); }

// Late in a long search only, when the GUI asked for the current line.
void UCIObserver::RootMoveStarted(int depth, PVEntry move, int number, long long nodes) {
    if (!UCI.ShowCurrLine || depth <= 8 || nodes <= 3LL * MainStatus.NodesPerSecond) return;
    const std::string text = MoveNotation(SquareBit(move.move / 64), SquareBit(move.move % 64), NoPromotion);
    std::printf("info currmove %s currmovenumber %d\n", text.c_str(), number);
    std::fflush(stdout);
}

void UCIObserver::NewBestLine(const SearchReport& r) { InfoLine(r); }

// Only an iteration that got somewhere is worth a line.
void UCIObserver::IterationInterrupted(const SearchReport& r, Interruption how, int) {
    if (how != Interruption::InMove || r.depth > 7) InfoLine(r);
}

void UCIObserver::IterationDone(const SearchReport& r) {
    if (MainStatus.Post || MainStatus.Analyze) InfoLine(r);
}

// Without a legal move there is no line to show.
void UCIObserver::SearchFinished(const SearchReport& r, bool, bool, bool hasMove) {
    if (hasMove) {
        InfoLine(r);
        return;
    }
    std::printf("info depth %d score %s nodes %lld time %lld\n", r.depth, UciScore(r).c_str(), r.nodes, r.elapsedMs);
    std::fflush(stdout);
}

// The GUI sends the position before every "go": the game position stays as it set it.
void UCIObserver::PlayMove(const Move&) {}

bool UCIObserver::ReadCommand(std::string* command) { return ReadUCILine(command); }

bool UCIObserver::Interpret(const std::string& line) { return UCI.UCIPrep(line) == 2; }

bool UCIObserver::Waiting() const { return MainStatus.Pondering || UCI.State == InfiniteAnalysis; }
