// Playing levels: the Elo table, the choice among lines, seeds, node limits and analysis.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/Status.h"
#include "search/LevelChoice.h"
#include "search/LevelTable.h"
#include "support/TestSearch.h"

namespace {

constexpr const char* Start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// Between the rows as on them, no level is stronger in any way than the one above it.
TEST(LevelTable, StrengthNeverFallsAsTheEloRisesAndTheChoiceStaysAmongTheBestLines) {
    LevelLimits previous = LevelLimitsFor(LevelMinElo - 500);
    EXPECT_EQ(previous.nodes, LevelRows[0].nodes) << "below the range: the weakest level";
    for (int elo = LevelMinElo + 10; elo < LevelMaxElo; elo += 10) {
        const LevelLimits l = LevelLimitsFor(elo);
        EXPECT_TRUE(l.nodes >= previous.nodes && l.spread <= previous.spread && l.lines <= previous.lines &&
                    l.lines >= 1)
            << elo;
        previous = l;
    }
    // A spread of 0, a mate or one line give the best line; past the cutoff none, the better the more often.
    u64 state = 7;
    const int mate[] = {MATE - 5, 300, 200}, close[] = {100, 90, 80, 70};
    for (int i = 0; i < 50; ++i) {
        const u64 r = NextRandom(&state);
        EXPECT_EQ(ChooseLine(close, 4, 0, r) + ChooseLine(mate, 3, 200, r) + ChooseLine(close, 1, 200, r), 0);
    }
    const int scores[] = {0, -PawnValue / 4, -PawnValue, -2 * PawnValue, -5 * PawnValue};
    int counts[5] = {};
    for (int i = 0; i < 4000; ++i) ++counts[ChooseLine(scores, 5, 50, NextRandom(&state))];
    EXPECT_EQ(counts[4], 0) << "five pawns below the best at a spread of half a pawn";
    EXPECT_TRUE(counts[0] > counts[1] && counts[1] > counts[2] && counts[2] > counts[3]);
}

struct Player : SearchObserver {
    int announced = 0;
    void PlayingAtLevel(int, u64) override { ++announced; }
};

class LevelSearch : public testing::Test {
protected:
    void TearDown() override {
        Search.Level = PlayingLevel{};
        MainStatus.ST = MainStatus.FD = MainStatus.Analyze = 0;
    }
    // The state of a new process: empty tables, the level's game started.
    void Fresh(const PlayingLevel& level) {
        FreshSearch();
        Search.Level = level;
        Search.StartLevelGame();
    }
    // One search of the game position with a minute a move: only the level's nodes end it.
    Move Think() {
        MainStatus.ST = 60000;
        return SearchWith(player, 0);
    }
    // A game of `plies` moves from the start, the engine playing both sides at the level.
    std::vector<std::string> Play(const PlayingLevel& level, int plies) {
        Fresh(level);
        BoardFromFen(Start);
        std::vector<std::string> moves;
        for (int i = 0; i < plies; ++i) {
            const Move m = Think();
            if (!IsLegal(MainBoard, m)) return ADD_FAILURE() << "illegal move at ply " << i, moves;
            moves.push_back(MoveName(m.from, m.to, NoPromotion));
            MainBoard = AfterMove(MainBoard, m);
        }
        return moves;
    }
    Player player;
};

} // namespace

TEST_F(LevelSearch, TheSameSeedPlaysTheSameMoves) {
    const PlayingLevel level{true, 1200, 42};
    EXPECT_EQ(Play(level, 8), Play(level, 8));
    EXPECT_EQ(player.announced, 16) << "every search says its level";
    std::set<std::vector<std::string>> games; // other seeds choose other moves somewhere
    for (u64 seed = 1; seed <= 4; ++seed) games.insert(Play(PlayingLevel{true, LevelMinElo, seed}, 6));
    EXPECT_GT(games.size(), 1u);
}

// At the weakest level: legal moves within the level's nodes (and a poll's overrun); forced moves and mates played.
TEST_F(LevelSearch, LegalMovesWithinTheNodes) {
    Fresh(PlayingLevel{true, LevelMinElo, 3});
    const long long limit = LevelLimitsFor(LevelMinElo).nodes;
    int searched = 0;
    for (const ChessBoard& position : RandomGamePositions()) {
        if (searched == 30) break;
        if (!HasLegalMove(position)) continue;
        ++searched;
        MainBoard = position;
        const Move m = Think();
        EXPECT_TRUE(IsLegal(position, m)) << FenOf(position);
        EXPECT_LE(Search.TotalNodes(), limit + 2000) << FenOf(position);
    }
    EXPECT_EQ(searched, 30);
    for (u64 seed = 1; seed <= 5; ++seed) {
        Fresh(PlayingLevel{true, LevelMinElo, seed});
        BoardFromFen("6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1");
        const Move mate = Think();
        EXPECT_EQ(MoveName(mate.from, mate.to, NoPromotion), "a1a8") << seed;
        BoardFromFen("7k/8/8/8/8/8/1q6/K7 w - - 0 1"); // the king's only move takes the queen
        const Move forced = Think();
        EXPECT_EQ(MoveName(forced.from, forced.to, NoPromotion), "a1b2") << seed;
    }
}

// Analysis is never played at a level: the same move from the same nodes as without one.
TEST_F(LevelSearch, AnalysisIgnoresTheLevel) {
    auto search = [&](const PlayingLevel& level) {
        Fresh(level);
        BoardFromFen("r1bqk2r/pp2bppp/2p5/3pP3/P2Q1P2/2N1B3/1PP3PP/R4RK1 b kq - 0 0");
        const Move best = SearchWith(player, 7);
        return MoveName(best.from, best.to, NoPromotion) + " " + std::to_string(Search.TotalNodes());
    };
    const std::string plain = search(PlayingLevel{});
    MainStatus.Analyze = 1;
    EXPECT_EQ(search(PlayingLevel{true, LevelMinElo, 5}), plain);
    EXPECT_EQ(player.announced, 0);
}
