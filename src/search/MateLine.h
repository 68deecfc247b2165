// Mating lines shown whole. The search's own line ends where a table
// cut-off or the horizon ended it, often a move or two after the root; a
// line that announces a mate is carried on to the mate itself.
#pragma once

#include "board/ChessBoard.h"
#include "search/SearchReport.h"

// The line from the root position (side to move, castling rights) as far as
// its moves are legal, carried on to the mate that `score` announces: by the
// table's moves, and over the last plies by a search for the shortest mate
// against the longest defence. The result is a legal line; it ends in
// checkmate unless the mate lies beyond what the table and that search
// reach. Neither the table nor the search's state is changed. Under a clock
// the mate search gives up once the search has run `giveUpAtMs` (-1: never),
// so that a line is never worth a lost game.
MoveLine CompleteMatingLine(const ChessBoard& root, char side, char castling, const MoveLine& line, int score,
                            i64 giveUpAtMs = -1);

// The line from the root position as far as its moves are legal there, one after the other
// (a table collision or a stale slot can leave a move that is not).
MoveLine LegalLine(const ChessBoard& root, char side, char castling, const MoveLine& line);
