// Damage done to valid input: session lines and position text.
#pragma once

#include <string>
#include <vector>

#include "fuzz/Rng.h"
#include "fuzz/Session.h"

// A position text damaged in one or a few of the ways a hostile file can be.
std::string MutateFen(Rng& rng, const std::string& fen);
// A whole position file: some lines valid, some damaged, odd line ends.
std::string MutatePositionFile(Rng& rng, const std::vector<std::string>& fens);
// Applies `count` mutations to the steps (drop, duplicate, swap, cut,
// numbers, bytes, overlong, no newline, CRLF, ...). A changed step loses its expectation.
void MutateSteps(Rng& rng, std::vector<Step>& steps, int count);
// One number of the text replaced by a huge, negative or garbage value.
std::string MutateNumber(Rng& rng, const std::string& line);
