// The playing level at the console and under xboard.
#include "frontend/xboard/LevelCommands.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "core/Numbers.h"
#include "core/Status.h"
#include "frontend/shared/LevelOptions.h"
#include "frontend/xboard/CommandInput.h"
#include "frontend/xboard/XboardObserver.h"
#include "frontend/xboard/XboardProtocol.h"
#include "search/PlayingLevel.h"

namespace {

bool Console() { return !MainStatus.xboard; }

// The level now in force, at the console.
void SayLevel() {
    if (!Console()) return;
    std::printf("Level: %s\n", LevelText().c_str());
    std::fflush(stdout);
}

// The command's argument as a number, clamped into [low, high] with a word on what is used
// instead; false (and a message) when it is no number.
bool LevelNumber(const char* command, const std::string& word, const char* wanted, long long low, long long high,
                 long long* value) {
    const char* end = nullptr;
    const long long asked = ParseInteger(word.c_str(), LLONG_MIN, LLONG_MAX, 0, &end);
    if (end == word.c_str()) {
        if (Console())
            std::printf("%s needs %s\n", command, wanted);
        else
            std::printf("Error (no number): %s\n", command);
        std::fflush(stdout);
        return false;
    }
    *value = std::clamp(asked, low, high);
    if (*value != asked && Console())
        std::printf("%s %.40s is out of range %lld..%lld: %lld used\n", command, word.c_str(), low, high, *value);
    return true;
}

// "strength N": play at N Elo; "strength off": full strength.
char Strength(const char* command) {
    std::string word;
    Input.Argument(&word);
    long long elo;
    if (word == "off")
        SetFullStrength();
    else if (LevelNumber(command, word, "an Elo from 800 to 2000, or off", LevelMinElo, LevelMaxElo, &elo))
        SetPlayingLevel(int(elo));
    else
        return Handled;
    SayLevel();
    return Handled;
}

// "skill N": 0..20, 20 is full strength; it takes the place of a strength.
char Skill(const char* command) {
    std::string word;
    Input.Argument(&word);
    long long skill;
    if (!LevelNumber(command, word, "a skill from 0 to 20", 0, SkillLevels, &skill)) return Handled;
    SetLimitStrength(false);
    SetSkillLevel(skill);
    SayLevel();
    return Handled;
}

// "seed N": the choices of each game from N; 0 draws a seed for each game.
char Seed(const char* command) {
    std::string word;
    Input.Argument(&word);
    long long seed;
    if (!LevelNumber(command, word, "a number from 0 to 2147483647", 0, INT32_MAX, &seed)) return Handled;
    SetLevelSeed(u64(seed));
    SayLevel();
    return Handled;
}

struct LevelCommand {
    const char* name;
    char (*handler)(const char* command);
};

const LevelCommand levelCommands[] = {{"strength", Strength}, {"skill", Skill}, {"seed", Seed}};

bool IsCheckOn(const std::string& value) { return value == "1" || value == "true"; }

// An option's spin value, clamped into its range; the GUI is told what is used instead.
long long OptionValue(const std::string& name, const std::string& value, long long low, long long high,
                      long long fallback) {
    const long long asked = ParseInteger(value.c_str(), LLONG_MIN, LLONG_MAX, fallback);
    const long long used = std::clamp(asked, low, high);
    if (used != asked)
        std::printf("telluser %s %.40s is out of range %lld..%lld: %lld used\n", name.c_str(), value.c_str(), low, high,
                    used);
    return used;
}

} // namespace

bool RunLevelCommand(const char* word, char* result) {
    for (const LevelCommand& c : levelCommands)
        if (std::strcmp(word, c.name) == 0) {
            *result = c.handler(word);
            return true;
        }
    return false;
}

bool IsLevelCommand(const char* word) {
    for (const LevelCommand& c : levelCommands)
        if (std::strcmp(word, c.name) == 0) return true;
    return false;
}

void PrintLevelHelp() {
    std::printf("strength N: play at N Elo (800 to 2000), strength off: full strength; skill N: 0 to 20;\n"
                "seed N: the level's choices from seed N (0: a new seed each game).\n");
}

void PrintLevelFeatures() {
    std::printf("feature option=\"UCI_LimitStrength -check 0\" option=\"UCI_Elo -spin %d %d %d\" "
                "option=\"Skill Level -spin %d 0 %d\" option=\"Level Seed -spin 0 0 2147483647\"\n",
                LevelMaxElo, LevelMinElo, LevelMaxElo, SkillLevels, SkillLevels);
}

bool SetLevelOption(const std::string& name, const std::string& value) {
    if (name == "UCI_LimitStrength")
        SetLimitStrength(IsCheckOn(value));
    else if (name == "UCI_Elo")
        SetLevelElo(OptionValue(name, value, LevelMinElo, LevelMaxElo, LevelMaxElo));
    else if (name == "Skill Level")
        SetSkillLevel(OptionValue(name, value, 0, SkillLevels, SkillLevels));
    else if (name == "Level Seed")
        SetLevelSeed(u64(OptionValue(name, value, 0, INT32_MAX, 0)));
    else
        return false;
    return true;
}

// The console names the level of every search it plays at; xboard hears nothing of it.
void XboardObserver::PlayingAtLevel(int elo, u64 seed) {
    if (!Console()) return;
    std::printf("Playing at %d Elo (seed %llu)\n", elo, (unsigned long long)seed);
    std::fflush(stdout);
}
