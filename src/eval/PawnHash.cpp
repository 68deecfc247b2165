// The pawn hash table and its key.
#include "eval/PawnHash.h"

#include "board/ChessBoard.h"
#include "board/HashKeys.h"
#include "eval/PositionEvaluate.h"

PawnRecord PawnHashArray[PawnHashSlots + 2];
i32 Phashattempts;
i32 Phashmisses;

bool InPawnHash(u32 key, u64 pawns) {
    const PawnRecord& r = PawnHashArray[key & 0xffff];
    return r.key == key && r.pawns == pawns;
}

// The key, the pawns and the passed-pawn and score fields; the file and
// attack sets, the doubled counts and the phase parts stay as they were.
void ClearPawnHash() {
    for (PawnRecord& r : PawnHashArray) {
        r.key = 0;
        r.pawns = 0;
        for (int f = 0; f < 8; ++f) r.whitePasserRank[f] = r.blackPasserRank[f] = 0;
        r.whiteScore = r.blackScore = 0;
        r.whitePasserScore = r.blackPasserScore = 0;
        r.whitePasserCount = r.blackPasserCount = 0;
    }
}

u32 PawnKingKey(const ChessBoard& board) {
    u32 key;
    genpawnhashcode(board.SideToMove, board, &key);
    if (board.WhiteKing) key ^= u32(LPStable[KingCode * 64 + SquareOf(board.WhiteKing)]);
    if (board.BlackKing) key ^= u32(LPStable[(BlackOffset + KingCode) * 64 + SquareOf(board.BlackKing)]);
    return key;
}
