// The pawn hash table and its key.
#include "eval/PawnHash.h"

#include "board/ChessBoard.h"
#include "board/HashKeys.h"
#include "eval/PositionEvaluate.h"

PawnRecord PawnHashArray[PawnHashSlots + 2];
i32 Phashattempts;
i32 Phashmisses;

void ClearPawnHash() {
    for (PawnRecord& r : PawnHashArray) r = PawnRecord{};
}

u32 PawnKingKey(const ChessBoard& board) {
    u32 key;
    genpawnhashcode(board.SideToMove, board, &key);
    if (board.WhiteKing) key ^= u32(LPStable[KingCode * 64 + SquareOf(board.WhiteKing)]);
    if (board.BlackKing) key ^= u32(LPStable[(BlackOffset + KingCode) * 64 + SquareOf(board.BlackKing)]);
    return key;
}
