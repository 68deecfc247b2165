// The table of UCI options and the two things done with it.
#include "frontend/uci/UCIOptions.h"

#include <cctype>
#include <cstdint>
#include <cstdio>

#include "book/OpeningBook.h"
#include "book/PolyglotBook.h"
#include "core/Numbers.h"
#include "core/Status.h"
#include "frontend/shared/LevelOptions.h"
#include "frontend/uci/UCIProtocol.h"
#include "search/PlayingLevel.h"
#include "search/SearchRoutines.h"
#include "search/TimeManagement.h"
#include "search/TranspositionTables.h"

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool IsTrue(const std::string& value) { return Lower(value) == "true"; }

// What the GUI does with the search (no book move in an analysis), never how long it may run:
// only "go infinite" searches until "stop".
void AnalyseMode(const std::string& value) { UCI.AnalyseMode = IsTrue(value); }

// Both book switches turn the books on or off.
void OwnBook(const std::string& value) {
    const bool on = IsTrue(value);
    if (on) buildbook();
    MainStatus.OwnBook = on;
}

void ShowCurrLine(const std::string& value) { UCI.ShowCurrLine = IsTrue(value); }

void Ponder(const std::string& value) {
    UCI.PonderOption = IsTrue(value);
    if (UCI.PonderOption) MainStatus.Pondering = 0;
}

void ReadOnly(const std::string&) {}

void Hash(const std::string& value) {
    if (!PositionCache.Resize(int(ParseInteger(value.c_str(), TTMinMegabytes, TTMaxMegabytes, 0))))
        InfoString("not enough memory for that table: Hash unchanged");
}

void ClearHash(const std::string&) { PositionCache.ClearTranspositionTables(); }

void MoveOverhead(const std::string& value) {
    SetMoveOverhead(ParseInteger(value.c_str(), 0, MaxMoveOverheadMs, DefaultMoveOverheadMs));
}
void MultiPV(const std::string& value) { Search.LineCount = int(ParseInteger(value.c_str(), 1, MaxRootLines, 1)); }

// A book is only read when a book is used at all: OwnBook comes with it.
void BookFile(const std::string& value) {
    std::string message;
    if (value.empty() || value == "<empty>")
        UnloadPolyglotBook();
    else if (LoadPolyglotBook(value, &message))
        MainStatus.OwnBook = 1;
    else
        InfoString(message.c_str());
}

// 0 leaves the choices to the clock.
void BookSeed(const std::string& value) {
    const long long seed = ParseInteger(value.c_str(), 0, INT32_MAX, 0);
    if (seed > 0) SetPolyglotBookSeed(u64(seed));
}

// The playing level: UCI_Elo counts while UCI_LimitStrength is on, else a Skill Level below 20.
void LimitStrength(const std::string& value) { SetLimitStrength(IsTrue(value)); }
void Elo(const std::string& value) { SetLevelElo(ParseInteger(value.c_str(), LevelMinElo, LevelMaxElo, LevelMaxElo)); }
void Skill(const std::string& value) { SetSkillLevel(ParseInteger(value.c_str(), 0, SkillLevels, SkillLevels)); }
// 0 draws a seed for each game.
void LevelSeed(const std::string& value) { SetLevelSeed(u64(ParseInteger(value.c_str(), 0, INT32_MAX, 0))); }

const std::string defaultOverhead = std::to_string(DefaultMoveOverheadMs);
const std::string topElo = std::to_string(LevelMaxElo), topSkill = std::to_string(SkillLevels);

const UCIOption options[] = {
    {"UCI_AnalyseMode", OptionType::Check, "false", 0, 0, AnalyseMode},
    {"OwnBook", OptionType::Check, "false", 0, 0, OwnBook},
    {"SecondaryBook", OptionType::Check, "false", 0, 0, OwnBook},
    {"UCI_ShowCurrLine", OptionType::Check, "true", 0, 0, ShowCurrLine},
    {"Ponder", OptionType::Check, "false", 0, 0, Ponder},
    {"UCI_EngineAbout", OptionType::String, "Velkor, a bitboard chess engine", 0, 0, ReadOnly},
    {"Hash", OptionType::Spin, "192", TTMinMegabytes, TTMaxMegabytes, Hash},
    {"Clear Hash", OptionType::Button, nullptr, 0, 0, ClearHash},
    // The search runs on one thread: a request for more is answered, not followed.
    {"Threads", OptionType::Spin, "1", 1, 1, ReadOnly, "Velkor searches on one thread: Threads stays 1"},
    {"Move Overhead", OptionType::Spin, defaultOverhead.c_str(), 0, MaxMoveOverheadMs, MoveOverhead},
    {"MultiPV", OptionType::Spin, "1", 1, MaxRootLines, MultiPV},
    {"BookFile", OptionType::String, "<empty>", 0, 0, BookFile},
    {"BookSeed", OptionType::Spin, "0", 0, INT32_MAX, BookSeed},
    {"UCI_LimitStrength", OptionType::Check, "false", 0, 0, LimitStrength},
    {"UCI_Elo", OptionType::Spin, topElo.c_str(), LevelMinElo, LevelMaxElo, Elo},
    {"Skill Level", OptionType::Spin, topSkill.c_str(), 0, SkillLevels, Skill},
    {"Level Seed", OptionType::Spin, "0", 0, INT32_MAX, LevelSeed},
};

// Does the value fit the option's type? A spin takes a whole number, clamped into its range.
bool Acceptable(const UCIOption& o, const std::string& value) {
    switch (o.type) {
    case OptionType::Check: return Lower(value) == "true" || Lower(value) == "false";
    case OptionType::Spin: {
        const char* end = nullptr;
        ParseInteger(value.c_str(), o.min, o.max, 0, &end);
        return !value.empty() && *end == '\0';
    }
    default: return true;
    }
}

} // namespace

void PrintOptions() {
    static const char* const typeNames[] = {"check", "spin", "button", "string"};
    char line[256];
    for (const UCIOption& o : options) {
        int n = std::snprintf(line, sizeof line, "option name %s type %s", o.name, typeNames[int(o.type)]);
        if (o.defaultText) n += std::snprintf(line + n, sizeof line - size_t(n), " default %s", o.defaultText);
        if (o.type == OptionType::Spin)
            std::snprintf(line + n, sizeof line - size_t(n), " min %lld max %lld", o.min, o.max);
        std::printf("%s\n", line);
        std::fflush(stdout);
    }
}

namespace {

// A spin's value out of its range is clamped, and the GUI told which value is used.
std::string ClampedSpin(const UCIOption& o, const std::string& value) {
    const long long asked = ParseInteger(value.c_str(), INT64_MIN, INT64_MAX, 0);
    const long long used = asked < o.min ? o.min : asked > o.max ? o.max : asked;
    if (used == asked) return value;
    if (o.outOfRange) {
        InfoString(o.outOfRange);
        return std::to_string(used);
    }
    char text[160];
    std::snprintf(text, sizeof text, "%s %.40s is out of range %lld..%lld: %lld used", o.name, value.c_str(), o.min,
                  o.max, used);
    InfoString(text);
    return std::to_string(used);
}

} // namespace

void SetOption(const std::string& name, const std::string& value) {
    const std::string id = Lower(name);
    for (const UCIOption& o : options) {
        if (Lower(o.name) != id) continue;
        if (!Acceptable(o, value))
            InfoString(("invalid value for " + name + ": " + value).c_str());
        else
            o.apply(o.type == OptionType::Spin ? ClampedSpin(o, value) : value);
        return;
    }
    InfoString(("no such option: " + name).c_str());
}
