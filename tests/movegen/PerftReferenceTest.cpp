// Perft counts of the engine against the mailbox reference counter, and
// the counter itself against published counts under full rules.
#include <gtest/gtest.h>

#include <random>

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

// Leaf count of the engine's perft from MainBoard as it stands.
u64 EngineLeaves(int depth) {
    u64 leaves = 0;
    CaptureStdout([&] { leaves = PerfT(depth).LeafNodes; });
    return leaves;
}

u64 EngineLeaves(const char* fen, int depth) {
    BoardFromFen(fen);
    return EngineLeaves(depth);
}

} // namespace

TEST(ReferenceCounter, AgreesWithPublishedCountsUnderFullRules) {
    const struct {
        const char* fen;
        int depth;
        u64 leaves;
    } published[] = {{initial, 3, 8902},  {kiwipete, 3, 97862},     {rookEnding, 4, 43238}, {promotions, 3, 9483},
                     {mirrored, 3, 9467}, {underPromotion, 2, 1486}, {corners, 3, 13744}};
    for (const auto& p : published)
        EXPECT_EQ(ReferenceBoard(p.fen, {true}).Perft(p.depth), p.leaves) << p.fen;
    // The chosen positions do tell the two sets of rules apart.
    EXPECT_NE(ReferenceBoard(promotions).Perft(2), ReferenceBoard(promotions, {true}).Perft(2));
    EXPECT_NE(ReferenceBoard(recapture).Perft(4), ReferenceBoard(recapture, {true}).Perft(4));
}

TEST(Perft, PublishedCountsWhereTheRulesAgree) {
    const u64 fromStart[] = {20, 400, 8902, 197281};
    for (int d = 1; d <= 4; ++d) EXPECT_EQ(EngineLeaves(initial, d), fromStart[d - 1]) << "depth " << d;
    const u64 fromKiwipete[] = {48, 2039, 97862};
    for (int d = 1; d <= 3; ++d) EXPECT_EQ(EngineLeaves(kiwipete, d), fromKiwipete[d - 1]) << "depth " << d;
    const u64 fromRookEnding[] = {14, 191, 2812, 43238};
    for (int d = 1; d <= 4; ++d) EXPECT_EQ(EngineLeaves(rookEnding, d), fromRookEnding[d - 1]) << "depth " << d;
}

TEST(Perft, MatchesTheReferenceWhereTheRulesDiffer) {
    for (const char* fen : {promotions, mirrored, underPromotion, "r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R b KQkq -"})
        EXPECT_EQ(EngineLeaves(fen, 3), ReferenceBoard(fen).Perft(3)) << fen;
    EXPECT_EQ(EngineLeaves(recapture, 4), ReferenceBoard(recapture).Perft(4));
}

// Random games reach en passant, promotions, checks of every kind and
// castling after rook moves; each position is counted two plies deep.
TEST(Perft, MatchesTheReferenceAlongRandomGames) {
    std::mt19937 rng(20240611);
    int positions = 0, checks = 0, enPassant = 0, promotionMoves = 0, castles = 0;
    for (const char* start : {initial, kiwipete, rookEnding, promotions, mirrored, underPromotion, corners}) {
        for (int game = 0; game < 3; ++game) {
            ReferenceBoard ref(start);
            BoardFromFen(start);
            for (int ply = 0; ply <= 60; ++ply, ++positions) {
                std::vector<ReferenceBoard::Move> moves = ref.LegalMoves();
                ASSERT_EQ(EngineLeaves(1), moves.size()) << FenOf(MainBoard);
                ASSERT_EQ(EngineLeaves(2), ref.Perft(2)) << FenOf(MainBoard);
                ASSERT_EQ(MainBoard.Castling, ref.Castling()) << FenOf(MainBoard);
                checks += ref.InCheck();
                for (const ReferenceBoard::Move& m : moves) {
                    char piece = char(ref.PieceAt(m.from) | 0x20); // lower case
                    enPassant += piece == 'p' && (m.from - m.to) % 8 != 0 && !ref.PieceAt(m.to);
                    castles += piece == 'k' && (m.to - m.from == 2 || m.from - m.to == 2);
                    promotionMoves += m.promote != 0;
                }
                if (moves.empty()) break;
                // Play a random move on both boards, on MainBoard as the front ends do.
                const ReferenceBoard::Move m = moves[rng() % moves.size()];
                char mask;
                char promote = m.promote ? (MainBoard.SideToMove ? 'q' : 'Q') : NoPromotion;
                MainBoard.MakeMove(SquareBit(m.from), SquareBit(m.to), promote, &mask);
                MainBoard.SideToMove ^= 1;
                MainBoard.Castling &= mask;
                ref.Play(m);
            }
        }
    }
    EXPECT_GT(positions, 600);
    // The walk must have met the cases that the counts are meant to check.
    EXPECT_GT(checks, 20);
    EXPECT_GT(enPassant, 0);
    EXPECT_GT(promotionMoves, 20);
    EXPECT_GT(castles, 20);
}
