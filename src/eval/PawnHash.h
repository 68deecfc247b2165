// The pawn hash: the part of the pawn evaluation that depends only on the
// pawns and the two king squares, cached by the board's pawn-and-king key.
#pragma once

#include "board/Bitboard.h"

class ChessBoard;

// One cached pawn structure, one cache line. The file sets and pawn
// attacks follow from the pawns kept here. A slot never written reads as a
// structure with no open file and no pawn attack: the root of a pawnless
// search, whose key is 0, finds it so. A clear empties the key, the pawn
// set it is found by and the passed-pawn and score fields, but the sets
// still follow from the pawns it was computed from.
struct alignas(64) PawnRecord {
    enum State : u8 { Empty = 0, Computed = 1, Cleared = 2 };
    u64 whitePawns, blackPawns;                // the pawns the structure was computed from
    u32 key;                                   // PawnKingHash at store time
    i32 middleGame, endGame;                   // White's view
    i32 whiteScore, blackScore;                // each side's own pawn score
    i32 whitePasserScore, blackPasserScore;    // before the dynamic terms
    u8 whitePasserRank[8], blackPasserRank[8]; // by file a..h, 0 = none
    u8 doubled; // doubled pawns: white's count in the low four bits, black's in the high four
    u8 whitePasserCount, blackPasserCount;
    State state;

    // The pawn set the slot is found by: none once cleared.
    u64 Pawns() const { return state == Cleared ? 0 : whitePawns | blackPawns; }
};
static_assert(sizeof(PawnRecord) == 64, "a probe touches one cache line");

// Indexed by the low 16 bits of the key; the two spare records are never reached.
constexpr int PawnHashSlots = 65536;
extern PawnRecord PawnHashArray[PawnHashSlots + 2];

// True when the slot of the key holds exactly this key and pawn set.
inline bool InPawnHash(u32 key, u64 pawns) {
    const PawnRecord& r = PawnHashArray[key & 0xffff];
    return r.key == key && r.Pawns() == pawns;
}
// Starts loading the slot of a key that the evaluation will soon read.
inline void PrefetchPawnHash(u32 key) { __builtin_prefetch(&PawnHashArray[key & 0xffff]); }

// The pawn-and-king key from scratch: the pawns and both kings. Equal to
// what MakeMove keeps up to date, so positions set up from text differ in
// their keys whenever their kings differ.
u32 PawnKingKey(const ChessBoard& board);
