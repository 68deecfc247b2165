#include "support/TestSearch.h"

#include <cstring>

#include "core/Status.h"
#include "search/MoveHistory.h"
#include "search/TranspositionTables.h"

void FreshSearch() {
    MainStatus.initVars();
    MoveList.Init();
    PositionCache.ClearTranspositionTables();
    Search.ClearHistory();
    std::memset(Search.Killers, 0, sizeof Search.Killers);
}

Move SearchWith(SearchObserver& observer, int depth, int* score) {
    SearchObserver* const saved = Search.Observer;
    Search.Observer = &observer;
    MainStatus.FD = char(depth);
    if (depth) MainBoard.MaxDepth = depth;
    Move best{0, 0, NoPromotion};
    int v = 0;
    CaptureStdout([&] { v = Search.ProgressiveDeepening(MainBoard, char(depth), &best); });
    if (score) *score = v;
    Search.Observer = saved;
    return best;
}

bool PlayLine(ChessBoard* board, const MoveLine& line) {
    for (int i = 0; i < line.length; ++i) {
        const Move m{SquareBit(line.moves[i].move / 64), SquareBit(line.moves[i].move % 64), line.moves[i].promote};
        if (!IsLegal(*board, m)) return false;
        *board = AfterMove(*board, m);
    }
    return true;
}
