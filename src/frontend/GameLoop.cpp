// Stand-in until console and xboard play land: the game ends at once.
#include "frontend/GameLoop.h"

void RunGameLoop(const char*) {}
char DoCommand(char*) { return Handled; }
char HumanMove() { return QuitGame; }
void SetupBoardFromEdit() {}
void MakeGUIMove(u64, u64, char, int) {}
