// The playing level at the console and under xboard: the commands
// "strength", "skill" and "seed", the xboard options that match UCI's, and
// the console's line when a search plays at a level.
#pragma once

#include <string>

// Runs the word if it is a level command (its arguments from its line); false when it is none.
bool RunLevelCommand(const char* word, char* result);
bool IsLevelCommand(const char* word);
// The level commands' lines of "help".
void PrintLevelHelp();
// The "feature option=..." line of the level options.
void PrintLevelFeatures();
// xboard's "option NAME=VALUE" for a level option; false when the name is none of them.
bool SetLevelOption(const std::string& name, const std::string& value);
