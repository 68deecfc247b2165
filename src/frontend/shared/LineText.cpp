// A search report's line as text.
#include "frontend/shared/LineText.h"

#include "frontend/shared/PositionInput.h"
#include "movegen/MoveGen.h"

void LineText(char* out, const SearchReport& r) {
    const PVEntry& first = r.line.moves[0];
    fillmovestring(out, 0, char(first.move / 64), char(first.move % 64), first.promote, r.line.moves, r.line.length);
}

std::string LineMoves(const SearchReport& r) {
    std::string text;
    for (int i = 0; i < r.line.length; ++i) {
        const PVEntry& m = r.line.moves[i];
        if (i) text += ' ';
        text += MoveNotation(SquareBit(m.move / 64), SquareBit(m.move % 64), m.promote);
    }
    return text;
}

void ShownLines::Clear() {
    for (std::string& line : last_) line.clear();
}

bool ShownLines::Fresh(const SearchReport& r) {
    const int rank = r.multiPv >= 0 && r.multiPv <= MaxRootLines ? r.multiPv : 0;
    std::string said = std::to_string(r.depth) + ' ' + std::to_string(r.score) + ' ' + LineMoves(r);
    if (last_[rank] == said) return false;
    last_[rank] = said;
    return true;
}
