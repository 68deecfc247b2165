// MakeMove on hand-picked positions: quiet moves, captures, castling,
// en passant and promotion, with the castling mask and the pawn-and-king key.
#include <gtest/gtest.h>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "board/HashKeys.h"
#include "support/TestBoards.h"

namespace {

u32 Entry(int code, const char* square) { return u32(LPStable[code * 64 + SquareOf(Sq(square))]); }

// Plays one move on the board and returns the castling mask it reported.
char Play(ChessBoard& b, const char* from, const char* to, char promote = NoPromotion) {
    char mask = 0;
    b.MakeMove(Sq(from), Sq(to), promote, &mask);
    return mask;
}

} // namespace

TEST(MakeMove, QuietPawnMoveFromTheInitialPosition) {
    ChessBoard b = BoardFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
    b.FiftyMoveCount = 5;
    u32 key = b.PawnKingHash;
    EXPECT_EQ(Play(b, "e2", "e4"), 15);
    EXPECT_EQ(b.FiftyMoveCount, 0);
    EXPECT_EQ(b.LastFrom, Sq("e2"));
    EXPECT_EQ(b.LastTo, Sq("e4"));
    EXPECT_EQ(b.CapturedValue, 0);
    EXPECT_EQ(b.PawnKingHash, key ^ Entry(PawnCode, "e2") ^ Entry(PawnCode, "e4"));
    EXPECT_EQ(b.SideToMove, 0) << "MakeMove leaves the side to move to its caller";
    EXPECT_EQ(b.Castling, 15) << "and the castling rights";
    EXPECT_EQ(FenOf(b), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 ; ");

    b.FiftyMoveCount = 7;
    Play(b, "g8", "f6");
    EXPECT_EQ(b.FiftyMoveCount, 8);
    EXPECT_EQ(b.PawnKingHash, key ^ Entry(PawnCode, "e2") ^ Entry(PawnCode, "e4")) << "knights are not in the key";
}

TEST(MakeMove, CapturesSetValueCountsAndFiftyMoveCount) {
    struct Case {
        const char* fen;
        const char* from;
        const char* to;
        int value;
    } cases[] = {
        {"4k3/8/8/3q4/8/4N3/8/4K3 w - -", "e3", "d5", 9750},
        {"4k3/8/8/3r4/8/4N3/8/4K3 w - -", "e3", "d5", 5000},
        {"4k3/8/8/3b4/8/4N3/8/4K3 w - -", "e3", "d5", 3250},
        {"4k3/8/8/3n4/8/4N3/8/4K3 w - -", "e3", "d5", 3250},
        {"4k3/8/8/3p4/8/4N3/8/4K3 w - -", "e3", "d5", 800},
        {"4k3/8/4n3/8/3Q4/8/8/4K3 b - -", "e6", "d4", 9750},
        {"4k3/8/4n3/8/3P4/8/8/4K3 b - -", "e6", "d4", 800},
    };
    for (const Case& c : cases) {
        ChessBoard b = BoardFromFen(c.fen);
        b.FiftyMoveCount = 30;
        int whiteBefore = b.WhitePieceCount, blackBefore = b.BlackPieceCount;
        u32 key = b.PawnKingHash;
        bool whiteMoves = b.WhitePieces & Sq(c.from);
        Play(b, c.from, c.to);
        EXPECT_EQ(b.CapturedValue, c.value) << c.fen;
        EXPECT_EQ(b.FiftyMoveCount, 0) << c.fen;
        EXPECT_EQ(b.WhitePieceCount, whiteBefore - (whiteMoves ? 0 : 1)) << c.fen;
        EXPECT_EQ(b.BlackPieceCount, blackBefore - (whiteMoves ? 1 : 0)) << c.fen;
        EXPECT_EQ(b.AllPieces & Sq(c.from), 0u);
        EXPECT_EQ((whiteMoves ? b.BlackPieces : b.WhitePieces) & Sq(c.to), 0u) << c.fen;
        u32 pawnEntry = c.value == 800 ? Entry(whiteMoves ? BlackOffset : PawnCode, c.to) : 0;
        EXPECT_EQ(b.PawnKingHash, key ^ pawnEntry) << "a captured pawn leaves the key: " << c.fen;
    }
}

TEST(MakeMove, CastlingMovesTheRookAndReportsTheMask) {
    struct Case {
        const char* from;
        const char* to;
        int mask;
        const char* fen; // placement after the move
    } cases[] = {
        {"e1", "g1", 12, "r3k2r/8/8/8/8/8/8/R4RK1"}, {"e1", "c1", 12, "r3k2r/8/8/8/8/8/8/2KR3R"},
        {"e8", "g8", 3, "r4rk1/8/8/8/8/8/8/R3K2R"},  {"e8", "c8", 3, "2kr3r/8/8/8/8/8/8/R3K2R"},
        {"e1", "f1", 12, "r3k2r/8/8/8/8/8/8/R4K1R"}, {"e8", "d8", 3, "r2k3r/8/8/8/8/8/8/R3K2R"},
        {"h1", "h5", 14, "r3k2r/8/8/7R/8/8/8/R3K3"}, {"a1", "a5", 13, "r3k2r/8/8/R7/8/8/8/4K2R"},
        {"h8", "h5", 11, "r3k3/8/8/7r/8/8/8/R3K2R"}, {"a8", "a5", 7, "4k2r/8/8/r7/8/8/8/R3K2R"},
        // Taking a rook on its corner clears only the mover's own right here.
        {"a1", "a8", 13, "R3k2r/8/8/8/8/8/8/4K2R"},  {"h8", "h1", 11, "r3k3/8/8/8/8/8/8/R3K2r"},
    };
    for (const Case& c : cases) {
        ChessBoard b = BoardFromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
        u32 key = b.PawnKingHash;
        bool white = b.WhitePieces & Sq(c.from);
        EXPECT_EQ(Play(b, c.from, c.to), c.mask) << c.from << c.to;
        EXPECT_EQ(FenOf(b).substr(0, FenOf(b).find(' ')), c.fen) << c.from << c.to;
        int king = white ? KingCode : BlackOffset + KingCode;
        u32 expected = (b.WhiteKing | b.BlackKing) & Sq(c.to) ? key ^ Entry(king, c.from) ^ Entry(king, c.to) : key;
        EXPECT_EQ(b.PawnKingHash, expected) << "only king moves change the key: " << c.from << c.to;
        EXPECT_EQ(PieceSetCount(b.WhiteRooks | b.BlackRooks), b.WhiteRookCount + b.BlackRookCount) << c.from << c.to;
    }
}

TEST(MakeMove, EnPassantTakesThePawnThatJustDoubleStepped) {
    // After e4 d5 e5 f5, exf6 removes the f5 pawn.
    ChessBoard b = BoardFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
    Play(b, "e2", "e4");
    Play(b, "d7", "d5");
    Play(b, "e4", "e5");
    Play(b, "f7", "f5");
    u32 key = b.PawnKingHash;
    b.FiftyMoveCount = 3;
    Play(b, "e5", "f6");
    EXPECT_EQ(b.BlackPawnCount, 7);
    EXPECT_EQ(b.CapturedValue, 0);
    EXPECT_EQ(b.FiftyMoveCount, 0);
    EXPECT_EQ(b.AllPieces & Sq("f5"), 0u);
    EXPECT_EQ(b.PawnKingHash, key ^ Entry(PawnCode, "e5") ^ Entry(PawnCode, "f6") ^ Entry(BlackOffset, "f5"));

    struct Case {
        const char* fen;
        const char* lastFrom; // the previous move
        const char* lastTo;
        const char* from;
        const char* to;
        const char* taken; // square emptied, or nullptr when nothing is taken
    } cases[] = {
        {"4k3/8/8/3pP3/8/8/8/4K3 w - -", "d7", "d5", "e5", "d6", "d5"},
        {"4k3/8/8/4Pp2/8/8/8/4K3 w - -", "f7", "f5", "e5", "f6", "f5"},
        {"4k3/8/8/pP6/8/8/8/4K3 w - -", "a7", "a5", "b5", "a6", "a5"},
        {"4k3/8/8/6Pp/8/8/8/4K3 w - -", "h7", "h5", "g5", "h6", "h5"},
        {"4k3/8/8/8/3Pp3/8/8/4K3 b - -", "d2", "d4", "e4", "d3", "d4"},
        {"4k3/8/8/8/4pP2/8/8/4K3 b - -", "f2", "f4", "e4", "f3", "f4"},
        {"4k3/8/8/8/Pp6/8/8/4K3 b - -", "a2", "a4", "b4", "a3", "a4"},
        // The previous move was a single step: no capture.
        {"4k3/8/8/3pP3/8/8/8/4K3 w - -", "d6", "d5", "e5", "d6", nullptr},
        // The pawn that double-stepped is not beside the mover.
        {"4k3/8/8/2p1P3/8/8/8/4K3 w - -", "c7", "c5", "e5", "d6", nullptr},
        // A straight push past the pawn takes nothing.
        {"4k3/8/8/3pP3/8/8/8/4K3 w - -", "d7", "d5", "e5", "e6", nullptr},
    };
    for (const Case& c : cases) {
        b = BoardFromFen(c.fen);
        b.LastFrom = Sq(c.lastFrom);
        b.LastTo = Sq(c.lastTo);
        int pawnsBefore = b.WhitePawnCount + b.BlackPawnCount;
        Play(b, c.from, c.to);
        EXPECT_EQ(b.WhitePawnCount + b.BlackPawnCount, pawnsBefore - (c.taken ? 1 : 0)) << c.fen << " " << c.to;
        EXPECT_EQ(PieceSetCount(b.WhitePawns | b.BlackPawns), b.WhitePawnCount + b.BlackPawnCount) << c.fen;
        if (c.taken) {
            EXPECT_EQ(b.AllPieces & Sq(c.taken), 0u) << c.fen;
        }
        u32 fresh;
        genpawnhashcode(0, b, &fresh);
        EXPECT_EQ(b.PawnKingHash, fresh) << c.fen << " " << c.to;
    }
}

TEST(MakeMove, PromotionByLetterWithUnknownLettersGivingAQueen) {
    struct Case {
        const char* fen;
        const char* from;
        const char* to;
        char promote;
        char piece; // letter now on the target square
        int captured;
    } cases[] = {
        {"4k3/P7/8/8/8/8/8/4K3 w - -", "a7", "a8", 'Q', 'Q', 0},
        {"4k3/P7/8/8/8/8/8/4K3 w - -", "a7", "a8", 'q', 'Q', 0},
        {"4k3/P7/8/8/8/8/8/4K3 w - -", "a7", "a8", 'R', 'R', 0},
        {"4k3/P7/8/8/8/8/8/4K3 w - -", "a7", "a8", 'b', 'B', 0},
        {"4k3/P7/8/8/8/8/8/4K3 w - -", "a7", "a8", 'n', 'N', 0},
        {"4k3/P7/8/8/8/8/8/4K3 w - -", "a7", "a8", 'x', 'Q', 0},
        {"4k3/P7/8/8/8/8/8/4K3 w - -", "a7", "a8", NoPromotion, 'Q', 0},
        {"1r2k3/P7/8/8/8/8/8/4K3 w - -", "a7", "b8", 'N', 'N', 5000},
        {"4k3/8/8/8/8/8/7p/4K3 b - -", "h2", "h1", 'q', 'q', 0},
        {"4k3/8/8/8/8/8/7p/4K3 b - -", "h2", "h1", 'R', 'r', 0},
        {"4k3/8/8/8/8/8/7p/4K3 b - -", "h2", "h1", 'B', 'b', 0},
        {"4k3/8/8/8/8/8/7p/4K3 b - -", "h2", "h1", 'k', 'q', 0},
        {"4k3/8/8/8/8/8/7p/4K1Q1 b - -", "h2", "g1", 'n', 'n', 9750},
    };
    for (const Case& c : cases) {
        ChessBoard b = BoardFromFen(c.fen);
        u32 key = b.PawnKingHash;
        bool white = b.WhitePieces & Sq(c.from);
        Play(b, c.from, c.to, c.promote);
        EXPECT_EQ(DecodePiece(Sq(c.to), b), c.piece) << c.fen << " " << c.promote;
        EXPECT_EQ(b.CapturedValue, c.captured) << c.fen;
        EXPECT_EQ(white ? b.WhitePawnCount : b.BlackPawnCount, 0) << c.fen;
        EXPECT_EQ(white ? b.WhitePieceCount : b.BlackPieceCount, 1) << c.fen;
        ChessBoard counted = b;
        counted.InitPieceCounts();
        EXPECT_EQ(counted.WhiteQueenCount, b.WhiteQueenCount) << c.fen;
        EXPECT_EQ(counted.WhiteRookCount, b.WhiteRookCount) << c.fen;
        EXPECT_EQ(counted.WhiteBishopCount, b.WhiteBishopCount) << c.fen;
        EXPECT_EQ(counted.WhiteKnightCount, b.WhiteKnightCount) << c.fen;
        EXPECT_EQ(counted.BlackQueenCount, b.BlackQueenCount) << c.fen;
        EXPECT_EQ(counted.BlackRookCount, b.BlackRookCount) << c.fen;
        EXPECT_EQ(counted.BlackBishopCount, b.BlackBishopCount) << c.fen;
        EXPECT_EQ(counted.BlackKnightCount, b.BlackKnightCount) << c.fen;
        EXPECT_EQ(b.PawnKingHash, key ^ Entry(white ? PawnCode : BlackOffset, c.from)) << c.fen;
    }
}

TEST(ChessBoard, SetUpPredicatesAndDiagram) {
    MainBoard.InitRep();
    EXPECT_EQ(MainBoard.AllPieces, 0xffff00000000ffffULL);
    EXPECT_EQ(MainBoard.Castling, 15);
    EXPECT_EQ(MainBoard.MaxDepth, 56);
    EXPECT_TRUE(MainBoard.IsQueen(0, Sq("d1")) && MainBoard.IsKing(1, Sq("e8")) && MainBoard.IsBishop(1, Sq("c8")));
    EXPECT_FALSE(MainBoard.IsKnight(0, Sq("b8")) || MainBoard.IsRook(1, Sq("a1")) || MainBoard.IsPawn(0, Sq("e4")));
    EXPECT_EQ(MainBoard.PieceColor(Sq("a1")), 0);
    EXPECT_EQ(MainBoard.PieceColor(Sq("a8")), 1);

    ChessBoard b = MainBoard;
    b.FiftyMoveCount = 9;
    b.ClearField();
    EXPECT_EQ(b.AllPieces | b.WhitePieces | b.BlackPieces | b.WhiteKing | b.BlackPawns, 0u);
    EXPECT_EQ(b.FiftyMoveCount, 9);
    std::string diagram = CaptureStdout([&] { b.DisplayBoard(); });
    size_t cells = 0;
    for (size_t at = diagram.find("- "); at != std::string::npos; at = diagram.find("- ", at + 2)) ++cells;
    EXPECT_EQ(cells, 64u);

    ChessBoard promoted = BoardFromFen("4k3/4P3/8/8/8/8/8/4K3 w - -");
    ChessBoard original = promoted;
    promoted.Promote(0, Sq("e7"), BishopCode);
    EXPECT_EQ(promoted.WhiteBishops, Sq("e7"));
    EXPECT_EQ(promoted.WhitePawns, 0u);
    promoted.DropPawn(1, Sq("d4"));
    EXPECT_TRUE(promoted.IsPawn(1, Sq("d4")) && !promoted.IsEmptySquare(Sq("d4")));
    promoted.DropPawn(1, Sq("d4"));
    EXPECT_EQ(promoted.AllPieces, original.AllPieces);
    EXPECT_EQ(promoted.BlackPawns | promoted.BlackPieces, original.BlackPawns | original.BlackPieces);
}

TEST(ChessBoard, DisplayPieceReportsInconsistentSquares) {
    ChessBoard b = BoardFromFen("4k3/8/8/8/8/8/8/4K3 w - -");
    b.AllPieces |= Sq("a1");
    EXPECT_EQ(CaptureStdout([&] { b.DisplayPiece(0); }), "Major Error: DisplayPiece has unknown Color\n ");
    b.WhitePieces |= Sq("a1");
    EXPECT_EQ(CaptureStdout([&] { b.DisplayPiece(0); }), "Major Error: DisplayPiece unknown White Piece\n ");
    b.WhitePieces ^= Sq("a1");
    b.BlackPieces |= Sq("a1");
    EXPECT_EQ(CaptureStdout([&] { b.DisplayPiece(0); }), "Major Error: DisplayPiece unknown Black Piece\n ");
    EXPECT_EQ(CaptureStdout([&] { b.DisplayPiece(4); }), "K ");
    EXPECT_EQ(CaptureStdout([&] { b.DisplayPiece(60); }), "k ");
}
