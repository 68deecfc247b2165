// Perft counts of the engine against published counts and the mailbox
// reference counter, and the counter itself against published counts
// under full rules. Random games are counted in RandomGamesTest.
#include <gtest/gtest.h>

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

TEST(ReferenceCounter, AgreesWithPublishedCountsUnderFullRules) {
    const struct {
        const char* fen;
        int depth;
        u64 leaves;
    } published[] = {{initial, 3, 8902},  {kiwipete, 3, 97862},      {rookEnding, 4, 43238}, {promotions, 3, 9483},
                     {mirrored, 3, 9467}, {underPromotion, 2, 1486}, {corners, 3, 13744}};
    for (const auto& p : published) EXPECT_EQ(ReferenceBoard(p.fen, true).Perft(p.depth), p.leaves) << p.fen;
    // The chosen positions do tell the two sets of rules apart.
    EXPECT_NE(ReferenceBoard(promotions).Perft(2), ReferenceBoard(promotions, true).Perft(2));
    EXPECT_NE(ReferenceBoard(recapture).Perft(4), ReferenceBoard(recapture, true).Perft(4));
}

TEST(Perft, PublishedCountsWhereTheRulesAgree) {
    const struct {
        const char* fen;
        std::vector<u64> leaves; // from depth 1
    } published[] = {{initial, {20, 400, 8902, 197281}},
                     {kiwipete, {48, 2039, 97862}},
                     {rookEnding, {14, 191, 2812, 43238}}};
    for (const auto& p : published)
        for (size_t d = 1; d <= p.leaves.size(); ++d)
            EXPECT_EQ(EngineLeaves(int(d), p.fen), p.leaves[d - 1]) << p.fen << " depth " << d;
}

TEST(Perft, MatchesTheReferenceWhereTheRulesDiffer) {
    for (const char* fen : {promotions, mirrored, underPromotion, "r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R b KQkq -"})
        EXPECT_EQ(EngineLeaves(3, fen), ReferenceBoard(fen).Perft(3)) << fen;
    EXPECT_EQ(EngineLeaves(4, recapture), ReferenceBoard(recapture).Perft(4));
}
