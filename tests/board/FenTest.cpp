// Reading and writing position text, position files, and text that is not
// a position at all.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "support/TestBoards.h"

namespace {

// Whatever the text, the sets must agree with the occupancy fields and the writer must fit its buffer.
void ExpectConsistent(const std::string& text) {
    const ChessBoard& b = MainBoard;
    u64 white = b.WhitePawns | b.WhiteKnights | b.WhiteBishops | b.WhiteRooks | b.WhiteQueens | b.WhiteKing;
    u64 black = b.BlackPawns | b.BlackKnights | b.BlackBishops | b.BlackRooks | b.BlackQueens | b.BlackKing;
    EXPECT_TRUE(b.WhitePieces == white && b.BlackPieces == black && b.AllPieces == (white | black)) << text;
    EXPECT_TRUE(PieceSetCount(b.WhiteKing) <= 1 && PieceSetCount(b.BlackKing) <= 1) << text;
    EXPECT_LT(b.Castling, 16) << text;
    EXPECT_LT(FenOf(b).size(), size_t(FenTextSize)) << text;
}

} // namespace

TEST(Fen, ReadsPlacementSideAndCastling) {
    MainBoard.LastFrom = Sq("e2");
    MainBoard.FiftyMoveCount = 17;
    SetupBoard("rnbqkbnr/pppppppp/8/8/1P6/8/P1PPPPPP/RNBQKBNR b - - 0 0");
    EXPECT_TRUE(MainBoard.WhitePawns == 0x000000000200fd00ULL && MainBoard.AllPieces == 0xffff00000200fdffULL);
    EXPECT_TRUE(MainBoard.SideToMove == 1 && MainBoard.LastFrom == 0u);
    EXPECT_EQ(MainBoard.FiftyMoveCount, 17) << "the counter is the caller's business";
    const std::pair<const char*, int> fields[] = {{"w Kq", 9}, {"w -kq", 0}, {"w qkQK", 15}, {"x KxQ", 3}};
    for (auto [field, rights] : fields) {
        SetupBoard((std::string("r3k2r/8/8/8/8/8/8/R3K2R ") + field + " - 0 1").c_str());
        EXPECT_EQ(MainBoard.Castling, rights) << field;
        EXPECT_EQ(MainBoard.SideToMove, 0) << "any letter but b is white: " << field;
    }
}

TEST(Fen, WritesAndReadsBackPositionsAndCastlingFields) {
    MainBoard.InitRep();
    EXPECT_EQ(FenOf(MainBoard), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 ; ");
    // A colour without rights writes a dash, White first; Black's rights alone then read back as none.
    const struct {
        const char *fen, *written;
        int readBack;
    } cases[] = {{"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq", "KQkq", 15},
                 {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w --", "--", 0},
                 {"7k/8/8/8/8/8/8/K7 b Kq", "Kq", 9},
                 {"4k3/8/8/8/8/8/8/R3K2R w KQ", "KQ-", 3},
                 {"r3k2r/8/8/8/8/8/8/4K3 b kq", "-kq", 0}};
    for (const auto& c : cases) {
        const std::string fen = c.fen, written = FenOf(BoardFromFen(c.fen));
        EXPECT_EQ(written, fen.substr(0, fen.rfind(' ') + 1) + c.written + " - 0 ; ");
        const ChessBoard back = BoardFromFen(written.c_str());
        EXPECT_EQ(back.Castling, c.readBack) << written;
        if (c.readBack == BoardFromFen(c.fen).Castling) { EXPECT_EQ(FenOf(back), written); }
    }
}

TEST(Fen, MalformedTextIsTakenAsItComesWithoutHarm) {
    const std::pair<const char*, u64> odd[] = {
        {"8/pppppppppp/8/8/8/8/8/8 w - -", 0x03ff000000000000ULL}, // a long rank runs into the next
        {"K8p/8/8 w", Sq("a8")},                                   // off-board men vanish
        {"8/8/8/8/8/8/8/12k w", Sq("g2")},                         // 12, then 2 more, from a1
        {"KK6/8/8/8/8/8/8/7K w", Sq("h1")}};                       // the last king letter wins
    for (auto [text, men] : odd) {
        SetupBoard(text);
        EXPECT_EQ(MainBoard.AllPieces, men) << text;
    }
    std::string texts[] = {"",
                           " b KQkq",
                           "99999999999999999999/8 w",
                           std::string(300000, '8'),
                           std::string(100000, '/') + "K",
                           std::string(5000, 'K') + "/" + std::string(5000, 'K')};
    for (const std::string& text : texts) {
        SetupBoard(text.c_str());
        ExpectConsistent(text.substr(0, 40));
    }
    std::mt19937 rng(5);
    const char alphabet[] = "pnbrqkPNBRQK12345678/ -wbKQkq09x";
    for (int i = 0; i < 3000 && !HasFailure(); ++i) {
        std::string text(rng() % 120, ' ');
        for (char& ch : text) ch = alphabet[rng() % (sizeof alphabet - 1)];
        SetupBoard(text.c_str());
        ExpectConsistent(text);
    }
}

TEST(Fen, PositionFileGivesItsFirstLineWhole) {
    const std::string operations = "bm e4; " + std::string(2000, 'x');
    std::string path = TempFile("position.fen", "4k3/8/8/8/8/8/4P3/4K3 b K - " + operations + "\nrnbqkbnr w\n");
    LoadPositionFile(path.c_str());
    EXPECT_EQ(FenOf(MainBoard), "4k3/8/8/8/8/8/4P3/4K3 b K- - 0 ; ");
    path = TempFile("position.fen", std::string(100000, '1') + "k w"); // no line end at all
    LoadPositionFile(path.c_str());
    EXPECT_EQ(MainBoard.AllPieces, 0u);
}
