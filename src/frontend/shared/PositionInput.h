// Moves and positions that come from outside (a user, a GUI): parsed into
// values and checked before anything changes, so a refused command leaves
// the game exactly as it was.
#pragma once

#include <string>

#include "board/ChessBoard.h"
#include "movegen/MoveGen.h"

// Reads "e2e4", "e7e8q" (the letter in either case) into a move whose
// promotion is the letter in lower case, or NoPromotion. False for anything
// else, squares off the board included.
bool ParseMoveText(const char* text, Move* move);

// Finds the move among the legal moves of the board's side to move. A pawn
// reaching the last rank without a letter becomes a queen; a letter on any
// other move makes it no move. On success *legal is the move as MakeMove takes it.
bool FindLegalMove(const ChessBoard& board, const Move& move, Move* legal);

// The move as UCI and xboard write it: "e2e4", "e7e8q".
std::string MoveNotation(u64 from, u64 to, char promote);
inline std::string MoveNotation(const Move& m) { return MoveNotation(m.from, m.to, m.promote); }

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
