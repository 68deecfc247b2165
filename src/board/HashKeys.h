// Zobrist keys: the random tables, the 128-bit position key (two 64-bit
// halves, from scratch or from the men's part MakeMove keeps) and the
// 32-bit pawn-and-king key.
#pragma once

#include "board/Bitboard.h"

class ChessBoard;
struct BoardState;

// Indexed by piece code * 64 + square. The low 32 bits of LPStable also
// serve the pawn-and-king key.
extern u64 UPStable[12 * 64];
extern u64 LPStable[12 * 64];
extern u64 CastleCode[16];
extern u64 WtoMove, BtoMove;
// Drawn for every file but part of no key.
extern u64 UWCanEP[8], LWCanEP[8], UBCanEP[8], LBCanEP[8];

// The generator's starting state.
extern const u32 RandomSeed[55];
// Additive lagged-Fibonacci generator (lags 24 and 55) over a fixed seed.
u32 BetterRandom32();
// Fills the key tables; called once at start-up before any key is computed.
void initPStable();

// The position key of the board for the given side to move and castling rights.
void genhashcode(char side, int castling, u64* upper, u64* lower, const ChessBoard* board);
// The men's part of the key from scratch: the entries of every man.
void genpiecekey(const BoardState& board, u64* upper, u64* lower);
// The same key as genhashcode, from the men's part the board keeps.
void PositionKey(char side, int castling, const BoardState& board, u64* upper, u64* lower);
// Its lower half alone, which picks the table bucket.
u64 PositionKeyLower(char side, int castling, const BoardState& board);
// The lower half of the key after `from`-`to` is made, without making it:
// exact for plain moves and captures, a near miss for castling, en passant
// and promotion. Only for prefetching.
u64 PositionKeyLowerAfter(char side, int castling, const BoardState& board, u64 from, u64 to);
// Does the men's part the board keeps match its sets? For debug checks.
bool PieceKeyCurrent(const BoardState& board);
// The pawn-and-king key from scratch, pawns only (kings enter as they move).
void genpawnhashcode(char side, const ChessBoard& board, u32* key);

// Auxiliary log of drawn values and helpers that no key uses.
extern u32 UsedRandoms[2000];
extern int maxRandoms;
extern u64 PawnSquareMap[64];
bool FindRandom(u32 value, int n);
u32 Random32();
void initPawnSquareMap();
