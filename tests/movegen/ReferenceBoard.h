// A deliberately plain legal-move counter to check the engine's counts
// against: a 10x12 mailbox, offsets walked square by square, each move made
// on a copy and kept if the own king is then not attacked. It shares no
// code with the engine's generators.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// By default the rules the engine plays by: only queen promotions, and a
// castling right is lost only when the king or that rook moves. `standard`
// gives full chess rules, to check the counter against published counts.
struct ReferenceRules {
    bool standard = false;
};

class ReferenceBoard {
public:
    struct Move {
        int from, to;  // squares 0..63
        char promote;  // 'Q', 'R', 'B', 'N' or 0
    };

    // Placement, side and castling fields; an en-passant field is ignored.
    explicit ReferenceBoard(const std::string& fen, ReferenceRules rules = {});

    std::vector<Move> LegalMoves() const;
    void Play(const Move& move);
    std::uint64_t Perft(int depth) const;
    bool InCheck() const { return KingAttacked(side_); }
    int Castling() const { return castling_; }
    char PieceAt(int square) const; // FEN letter, 0 for an empty square

private:
    int cell_[120];     // 0 empty, +1..+6 white P N B R Q K, negative black, Off outside
    int side_ = 1;      // +1 white, -1 black
    int castling_ = 0;  // 1 K, 2 Q, 4 k, 8 q
    int epCell_ = 0;    // square passed by the last double step, 0 if none
    ReferenceRules rules_;

    bool Attacked(int cell, int by) const;
    bool KingAttacked(int colour) const;
    void PseudoMoves(std::vector<Move>& out) const;
};
