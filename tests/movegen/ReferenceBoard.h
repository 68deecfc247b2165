// A plain 10x12 mailbox move counter sharing no code with the engine's generators, to check them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ReferenceBoard {
public:
    struct Move {
        int from, to; // squares 0..63
        char promote; // 'Q', 'R', 'B', 'N' or 0
    };

    // Reads placement, side and castling (not en passant). The engine's rules (queen promotions only,
    // rights lost only by the king's or that rook's move) unless `standard`, for published counts.
    explicit ReferenceBoard(const std::string& fen, bool standard = false);

    std::vector<Move> PseudoMoves() const; // may leave the own king attacked, or take the enemy king
    std::vector<Move> LegalMoves() const;
    void Play(const Move& move);
    std::uint64_t Perft(int depth) const;
    bool InCheck() const { return KingAttacked(side_); }
    int Castling() const { return castling_; }
    char PieceAt(int square) const; // FEN letter, 0 for an empty square

private:
    int cell_[120];    // 0 empty, +1..+6 white P N B R Q K, negative black, Off outside
    int side_ = 1;     // +1 white, -1 black
    int castling_ = 0; // 1 K, 2 Q, 4 k, 8 q
    int epCell_ = 0;   // cell passed by the last double step, 0 if none
    bool standard_;

    bool Attacked(int cell, int by) const;
    bool KingAttacked(int colour) const;
};
