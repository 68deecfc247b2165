// Replaying the move list of a UCI "position" line on the game position.
#include <algorithm>
#include <cstring>

#include "board/ChessBoard.h"
#include "board/HashKeys.h"
#include "core/Status.h"
#include "frontend/GameRecord.h"
#include "frontend/UCIProtocol.h"
#include "search/MoveHistory.h"

namespace {

// A file letter 'a'..'h' followed by a digit '0'..'8'.
bool StartsMove(const char* p) { return p[0] >= 'a' && p[0] <= 'h' && p[1] >= '0' && p[1] <= '8'; }

} // namespace

int UCIProtocol::ProcessMoves(char* list) {
    MainBoard.FiftyMoveCount = 0;
    MoveList.Init();
    MainStatus.GamePly = 0;
    int count = 0;
    for (char* p = list; StartsMove(p);) {
        MakeMoves(p);
        ++count;
        // Over the move and its blank: five characters, six with a promotion letter.
        size_t left = std::strlen(p);
        size_t step = left > 4 && p[4] == ' ' ? 5 : 6;
        p += std::min(step, left);
    }
    return count;
}

char* UCIProtocol::MakeMoves(char* move) {
    size_t length = std::strlen(move);
    FromIndex = SquareFromText(move);
    ToIndex = length > 2 ? SquareFromText(move + 2) : -1;
    FromBit = FromIndex >= 0 ? SquareBit(FromIndex) : 0;
    ToBit = ToIndex >= 0 ? SquareBit(ToIndex) : 0;
    ++MainStatus.GamePly;
    // A text naming a square off the board changes nothing but the turn.
    if (FromBit && ToBit) PlayGameMove(FromIndex, ToIndex, length > 4 ? move[4] : '\0');
    HashSide ^= 1;
    u64 upper, lower;
    genhashcode(char(HashSide), MainBoard.Castling, &upper, &lower, &MainBoard);
    MoveList.InsertHashCodeMoveHistory(upper, lower);
    return move;
}
