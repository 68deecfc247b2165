// A game as PGN, the text every chess program reads: tags, then the moves
// in standard algebraic notation, numbered, with the result at the end.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "board/ChessBoard.h"
#include "movegen/MoveGen.h"

struct PgnTags {
    std::string event = "Casual game", site = "?", date, round = "-", white = "?", black = "?";
    std::string result = "*";                               // "1-0", "0-1", "1/2-1/2" or "*"
    std::vector<std::pair<std::string, std::string>> extra; // e.g. the engine's level
};

// The position as standard FEN (castling as KQkq or -, the en-passant square
// after a double step, the half-move clock and the move number).
std::string StandardFen(const ChessBoard& board, int moveNumber);

// The moves from the start position in SAN, numbered ("1. e4 e5 2. Nf3"),
// a black first move as "1... e5".
std::string MoveList(const ChessBoard& start, const std::vector<Move>& moves);

// The whole game, lines at most 80 characters; a start other than the
// initial position is given in the SetUp and FEN tags. An empty date is today's.
std::string FormatPgn(const ChessBoard& start, const std::vector<Move>& moves, const PgnTags& tags);
