// Program start-up and the match loop.
#pragma once

// Banner, settings, initial position, keys, book, log, command line, and
// the first input word that chooses between xboard and UCI.
void StartUp(int argc, char** argv);
// Prints the banner line once, before the first other output; never in UCI mode.
void ShowBanner();
// Runs a batch mode or plays games until the match ends; main's result.
int RunMatchLoop();
