// The front ends' common side of the search's seam.
#include "frontend/shared/GameObserver.h"

#include <cstdio>
#include <cstring>

#include "book/BookChoice.h"
#include "core/Log.h"
#include "core/Platform.h"
#include "core/Status.h"

bool GameObserver::ChooseBookMove(char side, char castling, const ChessBoard& board, Move* move) {
    return ::ChooseBookMove(board, side, castling, move);
}

// Only a man of the side to move is played: a search without a legal move leaves no move to play.
void GameObserver::PlayMove(const Move& move) {
    ChessBoard& b = MainBoard;
    if (!(move.from & (b.SideToMove ? b.BlackPieces : b.WhitePieces))) return;
    char castleMask;
    b.MakeMove(move.from, move.to, move.promote, &castleMask);
    b.Castling &= castleMask;
}

void GameObserver::TableTrace(TraceEvent event, int value, int alpha, int beta, u64 upper, u64 lower) {
    if (MainStatus.Trace != 1) return;
    std::printf("%s v=%d alpha=%d beta=%d\n",
                event == TraceEvent::CacheHit ? "Position Cache Hit:" : "Position Cache Insert (NullM):", value, alpha,
                beta);
    std::printf("Upper HC %llu Lower HC %llu\n", (unsigned long long)upper, (unsigned long long)lower);
}

bool GameObserver::InputWaiting() { return LineWaiting(); }

bool GameObserver::RunCommand() { return ReadAndInterpret(); }

void GameObserver::AwaitCommand() {
    do {
        while (!InputWaiting()) WaitForInput();
        if (ReadAndInterpret()) return;
    } while (Waiting());
}

bool GameObserver::Waiting() const { return MainStatus.Pondering || MainStatus.Analyze; }

bool GameObserver::ReadAndInterpret() {
    std::string command;
    if (!ReadCommand(&command)) command = "quit"; // the end of input
    if (Interpret(command)) {
        LogF(" Search Aborted due to receiveing following string: %.200s\n", command.c_str());
        return true;
    }
    AfterCommand();
    return false;
}
