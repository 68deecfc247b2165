// The console and xboard interpreter: one command word at a time, the
// user's moves, the position editor and the engine's move as xboard reads
// it. The console is the same protocol with prompts, echoes and diagrams.
#pragma once

#include "movegen/MoveGen.h"
#include "search/SearchRoutines.h"

// Results of DoCommand and HumanMove.
enum CommandResult : char {
    IsMove = 0,         // the word is a move
    StateChanged = 2,   // look again at whose turn it is; a running search stops
    QuitGame = 3,       //
    Handled = 4,        // read the next word
    RepetitionDraw = 6, // the game loop's own result: third occurrence of a position
    FiftyMoves = 7      // the move just made triggers the fifty-move rule
};

// What a search does for each: xboard records the root's key with the game's
// positions and waits in an analysis that has seen enough; the console does
// neither. Both give the first moves out of the book more time.
constexpr SearchSettings ConsoleSearch{false, true, false};
constexpr SearchSettings XboardSearch{true, true, true};

// Longest word the console and xboard readers keep; the rest is dropped.
constexpr int WordSize = 201;

// Interprets one input word, its arguments read from the rest of its line;
// also called by the search for words that arrive while it thinks. The
// word's buffer holds WordSize characters ("usermove" reads its move into it).
char DoCommand(char* word);
// A move that arrives while the engine thinks: in an analysis it is played
// and the analysis starts again; in a game it is not the user's turn.
int MoveWhileThinking(char* word);
// Is the word one of the console and xboard commands?
bool IsCommand(const char* word);
// Reads words until a move is made or a command ends the wait. Force mode
// ends when it is entered, unless "force" came while the engine thought.
char HumanMove();
void KeepForceMode();
// The xboard position editor: reads words up to "." and answers "ping" on
// the way. False when "quit" or the end of input came first.
bool SetupBoardFromEdit();
// Applies one editor word with the given current colour (0 white, 1 black),
// which "c" switches; false for ".", which leaves the editor.
bool EditBoard(const char* word, char* colour);
// Prints the engine's move as xboard reads it and logs it.
void MakeGUIMove(const Move& move, int score);
// The analysis status line: centiseconds, nodes, depth, root moves left and in all.
void PrintStatusLine();
