// Playing levels: how strong the search plays when a person asks for a
// weaker opponent. Full strength is the level switched off; the Elo scale
// is fitted against a reference engine's published scale (see the README).
#pragma once

#include "core/Types.h"

// The weakest and the strongest level. The top is Velkor's measured
// strength at blitz, so the top level plays as the level switched off.
constexpr int LevelMinElo = 800;
constexpr int LevelMaxElo = 2000;
// The skill scale 0..20 maps onto the Elo scale in equal steps.
constexpr int SkillLevels = 20;
constexpr int SkillLevelElo(int skill) { return LevelMinElo + skill * (LevelMaxElo - LevelMinElo) / SkillLevels; }

struct PlayingLevel {
    bool limited = false; // off: full strength, every result as without levels
    int elo = LevelMaxElo;
    u64 seed = 0; // the random choices' seed; 0 = a new seed for each game
};
