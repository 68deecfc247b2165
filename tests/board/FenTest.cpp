// Reading and writing position text, position files, and text that is
// not a position at all.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "support/TestBoards.h"

namespace {

std::string WriteTempFile(const std::string& content) {
    char path[] = "/tmp/velkor-fen-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0) return "";
    FILE* f = fdopen(fd, "w");
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
    return path;
}

// The sets' union must be what the occupancy fields say, whatever the text.
void ExpectConsistentOccupancy(const ChessBoard& b, const std::string& text) {
    u64 white = b.WhitePawns | b.WhiteKnights | b.WhiteBishops | b.WhiteRooks | b.WhiteQueens | b.WhiteKing;
    u64 black = b.BlackPawns | b.BlackKnights | b.BlackBishops | b.BlackRooks | b.BlackQueens | b.BlackKing;
    EXPECT_EQ(b.WhitePieces, white) << text;
    EXPECT_EQ(b.BlackPieces, black) << text;
    EXPECT_EQ(b.AllPieces, white | black) << text;
    EXPECT_LE(PieceSetCount(b.WhiteKing), 1) << text;
    EXPECT_LE(PieceSetCount(b.BlackKing), 1) << text;
}

} // namespace

TEST(Fen, ReadsPlacementSideAndCastling) {
    MainBoard.LastFrom = Sq("e2");
    MainBoard.FiftyMoveCount = 17;
    SetupBoard("rnbqkbnr/pppppppp/8/8/1P6/8/P1PPPPPP/RNBQKBNR w - - 0 0");
    EXPECT_EQ(MainBoard.WhitePawns, 0x000000000200fd00ULL);
    EXPECT_EQ(MainBoard.AllPieces, 0xffff00000200fdffULL);
    EXPECT_EQ(MainBoard.SideToMove, 0);
    EXPECT_EQ(MainBoard.Castling, 0);
    EXPECT_EQ(MainBoard.LastFrom, 0u);
    EXPECT_EQ(MainBoard.FiftyMoveCount, 17) << "the counter is the caller's business";

    SetupBoard("8/8/8/8/8/8/8/4K2k b - -");
    EXPECT_EQ(MainBoard.WhiteKing, Sq("e1"));
    EXPECT_EQ(MainBoard.BlackKing, Sq("h1"));
    EXPECT_EQ(MainBoard.AllPieces, Sq("e1") | Sq("h1"));
    EXPECT_EQ(MainBoard.SideToMove, 1);
    EXPECT_EQ(MainBoard.Castling, 0);

    struct Case {
        const char* castling;
        int rights;
    } cases[] = {{"KQkq", 15}, {"K", 1}, {"Q", 2}, {"k", 4}, {"q", 8}, {"Kq", 9},
                 {"-kq", 0},   {"--", 0}, {"KQ-", 3}, {"qkQK", 15}, {"KxQ", 3}};
    for (const Case& c : cases) {
        SetupBoard(("r3k2r/8/8/8/8/8/8/R3K2R w " + std::string(c.castling) + " - 0 1").c_str());
        EXPECT_EQ(MainBoard.Castling, c.rights) << c.castling;
    }
    SetupBoard("r3k2r/8/8/8/8/8/8/R3K2R x KQ");
    EXPECT_EQ(MainBoard.SideToMove, 0) << "any letter but b is white";
    EXPECT_EQ(MainBoard.Castling, 3);
}

TEST(Fen, WritesPositionsAndCastlingFields) {
    MainBoard.InitRep();
    char text[FenTextSize];
    pos2fenString(MainBoard, text);
    EXPECT_STREQ(text, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 ; ");
    EXPECT_EQ(CaptureStdout([] { pos2fen(MainBoard, 42); }),
              "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 ; 42 \n");

    // A colour without rights writes a dash in its place, White first.
    const char* fields[16] = {"--",  "K-",  "Q-",  "KQ-",  "-k",  "Kk",  "Qk",  "KQk",
                              "-q",  "Kq",  "Qq",  "KQq",  "-kq", "Kkq", "Qkq", "KQkq"};
    for (int rights = 0; rights < 16; ++rights) {
        char out[8];
        CastleRights(out, char(rights));
        EXPECT_STREQ(out, fields[rights]) << rights;
    }

    struct Letter {
        const char* fen;
        char letter;
    } letters[] = {{"8/8/8/8/8/8/8/P7", 'P'}, {"8/8/8/8/8/8/8/N7", 'N'}, {"8/8/8/8/8/8/8/B7", 'B'},
                   {"8/8/8/8/8/8/8/R7", 'R'}, {"8/8/8/8/8/8/8/Q7", 'Q'}, {"8/8/8/8/8/8/8/K7", 'K'},
                   {"8/8/8/8/8/8/8/p7", 'p'}, {"8/8/8/8/8/8/8/n7", 'n'}, {"8/8/8/8/8/8/8/b7", 'b'},
                   {"8/8/8/8/8/8/8/r7", 'r'}, {"8/8/8/8/8/8/8/q7", 'q'}, {"8/8/8/8/8/8/8/k7", 'k'}};
    for (const Letter& l : letters) {
        SetupBoard(l.fen);
        EXPECT_EQ(DecodePiece(Sq("a1"), MainBoard), l.letter);
    }
}

TEST(Fen, TextSurvivesARoundTrip) {
    const char* positions[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w --",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w Kkq",
        "7k/8/8/8/8/8/8/K7 b Kq",
        "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w Qk",
    };
    for (const char* fen : positions) {
        ChessBoard first = BoardFromFen(fen);
        std::string written = FenOf(first);
        EXPECT_EQ(written, std::string(fen) + " - 0 ; ");
        ChessBoard second = BoardFromFen(written.c_str());
        EXPECT_EQ(FenOf(second), written);
        EXPECT_EQ(second.AllPieces, first.AllPieces) << fen;
        EXPECT_EQ(second.WhiteBishops ^ second.BlackKnights, first.WhiteBishops ^ first.BlackKnights) << fen;
    }
    // White's rights alone read back; Black's alone follow a dash and read as none.
    ChessBoard white = BoardFromFen("4k3/8/8/8/8/8/8/R3K2R w KQ");
    EXPECT_EQ(BoardFromFen(FenOf(white).c_str()).Castling, 3) << FenOf(white);
    ChessBoard black = BoardFromFen("r3k2r/8/8/8/8/8/8/4K3 b kq");
    EXPECT_NE(black.Castling, 0);
    EXPECT_EQ(BoardFromFen(FenOf(black).c_str()).Castling, 0) << FenOf(black);
}

TEST(Fen, MalformedTextIsTakenAsItComesWithoutHarm) {
    // Too many squares on a rank run into the next rank's squares; off-board men vanish.
    SetupBoard("8/pppppppppp/8/8/8/8/8/8 w - -");
    EXPECT_EQ(MainBoard.BlackPawns, 0x03ff000000000000ULL);
    SetupBoard("K8p/8/8 w");
    EXPECT_EQ(MainBoard.AllPieces, Sq("a8"));
    // A digit run counts as the number it spells; 9 and 0 are not digits here.
    SetupBoard("8/8/8/8/8/8/8/12k w");
    EXPECT_EQ(MainBoard.BlackKing, Sq("g2")) << "12, then 2 more, from a1";
    SetupBoard("9k6/8/8/8/8/8/8/8 w");
    EXPECT_EQ(MainBoard.BlackKing, Sq("b8"));
    // The last king letter wins.
    SetupBoard("KK6/8/8/8/8/8/8/7K w");
    EXPECT_EQ(MainBoard.WhiteKing, Sq("h1"));

    std::string runs(300000, '8'), slashes(100000, '/'), letters(5000, 'K');
    const std::string texts[] = {"",
                                 " ",
                                 " b KQkq",
                                 "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",
                                 "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR ",
                                 "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b",
                                 "4k3/8/8/8/8/8/8/4K3 w K",
                                 "99999999999999999999/8 w",
                                 "1234567812345678 b -",
                                 runs,
                                 slashes + "K",
                                 letters + "/" + letters,
                                 "\xff\x80/\x01kK w \xfe"};
    for (const std::string& text : texts) {
        SetupBoard(text.c_str());
        ExpectConsistentOccupancy(MainBoard, text.substr(0, 40));
        char out[FenTextSize];
        pos2fenString(MainBoard, out);
        EXPECT_LT(std::string(out).size(), size_t(FenTextSize));
    }

    std::mt19937 rng(5);
    const char alphabet[] = "pnbrqkPNBRQK12345678/ -wbKQkq09x";
    for (int i = 0; i < 3000; ++i) {
        std::string text(rng() % 120, ' ');
        for (char& ch : text) ch = alphabet[rng() % (sizeof alphabet - 1)];
        SetupBoard(text.c_str());
        ExpectConsistentOccupancy(MainBoard, text);
        EXPECT_LT(MainBoard.Castling, 16) << text;
        char out[FenTextSize];
        pos2fenString(MainBoard, out);
        if (HasFailure()) return;
    }
}

TEST(Fen, PositionFileGivesItsFirstLineWhole) {
    std::string operations(2000, 'x');
    std::string path = WriteTempFile("4k3/8/8/8/8/8/4P3/4K3 b K - bm e4; " + operations + "\nrnbqkbnr w\n");
    LoadPositionFile(path.c_str());
    EXPECT_EQ(FenOf(MainBoard), "4k3/8/8/8/8/8/4P3/4K3 b K- - 0 ; ");
    std::remove(path.c_str());

    // A long placement without any line end at all.
    path = WriteTempFile(std::string(100000, '1') + "k w");
    LoadPositionFile(path.c_str());
    EXPECT_EQ(MainBoard.AllPieces, 0u);
    std::remove(path.c_str());
}

TEST(FenDeathTest, PositionFileThatCannotBeReadEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(LoadPositionFile("/nonexistent/velkor.fen"), testing::ExitedWithCode(1), "");
    std::string path = WriteTempFile("");
    EXPECT_EXIT(LoadPositionFile(path.c_str()), testing::ExitedWithCode(0), "");
    std::remove(path.c_str());
}
