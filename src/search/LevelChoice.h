// The playing levels at work: a level's limits from its table, the small
// seeded generator behind its choices, and the choice among the best lines.
#pragma once

#include "core/Types.h"

struct LevelLimits {
    long long nodes = 0; // the most nodes a move may search; 0 = the clock alone
    int lines = 1;       // the best root lines the move is chosen from
    int spread = 0;      // the choice's temperature in hundredths of a pawn
};

// The limits of a level; an Elo outside the level range counts as its nearer end.
LevelLimits LevelLimitsFor(int elo);

// splitmix64: the next number of the sequence, advancing the state.
u64 NextRandom(u64* state);

// A seed for a game whose seed was left to chance: 1..2147483647, so that
// it can be given back as an option to replay the game's choices.
u64 DrawGameSeed();

// Which of `count` lines to play, their scores (engine units) best first:
// the best for a spread of 0 or a mate found; otherwise lines are weighed by
// e^(-loss / spread) and the random number picks one, never a line more than
// SpreadCutoff spreads below the best.
int ChooseLine(const int* scores, int count, int spread, u64 random);
