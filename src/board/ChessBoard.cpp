// Set-up, counts, predicates and the diagram of the position record.
#include "board/ChessBoard.h"

#include <cstdio>
#include <cstring>

#include "board/HashKeys.h"
#include "core/Status.h"

ChessBoard MainBoard;

int PieceSetCount(u64 b) {
    auto half = [](u32 x) {
        x = x - ((x >> 1) & 0x55555555u);
        x = (x & 0x33333333u) + ((x >> 2) & 0x33333333u);
        x = (x + (x >> 4)) & 0x0f0f0f0fu;
        return int((x * 0x01010101u) >> 24);
    };
    return half(u32(b)) + half(u32(b >> 32));
}

void ChessBoard::InitRep() {
    WhitePawns = 0x000000000000ff00ULL;
    WhiteBishops = SquareBit(2) | SquareBit(5);
    WhiteKnights = SquareBit(1) | SquareBit(6);
    WhiteRooks = SquareBit(0) | SquareBit(7);
    WhiteQueens = SquareBit(3);
    WhiteKing = SquareBit(4);
    BlackPawns = WhitePawns << 40;
    BlackBishops = WhiteBishops << 56;
    BlackKnights = WhiteKnights << 56;
    BlackRooks = WhiteRooks << 56;
    BlackQueens = WhiteQueens << 56;
    BlackKing = WhiteKing << 56;
    WhitePieces = WhitePawns | WhiteBishops | WhiteKnights | WhiteRooks | WhiteQueens | WhiteKing;
    BlackPieces = BlackPawns | BlackBishops | BlackKnights | BlackRooks | BlackQueens | BlackKing;
    AllPieces = WhitePieces | BlackPieces;
    SideToMove = 0;
    Castling = 15;
    LastFrom = LastTo = 0;
    MaxDepth = 56;
    MainStatus.InitFilesAndRanks();
}

void ChessBoard::ClearField() {
    WhitePieces = BlackPieces = AllPieces = 0;
    WhitePawns = WhiteBishops = WhiteKnights = WhiteRooks = WhiteQueens = WhiteKing = 0;
    BlackPawns = BlackBishops = BlackKnights = BlackRooks = BlackQueens = BlackKing = 0;
    Castling = 0;
    LastFrom = LastTo = 0;
    WhitePieceCount = BlackPieceCount = 0;
    WhiteQueenCount = WhiteRookCount = WhiteBishopCount = WhiteKnightCount = WhitePawnCount = 0;
    BlackQueenCount = BlackRookCount = BlackBishopCount = BlackKnightCount = BlackPawnCount = 0;
}

void ChessBoard::InitPieceCounts() {
    WhiteQueenCount = PieceSetCount(WhiteQueens);
    WhiteRookCount = PieceSetCount(WhiteRooks);
    WhiteBishopCount = PieceSetCount(WhiteBishops);
    WhiteKnightCount = PieceSetCount(WhiteKnights);
    WhitePawnCount = PieceSetCount(WhitePawns);
    BlackQueenCount = PieceSetCount(BlackQueens);
    BlackRookCount = PieceSetCount(BlackRooks);
    BlackBishopCount = PieceSetCount(BlackBishops);
    BlackKnightCount = PieceSetCount(BlackKnights);
    BlackPawnCount = PieceSetCount(BlackPawns);
    genpiecekey(*this, &PieceKeyUpper, &PieceKeyLower);
}

int ChessBoard::QuickPieceCount(char) const {
    return WhiteQueenCount + WhiteRookCount + WhiteBishopCount + WhiteKnightCount + BlackQueenCount + BlackRookCount +
           BlackBishopCount + BlackKnightCount;
}

bool ChessBoard::PawnOn7th(char side) const {
    return side ? (BlackPawns & MainStatus.Rank2) : (WhitePawns & MainStatus.Rank7);
}

void ChessBoard::DropPawn(char side, u64 sq) {
    if (side) {
        BlackPawns ^= sq;
        BlackPieces ^= sq;
    } else {
        WhitePawns ^= sq;
        WhitePieces ^= sq;
    }
    AllPieces ^= sq;
}

void ChessBoard::Promote(char side, u64 sq, char piece) {
    if (side) {
        BlackPawns ^= sq;
        switch (piece) {
        case BlackOffset + KnightCode: BlackKnights ^= sq; break;
        case BlackOffset + BishopCode: BlackBishops ^= sq; break;
        case BlackOffset + RookCode: BlackRooks ^= sq; break;
        case BlackOffset + QueenCode: BlackQueens ^= sq; break;
        default: break;
        }
    } else {
        WhitePawns ^= sq;
        switch (piece) {
        case KnightCode: WhiteKnights ^= sq; break;
        case BishopCode: WhiteBishops ^= sq; break;
        case RookCode: WhiteRooks ^= sq; break;
        case QueenCode: WhiteQueens ^= sq; break;
        default: break;
        }
    }
}

void ChessBoard::DisplayPiece(unsigned char square) const {
    u64 sq = SquareBit(square & 63);
    const char* cell = "-";
    if (AllPieces & sq) {
        if (WhitePieces & sq) {
            cell = (WhitePawns & sq)     ? "P"
                   : (WhiteKnights & sq) ? "N"
                   : (WhiteBishops & sq) ? "B"
                   : (WhiteRooks & sq)   ? "R"
                   : (WhiteQueens & sq)  ? "Q"
                   : (WhiteKing & sq)    ? "K"
                                         : "Major Error: DisplayPiece unknown White Piece\n";
        } else if (BlackPieces & sq) {
            cell = (BlackPawns & sq)     ? "p"
                   : (BlackKnights & sq) ? "n"
                   : (BlackBishops & sq) ? "b"
                   : (BlackRooks & sq)   ? "r"
                   : (BlackQueens & sq)  ? "q"
                   : (BlackKing & sq)    ? "k"
                                         : "Major Error: DisplayPiece unknown Black Piece\n";
        } else {
            cell = "Major Error: DisplayPiece has unknown Color\n";
        }
    }
    std::fputs(cell, stdout);
    std::fputc(' ', stdout);
}

void ChessBoard::DisplayBoard() const {
    std::fputs("   A B C D E F G H\n\n", stdout);
    for (int rank = 7; rank >= 0; --rank) {
        std::printf("%d  ", rank + 1);
        for (int file = 0; file < 8; ++file) DisplayPiece((unsigned char)(rank * 8 + file));
        std::printf(" %d\n", rank + 1);
    }
    std::fputs("\n   A B C D E F G H\n", stdout);
    std::fflush(stdout);
}
