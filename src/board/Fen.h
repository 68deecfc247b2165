// Position text: reading the placement, side and castling fields of a FEN
// or EPD line into MainBoard, and writing a board back as text.
#pragma once

#include <string>

#include "board/Bitboard.h"

class ChessBoard;

// Room a caller gives pos2fenString: the longest text and its terminator.
constexpr int FenTextSize = 96;

// Sets up MainBoard from the placement, side and castling fields. Piece
// counts and FiftyMoveCount are left to the caller.
void SetupBoard(const char* text);
// Adds a man of the given FEN letter on the square; other letters do nothing.
void AddPiece(char letter, int square);
// Sets up MainBoard from the first line of a file; ends the process if it can't be read.
void LoadPositionFile(const char* path);
// The FEN letter of the man on an occupied square.
char DecodePiece(u64 square, const ChessBoard& board);
// The castling field: a dash for each colour without rights, then KQkq letters.
void CastleRights(char* out, char rights);
// Prints the position as text followed by " - 0 ; ", the number and a blank.
void pos2fen(const ChessBoard& board, int number);
// Writes the position as text, ending in " - 0 ; ", into out (FenTextSize bytes).
void pos2fenString(const ChessBoard& board, char* out);
std::string Pos2FenText(const ChessBoard& board);
