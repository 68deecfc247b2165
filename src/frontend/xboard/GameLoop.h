// Console play and the xboard protocol: the game loop, the command
// interpreter, the move reader, the position editor and the engine's move.
#pragma once

#include "board/Bitboard.h"
#include "frontend/shared/GameObserver.h"

// Results of DoCommand and HumanMove.
enum CommandResult : char {
    IsMove = 0,       // the word is a move
    StateChanged = 2, // look again at whose turn it is; a running search stops
    QuitGame = 3,
    Handled = 4,        // read the next word
    RepetitionDraw = 6, // the game loop's own result: third occurrence of a position
    FiftyMoves = 7      // the move just made triggers the fifty-move rule
};

// Longest word the console and xboard readers keep; the rest is dropped.
constexpr int WordSize = 201;

// Runs the game until it ends. In UCI mode hands control to the UCI
// interpreter with the first input word.
void RunGameLoop(const char* firstWord);
// Interprets one input word; also called by the search for words that arrive
// while it thinks. The word's buffer holds WordSize characters ("usermove"
// reads its move into it).
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
// The xboard position editor: reads words up to ".".
void SetupBoardFromEdit();
// Applies one editor word with the given current colour (0 white, 1 black),
// which "c" switches; false for ".", which leaves the editor.
bool EditBoard(const char* word, char* colour);
// Prints the engine's move as xboard reads it and logs it.
void MakeGUIMove(u64 from, u64 to, char promote, int score);

// True while the game loop's search runs, so that "quit" can end the process at once.
bool EngineThinking();
// After the game position was set up anew (new game, FEN, editor): recount
// the men and start the record of positions for the repetition rule.
void StartGamePosition();

// The console's and xboard's side of the search (XboardThinking.cpp).
class XboardObserver : public GameObserver {
public:
    void BudgetSet() override;
    void BookMoveChosen() override;
    void NewBestLine(const SearchReport& report) override;
    void IterationInterrupted(const SearchReport& report, Interruption how, int legalMoves) override;
    void IterationDone(const SearchReport& report) override;
    void SearchFinished(const SearchReport& report, bool stopped, bool bookMove, bool hasMove) override;
    void Polled() override;
    void PlayMove(u64 from, u64 to, char promote) override;

protected:
    int Interpret(char* word) override;
    void AfterCommand() override;
};

extern XboardObserver XboardReporter;

// The analysis status line: centiseconds, nodes, depth, root moves left and in all.
void PrintStatusLine();
