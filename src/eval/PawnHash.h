// The pawn hash: the part of the pawn evaluation that depends only on the
// pawns and the two king squares, cached by the board's pawn-and-king key.
#pragma once

#include "board/Bitboard.h"

class ChessBoard;

// One cached pawn structure, one cache line. The pawn sets are kept
// rather than the file sets and pawn attacks that follow from them, so
// that an empty slot reads exactly as the static part of a position
// without pawns.
struct alignas(64) PawnRecord {
    u64 whitePawns, blackPawns; // their union is the second check beside the key
    u32 key;                    // PawnKingHash at store time
    i32 middleGame, endGame;    // White's view
    i32 whiteScore, blackScore; // each side's own pawn score
    i32 whitePasserScore, blackPasserScore; // before the dynamic terms
    u8 whitePasserRank[8], blackPasserRank[8]; // by file a..h, 0 = none
    u8 whiteDoubled, blackDoubled;
    u8 whitePasserCount, blackPasserCount;
};
static_assert(sizeof(PawnRecord) == 64, "a probe touches one cache line");

// Indexed by the low 16 bits of the key; the two spare records are never reached.
constexpr int PawnHashSlots = 65536;
extern PawnRecord PawnHashArray[PawnHashSlots + 2];

// True when the slot of the key holds exactly this key and pawn set.
inline bool InPawnHash(u32 key, u64 pawns) {
    const PawnRecord& r = PawnHashArray[key & 0xffff];
    return r.key == key && (r.whitePawns | r.blackPawns) == pawns;
}
// Starts loading the slot of a key that the evaluation will soon read.
inline void PrefetchPawnHash(u32 key) { __builtin_prefetch(&PawnHashArray[key & 0xffff]); }

// The pawn-and-king key from scratch: the pawns and both kings. Equal to
// what MakeMove keeps up to date, so positions set up from text differ in
// their keys whenever their kings differ.
u32 PawnKingKey(const ChessBoard& board);
