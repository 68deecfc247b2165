// The text form of a move, optionally followed by the principal variation.
#include <cstdio>

#include "movegen/MoveGen.h"

namespace {

const char fileLetters[] = "abcdefgh";

// Writes "e2e4" for a pair of square indexes and returns the length written.
int SquarePair(char* out, int from, int to) {
    return std::sprintf(out, "%c%d%c%d", fileLetters[from & 7], ((from >> 3) & 7) + 1, fileLetters[to & 7],
                        ((to >> 3) & 7) + 1);
}

// The suffix for a piece code; promotion characters and 0 give a blank.
const char* PromotionSuffix(char code) {
    switch (code) {
    case KnightCode:
    case KnightCode + BlackOffset: return "n;";
    case BishopCode:
    case BishopCode + BlackOffset: return "b;";
    case RookCode:
    case RookCode + BlackOffset: return "r;";
    case QueenCode:
    case QueenCode + BlackOffset: return "q;";
    default: return " ";
    }
}

} // namespace

void fillmovestring(char* buffer, int, char fromIndex, char toIndex, char promotionCode, const PVEntry* line,
                    int lineLength) {
    char* out = buffer;
    *out++ = ' ';
    out += SquarePair(out, fromIndex, toIndex);
    out += std::sprintf(out, "%s", PromotionSuffix(promotionCode));
    // Five characters a move: the longest line the search keeps fits the buffer.
    const int length = lineLength < MaxLineMoves ? lineLength : MaxLineMoves;
    for (int i = 1; line && i < length; ++i) {
        const u16 code = line[i].move;
        out += SquarePair(out, code / 64, code % 64);
        *out++ = ' ';
    }
    *out++ = '\n';
    *out = '\0';
}
