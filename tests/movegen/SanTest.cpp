// Algebraic notation: written as PGN has it, read as people type it, every move read back as itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "movegen/LegalMoves.h"
#include "movegen/San.h"
#include "support/TestBoards.h"

namespace {

struct Case {
    const char* fen;
    const char* move; // coordinates
    const char* san;
};

Move Named(const ChessBoard& b, const char* name) {
    for (const Move& m : LegalMoves(b))
        if (MoveName(m.from, m.to, NoPromotion).substr(0, 4) == std::string(name).substr(0, 4)) return m;
    ADD_FAILURE() << name << " is not legal in " << FenOf(b);
    return Move{0, 0, NoPromotion};
}

} // namespace

TEST(San, WrittenAsPgnHasIt) {
    const Case cases[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "e2e4", "e4"},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "g1f3", "Nf3"},
        {"rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 2", "e4d5", "exd5"},
        {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1g1", "O-O"},
        {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "e8c8", "O-O-O"},
        {"8/4P3/8/8/8/8/k7/4K3 w - - 0 1", "e7e8", "e8=Q"},
        {"3r4/4P3/8/8/8/8/k7/4K3 w - - 0 1", "e7d8", "exd8=Q"},
        {"r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", "h5f7", "Qxf7#"},
        {"4k3/8/8/8/8/8/8/R3K2R w - - 0 1", "a1a8", "Ra8+"},
        // Two knights reach d2: the file tells them apart; two rooks on a file: the rank does.
        {"4k3/8/8/8/8/5N2/8/1N2K3 w - - 0 1", "b1d2", "Nbd2"},
        {"4k3/R7/8/8/8/8/8/R3K3 w - - 0 1", "a1a4", "R1a4"},
        // Three queens: neither file nor rank alone is enough for the one on h4.
        {"2k5/8/8/8/4Q2Q/8/8/K6Q w - - 0 1", "h4e1", "Qh4e1"},
        {"k7/8/8/8/8/8/3PP3/K7 w - - 0 1", "d2d4", "d4"},
    };
    for (const Case& c : cases) {
        const ChessBoard b = BoardFromFen(c.fen);
        EXPECT_EQ(SanOf(b, Named(b, c.move)), c.san) << c.fen;
    }
    const ChessBoard enPassant = After("4k3/2p5/8/3P4/8/8/8/4K3 b - - 0 1", {"c7c5"});
    EXPECT_EQ(SanOf(enPassant, Named(enPassant, "d5c6")), "dxc6");
}

TEST(San, ReadAsPeopleTypeIt) {
    const ChessBoard start = BoardFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    const ChessBoard castles = BoardFromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    const ChessBoard promotes = BoardFromFen("3r4/4P3/8/8/8/8/k7/4K3 w - - 0 1");
    const ChessBoard knights = BoardFromFen("4k3/8/8/8/8/5N2/8/1N2K3 w - - 0 1");
    const struct {
        const ChessBoard& board;
        const char* text;
        SanReading reading;
        const char* move; // MoveName of the result
    } cases[] = {
        {start, "e4", SanReading::Ok, "e2e4"},       {start, "Nf3", SanReading::Ok, "g1f3"},
        {start, "Nf3+!?", SanReading::Ok, "g1f3"},   {start, "e5", SanReading::Illegal, ""},
        {start, "Ke2", SanReading::Illegal, ""},     {start, "hello", SanReading::NotUnderstood, ""},
        {start, "", SanReading::NotUnderstood, ""},  {start, "Nf3=Q", SanReading::NotUnderstood, ""},
        {castles, "O-O", SanReading::Ok, "e1g1"},    {castles, "0-0-0", SanReading::Ok, "e1c1"},
        {castles, "Kg1", SanReading::Illegal, ""},   {promotes, "e8=Q", SanReading::Ok, "e7e8Q"},
        {promotes, "e8", SanReading::Ok, "e7e8Q"},   {promotes, "exd8=N", SanReading::Ok, "e7d8N"},
        {promotes, "ed8n", SanReading::Ok, "e7d8N"}, {knights, "Nd2", SanReading::Ambiguous, ""},
        {knights, "Nfd2", SanReading::Ok, "f3d2"},   {knights, "Nxd2", SanReading::Ambiguous, ""},
    };
    for (const auto& c : cases) {
        Move m{0, 0, NoPromotion};
        EXPECT_EQ(ReadSan(c.board, c.text, &m), c.reading) << c.text;
        if (c.reading == SanReading::Ok) { EXPECT_EQ(MoveName(m.from, m.to, m.promote), c.move) << c.text; }
    }
}

// Every legal move along random games is written so that it reads back as itself.
TEST(San, EveryMoveReadsBackAsItself) {
    int moves = 0, n = 0;
    for (const ChessBoard& b : RandomGamePositions()) {
        if (n++ % 4) continue; // a sample keeps the sanitizer build quick
        for (const Move& m : LegalMoves(b)) {
            const std::string san = SanOf(b, m);
            Move back{0, 0, NoPromotion};
            ASSERT_EQ(ReadSan(b, san, &back), SanReading::Ok) << san << " in " << FenOf(b);
            ASSERT_TRUE(back.from == m.from && back.to == m.to) << san << " in " << FenOf(b);
            ++moves;
        }
    }
    EXPECT_GT(moves, 2500);
}
