// FEN and EPD position text.
#include "board/Fen.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/ChessBoard.h"
#include "core/Platform.h"

namespace {

// A square index beyond every square a placement can still reach.
constexpr int OffBoard = 1 << 16;

// The number a digit run spells, capped so that it cannot overflow.
int DigitRun(const char* p) {
    int n = 0;
    while (*p >= '0' && *p <= '9' && n < 1000) n = n * 10 + (*p++ - '0');
    return n;
}

} // namespace

void AddPiece(char letter, int square) {
    if (square < 0 || square > 63) return; // a malformed rank ran off the board
    ChessBoard& b = MainBoard;
    u64 sq = SquareBit(square);
    switch (letter) {
    case 'P': b.WhitePawns |= sq; break;
    case 'N': b.WhiteKnights |= sq; break;
    case 'B': b.WhiteBishops |= sq; break;
    case 'R': b.WhiteRooks |= sq; break;
    case 'Q': b.WhiteQueens |= sq; break;
    case 'K': b.WhiteKing = sq; break;
    case 'p': b.BlackPawns |= sq; break;
    case 'n': b.BlackKnights |= sq; break;
    case 'b': b.BlackBishops |= sq; break;
    case 'r': b.BlackRooks |= sq; break;
    case 'q': b.BlackQueens |= sq; break;
    case 'k': b.BlackKing = sq; break;
    default: break;
    }
}

void SetupBoard(const char* text) {
    ChessBoard& b = MainBoard;
    b.WhitePawns = b.WhiteKnights = b.WhiteBishops = b.WhiteRooks = b.WhiteQueens = b.WhiteKing = 0;
    b.BlackPawns = b.BlackKnights = b.BlackBishops = b.BlackRooks = b.BlackQueens = b.BlackKing = 0;

    const char* p = text;
    int rowStart = 56, square = 56;
    if (*p != ' ') {
        for (; *p && *p != ' '; ++p) {
            if (*p >= '1' && *p <= '8') {
                // Past the board is past the board: stop counting before the sum can overflow.
                square = std::min(square + DigitRun(p), OffBoard);
            } else if (*p == '/') {
                rowStart -= 8;
                square = rowStart;
            } else {
                AddPiece(*p, square);
                square = std::min(square + 1, OffBoard);
            }
            if (rowStart < -64) rowStart = -64; // keep a long run of slashes from overflowing
        }
    }

    b.WhitePieces = b.WhitePawns | b.WhiteKnights | b.WhiteBishops | b.WhiteRooks | b.WhiteQueens | b.WhiteKing;
    b.BlackPieces = b.BlackPawns | b.BlackKnights | b.BlackBishops | b.BlackRooks | b.BlackQueens | b.BlackKing;
    b.AllPieces = b.WhitePieces | b.BlackPieces;
    b.LastFrom = b.LastTo = 0;
    b.Castling = 0;

    if (*p != ' ') {
        b.SideToMove = 0;
        return;
    }
    const char* side = p + 1;
    b.SideToMove = *side == 'b' ? 1 : 0;
    if (!*side || !side[1]) return;
    const char* castling = side + 2;
    if (*castling == '-') return;
    for (; *castling && *castling != ' '; ++castling) {
        switch (*castling) {
        case 'K': b.Castling |= 1; break;
        case 'Q': b.Castling |= 2; break;
        case 'k': b.Castling |= 4; break;
        case 'q': b.Castling |= 8; break;
        default: break;
        }
    }
}

void LoadPositionFile(const char* path) {
    TextFile file;
    std::string error, line;
    if (!file.Open(path, &error)) {
        std::printf("ERROR: opening file %s: %s\n", path, error.c_str());
        std::exit(1);
    }
    // Only the first line is read; a position never needs more than a few hundred bytes of it.
    if (!file.ReadLine(&line, 4096)) {
        std::printf(file.Failed() ? "ERROR: reading file %s\n" : "Empty file\n", path);
        std::exit(file.Failed() ? 1 : 0);
    }
    SetupBoard(line.c_str());
}

char DecodePiece(u64 square, const ChessBoard& b) {
    if (b.WhitePawns & square) return 'P';
    if (b.WhiteKnights & square) return 'N';
    if (b.WhiteBishops & square) return 'B';
    if (b.WhiteRooks & square) return 'R';
    if (b.WhiteQueens & square) return 'Q';
    if (b.WhiteKing & square) return 'K';
    if (b.BlackPawns & square) return 'p';
    if (b.BlackKnights & square) return 'n';
    if (b.BlackBishops & square) return 'b';
    if (b.BlackRooks & square) return 'r';
    if (b.BlackQueens & square) return 'q';
    if (b.BlackKing & square) return 'k';
    return ' ';
}

void CastleRights(char* out, char rights) {
    // Each colour writes its letters or, without rights, a dash, White first,
    // so that white rights alone read "KQ-" and read back as written.
    char* p = out;
    if (!(rights & 3)) *p++ = '-';
    if (rights & 1) *p++ = 'K';
    if (rights & 2) *p++ = 'Q';
    if (!(rights & 12)) *p++ = '-';
    if (rights & 4) *p++ = 'k';
    if (rights & 8) *p++ = 'q';
    *p = '\0';
}

std::string Pos2FenText(const ChessBoard& board) {
    std::string text;
    for (int rank = 7; rank >= 0; --rank) {
        int empty = 0;
        for (int file = 0; file < 8; ++file) {
            u64 sq = SquareBit(rank * 8 + file);
            if (board.AllPieces & sq) {
                if (empty) text += char('0' + empty);
                empty = 0;
                text += DecodePiece(sq, board);
            } else {
                ++empty;
            }
        }
        if (empty) text += char('0' + empty);
        if (rank) text += '/';
    }
    char castling[8];
    CastleRights(castling, char(board.Castling));
    text += board.SideToMove ? " b " : " w ";
    text += castling;
    text += " - 0 ; ";
    return text;
}

void pos2fen(const ChessBoard& board, int number) { std::printf("%s%d \n", Pos2FenText(board).c_str(), number); }

void pos2fenString(const ChessBoard& board, char* out) {
    std::string text = Pos2FenText(board);
    std::snprintf(out, FenTextSize, "%s", text.c_str());
}
