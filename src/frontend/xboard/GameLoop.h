// The console and xboard game loop: the user's and the engine's moves in turn.
#pragma once

// Plays games until "quit" or the end of input; under xboard one game after another.
void RunGameLoop(const char* firstWord);
// True while the game loop's search runs, so that "quit" can end the process at once.
bool EngineThinking();
// After the game position was set up anew (new game, FEN, editor): recount
// the men and start the record of positions for the repetition rule.
void StartGamePosition();
