// The move list: the three generation entry points, reading moves out in
// place or best first, and the generator members nothing calls.
#include "movegen/MoveGen.h"

#include <utility>

// The order of the generators is visible in every tie of the ordering
// values, so it must not change.
int MoveGen::GenerateAllMoves(char side, ChessBoard* board, char castling) {
    int index = GenCaptures(side, board);
    index = GenKnights(side, index);
    index = GenBishops(side, index);
    index = GenRooks(side, index);
    index = GenQueens(side, index);
    index = GenCastle(side, index, castling);
    index = GenKings(side, index);
    index = GenPawns(side, index);
    MoveCount = index;
    return index;
}

// Quiet pawn pushes come along with the pawn captures; the quiescence
// ordering gives them no value unless they promote.
int MoveGen::GenerateQuiesceMoves(char side, ChessBoard* board) {
    Board = board;
    int index = GenQueenCaptures(side, 0);
    index = GenRookCaptures(side, index);
    index = GenKnightCaptures(side, index);
    index = GenBishopCaptures(side, index);
    index = GenPawns(side, index);
    return GenKingCaptures(side, index);
}

int MoveGen::GenCaptures(char side, ChessBoard* board) {
    Board = board;
    int index = GenKnightCaptures(side, 0);
    index = GenBishopCaptures(side, index);
    index = GenRookCaptures(side, index);
    index = GenQueenCaptures(side, index);
    index = GenKingCaptures(side, index);
    MoveCount = index;
    return index;
}

int MoveGen::GenNonCaptures(char) { return 0; }
int MoveGen::GenChecks(char) { return 0; }
int MoveGen::GenerateMoves(char) { return 0; }

void MoveGen::GetMove(int i, u64* from, u64* to, char* promote) const {
    *from = From[i];
    *to = To[i];
    *promote = Promote[i];
}

// Only a strictly greater value displaces the best so far, so the earliest
// of equal values comes out first. The quiescence arrays stay in place.
void MoveGen::SelectBest(int i, int count) {
    if (i >= count) return;
    // The highest value first (a loop the compiler turns into vector code), then its first place.
    int top = OrderValue[i];
    for (int j = i + 1; j < count; ++j) top = OrderValue[j] > top ? OrderValue[j] : top;
    int best = i;
    while (OrderValue[best] != top) ++best;
    if (best != i) {
        std::swap(From[i], From[best]);
        std::swap(To[i], To[best]);
        std::swap(Promote[i], Promote[best]);
        std::swap(OrderValue[i], OrderValue[best]);
    }
}

void MoveGen::NextMove(int i, int count, u64* from, u64* to, char* promote) {
    SelectBest(i, count);
    GetMove(i, from, to, promote);
}
