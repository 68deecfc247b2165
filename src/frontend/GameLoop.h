// Console play and the xboard protocol: the game loop, the command
// interpreter, the move reader, the position editor and the engine's move.
#pragma once

#include "board/Bitboard.h"

// Results of DoCommand and HumanMove.
enum CommandResult : char {
    IsMove = 0,       // the word is a move
    StateChanged = 2, // look again at whose turn it is; a running search stops
    QuitGame = 3,
    Handled = 4,      // read the next word
    FiftyMoves = 7    // the move just made triggers the fifty-move rule
};

// Runs the game until it ends. In UCI mode hands control to the UCI
// interpreter with the first input word.
void RunGameLoop(const char* firstWord);
// Interprets one input word; also called by the search for words that arrive while it thinks.
char DoCommand(char* word);
char HumanMove();
void SetupBoardFromEdit();
void MakeGUIMove(u64 from, u64 to, char promote, int score);
