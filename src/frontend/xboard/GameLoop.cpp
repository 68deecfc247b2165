// The console and xboard game loop: the user's and the engine's moves in
// turn, and the announcements that end a game. Under xboard one process
// plays game after game; only "quit" or the end of input ends it.
#include "frontend/xboard/GameLoop.h"

#include "frontend/xboard/XboardProtocol.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "board/ChessBoard.h"
#include "board/HashKeys.h"
#include "core/Log.h"
#include "core/Platform.h"
#include "core/Status.h"
#include "frontend/shared/Diagram.h"
#include "frontend/shared/GameRecord.h"
#include "frontend/shared/PositionInput.h"
#include "frontend/xboard/CommandInput.h"
#include "frontend/xboard/Console.h"
#include "movegen/LegalMoves.h"
#include "movegen/MoveGen.h"
#include "search/MoveHistory.h"
#include "search/SearchRoutines.h"
#include "search/TranspositionTables.h"

namespace {

// Both survive from one pass of the loop to the next.
char lastResult = 0;
int lastScore = 0;

bool thinking = false;
bool quitting = false;
bool keepForce = false;         // a "force" came while the engine thought
bool endedBeforeSearch = false; // the input had ended before the engine began to think

// Search results that mean the side to move had no legal move.
bool NoMoveResult(int score) { return score == MATE || score == -MATE || score == MATE + 1; }

// Under xboard the diagnostics go to the log: the GUI sees protocol lines only.
void ProblemToLog(const char* text) { WriteLogFile(text); }

void PlayLegalMove(const Move& move) {
    PlayGameMove(SquareOf(move.from), SquareOf(move.to), move.promote);
    MainBoard.SideToMove ^= 1;
    Game.Record(move);
}

// Plays the word on the game if it names a legal move; anything else leaves the game exactly as it was.
bool PlayUserMove(const char* word) {
    Move text, move;
    if (!ParseMoveText(word, &text) || !FindLegalMove(MainBoard, text, &move)) return false;
    PlayLegalMove(move);
    return true;
}

// A person's move in either notation; a refusal says why. A finished game takes no more moves.
bool PlayPersonMove(const char* word) {
    if (!MainStatus.GameInProgress) {
        RefuseAfterEnd();
        return false;
    }
    Move move;
    std::string refusal;
    if (!ReadConsoleMove(MainBoard, word, &move, &refusal)) {
        std::printf("%s\n", refusal.c_str());
        std::fflush(stdout);
        return false;
    }
    PlayLegalMove(move);
    return true;
}

// The user's (or GUI's) turn. False when the loop must look again at whose turn it is.
bool UserTurn() {
    Status& s = MainStatus;
    PositionCache.AgeTranspositionTables();
    Search.ClearHistory();
    char result = HumanMove();
    while (s.Force == 1 && result != QuitGame) result = HumanMove();
    lastResult = result;
    if (result == QuitGame) quitting = true;
    if (result == StateChanged || result == QuitGame) return false;
    // A move after the game has ended is taken, but the engine waits for "go" or "new".
    s.HumanToMove = s.GameInProgress ? 0 : 1;
    ++s.GamePly;
    return true;
}

void AnnounceEngineResult(int score) {
    Status& s = MainStatus;
    char side = char(MainBoard.SideToMove);
    if (score == MATE || score == -MATE) {
        bool blackWins = (side == 0) == (score == -MATE);
        std::printf(blackWins ? "Black mates!\n" : "White mates!\n");
        Game.SetResult(blackWins ? "0-1" : "1-0");
        s.GameInProgress = 0;
    }
    if (score == MATE + 1) {
        std::printf("Stalemate\n");
        Game.SetResult("1/2-1/2");
        s.GameInProgress = 0;
    }
}

// The engine's turn: search, play and send the move.
void EngineTurn() {
    Status& s = MainStatus;
    ChessBoard& b = MainBoard;
    thinking = true;
    endedBeforeSearch = InputEnded();
    const ChessBoard before = b; // the search plays its move on the game
    // The search starts from the last move chosen, which it keeps when it ends without one.
    Move best{b.BestFrom, b.BestTo, b.BestPromote};
    lastScore = Search.ProgressiveDeepening(b, s.FD, &best);
    b.BestFrom = best.from;
    b.BestTo = best.to;
    b.BestPromote = best.promote;
    thinking = false;
    AnnounceEngineResult(lastScore);
    const bool played = !Search.CommandStop && !NoMoveResult(lastScore) && !s.Analyze;
    // The move number goes out only together with a move: alone it would
    // run into the next line the GUI reads.
    if (played && s.xboard == 1) {
        std::printf("%d. ...", (s.GamePly + 1) / 2);
        MakeGUIMove(best, lastScore);
        std::fflush(stdout);
    } else if (played && PersonAtConsole()) {
        AnnounceEngineMove(before, best);
    } else if (played) {
        std::printf("My move: %s\n", MoveNotation(best).c_str());
    }
    // MakeMove has kept the fifty-move count for the engine's move.
    if (played) {
        b.SideToMove ^= 1;
        ++s.GamePly;
        Game.Record(best);
    }
    // After a search that a command stopped it is the user's turn, whatever
    // that command set, unless an analysis goes on from a new position; an
    // analysis that ended by itself waits for the user.
    if (Search.CommandStop)
        s.HumanToMove = s.Analyze ? 0 : 1;
    else if (s.Analyze)
        s.HumanToMove = 1;
    else
        s.HumanToMove ^= 1;
}

void AnnounceDraw(const char* text) {
    MainStatus.GameInProgress = 0;
    Game.SetResult("1/2-1/2");
    std::printf("%s", text);
    std::fflush(stdout);
}

// At a person's console: the board when it is the person's turn or the game
// ends, then what ended it, a mate or stalemate at once (no search needed)
// before the draw rules.
void PersonAfterMove(bool engineMoved) {
    Status& s = MainStatus;
    const bool playing = s.GameInProgress;
    const char* draw = nullptr;
    bool noMove = false;
    if (playing) {
        lastResult = char(MainBoard.CheckDraw(0));
        if (lastResult == 0 && Game.Occurrences() >= 3) lastResult = RepetitionDraw;
        noMove = !HasLegalMove(MainBoard);
        if (lastResult == 8) draw = "1/2-1/2 {Draw by insufficient material}\n";
        if (lastResult == FiftyMoves) draw = "1/2-1/2 {Draw by 50 Move Rule}\n";
        if (lastResult == RepetitionDraw) draw = "1/2-1/2 {Draw by repetition}\n";
    }
    ShowAfterMove(lastScore, engineMoved || s.HumanToMove == 1 || !playing || noMove || draw);
    if (noMove)
        AnnounceNoLegalMove();
    else if (draw)
        AnnounceDraw(draw);
}

// Steps after every half-move: the fifty-move rule, the console's report,
// the draws that the board and the game record show.
void AfterMove(bool engineMoved) {
    Status& s = MainStatus;
    if (PersonAtConsole()) {
        PersonAfterMove(engineMoved);
        return;
    }
    const bool over = !s.GameInProgress; // a finished game has nothing more to announce
    if (!over && lastResult == FiftyMoves && s.HumanToMove == 0) AnnounceDraw("1/2-1/2 {Draw by 50 Move Rule}\n");
    if (!s.xboard) {
        std::printf("Game Score %d\n", lastScore);
        ShowBoard(MainBoard);
    }
    if (over) return;
    lastResult = char(MainBoard.CheckDraw(0));
    if (lastResult == 0 && Game.Occurrences() >= 3) lastResult = RepetitionDraw;
    if (lastResult == 8) AnnounceDraw("1/2-1/2 {Draw by insufficient material}\n");
    if (lastResult == FiftyMoves && s.HumanToMove == 1) AnnounceDraw("1/2-1/2 {Draw by 50 Move Rule}\n");
    if (lastResult == RepetitionDraw) AnnounceDraw("1/2-1/2 {Draw by repetition}\n");
}

// A game in progress goes on; under xboard and at a person's console a finished one waits for the next.
bool KeepPlaying() {
    const Status& s = MainStatus;
    if (quitting) return false;
    if (s.GameInProgress) return true;
    MainStatus.HumanToMove = 1;
    return s.xboard == 1 || PersonAtConsole();
}

} // namespace

bool EngineThinking() { return thinking; }

bool InputEndedBeforeSearch() { return endedBeforeSearch; }

void StartGamePosition() {
    RefreshPieceCounts(MainBoard);
    MoveList.Init(); // the positions of another game or set-up are no repetitions of this one
    Game.Start();
    ConsoleGameStarted();
}

void RunGameLoop(const char* firstWord, const std::string& restOfLine) {
    Status& s = MainStatus;
    if (s.xboard) SetProblemSink(ProblemToLog);
    // At the console a first word that is a move or a command is the user's first input.
    Move move;
    if (!s.xboard && (IsCommand(firstWord) || ParseMoveText(firstWord, &move) ||
                      (PersonAtConsole() && LooksLikeMove(MainBoard, firstWord))))
        Input.StartWith(std::string(firstWord) + " " + restOfLine);
    else
        Input.StartWith(restOfLine);
    quitting = false;
    StartGamePosition();
    while (KeepPlaying()) {
        genpawnhashcode(char(MainBoard.SideToMove), MainBoard, &MainBoard.PawnKingHash);
        if (s.SelfPlay && s.GameInProgress) s.HumanToMove = 0;
        // Whether this half-move is one of a game going on; the user's turn may set up a new game first.
        bool wasPlaying = s.GameInProgress;
        const bool engineTurn = s.HumanToMove != 1;
        if (!engineTurn) {
            if (!UserTurn()) continue;
            wasPlaying = s.GameInProgress;
        } else {
            EngineTurn();
            if (quitting) break;
        }
        AfterMove(engineTurn);
        if (wasPlaying && !s.GameInProgress && PersonAtConsole()) OfferNewGame();
    }
}

void KeepForceMode() { keepForce = true; }

char HumanMove() {
    Status& s = MainStatus;
    if (!keepForce) s.Force = 0;
    keepForce = false;
    for (;;) {
        if (!s.xboard) std::printf("Enter Move: ");
        char word[WordSize] = {};
        if (!Input.NextWord(word, sizeof word)) {
            std::strcpy(word, "quit"); // end of input
        } else if (!s.xboard) {
            std::printf("%s\n", word);
        }
        const char result = DoCommand(word);
        if (result == Handled) continue;
        if (result != IsMove) return result;
        if (PersonAtConsole()) {
            if (!PlayPersonMove(word)) continue;
        } else if (!PlayUserMove(word)) {
            std::printf("Illegal move: %s\n", word);
            std::fflush(stdout);
            continue;
        }
        if (s.Force != 1) return MainBoard.FiftyMoveCount >= 100 ? FiftyMoves : IsMove;
    }
}

int MoveWhileThinking(char* word) {
    if (!MainStatus.Analyze) {
        std::printf("Illegal move (not your turn): %s\n", word);
    } else if (!PlayUserMove(word)) {
        std::printf("Illegal move: %s\n", word);
    } else {
        ++MainStatus.GamePly;
        Search.AbortSearch();
        MainStatus.HumanToMove = 0;
        return StateChanged;
    }
    std::fflush(stdout);
    return Handled;
}

void MakeGUIMove(const Move& move, int score) {
    const Status& s = MainStatus;
    char text[MoveTextSize];
    fillmovestring(text, score, char(SquareOf(move.from)), char(SquareOf(move.to)), move.promote);
    std::printf("%s", text);
    LogF("Move Made: %d %d %d %ld %s", s.DepthReached, score / 10, 0, long(Search.Nodes + Search.QNodes), text);
    std::fflush(stdout);
}
