// Move lists as text for the generator tests.
#pragma once

#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "movegen/MoveGen.h"
#include "support/TestBoards.h"

inline u64 Sq(const char* s) { return u64(1) << ((s[1] - '1') * 8 + (s[0] - 'a')); }

inline std::string SquareName(u64 sq) {
    int i = SquareOf(sq);
    return {char('a' + i % 8), char('1' + i / 8)};
}

// "e2e4"; a promotion character other than "no promotion" is appended ("b7b8Q").
inline std::string MoveName(u64 from, u64 to, char promote) {
    std::string text = SquareName(from) + SquareName(to);
    if (promote != NoPromotion) text += promote;
    return text;
}

inline std::vector<std::string> ListOf(const MoveGen& list, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back(MoveName(list.From[i], list.To[i], list.Promote[i]));
    return names;
}

inline std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// MainBoard after the moves from the FEN, played as the front ends play them.
inline ChessBoard After(const char* fen, std::initializer_list<const char*> moves) {
    BoardFromFen(fen);
    for (const char* m : moves) {
        char mask;
        MainBoard.MakeMove(Sq(m), Sq(m + 2), NoPromotion, &mask);
        MainBoard.SideToMove ^= 1;
        MainBoard.Castling &= mask;
    }
    return MainBoard;
}
