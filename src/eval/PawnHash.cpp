// The pawn hash table and its key.
#include "eval/PawnHash.h"

#include <sys/mman.h>

#include "board/ChessBoard.h"
#include "board/HashKeys.h"
#include "eval/PositionEvaluate.h"

alignas(2 << 20) PawnRecord PawnHashArray[PawnHashSlots + 2];
i32 Phashattempts;
i32 Phashmisses;

namespace {

// Probes land anywhere in the 4 MB, so the table asks for large pages (2 MB,
// on which it is aligned) before anything touches it: far fewer TLB misses.
struct LargePages {
    LargePages() { madvise(static_cast<void*>(PawnHashArray), sizeof PawnHashArray, MADV_HUGEPAGE); }
};
LargePages largePages;

} // namespace

// The key, the pawn set and the passed-pawn and score fields; what follows
// from the pawns, the doubled counts and the phase parts stay as they were.
void ClearPawnHash() {
    for (PawnRecord& r : PawnHashArray) {
        r.key = 0;
        if (r.state != PawnRecord::Empty) r.state = PawnRecord::Cleared;
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
