// Game-position bookkeeping for the front ends.
#include "frontend/shared/GameRecord.h"

#include "board/HashKeys.h"
#include "core/Status.h"
#include "search/SearchRoutines.h"

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

void ResetGame() {
    Search.ClearHistory();
    MainBoard.InitRep();
    MainStatus.initVars();
    MainStatus.HumanToMove = 1;
    MainStatus.GameInProgress = 1;
    MainBoard.FiftyMoveCount = 0;
    MainBoard.SideToMove = 0;
}

void RefreshPieceCounts(ChessBoard& board) {
    board.InitPieceCounts();
    board.WhitePieceCount = board.WhiteQueenCount + board.WhiteRookCount + board.WhiteBishopCount +
                            board.WhiteKnightCount + board.WhitePawnCount;
    board.BlackPieceCount = board.BlackQueenCount + board.BlackRookCount + board.BlackBishopCount +
                            board.BlackKnightCount + board.BlackPawnCount;
}

GameRecord::Key GameRecord::KeyOf(const ChessBoard& b) const {
    Key k;
    genhashcode(char(b.SideToMove), b.Castling, &k.upper, &k.lower, &b);
    return k;
}

void GameRecord::Start() {
    start = MainBoard;
    moves.clear();
    keys.assign(1, KeyOf(MainBoard));
    result = "*";
}

void GameRecord::Record(const Move& move) {
    moves.push_back(move);
    keys.push_back(KeyOf(MainBoard));
}

// Replays the game without its last move from the start position; the
// settings the board carries (depth limits, the last search's move) stay.
bool GameRecord::Undo() {
    if (moves.empty()) return false;
    moves.pop_back();
    keys.pop_back();
    result = "*";
    ChessBoard& b = MainBoard;
    const ChessBoard now = b;
    b = start;
    b.MaxDepth = now.MaxDepth;
    b.FixedDepth = now.FixedDepth;
    for (const Move& m : moves) {
        PlayGameMove(SquareOf(m.from), SquareOf(m.to), m.promote);
        b.SideToMove ^= 1;
    }
    RefreshPieceCounts(b);
    return true;
}

int GameRecord::Occurrences() const {
    if (keys.empty()) return 0;
    const Key& last = keys.back();
    int n = 0;
    for (const Key& k : keys) n += k.upper == last.upper && k.lower == last.lower;
    return n;
}
