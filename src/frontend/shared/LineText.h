// A search report's line as text, for the protocols that show it.
#pragma once

#include <string>

#include "search/SearchReport.h"

// The line as move text: " e2e4 e7e5 g1f3 \n" (MoveTextSize bytes).
void LineText(char* out, const SearchReport& report);

// The line as moves: "e2e4 e7e5 e7e8q".
std::string LineMoves(const SearchReport& report);

// What a search has shown, line by line, so that nothing is shown twice: a
// new best line, the same line when its iteration is done and again when
// the search ends say one thing. A line is what it claims (depth, rank,
// score and moves), not the nodes and time it took.
class ShownLines {
public:
    void Clear();
    // True, and remembered, when the report says something not yet shown for its rank.
    bool Fresh(const SearchReport& report);

private:
    std::string last_[MaxRootLines + 1];
};
