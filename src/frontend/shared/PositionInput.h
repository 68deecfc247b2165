// Moves and positions that come from outside (a user, a GUI): parsed into
// values and checked before anything changes, so a refused command leaves
// the game exactly as it was.
#pragma once

#include <string>

#include "board/ChessBoard.h"

// A move as text: from-square, to-square and an optional promotion letter.
struct MoveText {
    int from = 0, to = 0; // square indexes
    char promote = 0;     // 'q', 'r', 'b', 'n', or 0 for none
};

// Reads "e2e4", "e7e8q" (the letter in either case). False for anything else,
// squares off the board included.
bool ParseMoveText(const char* text, MoveText* move);

// Finds the move among the legal moves of the board's side to move. A pawn
// reaching the last rank without a letter becomes a queen; a letter on any
// other move makes it no move. On success fills the move as MakeMove takes it.
bool FindLegalMove(const ChessBoard& board, const MoveText& move, u64* from, u64* to, char* promote);

// The move as UCI and xboard write it: "e2e4", "e7e8q".
std::string MoveNotation(u64 from, u64 to, char promote);

// Reads a FEN or EPD text into a board and checks it: six fields at most
// before the EPD operations, eight ranks of eight squares, one king a side,
// no pawn on the first or last rank, at most sixteen men a side and no more
// than promotions allow, and the side not to move not in check. Castling
// rights without their king and rook at home are dropped; an en-passant
// field names the double step just made. Returns an empty text when the
// position is good, otherwise what is wrong with it. In an EPD line the
// fields after the fourth are operations, not move counters.
std::string ReadPosition(const char* text, ChessBoard* board, bool epd = false);
// The checks of ReadPosition on a board already set up (its piece counts current).
std::string CheckPosition(const ChessBoard& board);
