// Legal moves by generating, making, testing the mover's king and unmaking.
#include "movegen/LegalMoves.h"

std::vector<Move> LegalMoves(const ChessBoard& board, char side, char castling) {
    ChessBoard position = board;
    MoveGen list;
    const u64 king = side ? position.BlackKing : position.WhiteKing;
    // A set-up position may lack its king: then nothing is in check.
    const int count = king && position.IsAttacked(king, side) ? list.GenCheckEvasions(side, &position)
                                                              : list.GenerateAllMoves(side, &position, castling);
    std::vector<Move> moves;
    for (int i = 0; i < count; ++i) {
        const Move m = list.GetMove(i);
        char mask;
        position.MakeMove(m.from, m.to, m.promote, &mask);
        const u64 kingNow = side ? position.BlackKing : position.WhiteKing;
        const bool legal = !kingNow || !position.IsAttacked(kingNow, side);
        position.UndoMove(0);
        if (legal) moves.push_back(m);
    }
    return moves;
}

std::vector<Move> LegalMoves(const ChessBoard& board) {
    return LegalMoves(board, char(board.SideToMove), char(board.Castling));
}

bool HasLegalMove(const ChessBoard& board) { return !LegalMoves(board).empty(); }

bool IsLegal(const ChessBoard& board, const Move& move) {
    for (const Move& m : LegalMoves(board))
        if (m.from == move.from && m.to == move.to) return true;
    return false;
}
