// Move lists as text for the generator tests, and random games that keep
// MainBoard and the reference counter in step.
#pragma once

#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "movegen/MoveGen.h"
#include "movegen/ReferenceBoard.h"
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

// Plays random legal moves from each start, `plies` deep, `games` times,
// calling visit on every position reached (MainBoard holds it, with side
// and castling rights kept as the front ends keep them).
inline void WalkRandomGames(const std::vector<const char*>& starts, int games, int plies,
                            const std::function<void(const ReferenceBoard&)>& visit) {
    std::mt19937 rng(20240611);
    for (const char* start : starts) {
        for (int game = 0; game < games; ++game) {
            ReferenceBoard ref(start);
            BoardFromFen(start);
            for (int ply = 0; ply <= plies; ++ply) {
                visit(ref);
                std::vector<ReferenceBoard::Move> moves = ref.LegalMoves();
                if (moves.empty()) break;
                const ReferenceBoard::Move m = moves[rng() % moves.size()];
                char mask;
                char promote = m.promote ? (MainBoard.SideToMove ? 'q' : 'Q') : NoPromotion;
                MainBoard.MakeMove(SquareBit(m.from), SquareBit(m.to), promote, &mask);
                MainBoard.SideToMove ^= 1;
                MainBoard.Castling &= mask;
                ref.Play(m);
            }
        }
    }
}
