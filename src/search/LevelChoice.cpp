// Playing levels: the table read at any Elo, the seeded generator, the
// choice among the best lines, and the search object's side of a level (the
// game's seed, the limits put on a search and taken off after it).
#include "search/LevelChoice.h"

#include <chrono>
#include <cmath>
#include <cstring>

#include "board/ChessBoard.h"
#include "core/Log.h"
#include "core/Platform.h"
#include "core/Status.h"
#include "search/LevelTable.h"
#include "search/SearchRoutines.h"
#include "search/TranspositionTables.h"

namespace {

constexpr int LevelRowCount = int(sizeof LevelRows / sizeof LevelRows[0]);
constexpr u64 SeedRange = 2147483647; // seeds an option can hold, 0 aside

} // namespace

LevelLimits LevelLimitsFor(int elo) {
    const LevelRow* low = &LevelRows[0];
    if (elo <= low->elo) return {low->nodes, low->lines, low->spread};
    for (int i = 1; i < LevelRowCount; ++i) {
        const LevelRow& high = LevelRows[i];
        if (elo > high.elo) {
            low = &high;
            continue;
        }
        if (elo == high.elo) return {high.nodes, high.lines, high.spread};
        const double t = double(elo - low->elo) / (high.elo - low->elo);
        LevelLimits l;
        // The row above without a limit is the clock's search: the nodes stay those of the row below.
        l.nodes = high.nodes == 0 ? low->nodes
                                  : std::llround(double(low->nodes) * std::pow(double(high.nodes) / low->nodes, t));
        l.lines = low->lines;
        l.spread = int(std::lround(low->spread + t * (high.spread - low->spread)));
        return l;
    }
    const LevelRow& top = LevelRows[LevelRowCount - 1];
    return {top.nodes, top.lines, top.spread};
}

u64 NextRandom(u64* state) {
    u64 z = (*state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

u64 DrawGameSeed() {
    static u64 drawn = 0; // games drawn before, so that two in the same tick differ
    u64 state = u64(std::chrono::system_clock::now().time_since_epoch().count()) ^ (u64(ClockMs()) << 32) ^ ++drawn;
    return NextRandom(&state) % SeedRange + 1;
}

int ChooseLine(const int* scores, int count, int spread, u64 random) {
    if (count <= 1 || spread <= 0 || scores[0] > MateScoreBound) return 0;
    const double temperature = double(spread) * PawnValue / 100;
    double weights[MaxRootLines];
    double total = 0;
    int eligible = 0;
    for (; eligible < count && eligible < MaxRootLines; ++eligible) {
        const double loss = double(scores[0]) - scores[eligible];
        if (loss > SpreadCutoff * temperature) break; // the scores fall: none after it is eligible either
        weights[eligible] = std::exp(-loss / temperature);
        total += weights[eligible];
    }
    // A uniform number in [0, total) from the top 53 bits.
    double x = double(random >> 11) * 0x1.0p-53 * total;
    for (int i = 0; i < eligible; ++i) {
        if (x < weights[i]) return i;
        x -= weights[i];
    }
    return eligible - 1;
}

void SearchRoutines::StartLevelGame() {
    LevelGameSeed = Level.seed ? Level.seed : DrawGameSeed();
    LevelRandom = LevelGameSeed;
    // At a level a game starts from empty tables, so that its seed replays it in any process.
    if (Level.limited) {
        PositionCache.ClearTranspositionTables();
        ClearHistory();
        std::memset(Killers, 0, sizeof Killers);
    }
}

bool SearchRoutines::LevelInForce() const { return Level.limited && !MainStatus.Analyze; }

void SearchRoutines::BeginLevelSearch() {
    ShownLines = LineCount;
    if (!LevelInForce()) return;
    if (LevelGameSeed == 0) StartLevelGame(); // the first game of the process
    LevelSearch = LevelLimitsFor(Level.elo);
    LevelSearching = true;
    if (LevelSearch.nodes && (NodeLimit == 0 || LevelSearch.nodes < NodeLimit)) NodeLimit = LevelSearch.nodes;
    if (LevelSearch.lines > LineCount) LineCount = LevelSearch.lines;
    LogF("Playing level %d Elo seed %llu: nodes %lld lines %d spread %d\n", Level.elo,
         (unsigned long long)LevelGameSeed, LevelSearch.nodes, LevelSearch.lines, LevelSearch.spread);
    Observer->PlayingAtLevel(Level.elo, LevelGameSeed);
}

void SearchRoutines::EndLevelSearch(i64 nodeLimit) {
    if (!LevelSearching) return;
    NodeLimit = nodeLimit;
    LineCount = ShownLines;
    LevelSearching = false;
}

// Plays one of the best lines of the last finished iteration instead of the best: its move, its
// score and its line become the search's result.
void SearchRoutines::ChooseLevelLine(Move* best, int* score) {
    const int count = LinesFound < LevelSearch.lines ? LinesFound : LevelSearch.lines;
    if (count < 2) return;
    int scores[MaxRootLines];
    for (int i = 0; i < count; ++i) scores[i] = Lines[i].score;
    const int k = ChooseLine(scores, count, LevelSearch.spread, NextRandom(&LevelRandom));
    if (k == 0) return;
    const MoveLine& line = Lines[k].line;
    LogF("Level choice: line %d of %d, %d against %d\n", k + 1, count, Lines[k].score, Lines[0].score);
    *best = Move{SquareBit(line.moves[0].move / 64), SquareBit(line.moves[0].move % 64), line.moves[0].promote};
    *score = Lines[k].score;
    for (int i = 0; i < line.length; ++i) PV[0][i] = line.moves[i];
    PVLength = line.length;
}
