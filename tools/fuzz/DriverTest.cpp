// The fuzz driver's own judgement: legal moves, the followers, the grammar
// table, and sessions that a seed must make the same every time.
#include <gtest/gtest.h>

#include <algorithm>

#include "fuzz/Chess.h"
#include "fuzz/Follow.h"
#include "fuzz/Grammar.h"
#include "fuzz/Session.h"

namespace {

class Driver : public testing::Test {
protected:
    static void SetUpTestSuite() { InitChess(); }
};

Position Fen(const char* fen) {
    std::optional<Position> p = Position::FromFen(fen);
    EXPECT_TRUE(p) << fen;
    return p ? *p : Position::Start();
}

TEST_F(Driver, LegalMovesOfKnownPositions) {
    EXPECT_EQ(Position::Start().LegalMoves().size(), 20u);
    EXPECT_TRUE(Position::Start().IsLegal("g1f3"));
    EXPECT_FALSE(Position::Start().IsLegal("e2e5"));
    EXPECT_FALSE(Position::Start().IsLegal("e7e5")); // not the side to move

    Position promotion = Fen("8/4P1k1/8/8/8/8/8/K7 w - - 0 1");
    for (const char* m : {"e7e8q", "e7e8n", "e7e8r", "e7e8b"}) EXPECT_TRUE(promotion.IsLegal(m)) << m;
    EXPECT_FALSE(promotion.IsLegal("e7e8")); // a promotion names its piece
    EXPECT_FALSE(Position::Start().IsLegal("e2e4q"));

    Position castling = Fen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    EXPECT_TRUE(castling.IsLegal("e1g1") && castling.IsLegal("e1c1"));
    EXPECT_FALSE(Fen("r3k2r/8/8/8/8/8/5r2/R3K2R w KQkq - 0 1").IsLegal("e1g1")); // out of check only by the king
    EXPECT_FALSE(Fen("r3k2r/8/8/8/8/8/8/R3K2R w Qkq - 0 1").IsLegal("e1g1"));    // no right
    EXPECT_FALSE(Fen("4k3/4r3/8/8/8/8/4B3/4K3 w - - 0 1").IsLegal("e2d3"));      // pinned

    Position mated = Fen("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 0 1");
    EXPECT_TRUE(mated.LegalMoves().empty() && mated.InCheck());
    Position stalemate = Fen("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
    EXPECT_TRUE(stalemate.LegalMoves().empty() && !stalemate.InCheck());

    // En passant right after the double step, as the engine's rules have it.
    std::optional<Position> ep = ParseUciPosition("position startpos moves e2e4 a7a6 e4e5 d7d5");
    ASSERT_TRUE(ep);
    EXPECT_TRUE(ep->IsLegal("e5d6"));
    EXPECT_EQ(ep->Fen(), "rnbqkbnr/1pp1pppp/p7/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq - 0 1");
}

TEST_F(Driver, OnlyPositionsOfAGameAreFollowed) {
    for (const char* bad : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQ1BNR w kq - 0 1",  // kingless
                            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKKNR w kq - 0 1",  // two kings
                            "rnbqkbnP/pppppppp/8/8/8/8/PPPPPPP1/RNBQKBNR w KQq - 0 1", // pawn on the back rank
                            "rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq - 0 1", "7k/6Q1/8/8/8/8/8/K7 w - - 0 1",
                            "4k3/8/8/8/8/8/8/4K3 w K - 0 1", "4k3/8/8/8/8/8/8/4K3 x - - 0 1", ""})
        EXPECT_FALSE(Position::FromFen(bad)) << bad;
    EXPECT_TRUE(ParseUciPosition("position fen 8/4P1k1/8/8/8/8/8/K7 w - - 0 1 moves e7e8n g7f7"));
    for (const char* bad : {"position startpos moves e2e4  e7e5", "position startpos moves e2e5", " position startpos",
                            "position startpos e2e4", "position fen"})
        EXPECT_FALSE(ParseUciPosition(bad)) << bad;
}

TEST_F(Driver, UciFollowerJudgesBestmoves) {
    auto judge = [](const std::string& input, const std::string& answer) {
        std::unique_ptr<Follower> f = MakeFollower(Protocol::Uci);
        f->Sent(input);
        std::vector<Finding> findings;
        f->Output(answer, findings);
        return findings.empty() ? std::string() : findings[0].signature;
    };
    EXPECT_EQ(judge("position startpos moves e2e4\ngo depth 3\n", "bestmove e7e5 ponder g1f3"), "");
    EXPECT_NE(judge("position startpos moves e2e4\ngo depth 3\n", "bestmove e2e4"), "");
    EXPECT_NE(judge("position startpos moves e2e4\ngo depth 3\n", "bestmove e7e5 ponder e7e5"), "");
    EXPECT_EQ(judge("position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\ngo\n", "bestmove 0000"), "");
    EXPECT_NE(judge("position startpos\ngo\n", "bestmove 0000"), "");
    EXPECT_EQ(judge("position startpos moves e2e4  e7e5\ngo\n", "bestmove a1a1"), ""); // not followed
    EXPECT_EQ(judge("go\n", "bestmove a1a1"), "");                                     // no position yet
    // Lines the engine reads as commands although GUIs would not write them so.
    EXPECT_EQ(judge("position startpos\n  go\tmate 3\nposition startpos moves e2e4\ngo\n", "bestmove e2e4"), "");
    // An overlong go line is still a search, of the position before it.
    const std::string longGo = "go mate 3" + std::string(5000, ' ') + "\n";
    EXPECT_EQ(judge("position startpos moves e2e4\n" + longGo + "position startpos\ngo\n", "bestmove e7e5"), "");

    // The second search of one position line.
    std::unique_ptr<Follower> f = MakeFollower(Protocol::Uci);
    std::vector<Finding> findings;
    f->Sent("position startpos\ngo depth 2\n");
    f->Output("bestmove g1f3", findings);
    f->Sent("go depth 2\n");
    f->Output("bestmove b1c3", findings);
    EXPECT_TRUE(findings.empty());
    f->Sent(" \tposition startpos moves e2e4\ngo\n");
    f->Output("bestmove e7e5", findings);
    EXPECT_TRUE(findings.empty());
    f->Sent("position startpos\ngo depth 2\n");
    f->Output("bestmove g1f3", findings);
    f->Sent("go depth 2\n");
    f->Output("bestmove f3g5", findings);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_NE(findings[0].signature.find("second go"), std::string::npos);
}

TEST_F(Driver, XboardFollowerChecksTheEngineUntilItLosesTheGame) {
    std::unique_ptr<Follower> f = MakeFollower(Protocol::Xboard);
    std::vector<Finding> findings;
    f->Sent("xboard\nprotover 2\nnew\nsd 2\ne2e4\n");
    f->Output("1. ... e7e5 ", findings);
    f->Sent("usermove g1f3\n");
    f->Output("move b8c6", findings);
    EXPECT_TRUE(findings.empty());
    f->Sent("f3g5\n");
    f->Output("3. ... e5e4", findings); // into the white pawn
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].kind, "illegal");

    f = MakeFollower(Protocol::Xboard);
    findings.clear();
    f->Sent("xboard\nnew\nforce\nsetboard 7k/8/8/8/8/8/4P3/K7 w - - 0 1\ne2e4\ngo\n");
    f->Output("move h8h9", findings);
    EXPECT_EQ(findings.size(), 1u);
    f->Sent("new\nundo\ne2e4\n"); // undo: not followed, and never again in this session
    f->Output("move a1a1", findings);
    f->Sent("new\ne2e4\n");
    f->Output("move a1a1", findings);
    EXPECT_EQ(findings.size(), 1u);
}

TEST_F(Driver, GrammarTable) {
    struct Case {
        Protocol p;
        const char* line;
        bool allowed;
    } cases[] = {
        {Protocol::Uci, "id name Velkor 1.0", true},
        {Protocol::Uci, "uciok", true},
        {Protocol::Uci, "bestmove e7e8q ponder e2e4", true},
        {Protocol::Uci, "bestmove 0000", true},
        {Protocol::Uci, "bestmove e2e4 ", true},
        {Protocol::Uci, "bestmove e2e4q;", false},
        {Protocol::Uci, "info depth 3 score cp 12", true},
        {Protocol::Uci, "info", true},
        {Protocol::Uci, "Velkor ", false},
        {Protocol::Uci, "readyok ", false},
        {Protocol::Xboard, "pong 12", true},
        {Protocol::Xboard, "move e2e4", true},
        {Protocol::Xboard, "12. ... e7e8q ", true},
        {Protocol::Xboard, "12. ... e7e8q; ", false},
        {Protocol::Xboard, "5 -31 0 1234  e2e4 e7e5", true},
        {Protocol::Xboard, "1/2-1/2 {Draw by repetition}", true},
        {Protocol::Xboard, "Stalemate", true},
        {Protocol::Xboard, "info nps 5", false},
        {Protocol::Xboard, "", false},
        {Protocol::Xboard, "Bye, Thanks for the match.", false},
        {Protocol::Console, "anything at all", true},
    };
    for (const Case& c : cases) EXPECT_EQ(LineAllowed(c.p, c.line, false), c.allowed) << c.line;
    EXPECT_TRUE(LineAllowed(Protocol::Xboard, "Velkor ", true));
    EXPECT_FALSE(LineAllowed(Protocol::Xboard, "Velkor ", false)); // the banner only comes first
    EXPECT_EQ(LineShape("bestmove e2e4 ponder e7e5 12"), "bestmove <move> ponder <move> #");
}

TEST_F(Driver, SessionsFollowFromTheSeedAndSurviveSaving) {
    for (long n = 0; n < 40; ++n) {
        Session a = GenerateSession(99, n, Protocol::Uci, true), b = GenerateSession(99, n, Protocol::Uci, true);
        std::string text = SaveSession(a);
        EXPECT_EQ(text, SaveSession(b)) << n;
        EXPECT_NE(text, SaveSession(GenerateSession(100, n, Protocol::Uci, true))) << n;
        Session loaded;
        std::string error;
        ASSERT_TRUE(LoadSession(text, &loaded, &error)) << error;
        EXPECT_EQ(SaveSession(loaded), text);
    }
    std::string bytes;
    for (int c = 0; c < 256; ++c) bytes += char(c);
    EXPECT_EQ(Unescape(Escape(bytes + "\\x4")), bytes + "\\x4");
}

} // namespace
