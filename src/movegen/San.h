// Standard algebraic notation, as people write moves and as PGN keeps
// them: "e4", "Nf3", "exd5", "O-O", "e8=Q", "Nbd7", "Qxf7#".
#pragma once

#include <string>

#include "movegen/MoveGen.h"

// The legal move of the side to move in SAN, with "+" or "#" when it checks or
// mates; a move from a square without a man of the side to move as its squares.
std::string SanOf(const ChessBoard& board, const Move& move);

// Why a text names no move; Ok when it names exactly one legal move.
enum class SanReading { Ok, NotUnderstood, Illegal, Ambiguous };

// Reads a move as people type it: SAN with or without the capture mark and
// the check or mate mark, castling with letter O or digit 0, a promotion
// with or without "=" (a queen when no piece is named). On Ok *move is the
// legal move as MakeMove takes it.
SanReading ReadSan(const ChessBoard& board, const std::string& text, Move* move);
