// The console and xboard game loop: the user's and the engine's moves in turn.
#pragma once

#include <string>

// Plays games until "quit" or the end of input; under xboard one game after
// another. The first word and the rest of its line are the start-up's.
void RunGameLoop(const char* firstWord, const std::string& restOfLine);
// True while the game loop's search runs, so that "quit" can end the process at once.
bool EngineThinking();
// The input had already ended when the current search began (self play from an empty input).
bool InputEndedBeforeSearch();
// After the game position was set up anew (new game, FEN, editor): recount
// the men and start the record of positions for the repetition rule.
void StartGamePosition();
