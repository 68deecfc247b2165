// Mates the search announces: no mate without proof, the distance the
// best defence allows, and a line that ends in the mate.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "board/HashKeys.h"
#include "core/Status.h"
#include "search/MateLine.h"
#include "search/MoveHistory.h"
#include "search/SearchRoutines.h"
#include "search/TranspositionTables.h"
#include "support/TestBoards.h"

namespace {

// A side to move and its position.
struct Position {
    ChessBoard board;
    char side, castling;
    bool InCheck() const { return board.InCheck(side ? board.BlackKing : board.WhiteKing, side); }
    Position After(const PVEntry& m) const {
        Position next = *this;
        char mask;
        next.board.MakeMove(SquareBit(m.move / 64), SquareBit(m.move % 64), m.promote, &mask);
        next.side ^= 1;
        next.castling &= mask;
        return next;
    }
    std::vector<PVEntry> Moves() const {
        ChessBoard b = board;
        MoveGen list;
        std::vector<PVEntry> legal;
        for (int i = 0, n = list.GenerateAllMoves(side, &b, castling); i < n; ++i) {
            const PVEntry m{u16(MoveCode(list.From[i], list.To[i])), list.Promote[i]};
            const Position next = After(m);
            if (!next.board.InCheck(side ? next.board.BlackKing : next.board.WhiteKing, side)) legal.push_back(m);
        }
        return legal;
    }
};

// Is the side to move mated, or mated within n moves of the other side's whatever it does?
bool Mated(const Position& p, int n);

// Does the side to move mate within n moves, whatever the defence? Full width, no pruning.
bool Mates(const Position& p, int n) {
    if (n <= 0) return false;
    for (const PVEntry& m : p.Moves())
        if (Mated(p.After(m), n - 1)) return true;
    return false;
}

bool Mated(const Position& p, int n) {
    const std::vector<PVEntry> replies = p.Moves();
    if (replies.empty()) return p.InCheck();
    for (const PVEntry& r : replies)
        if (!Mates(p.After(r), n)) return false;
    return n > 0;
}

// Collects the search's reports.
struct Reports : SearchObserver {
    std::vector<SearchReport> all;
    void NewBestLine(const SearchReport& r) override { all.push_back(r); }
    void IterationDone(const SearchReport& r) override { all.push_back(r); }
};

class Mates : public testing::Test {
protected:
    void SetUp() override {
        MainStatus.initVars();
        MoveList.Init();
        PositionCache.ClearTranspositionTables();
        Search.ClearHistory();
        std::memset(Search.Killers, 0, sizeof Search.Killers);
    }
    void TearDown() override { MainStatus.FD = 0; }

    // The reports of a fixed-depth search from a fresh table, as a suite or "go depth" runs it.
    std::vector<SearchReport> Think(const char* fen, int depth) {
        SetUp();
        root = Position{BoardFromFen(fen), char(MainBoard.SideToMove), char(MainBoard.Castling)};
        MainStatus.FD = char(depth);
        MainBoard.MaxDepth = depth;
        Reports reports;
        SearchObserver* const saved = Search.Observer;
        Search.Observer = &reports;
        Move best{0, 0, NoPromotion};
        CaptureStdout([&] { Search.ProgressiveDeepening(MainBoard, char(depth), &best); });
        Search.Observer = saved;
        return reports.all;
    }

    Position root{};
};

} // namespace

TEST_F(Mates, ANullMoveProvesNoMateBound) {
    // White passes, Black's only move is Kg8, and Qg7 mates: the null move fails high with a mate.
    ChessBoard b = BoardFromFen("7k/Q7/6K1/8/8/8/8/8 w - - 0 1");
    MainStatus.FD = 5;
    b.MaxPly = Search.IterationMaxPly = 20;
    const int beta = 11700; // within reach of the material, out of reach of the static cut-off
    EXPECT_EQ(Search.Search(beta - 1, beta, b, Node{0, 0, 5, 2, true, false, CutNode}), beta);
    u64 upper, lower;
    genhashcode(0, 0, &upper, &lower, &b);
    int value = 0, move = 0;
    EXPECT_EQ(PositionCache.SearchTranspositionTables(upper, lower, 2, 2, beta, MateScoreBound + 1, &value, &move),
              NoHit)
        << "stored as a mate bound: " << value;
}

TEST_F(Mates, AMateIsClaimedOnlyForAMoveThatForcesIt) {
    // 1.Kc6 mates in 3; 1.Rg7 only in 4 (1...Kb8 2.Kc6 Ka8 3.Kb6 Kb8 4.Rg8#), though it was once
    // announced as a mate in 3.
    const char* fen = "k7/8/8/3K4/8/8/8/6R1 w - - 0 1";
    for (int depth = 1; depth <= 12; ++depth)
        for (const SearchReport& r : Think(fen, depth)) {
            if (!r.mate) continue;
            const Position after = root.After(r.line.moves[0]);
            EXPECT_TRUE(r.mateMoves >= 3 && Mated(after, r.mateMoves - 1))
                << "depth " << depth << ": mate in " << r.mateMoves << " claimed for "
                << MoveName(SquareBit(r.line.moves[0].move / 64), SquareBit(r.line.moves[0].move % 64), NoPromotion);
        }
}

TEST_F(Mates, AMateWithoutMovesIsStoredExactly) {
    // Black is mated at ply 3 (-109997). Below the window the score must not be stored as the
    // window's bound, which would read as a mate sooner than this one.
    ChessBoard b = BoardFromFen("R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1");
    MainStatus.FD = 2;
    b.MaxPly = Search.IterationMaxPly = 10;
    EXPECT_EQ(Search.Search(-MATE, MATE, b, Node{1, 0, 1, 3, true, true, PVNode}), -109997);
    u64 upper, lower;
    genhashcode(1, 0, &upper, &lower, &b);
    int value = 0, move = 0;
    EXPECT_EQ(PositionCache.SearchTranspositionTables(upper, lower, 3, 1, -109998, MATE, &value, &move), ExactHit);
    EXPECT_EQ(value, -109997);
}

TEST_F(Mates, ExactDistancesAndWholeLines) {
    // The short mates of the set: at every depth from 2N + 1 to 2N + 4 the mate in N is shown
    // as such, with a legal line of 2N - 1 plies that ends in checkmate. Three of them lie beyond
    // these depths from a fresh table, through the reductions of quiet moves.
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
            const std::vector<SearchReport> reports = Think(fen.c_str(), depth);
            ASSERT_FALSE(reports.empty()) << m[3];
            const SearchReport& r = reports.back();
            EXPECT_TRUE(r.mate && r.mateMoves == n) << m[3] << " at depth " << depth << ": " << r.mateMoves;
            ASSERT_EQ(r.line.length, 2 * n - 1) << m[3] << " at depth " << depth;
            Position p = root;
            for (int i = 0; i < r.line.length; ++i) {
                bool legal = false;
                for (const PVEntry& e : p.Moves()) legal |= e.move == r.line.moves[i].move;
                ASSERT_TRUE(legal) << m[3] << ": move " << i + 1 << " of the line";
                p = p.After(r.line.moves[i]);
            }
            EXPECT_TRUE(p.Moves().empty() && p.InCheck()) << m[3] << ": the line ends without a mate";
        }
    }
    EXPECT_GE(tried, 20);
}

// Carrying a line on to the mate has the search's clock as its limit: a
// game is never lost on time for a line, and a line cut short by the clock
// is carried on in full the next time, not remembered as it was cut.
TEST_F(Mates, TheClockCutsAMatingLineShortButNotForGood) {
    SetUp();
    const ChessBoard board = BoardFromFen("8/8/8/8/8/3K4/5R2/3k4 b - - 0 1");
    const Position start{board, char(board.SideToMove), char(board.Castling)};
    const MoveLine none{};
    const int matedInThree = -(MATE - 5);
    auto endsInMate = [&](const MoveLine& line) {
        Position p = start;
        for (int i = 0; i < line.length; ++i) p = p.After(line.moves[i]);
        return line.length > 0 && p.Moves().empty() && p.InCheck();
    };
    const MoveLine cut = CompleteMatingLine(board, start.side, start.castling, none, matedInThree, 0);
    EXPECT_FALSE(endsInMate(cut));
    const MoveLine whole = CompleteMatingLine(board, start.side, start.castling, none, matedInThree, -1);
    EXPECT_TRUE(endsInMate(whole));
}
