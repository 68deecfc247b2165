// Positions as the driver follows them, on the engine's own board, move
// generator and FEN reader (velkor_core): legal moves are the generated
// ones that do not leave the mover's king attacked.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "board/ChessBoard.h"

// Sets up the engine's tables the board code reads. Call once before anything below.
void InitChess();

class Position {
public:
    static Position Start();
    // A well-formed six-field (or four-field) FEN of a position that can
    // occur in a game: one king a side, no pawn on the back ranks, the side
    // not to move not in check, castling rights backed by king and rook.
    static std::optional<Position> FromFen(const std::string& fen);

    // Legal moves as UCI text ("e2e4", promotions "e7e8q").
    std::vector<std::string> LegalMoves() const;
    // True when the text names a legal move. Any of q, r, b, n completes a
    // promotion (the generator writes only the queen); a promotion without
    // a letter, or a letter on any other move, is not legal.
    bool IsLegal(const std::string& text) const;
    // Plays the move if it is legal; false and unchanged otherwise.
    bool Play(const std::string& text);
    std::string Fen() const; // standard FEN, with "-" for en passant and "0 1" for the counters
    int SideToMove() const { return board.SideToMove; }
    bool InCheck() const;

private:
    ChessBoard board{};
};

// Parses "e2e4" / "e7e8q" into squares 0..63 and the promotion letter (0 if none); false if it is no move text.
bool ParseMoveText(const std::string& text, int* from, int* to, char* promote);
