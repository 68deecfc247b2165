// Game-position bookkeeping for the front ends.
#include "frontend/GameRecord.h"

#include "board/HashKeys.h"
#include "movegen/MoveGen.h"

GameRecord Game;

int SquareFromText(const char* text) {
    if (!text[0]) return -1;
    int file = text[0] - 'a';
    int rank = 0;
    // Capped so that a long digit run cannot overflow; it is off the board anyway.
    for (const char* p = text + 1; *p >= '0' && *p <= '9' && rank < 1000; ++p) rank = rank * 10 + (*p - '0');
    int square = file + 8 * (rank - 1);
    return square >= 0 && square < 64 ? square : -1;
}

u8 CastlingAfterMoveFrom(u8 castling, int fromIndex) {
    switch (fromIndex) {
    case 4: return castling & 12;  // e1
    case 7: return castling & 14;  // h1
    case 0: return castling & 13;  // a1
    case 60: return castling & 3;  // e8
    case 63: return castling & 11; // h8
    case 56: return castling & 7;  // a8
    default: return castling;
    }
}

void PlayGameMove(int fromIndex, int toIndex, char promote) {
    MainBoard.Castling = CastlingAfterMoveFrom(MainBoard.Castling, fromIndex);
    char mask; // rights are kept by from-square above, not by the mask
    MainBoard.MakeMove(SquareBit(fromIndex), SquareBit(toIndex), promote, &mask);
}

void RefreshPieceCounts(ChessBoard& board) {
    board.InitPieceCounts();
    board.WhitePieceCount = board.WhiteQueenCount + board.WhiteRookCount + board.WhiteBishopCount +
                            board.WhiteKnightCount + board.WhitePawnCount;
    board.BlackPieceCount = board.BlackQueenCount + board.BlackRookCount + board.BlackBishopCount +
                            board.BlackKnightCount + board.BlackPawnCount;
}

bool HasLegalMove(const ChessBoard& board) {
    ChessBoard position = board;
    char side = char(position.SideToMove);
    MoveGen moves;
    int count = moves.GenerateAllMoves(side, &position, char(position.Castling));
    for (int i = 0; i < count; ++i) {
        u64 from, to;
        char promote, mask;
        moves.GetMove(i, &from, &to, &promote);
        position.MakeMove(from, to, promote, &mask);
        u64 king = side ? position.BlackKing : position.WhiteKing;
        bool legal = !king || !position.IsAttacked(king, side); // a set-up position may lack its king
        position.UndoMove(0);
        if (legal) return true;
    }
    return false;
}

void GameRecord::Start() {
    keys.clear();
    Record();
}

void GameRecord::Record() {
    Key k;
    genhashcode(char(MainBoard.SideToMove), MainBoard.Castling, &k.upper, &k.lower, &MainBoard);
    keys.push_back(k);
}

int GameRecord::Occurrences() const {
    if (keys.empty()) return 0;
    const Key& last = keys.back();
    int n = 0;
    for (const Key& k : keys) n += k.upper == last.upper && k.lower == last.lower;
    return n;
}
