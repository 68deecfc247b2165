// The number of legal moves, as perft counts them at its last ply: the
// moves the generators give that do not leave the king attacked. In an
// ordinary position not in check it is counted from the target sets, pins
// taken into account, without making the moves; en passant and castling,
// and every other position, are made and tested one by one.
#include "core/Geometry.h"
#include "movegen/GenSupport.h"

namespace {

// Makes the move on a copy and asks whether the king is left attacked.
bool LegalByMaking(ChessBoard board, char side, u64 from, u64 to, char promote) {
    char mask;
    board.MakeMove(from, to, promote, &mask);
    return !board.InCheck(side ? board.BlackKing : board.WhiteKing, side);
}

int CountByMaking(char side, ChessBoard& board, char castling) {
    MoveGen list;
    const u64 king = side ? board.BlackKing : board.WhiteKing;
    const int count =
        board.InCheck(king, side) ? list.GenCheckEvasions(side, &board) : list.GenerateAllMoves(side, &board, castling);
    int legal = 0;
    for (int i = 0; i < count; ++i) legal += LegalByMaking(board, side, list.From[i], list.To[i], list.Promote[i]);
    return legal;
}

// One king a side, every square holding one man, the colour sets their
// unions, and neither king attacked: then a move is illegal only when it
// walks the king into an attack or takes a pinned man off its line.
bool Ordinary(const ChessBoard& b) {
    const u64 white[6] = {b.WhitePawns, b.WhiteKnights, b.WhiteBishops, b.WhiteRooks, b.WhiteQueens, b.WhiteKing};
    const u64 black[6] = {b.BlackPawns, b.BlackKnights, b.BlackBishops, b.BlackRooks, b.BlackQueens, b.BlackKing};
    u64 w = 0, k = 0;
    int men = 0;
    for (int i = 0; i < 6; ++i) {
        w |= white[i], k |= black[i];
        men += PopCount(white[i]) + PopCount(black[i]);
    }
    return w == b.WhitePieces && k == b.BlackPieces && (w | k) == b.AllPieces && men == PopCount(b.AllPieces) &&
           PopCount(b.WhiteKing) == 1 && PopCount(b.BlackKing) == 1 && !b.IsAttacked(b.WhiteKing, 0) &&
           !b.IsAttacked(b.BlackKing, 1);
}

// Is the square attacked by the men of `enemy` over the given occupancy?
bool AttackedBy(const ArmySets& enemy, char side, int square, u64 occupied) {
    const u64 sq = SquareBit(square);
    const u64 pawnSquares =
        AheadASide(side, sq & ~geometry::FileMask[0]) | AheadHSide(side, sq & ~geometry::FileMask[7]);
    return (pawnSquares & enemy.pawns) || (attacks::Knight(square) & enemy.knights) ||
           (attacks::King(square) & enemy.king) ||
           (attacks::Bishop(square, occupied) & (enemy.bishops | enemy.queens)) ||
           (attacks::Rook(square, occupied) & (enemy.rooks | enemy.queens));
}

// Own men alone between the king and an enemy slider on its line.
u64 PinnedMen(const ArmySets& own, const ArmySets& enemy, int king, u64 occupied) {
    const u64 snipers = (attacks::Rook(king, 0) & (enemy.rooks | enemy.queens)) |
                        (attacks::Bishop(king, 0) & (enemy.bishops | enemy.queens));
    u64 pinned = 0;
    for (u64 set = snipers; set; set &= set - 1) {
        const u64 between = attacks::Between(king, __builtin_ctzll(set)) & occupied;
        if (between && !(between & (between - 1)) && (between & own.men)) pinned |= between;
    }
    return pinned;
}

// Moves of one kind of piece to squares not holding own men; a pinned one keeps to its line.
template <u64 (*Attacks)(int, u64)>
int CountMenMoves(u64 men, u64 pinned, int king, u64 own, u64 occupied) {
    int n = 0;
    for (; men; men &= men - 1) {
        const int from = __builtin_ctzll(men);
        u64 targets = Attacks(from, occupied) & ~own;
        if (pinned & SquareBit(from)) targets &= attacks::Line(king, from);
        n += PopCount(targets);
    }
    return n;
}

u64 KnightTargets(int square, u64) { return attacks::Knight(square); }

// Pushes, double steps and captures as GenPawns makes them (promotions to a
// queen only); en passant is made and tested.
int CountPawnMoves(ChessBoard& b, char side, const ArmySets& own, u64 enemyMen, u64 pinned, int king) {
    const PawnRanks r = PawnRanksOf(side);
    const u64 empty = ~b.AllPieces;
    // The moves of the pawns that land inside `allowed`.
    auto count = [&](u64 pawns, u64 allowed) {
        const u64 pushes = Ahead(side, pawns) & empty;
        return PopCount(pushes & allowed) + PopCount(Ahead(side, pushes & Ahead(side, r.start)) & empty & allowed) +
               PopCount(AheadASide(side, pawns & ~geometry::FileMask[0]) & enemyMen & allowed) +
               PopCount(AheadHSide(side, pawns & ~geometry::FileMask[7]) & enemyMen & allowed);
    };
    int n = count(own.pawns & ~pinned, ~u64(0));
    for (u64 set = own.pawns & pinned; set; set &= set - 1)
        n += count(set & (0 - set), attacks::Line(king, __builtin_ctzll(set)));
    const u64 enemyPawns = side ? b.WhitePawns : b.BlackPawns;
    if ((b.LastTo & enemyPawns & r.enPassant) && (b.LastFrom & r.enemyStart)) {
        const u64 target = Ahead(side, b.LastTo);
        const u64 left = (b.LastFrom & geometry::FileMask[0]) ? 0 : b.LastTo >> 1;
        const u64 right = (b.LastFrom & geometry::FileMask[7]) ? 0 : b.LastTo << 1;
        for (u64 pawn : {left, right})
            if (pawn & own.pawns & r.enPassant) n += LegalByMaking(b, side, pawn, target, NoPromotion);
    }
    return n;
}

} // namespace

int CountLegalMoves(char side, ChessBoard& board, char castling) {
    if (!Ordinary(board)) return CountByMaking(side, board, castling);
    const ArmySets own = ArmyOf(board, side), enemy = ArmyOf(board, side ^ 1);
    const int king = __builtin_ctzll(own.king);
    const u64 occupied = board.AllPieces;
    const u64 pinned = PinnedMen(own, enemy, king, occupied);

    int n = CountMenMoves<KnightTargets>(own.knights & ~pinned, 0, king, own.men, occupied);
    n += CountMenMoves<attacks::Bishop>(own.bishops, pinned, king, own.men, occupied);
    n += CountMenMoves<attacks::Rook>(own.rooks, pinned, king, own.men, occupied);
    n += CountMenMoves<attacks::Queen>(own.queens, pinned, king, own.men, occupied);
    n += CountPawnMoves(board, side, own, enemy.men, pinned, king);
    // The king leaves its square, so a slider's line runs on through it.
    for (u64 targets = attacks::King(king) & ~own.men; targets; targets &= targets - 1)
        n += !AttackedBy(enemy, side, __builtin_ctzll(targets), occupied ^ own.king);
    MoveGen castles;
    castles.Board = &board;
    const int count = castles.GenCastle(side, 0, castling);
    for (int i = 0; i < count; ++i) n += LegalByMaking(board, side, castles.From[i], castles.To[i], NoPromotion);
    return n;
}
