// The board diagram the console, the editor command and the test suites
// show: the board, then (unless the suite only lists boards) its static
// evaluation from White's point of view.
#pragma once

class ChessBoard;

void ShowBoard(const ChessBoard& board);
