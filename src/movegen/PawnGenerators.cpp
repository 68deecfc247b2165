// Pawn moves: pushes, double steps, captures, promotions and en passant.
#include "movegen/GenSupport.h"

// En passant is read from the last move on the board (a double step of
// an enemy pawn), never from position text.
int MoveGen::GenPawns(char side, int index) {
    const ChessBoard& b = *Board;
    const Status& s = MainStatus;
    const PawnRanks r = PawnRanksOf(side);
    const u64 empty = ~b.AllPieces;
    const u64 enemy = side ? b.WhitePieces : b.BlackPieces;
    const u64 enemyPawns = side ? b.WhitePawns : b.BlackPawns;
    const bool doubleStep = (b.LastTo & enemyPawns & r.enPassant) && (b.LastFrom & r.enemyStart);

    for (u64 pawns = ArmyOf(b, side).pawns; pawns; pawns &= pawns - 1) {
        const u64 pawn = LowestSquare(pawns);
        const u64 ahead = Ahead(side, pawn);
        if ((pawn & r.start) && (ahead & empty) && (Ahead(side, ahead) & empty))
            index = AppendMove(*this, index, pawn, Ahead(side, ahead), NoPromotion);
        if (ahead & empty) index = AppendMove(*this, index, pawn, ahead, PromotionOn(r, ahead));
        if (!(pawn & s.FileA)) {
            u64 to = AheadASide(side, pawn);
            if (to & enemy) index = AppendMove(*this, index, pawn, to, PromotionOn(r, to));
        }
        if (!(pawn & s.FileH)) {
            u64 to = AheadHSide(side, pawn);
            if (to & enemy) index = AppendMove(*this, index, pawn, to, PromotionOn(r, to));
        }
        if ((pawn & r.enPassant) && doubleStep) {
            const u64 target = Ahead(side, b.LastTo);
            if (!(b.LastFrom & s.FileA) && pawn == b.LastTo >> 1)
                index = AppendMove(*this, index, pawn, target, NoPromotion);
            if (!(b.LastFrom & s.FileH) && pawn == b.LastTo << 1)
                index = AppendMove(*this, index, pawn, target, NoPromotion);
        }
    }
    return index;
}

int MoveGen::GenEnPassant(char, int index) { return index; }

// Captures taken set-wise, towards the h-file first; no promotion letter.
int MoveGen::GenPawnCaptures(char side, int index) {
    const ChessBoard& b = *Board;
    const Status& s = MainStatus;
    const u64 pawns = ArmyOf(b, side).pawns;
    const u64 enemy = side ? b.WhitePieces : b.BlackPieces;
    for (u64 to = AheadHSide(side, pawns & ~s.FileH) & enemy; to; to &= to - 1) {
        u64 target = LowestSquare(to);
        index = AppendMove(*this, index, side ? target << 7 : target >> 9, target, NoPromotion);
    }
    for (u64 to = AheadASide(side, pawns & ~s.FileA) & enemy; to; to &= to - 1) {
        u64 target = LowestSquare(to);
        index = AppendMove(*this, index, side ? target << 9 : target >> 7, target, NoPromotion);
    }
    return index;
}
