// Mates the search announces: no mate without proof, the exact distance, a line ending in the mate.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "board/HashKeys.h"
#include "core/Status.h"
#include "search/MateLine.h"
#include "search/TranspositionTables.h"
#include "support/TestSearch.h"

namespace {

// Is the side to move mated now or within n moves of the other side, whatever it does? Full width.
bool Mated(const ChessBoard& b, int n);

bool Mates(const ChessBoard& b, int n) {
    if (n <= 0) return false;
    for (const Move& m : LegalMoves(b))
        if (Mated(AfterMove(b, m), n - 1)) return true;
    return false;
}

bool Mated(const ChessBoard& b, int n) {
    const std::vector<Move> replies = LegalMoves(b);
    if (replies.empty()) return IsMate(b);
    for (const Move& r : replies)
        if (!Mates(AfterMove(b, r), n)) return false;
    return n > 0;
}

struct Reports : SearchObserver {
    std::vector<SearchReport> all;
    void NewBestLine(const SearchReport& r) override { all.push_back(r); }
    void IterationDone(const SearchReport& r) override { all.push_back(r); }
};

class Mates : public testing::Test {
protected:
    void SetUp() override { FreshSearch(); }
    void TearDown() override { MainStatus.FD = 0; }

    // The reports of a fixed-depth search from a fresh table, as a suite or "go depth" runs it.
    std::vector<SearchReport> Think(const char* fen, int depth) {
        FreshSearch();
        root = BoardFromFen(fen);
        Reports reports;
        SearchWith(reports, depth);
        return reports.all;
    }
    // The stored entry of the board's position, probed at the ply and depth with the window.
    char Probe(const ChessBoard& b, int ply, int depth, int alpha, int beta) {
        u64 upper, lower;
        genhashcode(char(b.SideToMove), 0, &upper, &lower, &b);
        int move = 0;
        return PositionCache.SearchTranspositionTables(upper, lower, ply, depth, alpha, beta, &value, &move);
    }

    ChessBoard root{};
    int value = 0;
};

} // namespace

TEST_F(Mates, NoMateBoundFromANullMoveAndExactMatesByPly) {
    // White passes, Black's only move is Kg8, and Qg7 mates: the null move fails high with a mate.
    ChessBoard b = BoardFromFen("7k/Q7/6K1/8/8/8/8/8 w - - 0 1");
    MainStatus.FD = 5;
    b.MaxPly = Search.IterationMaxPly = 20;
    const int beta = 11700; // within reach of the material, out of reach of the static cut-off
    EXPECT_EQ(Search.Search(beta - 1, beta, b, Node{0, 0, 5, 2, true, false, CutNode}), beta);
    EXPECT_EQ(Probe(b, 2, 2, beta, MateScoreBound + 1), NoHit) << "stored as a mate bound: " << value;
    // Mated at ply 3 below the window: stored as that mate, not as the window's bound (a sooner mate).
    FreshSearch();
    b = BoardFromFen("R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1");
    MainStatus.FD = 2;
    b.MaxPly = Search.IterationMaxPly = 10;
    EXPECT_EQ(Search.Search(-MATE, MATE, b, Node{1, 0, 1, 3, true, true, PVNode}), -109997);
    EXPECT_EQ(Probe(b, 3, 1, -109998, MATE), ExactHit);
    EXPECT_EQ(value, -109997);
}

// 1.Kc6 mates in 3; 1.Rg7 only in 4 (1...Kb8 2.Kc6 Ka8 3.Kb6 Kb8 4.Rg8#), once announced as a mate in 3.
TEST_F(Mates, AMateIsClaimedOnlyForAMoveThatForcesIt) {
    for (int depth = 1; depth <= 12; ++depth)
        for (const SearchReport& r : Think("k7/8/8/3K4/8/8/8/6R1 w - - 0 1", depth)) {
            if (!r.mate) continue;
            const PVEntry first = r.line.moves[0];
            const Move m{SquareBit(first.move / 64), SquareBit(first.move % 64), first.promote};
            EXPECT_TRUE(r.mateMoves >= 3 && Mated(AfterMove(root, m), r.mateMoves - 1))
                << "depth " << depth << ": mate in " << r.mateMoves << " claimed for "
                << MoveName(m.from, m.to, NoPromotion);
        }
}

// Mates in N at every depth from 2N + 1 to 2N + 4, each a legal line of 2N - 1 plies to checkmate (three lie beyond).
TEST_F(Mates, ExactDistancesAndWholeLines) {
    const std::set<std::string> beyondReach = {"queen mate 3a", "queen mate 3b", "rook mate 3, Kc6 not Rg7"};
    std::ifstream epd(VELKOR_TEST_DATA "/mates.epd");
    const std::regex fields(R"re(^(\S+ [wb] \S+ \S+) dm (\d+); id "([^"]*)";)re");
    int tried = 0;
    for (std::string text; std::getline(epd, text);) {
        std::smatch m;
        ASSERT_TRUE(std::regex_search(text, m, fields)) << text;
        const int n = std::stoi(m[2]);
        if (n > 3 || beyondReach.count(m[3])) continue;
        ++tried;
        const std::string fen = m[1].str() + " 0 1";
        for (int depth = 2 * n + 1; depth <= 2 * n + 4; ++depth) {
            SCOPED_TRACE(m[3].str() + " at depth " + std::to_string(depth));
            const std::vector<SearchReport> reports = Think(fen.c_str(), depth);
            ASSERT_FALSE(reports.empty());
            const SearchReport& r = reports.back();
            EXPECT_TRUE(r.mate && r.mateMoves == n) << r.mateMoves;
            ASSERT_EQ(r.line.length, 2 * n - 1);
            ChessBoard end = root;
            EXPECT_TRUE(PlayLine(&end, r.line) && IsMate(end));
        }
    }
    EXPECT_GE(tried, 20);
}

// The clock cuts a mating line short (no game is lost for a line); cut once, it is whole next time.
TEST_F(Mates, TheClockCutsAMatingLineShortButNotForGood) {
    const ChessBoard board = BoardFromFen("8/8/8/8/8/3K4/5R2/3k4 b - - 0 1");
    const int matedInThree = -(MATE - 5);
    for (int msLeft : {0, -1}) {
        ChessBoard end = board;
        const MoveLine line =
            CompleteMatingLine(board, char(board.SideToMove), char(board.Castling), MoveLine{}, matedInThree, msLeft);
        EXPECT_EQ(line.length > 0 && PlayLine(&end, line) && IsMate(end), msLeft != 0) << msLeft;
    }
}
