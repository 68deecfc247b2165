// Perft of the engine against published counts and the mailbox reference, and the reference
// against published counts under full rules. Random games are counted in RandomGamesTest.
#include <gtest/gtest.h>

#include <memory>

#include "movegen/PerfT.h"
#include "movegen/ReferenceBoard.h"
#include "support/TestBoards.h"

namespace {

const char* const initial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
const char* const kiwipete = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -";
const char* const rookEnding = "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -";
const char* const promotions = "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - -";
const char* const mirrored = "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -";
const char* const underPromotion = "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -";
const char* const corners = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -";
const char* const recapture = "rr2k3/8/8/8/8/8/8/R3K3 w q -"; // after Rxa8 Rxa8 black may still castle

// Leaf count of the engine's perft from MainBoard, or from the text.
u64 EngineLeaves(int depth, const char* fen = nullptr) {
    if (fen) BoardFromFen(fen);
    u64 leaves = 0;
    CaptureStdout([&] { leaves = PerfT(depth).LeafNodes; });
    return leaves;
}

} // namespace

// The reference under full rules everywhere; the engine where its rules agree.
TEST(Perft, PublishedCounts) {
    const struct {
        const char* fen;
        std::vector<u64> leaves; // from depth 1
        bool engine = false;
    } published[] = {{initial, {20, 400, 8902, 197281}, true},
                     {kiwipete, {48, 2039, 97862}, true},
                     {rookEnding, {14, 191, 2812, 43238}, true},
                     {promotions, {24, 496, 9483}},
                     {mirrored, {6, 264, 9467}},
                     {underPromotion, {44, 1486}},
                     {corners, {26, 568, 13744}}};
    for (const auto& p : published)
        for (int d = 1; d <= int(p.leaves.size()); ++d) {
            EXPECT_EQ(ReferenceBoard(p.fen, true).Perft(d), p.leaves[d - 1]) << p.fen << " depth " << d;
            if (p.engine) { EXPECT_EQ(EngineLeaves(d, p.fen), p.leaves[d - 1]) << p.fen << " depth " << d; }
        }
    // The chosen positions do tell the two sets of rules apart.
    EXPECT_NE(ReferenceBoard(promotions).Perft(2), ReferenceBoard(promotions, true).Perft(2));
    EXPECT_NE(ReferenceBoard(recapture).Perft(4), ReferenceBoard(recapture, true).Perft(4));
}

TEST(Perft, MatchesTheReferenceWhereTheRulesDiffer) {
    for (const char* fen : {promotions, mirrored, underPromotion, "r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R b KQkq -"})
        EXPECT_EQ(EngineLeaves(3, fen), ReferenceBoard(fen).Perft(3)) << fen;
    EXPECT_EQ(EngineLeaves(4, recapture), ReferenceBoard(recapture).Perft(4));
}

namespace {

// Perft's count before the last ply was counted without making its moves.
int CountByMaking(ChessBoard b, char castling) {
    const char side = char(b.SideToMove);
    MoveGen list;
    const int count = b.InCheck(side ? b.BlackKing : b.WhiteKing, side) ? list.GenCheckEvasions(side, &b)
                                                                        : list.GenerateAllMoves(side, &b, castling);
    int legal = 0;
    for (int i = 0; i < count; ++i) {
        ChessBoard after = b;
        char mask;
        after.MakeMove(list.From[i], list.To[i], list.Promote[i], &mask);
        legal += !after.InCheck(side ? after.BlackKing : after.WhiteKing, side);
    }
    return legal;
}

// Compares the two counts at the board and at every position its pseudo-legal moves lead to.
void CompareCounts(const ChessBoard& b, char castling, int plies, int* positions) {
    ChessBoard fast = b, made = b;
    int fastCount = 0, madeCount = 0;
    CaptureStdout([&] { // a missing king is reported on the way
        fastCount = CountLegalMoves(char(b.SideToMove), fast, castling);
        madeCount = CountByMaking(made, castling);
    });
    ASSERT_EQ(fastCount, madeCount) << FenOf(b) << " after " << MoveName(b.LastFrom, b.LastTo, NoPromotion);
    ++*positions;
    if (plies == 0) return;
    ChessBoard parent = b;
    MoveGen list;
    int count = 0;
    CaptureStdout([&] { count = list.GenerateAllMoves(char(b.SideToMove), &parent, castling); });
    for (int i = 0; i < count; ++i) {
        ChessBoard child = b;
        char mask;
        child.MakeMove(list.From[i], list.To[i], list.Promote[i], &mask);
        child.SideToMove ^= 1;
        CompareCounts(child, char(castling & mask), plies - 1, positions);
        if (testing::Test::HasFatalFailure()) return;
    }
}

} // namespace

// Within two plies of each start: pins, en passant beside a pinning slider, castling past
// attacks, and boards no game reaches (a king to be taken, a missing or a second king).
TEST(Perft, LastPlyCountedAsMakingEachMoveCounts) {
    const struct {
        const char* fen;
        const char *lastFrom = nullptr, *lastTo = nullptr; // the double step just made, if any
    } starts[] = {{kiwipete},
                  {promotions},
                  {mirrored},
                  {"8/8/8/K2pP2r/8/8/8/7k w - -", "d7", "d5"},
                  {"8/8/8/8/k2pP2Q/8/8/4K3 b - -", "e2", "e4"},
                  {"4k3/8/8/2Pp4/8/8/8/4K1b1 w - -", "d7", "d5"},
                  {"r3k2r/8/8/8/8/5b2/8/R3K2R w KQkq -"},
                  {"4k3/3q4/8/1B6/8/2b5/3P4/R3K2r w Q -"},
                  {"4k3/8/8/8/8/8/4R3/4K3 w - -"},
                  {"4k3/8/8/8/8/8/8/K3K3 w - -"},
                  {"4k3/8/8/8/8/8/8/4N3 w - -"}};
    int positions = 0;
    for (const auto& s : starts) {
        ChessBoard root = BoardFromFen(s.fen);
        if (s.lastFrom) root.LastFrom = Sq(s.lastFrom), root.LastTo = Sq(s.lastTo);
        CompareCounts(root, char(root.Castling), 2, &positions);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(positions, 5000);
}

// The stop hook is asked every PollNodes counted moves and never changes a count it lets finish.
TEST(EnginePerft, StopHookIsAskedRarelyAndEndsTheCount) {
    static int asked = 0;
    PerfT::StopHook = [] { return ++asked > 2; };
    BoardFromFen(kiwipete);
    std::unique_ptr<PerfT> stopped;
    const std::string out = CaptureStdout([&] { stopped = std::make_unique<PerfT>(5); });
    EXPECT_TRUE(stopped->Stopped);
    EXPECT_EQ(asked, 3);
    EXPECT_LT(stopped->TotalNodes, 4 * PerfT::PollNodes) << "it ends soon after the hook says so";
    EXPECT_EQ(out.find("Leaf Nodes"), std::string::npos) << "no report for a count cut short";
    PerfT::StopHook = nullptr;
    const u64 leaves = EngineLeaves(4, kiwipete);
    asked = 0;
    PerfT::StopHook = [] { return ++asked < 0; };
    EXPECT_EQ(EngineLeaves(4, kiwipete), leaves);
    EXPECT_GT(asked, 10);
    EXPECT_LT(asked, int(leaves / PerfT::PollNodes) + 10);
    PerfT::StopHook = nullptr;
}
