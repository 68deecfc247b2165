// "hint": the move the engine would play in the person's place, from the
// book or a search of a second at full strength and any depth. The search runs on a copy of the
// game with an observer of its own, and leaves the game, the clock, the
// level and the engine's last move as they were.
#include <cstdio>

#include "book/BookChoice.h"
#include "core/Status.h"
#include "frontend/shared/GameRecord.h"
#include "frontend/xboard/Console.h"
#include "movegen/LegalMoves.h"
#include "movegen/San.h"
#include "search/SearchRoutines.h"
#include "search/TimeManagement.h"

namespace {

constexpr i32 HintMs = 1000;

// Asks the books, plays and shows nothing. A "quit" (or the end of input)
// that the game's observer sees waiting ends the search once its first
// iteration has a move, and stays unread for the game loop.
class HintObserver : public SearchObserver {
public:
    explicit HintObserver(SearchObserver* game) : game_(game) {}
    bool ChooseBookMove(char side, char castling, const ChessBoard& board, Move* move) override {
        return ::ChooseBookMove(board, side, castling, move);
    }
    bool InputWaiting() override { return Search.IterationDepth > 1 && game_ && game_->InputWaiting(); }
    bool RunCommand() override { return true; }

private:
    SearchObserver* game_;
};

Move SearchHint() {
    SearchRoutines& q = Search;
    const Status saved = MainStatus;
    SearchObserver* const observer = q.Observer;
    const SearchSettings settings = q.Settings;
    const PlayingLevel level = q.Level;
    const int lines = q.LineCount;
    const i32 bookPly = q.BookPly; // the clock's bonus after the book is the game's
    HintObserver quiet(observer);
    q.Observer = &quiet;
    q.Settings = SearchSettings{false, false, false};
    q.Level.limited = false; // a hint is the best move the engine knows
    q.LineCount = 1;
    MainStatus.FD = 0;
    MainStatus.Analyze = MainStatus.Pondering = 0;
    SetMoveTime(HintMs);
    ChessBoard board = MainBoard;
    board.MaxDepth = 0; // the time alone limits a hint, whatever depth the engine plays to
    Move best{0, 0, NoPromotion};
    q.ProgressiveDeepening(board, 0, &best);
    q.Observer = observer;
    q.Settings = settings;
    q.Level = level;
    q.LineCount = lines;
    q.BookPly = bookPly;
    MainStatus = saved;
    return best;
}

} // namespace

void ShowHint() {
    if (!MainStatus.GameInProgress) {
        std::printf("No hint: the game is over (%s).\n", Game.Result().c_str());
    } else if (!HasLegalMove(MainBoard)) {
        std::printf("No hint: there is no legal move.\n");
    } else {
        Move hint;
        if (!AsLegalMove(MainBoard, SearchHint(), &hint)) hint = LegalMoves(MainBoard).front();
        std::printf("Hint: %s\n", SanOf(MainBoard, hint).c_str());
    }
    std::fflush(stdout);
}
