// A search report's line as text, for the protocols that show it.
#pragma once

#include <string>

#include "search/SearchReport.h"

// The line as move text: " e2e4 e7e5 g1f3 \n" (MoveTextSize bytes).
void LineText(char* out, const SearchReport& report);

// The line as moves: "e2e4 e7e5 e7e8q".
std::string LineMoves(const SearchReport& report);
