// The xboard position editor: men are added and removed one word at a
// time, with "c" switching the colour of the men added.
#include <cstring>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "frontend/shared/GameRecord.h"
#include "frontend/xboard/CommandInput.h"
#include "frontend/xboard/XboardProtocol.h"

namespace {

void RemoveMan(ChessBoard& b, u64 sq) {
    u64* sets[] = {&b.WhitePawns, &b.WhiteKnights, &b.WhiteBishops, &b.WhiteRooks, &b.WhiteQueens, &b.WhiteKing,
                   &b.BlackPawns, &b.BlackKnights, &b.BlackBishops, &b.BlackRooks, &b.BlackQueens, &b.BlackKing};
    for (u64* set : sets) *set &= ~sq;
}

// Occupancy from the twelve sets; castling rights from the men on their home squares.
void RecomputeDerived(ChessBoard& b) {
    b.WhitePieces = b.WhitePawns | b.WhiteKnights | b.WhiteBishops | b.WhiteRooks | b.WhiteQueens | b.WhiteKing;
    b.BlackPieces = b.BlackPawns | b.BlackKnights | b.BlackBishops | b.BlackRooks | b.BlackQueens | b.BlackKing;
    b.AllPieces = b.WhitePieces | b.BlackPieces;
    u8 rights = 0;
    if (b.WhiteKing & SquareBit(4)) {
        if (b.WhiteRooks & SquareBit(7)) rights |= 1;
        if (b.WhiteRooks & SquareBit(0)) rights |= 2;
    }
    if (b.BlackKing & SquareBit(60)) {
        if (b.BlackRooks & SquareBit(63)) rights |= 4;
        if (b.BlackRooks & SquareBit(56)) rights |= 8;
    }
    b.Castling = rights;
}

} // namespace

bool EditBoard(const char* word, char* colour) {
    ChessBoard& b = MainBoard;
    bool more = true;
    int square = word[0] ? SquareFromText(word + 1) : -1;
    switch (word[0]) {
    case '#': b.ClearField(); break;
    case 'P':
    case 'N':
    case 'B':
    case 'R':
    case 'Q':
    case 'K':
        if (square >= 0) {
            RemoveMan(b, SquareBit(square)); // one man per square
            AddPiece(*colour ? char(word[0] - 'A' + 'a') : word[0], square);
        }
        break;
    case 'x':
        if (square >= 0) RemoveMan(b, SquareBit(square));
        break;
    case 'c': *colour ^= 1; break;
    case '.': more = false; break;
    default: break;
    }
    RecomputeDerived(b);
    return more;
}

bool SetupBoardFromEdit() {
    char colour = 0;
    char word[WordSize];
    while (Input.NextWord(word, sizeof word)) {
        // A GUI's liveness probe and the user's way out still work here.
        if (std::strcmp(word, "quit") == 0) return false;
        if (std::strcmp(word, "ping") == 0) {
            DoCommand(word);
            continue;
        }
        if (!EditBoard(word, &colour)) return true;
    }
    return false;
}
