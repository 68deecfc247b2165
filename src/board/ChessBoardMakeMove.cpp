// Making a move on the record and taking it back one level.
#include "board/ChessBoard.h"
#include "board/HashKeys.h"
#include "core/Status.h"

namespace {

// References to one colour's sets and counts, so both colours share one code path.
struct Army {
    u64 &pieces, &pawns, &knights, &bishops, &rooks, &queens, &king;
    i32 &pawnCount, &knightCount, &bishopCount, &rookCount, &queenCount;
    int code; // piece-code offset: 0 white, 6 black
};

Army WhiteArmy(ChessBoard& b) {
    return {b.WhitePieces,
            b.WhitePawns,
            b.WhiteKnights,
            b.WhiteBishops,
            b.WhiteRooks,
            b.WhiteQueens,
            b.WhiteKing,
            b.WhitePawnCount,
            b.WhiteKnightCount,
            b.WhiteBishopCount,
            b.WhiteRookCount,
            b.WhiteQueenCount,
            0};
}

Army BlackArmy(ChessBoard& b) {
    return {b.BlackPieces,    b.BlackPawns,      b.BlackKnights,   b.BlackBishops,     b.BlackRooks,
            b.BlackQueens,    b.BlackKing,       b.BlackPawnCount, b.BlackKnightCount, b.BlackBishopCount,
            b.BlackRookCount, b.BlackQueenCount, BlackOffset};
}

inline u32 PawnKingEntry(int code, u64 sq) { return u32(LPStable[code * 64 + SquareOf(sq)]); }

// Keeps the men's part of the key with a set: every square put on or taken
// off a set of the piece code flips that square's entries.
inline void FlipEntries(ChessBoard& b, int code, u64 squares) {
    for (; squares; squares &= squares - 1) {
        const int index = code * 64 + __builtin_ctzll(squares);
        b.PieceKeyUpper ^= UPStable[index];
        b.PieceKeyLower ^= LPStable[index];
    }
}

// Removes the man captured on `to`; a king is never taken off its set.
void Capture(ChessBoard& b, const Army& victim, u64 to) {
    if (victim.pawns & to) {
        victim.pawns ^= to;
        FlipEntries(b, victim.code + PawnCode, to);
        b.PawnKingHash ^= PawnKingEntry(victim.code + PawnCode, to);
        --victim.pawnCount;
        b.CapturedValue = PawnValue;
    } else if (victim.knights & to) {
        victim.knights ^= to;
        FlipEntries(b, victim.code + KnightCode, to);
        --victim.knightCount;
        b.CapturedValue = KnightValue;
    } else if (victim.bishops & to) {
        victim.bishops ^= to;
        FlipEntries(b, victim.code + BishopCode, to);
        --victim.bishopCount;
        b.CapturedValue = BishopValue;
    } else if (victim.rooks & to) {
        victim.rooks ^= to;
        FlipEntries(b, victim.code + RookCode, to);
        --victim.rookCount;
        b.CapturedValue = RookValue;
    } else if (victim.queens & to) {
        victim.queens ^= to;
        FlipEntries(b, victim.code + QueenCode, to);
        --victim.queenCount;
        b.CapturedValue = QueenValue;
    }
    b.FiftyMoveCount = 0;
    victim.pieces &= ~to;
}

// Takes the enemy pawn off if this pawn move is an en-passant capture of
// the double step made just before.
void EnPassant(ChessBoard& b, const Army& enemy, bool white, u64 from, u64 to) {
    const Status& s = MainStatus;
    u64 prevFrom = b.Old.LastFrom, prevTo = b.Old.LastTo;
    bool candidate = white ? (from & s.Rank5) && (prevFrom & s.Rank7) && (prevTo & s.Rank5)
                           : (from & s.Rank4) && (prevFrom & s.Rank2) && (prevTo & s.Rank4);
    u64 enemyPawns = white ? b.Old.BlackPawns : b.Old.WhitePawns;
    u64 enemyMen = white ? b.Old.BlackPieces : b.Old.WhitePieces;
    if (!candidate || !(enemyPawns & prevTo) || (enemyMen & to)) return;
    bool fromRight = !(from & s.FileA) && from == prevTo << 1 && to == (white ? from << 7 : from >> 9);
    bool fromLeft = !(from & s.FileH) && from == prevTo >> 1 && to == (white ? from << 9 : from >> 7);
    if (fromRight || fromLeft) {
        FlipEntries(b, enemy.code + PawnCode, enemy.pawns & prevTo);
        enemy.pawns &= ~prevTo;
        enemy.pieces &= ~prevTo;
        b.PawnKingHash ^= PawnKingEntry(enemy.code + PawnCode, prevTo);
        --enemy.pawnCount;
    }
}

// Replaces the pawn that reached the last rank; an unknown letter gives a queen.
void PromotePawn(ChessBoard& b, const Army& army, u64 to, char promote) {
    b.PawnKingHash ^= PawnKingEntry(army.code + PawnCode, to);
    army.pawns ^= to;
    FlipEntries(b, army.code + PawnCode, to);
    --army.pawnCount;
    int code = QueenCode;
    switch (promote) {
    case 'B':
    case 'b':
        army.bishops ^= to;
        ++army.bishopCount;
        code = BishopCode;
        break;
    case 'N':
    case 'n':
        army.knights ^= to;
        ++army.knightCount;
        code = KnightCode;
        break;
    case 'R':
    case 'r':
        army.rooks ^= to;
        ++army.rookCount;
        code = RookCode;
        break;
    default:
        army.queens ^= to;
        ++army.queenCount;
        break;
    }
    FlipEntries(b, army.code + code, to);
}

void MoveMan(ChessBoard& b, const Army& army, const Army& enemy, bool white, u64 from, u64 to, char promote,
             char* mask) {
    const Status& s = MainStatus;
    army.pieces = (army.pieces & ~from) | to;
    u64 move = from | to;
    if (army.pawns & from) {
        EnPassant(b, enemy, white, from, to);
        army.pawns ^= move;
        FlipEntries(b, army.code + PawnCode, move);
        b.PawnKingHash ^= PawnKingEntry(army.code + PawnCode, from) ^ PawnKingEntry(army.code + PawnCode, to);
        b.FiftyMoveCount = 0;
        if (to & (white ? s.Rank8 : s.Rank1)) PromotePawn(b, army, to, promote);
    } else if (army.bishops & from) {
        army.bishops ^= move;
        FlipEntries(b, army.code + BishopCode, move);
    } else if (army.knights & from) {
        army.knights ^= move;
        FlipEntries(b, army.code + KnightCode, move);
    } else if (army.rooks & from) {
        army.rooks ^= move;
        FlipEntries(b, army.code + RookCode, move);
        *mask = char(CastlingKept(white ? 0 : 1, RookCode, SquareOf(from)));
    } else if (army.queens & from) {
        army.queens ^= move;
        FlipEntries(b, army.code + QueenCode, move);
    } else if (army.king & from) {
        army.king ^= move;
        FlipEntries(b, army.code + KingCode, move);
        b.PawnKingHash ^= PawnKingEntry(army.code + KingCode, from) ^ PawnKingEntry(army.code + KingCode, to);
        *mask = char(CastlingKept(white ? 0 : 1, KingCode, SquareOf(from)));
        int shift = white ? 0 : 56; // castling squares of black are white's, eight ranks up
        const u64 rooksBefore = army.rooks;
        if (from == SquareBit(4 + shift) && to == SquareBit(6 + shift)) {
            army.rooks ^= SquareBit(7 + shift);
            army.rooks |= SquareBit(5 + shift);
        } else if (from == SquareBit(4 + shift) && to == SquareBit(2 + shift)) {
            army.rooks ^= SquareBit(0 + shift);
            army.rooks |= SquareBit(3 + shift);
        }
        FlipEntries(b, army.code + RookCode, rooksBefore ^ army.rooks);
    }
}

} // namespace

void ChessBoard::MakeMove(u64 from, u64 to, char promote, char* castleMask) {
    Old = *this;

    LastFrom = from;
    LastTo = to;
    *castleMask = 15;
    ++FiftyMoveCount;
    CapturedValue = 0;

    if (to & WhitePieces)
        Capture(*this, WhiteArmy(*this), to);
    else if (to & BlackPieces)
        Capture(*this, BlackArmy(*this), to);

    if (from & WhitePieces)
        MoveMan(*this, WhiteArmy(*this), BlackArmy(*this), true, from, to, promote, castleMask);
    else if (from & BlackPieces)
        MoveMan(*this, BlackArmy(*this), WhiteArmy(*this), false, from, to, promote, castleMask);

    WhitePieces = WhitePawns | WhiteBishops | WhiteKnights | WhiteRooks | WhiteQueens | WhiteKing;
    BlackPieces = BlackPawns | BlackBishops | BlackKnights | BlackRooks | BlackQueens | BlackKing;
    AllPieces = WhitePieces | BlackPieces;
    WhitePieceCount = WhiteQueenCount + WhiteRookCount + WhiteBishopCount + WhiteKnightCount + WhitePawnCount;
    BlackPieceCount = BlackQueenCount + BlackRookCount + BlackBishopCount + BlackKnightCount + BlackPawnCount;
}

void ChessBoard::UndoMove(int) { static_cast<BoardState&>(*this) = Old; }
