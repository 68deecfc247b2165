// The console and xboard game loop: the user's and the engine's moves in
// turn, and the announcements that end a game.
#include "frontend/GameLoop.h"

#include <cstdio>
#include <cstring>

#include "board/ChessBoard.h"
#include "board/HashKeys.h"
#include "core/Log.h"
#include "core/Platform.h"
#include "core/Status.h"
#include "frontend/Diagram.h"
#include "frontend/GameRecord.h"
#include "frontend/UCIProtocol.h"
#include "movegen/MoveGen.h"
#include "search/SearchRoutines.h"
#include "search/TranspositionTables.h"

namespace {

// Both survive from one pass of the loop to the next.
char lastResult = 0;
int lastScore = 0;

bool thinking = false;

// Search results that mean the side to move had no legal move.
bool NoMoveResult(int score) { return score == MATE || score == -MATE || score == MATE + 1; }

// The user's (or GUI's) turn. False when the loop must look again at whose turn it is.
bool UserTurn() {
    Status& s = MainStatus;
    PositionCache.AgeTranspositionTables();
    Search.ClearHistory();
    char result = HumanMove();
    while (s.Force == 1 && result != QuitGame) result = HumanMove();
    lastResult = result;
    if (result == StateChanged) return false;
    s.HumanToMove = 0;
    MainBoard.SideToMove ^= 1;
    ++s.GamePly;
    if (result != QuitGame) Game.Record();
    return true;
}

void AnnounceEngineResult(int score) {
    Status& s = MainStatus;
    char side = char(MainBoard.SideToMove);
    if (score == MATE || score == -MATE) {
        bool blackWins = (side == 0) == (score == -MATE);
        std::printf(blackWins ? "Black mates!\n" : "White mates!\n");
        s.GameInProgress = 0;
    }
    if (score == MATE + 1) {
        std::printf("Stalemate\n");
        s.GameInProgress = 0;
    }
}

// The engine's turn: search, play and send the move.
void EngineTurn() {
    Status& s = MainStatus;
    ChessBoard& b = MainBoard;
    thinking = true;
    lastScore = Search.ProgressiveDeepening(b, s.FD, &b.BestFrom, &b.BestTo, &b.BestPromote);
    thinking = false;
    AnnounceEngineResult(lastScore);
    bool played = !Search.CommandStop && !NoMoveResult(lastScore);
    // The move number goes out only together with a move: alone it would
    // run into the next line the GUI reads.
    if (s.xboard == 1 && played && !s.Analyze) {
        std::printf("%d. ...", (s.GamePly + 1) / 2);
        MakeGUIMove(b.BestFrom, b.BestTo, b.BestPromote, lastScore);
        std::fflush(stdout);
    }
    // MakeMove has kept the fifty-move count for the engine's move.
    if (!Search.CommandStop) {
        b.SideToMove ^= 1;
        ++s.GamePly;
    }
    if (played) Game.Record();
    // After a search that a command stopped ("exit", "?", "new") it is the
    // user's turn, whatever that command set.
    s.HumanToMove = Search.CommandStop ? 1 : s.HumanToMove ^ 1;
}

void AnnounceDraw(const char* text) {
    MainStatus.GameInProgress = 0;
    std::printf("%s", text);
    std::fflush(stdout);
}

// Steps after every half-move: the fifty-move rule, the console's report,
// the draws that the board and the game record show.
void AfterMove() {
    Status& s = MainStatus;
    if (lastResult == FiftyMoves && s.HumanToMove == 0) AnnounceDraw("1/2-1/2 {Draw by 50 Move Rule}\n");
    if (!s.xboard) {
        std::printf("Game Score %d\n", lastScore);
        ShowBoard(MainBoard);
    }
    lastResult = char(MainBoard.CheckDraw(0));
    if (lastResult == 0 && Game.Occurrences() >= 3) lastResult = RepetitionDraw;
    if (lastResult == 8) AnnounceDraw("1/2-1/2 {Draw by insufficient material}\n");
    if (lastResult == FiftyMoves && s.HumanToMove == 1) AnnounceDraw("1/2-1/2 {Draw by 50 Move Rule}\n");
    if (lastResult == RepetitionDraw) AnnounceDraw("1/2-1/2 {Draw by repetition}\n");
}

} // namespace

bool EngineThinking() { return thinking; }

void StartGamePosition() {
    RefreshPieceCounts(MainBoard);
    Game.Start();
}

void RunGameLoop(const char* firstWord) {
    Status& s = MainStatus;
    if (s.UCImode == 1) {
        UCI.UCIPrep(firstWord);
        if (UCI.Continue == 1) s.NewMatch = 1;
        return;
    }
    StartGamePosition();
    while (s.GameInProgress && s.UCImode != 1) {
        genpawnhashcode(char(MainBoard.SideToMove), MainBoard, &MainBoard.PawnKingHash);
        if (s.SelfPlay) s.HumanToMove = 0;
        if (s.HumanToMove == 1) {
            if (!UserTurn()) continue;
            if (lastResult == QuitGame) break;
        } else {
            EngineTurn();
            if (lastResult == QuitGame) break;
        }
        AfterMove();
    }
}

char HumanMove() {
    Status& s = MainStatus;
    s.Force = 0;
    for (;;) {
        if (!s.xboard) std::printf("Enter Move: ");
        char word[WordSize] = {};
        if (!ReadWord(word, sizeof word)) {
            std::strcpy(word, "quit"); // end of input
        } else if (!s.xboard) {
            std::printf("%s\n", word);
        }
        char result = DoCommand(word);
        if (result == Handled) continue;
        if (result != IsMove) return result;

        int from = SquareFromText(word);
        int to = std::strlen(word) > 2 ? SquareFromText(word + 2) : -1;
        if (from < 0 || to < 0) continue; // names a square off the board: nothing to play
        PlayGameMove(from, to, std::strlen(word) > 4 ? word[4] : '\0');
        result = MainBoard.FiftyMoveCount >= 100 ? FiftyMoves : IsMove;
        if (s.Force != 1) return result;
        MainBoard.SideToMove ^= 1;
        Game.Record();
    }
}

void MakeGUIMove(u64 from, u64 to, char promote, int score) {
    const Status& s = MainStatus;
    char text[MoveTextSize];
    fillmovestring(text, score, char(SquareOf(from)), char(SquareOf(to)), promote);
    std::printf("%s", text);
    LogF("Move Made: %d %d %d %ld %s", s.DepthReached, score / 10, 0, long(Search.Nodes + Search.QNodes), text);
    std::fflush(stdout);
}
