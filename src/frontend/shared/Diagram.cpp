// The board diagram with its evaluation line.
#include "frontend/shared/Diagram.h"

#include <cstdio>

#include "board/ChessBoard.h"
#include "core/Status.h"
#include "eval/PositionEvaluate.h"

void ShowBoard(const ChessBoard& board) {
    board.DisplayBoard();
    if (MainStatus.PEV != 1) std::printf("\n PosEval from White view %d\n", PE.PosEval(0, -110000, 110000, &board));
    std::fflush(stdout);
}
