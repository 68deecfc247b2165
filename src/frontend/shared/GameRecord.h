// Bookkeeping of the game position shared by the console, xboard and UCI
// front ends: squares from move text, castling rights by from-square,
// piece counts of a set-up position, and the positions of the game for the
// repetition announcement.
#pragma once

#include <string>
#include <vector>

#include "board/ChessBoard.h"
#include "movegen/MoveGen.h"

// Square index of a file letter followed by a rank number, e.g. "e2"
// (any letter counts from 'a', the rank is the decimal number behind it);
// -1 when the result is off the board.
int SquareFromText(const char* text);

// The castling rights left after a move from the square: a king or rook
// leaving its home square gives up the rights it carries.
u8 CastlingAfterMoveFrom(u8 castling, int fromIndex);

// Makes a move that came from outside (user or GUI) on MainBoard: first
// the castling rights by from-square, then MakeMove. MakeMove keeps the
// fifty-move count. Not tested for legality; SideToMove is the caller's.
void PlayGameMove(int fromIndex, int toIndex, char promote);

// A new game: the initial position with the user (or GUI) to move, the
// settings of a new game (initVars) and an empty history heuristic.
void ResetGame();

// Recounts the men of a position that was set up rather than reached by
// moves (the type counts and the two per-side totals).
void RefreshPieceCounts(ChessBoard& board);

// The current game since it began or was last set up: its start position,
// the moves played, the key of every position and, once it has ended, its
// result. A position counts again
// only with the same side to move and castling rights, since both are part
// of its key.
class GameRecord {
public:
    // Forgets the game and records MainBoard's position as its start.
    void Start();
    // Records a move just played on MainBoard (SideToMove already flipped).
    void Record(const Move& move);
    // Takes the last move back: MainBoard becomes the position before it. False when there is none.
    bool Undo();
    // How often the last recorded position occurs in the game.
    int Occurrences() const;
    int Size() const { return int(keys.size()); }
    // "1-0", "0-1", "1/2-1/2", or "*" while the game goes on; a move taken back takes the end back too.
    void SetResult(const std::string& text) { result = text; }
    const std::string& Result() const { return result; }
    const ChessBoard& StartPosition() const { return start; }
    const std::vector<Move>& Moves() const { return moves; }

private:
    struct Key {
        u64 upper, lower;
    };
    Key KeyOf(const ChessBoard& board) const;
    ChessBoard start{};
    std::vector<Move> moves;
    std::vector<Key> keys;
    std::string result = "*";
};

extern GameRecord Game;
