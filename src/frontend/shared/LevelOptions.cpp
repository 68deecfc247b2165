// The level options, kept together and turned into the search's level.
#include "frontend/shared/LevelOptions.h"

#include <algorithm>

#include "search/PlayingLevel.h"
#include "search/SearchRoutines.h"

namespace {

bool limitStrength = false;
int elo = LevelMaxElo;
int skill = SkillLevels;

void Apply() {
    PlayingLevel& level = Search.Level;
    level.limited = limitStrength || skill < SkillLevels;
    level.elo = limitStrength ? elo : SkillLevelElo(skill);
}

} // namespace

void SetLimitStrength(bool on) {
    limitStrength = on;
    Apply();
}

void SetLevelElo(long long value) {
    elo = int(std::clamp<long long>(value, LevelMinElo, LevelMaxElo));
    Apply();
}

void SetSkillLevel(long long value) {
    skill = int(std::clamp<long long>(value, 0, SkillLevels));
    Apply();
}

void SetLevelSeed(u64 seed) {
    Search.Level.seed = seed;
    Search.StartLevelGame();
}

void SetPlayingLevel(int value) {
    SetLevelElo(value);
    SetLimitStrength(true);
}

void SetFullStrength() {
    skill = SkillLevels;
    SetLimitStrength(false);
}

std::string LevelText() {
    if (!Search.Level.limited) return "full strength";
    std::string text = std::to_string(Search.Level.elo) + " Elo";
    if (Search.Level.seed) text += " (seed " + std::to_string(Search.Level.seed) + ")";
    return text;
}
