// The ways a front end asks for a playing level, as GUIs know them: a
// strength limit with its Elo (UCI_LimitStrength, UCI_Elo), a skill of
// 0..20 (Skill Level) and the seed of the choices. They set the search's
// level together: the Elo when the limit is on, else the skill's Elo
// below 20, else full strength.
#pragma once

#include <string>

#include "core/Types.h"

void SetLimitStrength(bool on);
void SetLevelElo(long long elo);     // clamped into LevelMinElo..LevelMaxElo
void SetSkillLevel(long long skill); // clamped into 0..SkillLevels
// The seed of the choices, 0 for one drawn for each game; a new game starts from it at once.
void SetLevelSeed(u64 seed);
// The console's way: play at this Elo (clamped), or at full strength.
void SetPlayingLevel(int elo);
void SetFullStrength();
// "1500 Elo (seed 12345)", or "full strength".
std::string LevelText();
