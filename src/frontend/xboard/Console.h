// The console as a person plays it: moves typed as people write them, a
// short report of each move, an opponent of sensible strength and speed
// without any setting, and a game that can be listed, saved and replayed.
// Self play started with -sp, the batch jobs and xboard keep the console's
// old output; every function here acts only at a person's console.
#pragma once

#include <string>

#include "board/ChessBoard.h"
#include "movegen/MoveGen.h"

// The game loop starts without xboard: a person plays, unless self play was
// asked for on the command line.
void StartConsolePlay();
bool PersonAtConsole();
// "xboard" arrived: the console's defaults and its output give way to the GUI's.
void LeaveConsolePlay();

// "-v" and "verbose": the console's diagnostic lines shown as well, as they always were.
void SetConsoleVerbose(bool on);
bool ConsoleVerbose();
// A diagnostic line (printf-style, with its newline): printed, except at a
// person's console without verbose, where it goes to match.log alone.
void Diagnostic(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The opponent a person meets who asked for nothing: about 1500 Elo, a few
// seconds a move. A fixed depth or time from the command line keeps full
// strength and that limit.
void ApplyConsoleDefaults();
// A clock the person sets ("level", "st", "sfd") replaces the default time a move.
void DropDefaultClock();
// "at about 1500 Elo, 3 seconds a move": the level and the clock in force.
std::string OpponentText();
// The greeting: who plays what, how to type moves, the board.
void GreetPerson();

// What a person set for the session, kept over "new", which otherwise
// resets the clock and the depth.
struct SessionSettings {
    int fd, st, timePerMove, timeLeft, timeInc, movesPerSession, maxDepth, fixedDepth, ownBook, post, defaultClock;
};
SessionSettings KeepSessionSettings();
void RestoreSessionSettings(const SessionSettings& kept);

// The word as a move of the side to move: coordinates (e2e4, e7e8q) or
// standard notation (e4, Nf3, exd5, O-O, 0-0, e8=Q, e8Q, Nbd2, R1e2, with
// or without + # ! ?). False with the reason in *refusal when it names no
// legal move.
bool ReadConsoleMove(const ChessBoard& board, const char* word, Move* move, std::string* refusal);
// Could the word be meant as a move (so a first word is not taken as the choice of protocol)?
bool LooksLikeMove(const ChessBoard& board, const char* word);

// A move the search chose, as the legal move it is (a promotion with its
// letter, none on other moves); false when it is no legal move.
bool AsLegalMove(const ChessBoard& board, const Move& move, Move* legal);

// "Velkor plays 12. ... Nxe4", from the position before the move.
void AnnounceEngineMove(const ChessBoard& before, const Move& move);
// After a half-move: the board when the person is to move or the game is
// over (always with verbose), the score and evaluation lines as diagnostics.
void ShowAfterMove(int score, bool showBoard);
// The side to move has no legal move: the mate or stalemate is announced
// and the result recorded. False when there is a legal move.
bool AnnounceNoLegalMove();
// The game has ended: its result, and what the person can do next.
void OfferNewGame();
// A move or "go" after the end of the game.
void RefuseAfterEnd();
// The board and whose move it is, after a take-back, a new game or a set-up.
void ShowTurn(const char* what);

// Console commands beyond the protocol's: moves, pgn, save, verbose. True
// when the word is one, with its result in *result.
bool IsConsoleCommand(const char* word);
bool ConsoleCommand(char* word, char* result);
void ShowConsoleHelp();
// "hint": the book's move or that of a short search, in standard notation.
void ShowHint();

// Who played which side, for the names in a saved game: bit 1 << side for
// each side the engine has moved for; before its first move, the side the
// person is not to move with.
void NoteEngineSide(int side);
int EngineSides();
void ConsoleGameStarted();
