// Velkor: a chess engine for the console, xboard and UCI.
#include "frontend/Startup.h"

int main(int argc, char** argv) {
    StartUp(argc, argv);
    return RunMatchLoop();
}
