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

ShownLines shown;

// "info depth D seldepth S [multipv K] score ... nodes N nps R time T hashfull H pv ...", times in real
// milliseconds; without a move (no legal one at the root) "info depth 0 score ... nodes N time T".
// A line already shown is not shown again.
void InfoLine(const SearchReport& r) {
    if (!shown.Fresh(r)) return;
    const long long ms = r.elapsedMs > 0 ? r.elapsedMs : 0;
    if (r.line.length == 0) {
        std::printf("info depth 0 score %s nodes %lld time %lld\n", UciScore(r).c_str(), r.nodes, ms);
        std::fflush(stdout);
        return;
    }
    const long long nps = ms > 0 ? r.nodes * 1000 / ms : 0;
    const std::string rank = r.multiPv > 0 ? " multipv " + std::to_string(r.multiPv) : "";
    std::printf("info depth %d seldepth %d%s score %s nodes %lld nps %lld time %lld hashfull %d pv %s\n", r.depth,
                r.selDepth, rank.c_str(), UciScore(r).c_str(), r.nodes, nps, ms, PositionCache.HashFull(),
                LineMoves(r).c_str());
    std::fflush(stdout);
}

} // namespace

std::string UciScore(const SearchReport& r) {
    if (r.mate) return "mate " + std::to_string(r.mateMoves);
    return "cp " + std::to_string(r.score / 10);
}

// Said once a search, so that the GUI's log shows the level and the seed that replays the game.
void UCIObserver::PlayingAtLevel(int elo, u64 seed) {
    InfoString(("playing at " + std::to_string(elo) + " Elo (seed " + std::to_string(seed) + ")").c_str());
}

void UCIObserver::IterationStarted(int depth) {
    if (depth == 1) shown.Clear(); // a new search
    std::printf("info depth %d\n", depth);
    std::fflush(stdout);
}

void UCIObserver::BookMoveChosen() { InfoString("book move"); }

// An analysis wants the search's lines, not a book move.
bool UCIObserver::ChooseBookMove(char side, char castling, const ChessBoard& board, Move* move) {
    return !UCI.AnalyseMode && GameObserver::ChooseBookMove(side, castling, board, move);
}

// Late in a long search only, when the GUI asked for the current line.
void UCIObserver::RootMoveStarted(int depth, PVEntry move, int number, long long nodes) {
    if (!UCI.ShowCurrLine || depth <= 8 || nodes <= 3LL * MainStatus.NodesPerSecond) return;
    const std::string text = MoveNotation(SquareBit(move.move / 64), SquareBit(move.move % 64), NoPromotion);
    std::printf("info currmove %s currmovenumber %d\n", text.c_str(), number);
    std::fflush(stdout);
}

void UCIObserver::NewBestLine(const SearchReport& r) { InfoLine(r); }

// Only an iteration that got somewhere is worth a line; a move without a line has none to show.
void UCIObserver::IterationInterrupted(const SearchReport& r, Interruption how, int) {
    if (r.line.length && (how != Interruption::InMove || r.depth > 7)) InfoLine(r);
}

void UCIObserver::IterationDone(const SearchReport& r) { InfoLine(r); }

// A book move was searched to no depth ("info string book move" said it); a root without a legal
// move was reported when its iteration was done.
void UCIObserver::SearchFinished(const SearchReport& r, bool, bool bookMove, bool) {
    if (!bookMove && r.line.length) InfoLine(r);
}

// The GUI sends the position before every "go": the game position stays as it set it.
void UCIObserver::PlayMove(const Move&) {}

bool UCIObserver::ReadCommand(std::string* command) { return ReadUCILine(command); }

bool UCIObserver::Interpret(const std::string& line) { return UCI.UCIPrep(line) == 2; }

bool UCIObserver::Waiting() const { return MainStatus.Pondering || UCI.State == InfiniteAnalysis; }
