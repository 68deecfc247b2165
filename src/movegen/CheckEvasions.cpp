// Replies to check: king steps to safe squares, and with a single checker
// the captures of it and the interpositions. Only the king moves are fully
// legal; pinned men are left to the caller's test after making the move.
#include "movegen/GenSupport.h"

namespace {

u64& OwnMen(ChessBoard& b, char side) { return side ? b.BlackPieces : b.WhitePieces; }

} // namespace

// Checkers are counted by kind: two sliders of one kind count once, and the
// moves into their joint mask are then rejected by the caller.
int MoveGen::GenCheckEvasions(char side, ChessBoard* board) {
    Board = board;
    const Status& s = MainStatus;
    const ChessBoard& b = *board;
    const ArmySets enemy = ArmyOf(b, side ^ 1);
    const u64 king = ArmyOf(b, side).king;
    u64 mask = 0;
    int checkers = 0;

    const u64 pawnSquares[2] = {(king & s.FileA) ? 0 : AheadASide(side, king),
                                (king & s.FileH) ? 0 : AheadHSide(side, king)};
    for (u64 sq : pawnSquares) {
        if (sq & enemy.pawns) {
            mask |= sq;
            ++checkers;
        }
    }
    if (u64 knights = b.KnightMask(king) & enemy.knights) {
        mask |= knights;
        ++checkers;
    }
    if (u64 straight = b.RookCheckMask(king, enemy.rooks | enemy.queens)) {
        mask |= straight;
        ++checkers;
    }
    if (u64 diagonal = b.BishopCheckMask(king, enemy.bishops | enemy.queens)) {
        mask |= diagonal;
        ++checkers;
    }

    int index = GenKingEvasions(side, mask, 0);
    if (checkers != 1) return index;
    index = GenKnightEvasions(side, mask, index);
    index = GenRookEvasions(side, mask, index);
    index = GenBishopEvasions(side, mask, index);
    index = GenPawnEvasions(side, mask, ArmyOf(b, side).pawns, enemy.men, index);
    return GenQueenEvasions(side, mask, index);
}

// The king leaves the board while its targets are tested, so that a
// slider's line runs on through the square it stands on.
int MoveGen::GenKingEvasions(char side, u64, int index) {
    ChessBoard& b = *Board;
    for (u64 kings = ArmyOf(b, side).king; kings; kings &= kings - 1) {
        const u64 king = LowestSquare(kings);
        u64 targets = b.KingMask(king) & ~OwnMen(b, side);
        OwnMen(b, side) ^= king;
        b.AllPieces ^= king;
        for (; targets; targets &= targets - 1) {
            u64 to = LowestSquare(targets);
            if (!b.InCheck(to, side)) index = AppendMove(*this, index, king, to, NoPromotion);
        }
        OwnMen(b, side) ^= king;
        b.AllPieces ^= king;
    }
    return index;
}

int MoveGen::GenKnightEvasions(char side, u64 mask, int index) {
    const ArmySets own = ArmyOf(*Board, side);
    return AppendMenMoves<KnightAttacks>(*this, index, own.knights, mask & ~own.men);
}

int MoveGen::GenBishopEvasions(char side, u64 mask, int index) {
    const ArmySets own = ArmyOf(*Board, side);
    return AppendMenMoves<BishopAttacks>(*this, index, own.bishops, mask & ~own.men);
}

int MoveGen::GenRookEvasions(char side, u64 mask, int index) {
    const ArmySets own = ArmyOf(*Board, side);
    return AppendMenMoves<RookAttacks>(*this, index, own.rooks, mask & ~own.men);
}

int MoveGen::GenQueenEvasions(char side, u64 mask, int index) {
    const ArmySets own = ArmyOf(*Board, side);
    return AppendMenMoves<QueenAttacks>(*this, index, own.queens, mask & ~own.men);
}

namespace {

// En passant by the pawns beside the checking pawn, when it is the pawn
// that has just made its double step.
int TakeCheckerEnPassant(MoveGen& list, int index, char side, u64 checker, u64 ownPawns) {
    const ChessBoard& b = *list.Board;
    const Status& s = MainStatus;
    const PawnRanks r = PawnRanksOf(side);
    const u64 enemyPawns = side ? b.WhitePawns : b.BlackPawns;
    if (!(b.LastTo & enemyPawns & r.enPassant) || !(b.LastFrom & r.enemyStart)) return index;
    const u64 beside = (((checker & ~s.FileA) >> 1) | ((checker & ~s.FileH) << 1)) & ownPawns;
    const u64 target = Ahead(side, b.LastTo);
    for (u64 candidates = (checker | beside) & r.enPassant; candidates; candidates &= candidates - 1) {
        u64 pawn = LowestSquare(candidates);
        if (!(b.LastFrom & s.FileA) && pawn == b.LastTo >> 1)
            index = AppendMove(list, index, pawn, target, NoPromotion);
        if (!(b.LastFrom & s.FileH) && pawn == b.LastTo << 1)
            index = AppendMove(list, index, pawn, target, NoPromotion);
    }
    return index;
}

// One move per target square, lowest first; `back` finds the pawn's square.
template <class Back>
int AppendPawnTargets(MoveGen& list, int index, u64 targets, const PawnRanks& r, Back back) {
    for (; targets; targets &= targets - 1) {
        u64 to = LowestSquare(targets);
        index = AppendMove(list, index, back(to), to, PromotionOn(r, to));
    }
    return index;
}

} // namespace

int MoveGen::GenPawnEvasions(char side, u64 mask, u64 ownPawns, u64 enemyMen, int index) {
    const ChessBoard& b = *Board;
    const Status& s = MainStatus;
    const PawnRanks r = PawnRanksOf(side);
    const u64 king = ArmyOf(b, side).king;
    const u64 enemyPawns = side ? b.WhitePawns : b.BlackPawns;
    const u64 empty = ~b.AllPieces;

    if (king & (side ? s.Rank5 : s.Rank4)) {
        if (!(king & s.FileA) && (AheadASide(side, king) & enemyPawns))
            index = TakeCheckerEnPassant(*this, index, side, AheadASide(side, king), ownPawns);
        if (!(king & s.FileH) && (AheadHSide(side, king) & enemyPawns))
            index = TakeCheckerEnPassant(*this, index, side, AheadHSide(side, king), ownPawns);
    }

    const u64 pushes = Ahead(side, ownPawns) & empty & mask;
    index = AppendPawnTargets(*this, index, pushes, r, [side](u64 to) { return Ahead(side ^ 1, to); });

    const u64 doubles = Ahead(side, Ahead(side, ownPawns & r.start) & empty) & empty & mask;
    index = AppendPawnTargets(*this, index, doubles, r, [side](u64 to) { return side ? to << 16 : to >> 16; });

    const u64 aSide = AheadASide(side, ownPawns & ~s.FileA) & enemyMen & mask;
    index = AppendPawnTargets(*this, index, aSide, r, [side](u64 to) { return side ? to << 9 : to >> 7; });

    const u64 hSide = AheadHSide(side, ownPawns & ~s.FileH) & enemyMen & mask;
    return AppendPawnTargets(*this, index, hSide, r, [side](u64 to) { return side ? to << 7 : to >> 9; });
}
