// Stand-in until the UCI interpreter lands.
#include "frontend/UCIProtocol.h"

UCIProtocol UCI;

int UCIProtocol::UCIPrep(const char*) { return 1; }
int UCIProtocol::UCICore() { return 1; }
int UCIProtocol::ProcessMoves(char*) { return 0; }
char* UCIProtocol::MakeMoves(char* move) { return move; }
