// Program start-up.
#pragma once

#include <string>

// Banner, settings, initial position, keys, book, log, command line, and
// the first input word that chooses between xboard and UCI.
void StartUp(int argc, char** argv);
// Prints the banner line once, before the first other output; never in UCI mode.
void ShowBanner();
// The first input word (empty when input ended before one came); under UCI
// it is the interpreter's first line.
const char* FirstInputWord();
// The rest of the first word's line at the console and under xboard (a
// first command's arguments).
const std::string& FirstInputLineRest();
