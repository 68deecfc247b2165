// Several lines an iteration, and a cut iteration claiming no depth.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "core/Status.h"
#include "frontend/shared/LineText.h"
#include "search/TimeManagement.h"
#include "support/TestSearch.h"

namespace {

constexpr const char* Middlegame = "r1bqk2r/pp2bppp/2p5/3pP3/P2Q1P2/2N1B3/1PP3PP/R4RK1 b kq - 0 0";

struct Reports : SearchObserver {
    std::vector<SearchReport> done, best;
    SearchReport finished;
    void NewBestLine(const SearchReport& r) override { best.push_back(r); }
    void IterationDone(const SearchReport& r) override { done.push_back(r); }
    void SearchFinished(const SearchReport& r, bool, bool, bool) override { finished = r; }
};

class MultiPv : public testing::Test {
protected:
    void TearDown() override {
        MainStatus.FD = MainStatus.ST = 0;
        Search.LineCount = 1;
    }

    // A search from a fresh table with `lines` lines; depth 0: the node limit alone ends it.
    Reports Think(const char* fen, int depth, int lines) {
        FreshSearch();
        root = BoardFromFen(fen);
        if (depth == 0) MainStatus.ST = AnalysisTime;
        Search.LineCount = lines;
        Reports reports;
        const Move best = SearchWith(reports, depth);
        bestMove = MoveCode(best.from, best.to);
        return reports;
    }

    // Each depth's lines: ranks 1..expected in order, scores not rising, distinct legal moves.
    void ExpectRanked(const Reports& r, size_t expected, int depth) {
        ASSERT_EQ(r.done.size(), expected * size_t(depth));
        for (int d = 0; d < depth; ++d) {
            std::set<int> moves;
            for (size_t k = 0; k < expected; ++k) {
                const SearchReport& line = r.done[size_t(d) * expected + k];
                SCOPED_TRACE(testing::Message() << "depth " << d + 1 << " line " << k + 1);
                EXPECT_TRUE(line.depth == d + 1 && line.multiPv == int(k) + 1);
                ChessBoard b = root;
                ASSERT_TRUE(line.line.length > 0 && PlayLine(&b, line.line));
                moves.insert(line.line.moves[0].move);
                if (k > 0) { EXPECT_LE(line.score, r.done[size_t(d) * expected + k - 1].score); }
            }
            EXPECT_EQ(moves.size(), expected) << "a move in two lines at depth " << d + 1;
        }
        EXPECT_EQ(bestMove, r.done[size_t(depth - 1) * expected].line.moves[0].move) << "the move is line 1's";
    }

    ChessBoard root{};
    int bestMove = 0;
};

} // namespace

TEST_F(MultiPv, LinesRankedLegalAndDistinct) {
    ExpectRanked(Think(Middlegame, 5, 4), 4, 5);
    ExpectRanked(Think("7k/8/8/8/8/8/6PP/R5K1 b - - 0 1", 4, 5), 3, 4); // three king moves: three lines
    // Line K is the best move once lines 1..K-1 are left out: only line 1 takes the free queen.
    const Reports r = Think("4k3/8/8/3q4/8/8/3R4/4K3 w - - 0 1", 5, 3);
    ExpectRanked(r, 3, 5);
    EXPECT_EQ(bestMove, MoveCode(Sq("d2"), Sq("d5")));
    EXPECT_GT(r.done[12].score, r.done[13].score + 4000) << "line 2 keeps no queen";
}

// A cut search reports the last whole iteration or the cut one's best move; with several lines, none of the cut one.
TEST_F(MultiPv, ACutIterationClaimsNoDepth) {
    for (int lines : {1, 3}) {
        SetSearchLimits(30000, 0);
        const Reports r = Think(Middlegame, 0, lines);
        SetSearchLimits(0, 0);
        ASSERT_FALSE(r.done.empty()) << lines;
        const SearchReport& last = r.done.back();
        const SearchReport& result = r.finished;
        if (lines == 1 && !r.best.empty() && r.best.back().depth > last.depth) {
            EXPECT_EQ(result.depth, r.best.back().depth);
            EXPECT_EQ(LineMoves(result), LineMoves(r.best.back()));
        } else {
            EXPECT_EQ(result.depth, last.depth) << lines;
            EXPECT_EQ(result.line.moves[0].move, r.done[r.done.size() - size_t(lines)].line.moves[0].move);
        }
        EXPECT_EQ(r.done.size() % size_t(lines), 0u) << "a cut iteration reported lines";
    }
}
