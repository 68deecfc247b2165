// The order in which the engine asks its books.
#include "book/BookChoice.h"

#include "book/OpeningBook.h"
#include "book/PolyglotBook.h"
#include "movegen/MoveGen.h"

bool ChooseBookMove(const ChessBoard& board, char side, char castling, Move* move, void (*beforeBuiltIn)()) {
    if (PolyglotBookMove(board, side, castling, move)) return true;
    if (beforeBuiltIn) beforeBuiltIn();
    const int k = InBook(side, castling, board);
    if (k < 0) return false;
    ChessBoard b = board;
    MoveGen list;
    list.GenerateAllMoves(side, &b, castling);
    *move = list.GetMove(k);
    return true;
}
