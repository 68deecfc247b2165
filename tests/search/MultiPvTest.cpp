// Several lines an iteration: ranked by exact score, each root move once,
// legal throughout, no more lines than moves, only the moves allowed, and
// one line costing nothing when it is all that is asked for.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "core/Status.h"
#include "frontend/shared/LineText.h"
#include "movegen/LegalMoves.h"
#include "search/MoveHistory.h"
#include "search/SearchRoutines.h"
#include "search/TimeManagement.h"
#include "search/TranspositionTables.h"
#include "support/TestBoards.h"

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
        MainStatus.FD = 0;
        MainStatus.ST = 0;
        Search.LineCount = 1;
        Search.RootMoveFilterCount = 0;
    }

    // A fixed-depth search from a fresh table with `lines` lines.
    Reports Think(const char* fen, int depth, int lines) {
        MainStatus.initVars();
        MoveList.Init();
        PositionCache.ClearTranspositionTables();
        Search.ClearHistory();
        std::memset(Search.Killers, 0, sizeof Search.Killers);
        MainBoard = BoardFromFen(fen);
        MainStatus.FD = char(depth);
        MainBoard.MaxDepth = depth;
        if (depth == 0) MainStatus.ST = AnalysisTime; // the node limit alone ends it
        Search.LineCount = lines;
        Reports reports;
        SearchObserver* const saved = Search.Observer;
        Search.Observer = &reports;
        Move best{0, 0, NoPromotion};
        CaptureStdout([&] { Search.ProgressiveDeepening(MainBoard, char(depth), &best); });
        Search.Observer = saved;
        bestMove = MoveCode(best.from, best.to);
        return reports;
    }

    // Every line's moves legal one after the other from the root.
    static bool Legal(const ChessBoard& root, const MoveLine& line) {
        ChessBoard b = root;
        for (int i = 0; i < line.length; ++i) {
            const Move m{SquareBit(line.moves[i].move / 64), SquareBit(line.moves[i].move % 64), line.moves[i].promote};
            if (!IsLegal(b, m)) return false;
            char mask;
            b.MakeMove(m.from, m.to, m.promote, &mask);
            b.Castling &= mask;
            b.SideToMove ^= 1;
        }
        return true;
    }

    // The lines of each depth: ranks 1..expected in order, scores not rising, distinct legal moves.
    void ExpectRanked(const Reports& r, const ChessBoard& root, size_t expected, int depth) {
        ASSERT_EQ(r.done.size(), expected * size_t(depth));
        for (int d = 0; d < depth; ++d) {
            std::set<int> moves;
            for (size_t k = 0; k < expected; ++k) {
                const SearchReport& line = r.done[size_t(d) * expected + k];
                EXPECT_EQ(line.depth, d + 1);
                EXPECT_EQ(line.multiPv, int(k) + 1);
                ASSERT_GT(line.line.length, 0);
                EXPECT_TRUE(Legal(root, line.line)) << "depth " << d + 1 << " line " << k + 1;
                moves.insert(line.line.moves[0].move);
                if (k > 0) { EXPECT_LE(line.score, r.done[size_t(d) * expected + k - 1].score); }
            }
            EXPECT_EQ(moves.size(), expected) << "a move in two lines at depth " << d + 1;
        }
        EXPECT_EQ(bestMove, r.done[size_t(depth - 1) * expected].line.moves[0].move) << "the move is line 1's";
    }

    int bestMove = 0;
};

} // namespace

TEST_F(MultiPv, LinesRankedLegalAndDistinct) {
    const ChessBoard root = BoardFromFen(Middlegame);
    ExpectRanked(Think(Middlegame, 5, 4), root, 4, 5);
    // Three legal moves (the king's), five lines asked for: three lines.
    const char* fewMoves = "7k/8/8/8/8/8/6PP/R5K1 b - - 0 1";
    ExpectRanked(Think(fewMoves, 4, 5), BoardFromFen(fewMoves), 3, 4);
}

TEST_F(MultiPv, LinesComeOnlyFromTheListedMoves) {
    const ChessBoard root = BoardFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    Search.RootMoveFilterCount = 2;
    Search.RootMoveFilter[0] = u16(MoveCode(Sq("a2"), Sq("a3")));
    Search.RootMoveFilter[1] = u16(MoveCode(Sq("b1"), Sq("c3")));
    const Reports r = Think("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 4, 3);
    ExpectRanked(r, root, 2, 4);
    for (const SearchReport& line : r.done)
        EXPECT_TRUE(line.line.moves[0].move == Search.RootMoveFilter[0] ||
                    line.line.moves[0].move == Search.RootMoveFilter[1]);
}

// Line K is the best move once lines 1..K-1 are left out: with a free queen to take, every line
// but the first scores below it, and the capture is line 1.
TEST_F(MultiPv, TheFirstLineIsTheOneLineSearch) {
    const char* fen = "4k3/8/8/3q4/8/8/3R4/4K3 w - - 0 1";
    const Reports one = Think(fen, 5, 1);
    const Reports three = Think(fen, 5, 3);
    ASSERT_FALSE(one.done.empty());
    ASSERT_EQ(three.done.size(), 15u);
    EXPECT_EQ(one.done.back().multiPv, 0) << "one line reports no rank";
    EXPECT_EQ(one.done.back().line.moves[0].move, three.done[12].line.moves[0].move);
    EXPECT_EQ(three.done[12].line.moves[0].move, MoveCode(Sq("d2"), Sq("d5")));
    EXPECT_GT(three.done[12].score, three.done[13].score + 4000) << "line 2 keeps no queen";
}

// A search cut short in an iteration claims no depth it did not search: its result is the last
// finished iteration's, or the move found best in the cut one (already reported at that depth).
// With several lines the cut iteration reports nothing.
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
