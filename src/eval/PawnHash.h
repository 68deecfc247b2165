// The pawn hash: the part of the pawn evaluation that depends only on the
// pawns and the two king squares, cached by the board's pawn-and-king key.
#pragma once

#include "board/Bitboard.h"

class ChessBoard;

// One cached pawn structure. An empty slot (the table starts empty, and a
// clear leaves the file sets alone) reads as a position whose every file
// holds pawns of both colours: the root of a pawnless search, whose key is
// 0, finds it so.
struct PawnRecord {
    u64 pawns; // WhitePawns | BlackPawns, second check beside the key
    u64 openFiles, noWhitePawnFiles, noBlackPawnFiles; // every square of the files without such pawns
    u64 whitePawnAttacks, blackPawnAttacks;
    u32 key; // PawnKingHash at store time
    i32 whiteDoubled, blackDoubled;
    i32 middleGame, endGame;           // White's view
    i32 whiteScore, blackScore;        // each side's own pawn score
    i32 whitePasserScore, blackPasserScore; // before the dynamic terms
    u8 whitePasserRank[8], blackPasserRank[8]; // by file a..h, 0 = none
    u8 whitePasserCount, blackPasserCount;
};

// Indexed by the low 16 bits of the key; the two spare records are never reached.
constexpr int PawnHashSlots = 65536;
extern PawnRecord PawnHashArray[PawnHashSlots + 2];

// True when the slot of the key holds exactly this key and pawn set.
bool InPawnHash(u32 key, u64 pawns);

// The pawn-and-king key from scratch: the pawns and both kings. Equal to
// what MakeMove keeps up to date, so positions set up from text differ in
// their keys whenever their kings differ.
u32 PawnKingKey(const ChessBoard& board);
