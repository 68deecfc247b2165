// Generators of knight, bishop, rook, queen and king moves, and castling.
#include "core/Log.h"
#include "movegen/GenSupport.h"

namespace {

// As AppendMenMoves, but a missing or extra king is reported first.
int AppendKingMoves(MoveGen& list, int index, u64 kings, u64 targets) {
    if (!kings) {
        ReportProblem("Major Error: There is No king of a given color");
        return index;
    }
    for (bool first = true; kings; kings &= kings - 1, first = false) {
        if (!first) ReportProblem("Major Error: There is more than one king of a given color");
        u64 from = LowestSquare(kings);
        index = AppendTargets(list, index, from, list.Board->KingMask(from) & targets);
    }
    return index;
}

u64 EnemyMen(const ChessBoard& b, char side) { return side ? b.WhitePieces : b.BlackPieces; }

} // namespace

int MoveGen::GenKnights(char side, int index) {
    return AppendMenMoves<KnightAttacks>(*this, index, ArmyOf(*Board, side).knights, ~Board->AllPieces);
}

int MoveGen::GenKnightCaptures(char side, int index) {
    return AppendMenMoves<KnightAttacks>(*this, index, ArmyOf(*Board, side).knights, EnemyMen(*Board, side));
}

int MoveGen::GenBishops(char side, int index) {
    return AppendMenMoves<BishopAttacks>(*this, index, ArmyOf(*Board, side).bishops, ~Board->AllPieces);
}

int MoveGen::GenBishopCaptures(char side, int index) {
    return AppendMenMoves<BishopAttacks>(*this, index, ArmyOf(*Board, side).bishops, EnemyMen(*Board, side));
}

int MoveGen::GenRooks(char side, int index) {
    return AppendMenMoves<RookAttacks>(*this, index, ArmyOf(*Board, side).rooks, ~Board->AllPieces);
}

int MoveGen::GenRookCaptures(char side, int index) {
    return AppendMenMoves<RookAttacks>(*this, index, ArmyOf(*Board, side).rooks, EnemyMen(*Board, side));
}

int MoveGen::GenQueens(char side, int index) {
    return AppendMenMoves<QueenAttacks>(*this, index, ArmyOf(*Board, side).queens, ~Board->AllPieces);
}

int MoveGen::GenQueenCaptures(char side, int index) {
    return AppendMenMoves<QueenAttacks>(*this, index, ArmyOf(*Board, side).queens, EnemyMen(*Board, side));
}

int MoveGen::GenKings(char side, int index) {
    return AppendKingMoves(*this, index, ArmyOf(*Board, side).king, ~Board->AllPieces);
}

int MoveGen::GenKingCaptures(char side, int index) {
    return AppendKingMoves(*this, index, ArmyOf(*Board, side).king, EnemyMen(*Board, side));
}

// The rights say the king has not moved, so its square is not looked at;
// the rook must still stand on its corner (a captured rook leaves the
// right set but unusable).
int MoveGen::GenCastle(char side, int index, char castling) {
    const ChessBoard& b = *Board;
    const int rank = side ? 56 : 0; // black's squares are white's, seven ranks up
    const u64 rooks = ArmyOf(b, side).rooks;
    const char kingSide = side ? 4 : 1, queenSide = side ? 8 : 2;
    auto sq = [rank](int file) { return SquareBit(rank + file); };
    auto safe = [&](int file) { return !b.IsAttacked(sq(file), side); };

    if ((castling & kingSide) && !(b.AllPieces & (sq(5) | sq(6))) && (rooks & sq(7)) && safe(4) && safe(5) && safe(6) &&
        index < MaxMoves) {
        OrderValue[index] = 800;
        index = AppendMove(*this, index, sq(4), sq(6), NoPromotion);
    }
    if ((castling & queenSide) && !(b.AllPieces & (sq(1) | sq(2) | sq(3))) && (rooks & sq(0)) && safe(4) && safe(3) &&
        safe(2) && index < MaxMoves) {
        OrderValue[index] = 800;
        index = AppendMove(*this, index, sq(4), sq(2), NoPromotion);
    }
    return index;
}
