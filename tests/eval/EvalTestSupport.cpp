// Boards for the evaluation tests.
#include "eval/EvalTestSupport.h"

#include <algorithm>
#include <vector>

#include "eval/PositionEvaluate.h"
#include "frontend/Status.h"
#include "support/TestBoards.h"

namespace {

void RefreshDerived(ChessBoard& b) {
    b.WhitePieces = b.WhitePawns | b.WhiteKnights | b.WhiteBishops | b.WhiteRooks | b.WhiteQueens | b.WhiteKing;
    b.BlackPieces = b.BlackPawns | b.BlackKnights | b.BlackBishops | b.BlackRooks | b.BlackQueens | b.BlackKing;
    b.AllPieces = b.WhitePieces | b.BlackPieces;
    b.InitPieceCounts();
    b.WhitePieceCount = b.WhiteQueenCount + b.WhiteRookCount + b.WhiteBishopCount + b.WhiteKnightCount + b.WhitePawnCount;
    b.BlackPieceCount = b.BlackQueenCount + b.BlackRookCount + b.BlackBishopCount + b.BlackKnightCount + b.BlackPawnCount;
    b.PawnKingHash = PawnKingKey(b);
    b.CheckDraw(0);
}

struct Move {
    u64 from, to;
    char promote;
};

u64 Flip(u64 b) { return __builtin_bswap64(b); }

// Pseudo-legal moves of the side to move (no castling or en passant, which
// the symmetry tests do not need); legality is checked after making them.
std::vector<Move> Candidates(const ChessBoard& b) {
    const Status& s = MainStatus;
    bool white = b.SideToMove == 0;
    u64 own = white ? b.WhitePieces : b.BlackPieces, enemy = white ? b.BlackPieces : b.WhitePieces;
    u64 empty = ~b.AllPieces;
    std::vector<Move> moves;
    auto targets = [&](u64 set, auto mask) {
        for (; set; set &= set - 1) {
            u64 from = set & (0 - set);
            for (u64 t = mask(from) & ~own; t; t &= t - 1) moves.push_back({from, t & (0 - t), NoPromotion});
        }
    };
    targets(white ? b.WhiteKnights : b.BlackKnights, [&](u64 sq) { return b.KnightMask(sq); });
    targets(white ? b.WhiteBishops : b.BlackBishops, [&](u64 sq) { return b.BishopMask(sq); });
    targets(white ? b.WhiteRooks : b.BlackRooks, [&](u64 sq) { return b.RookMask(sq); });
    targets(white ? b.WhiteQueens : b.BlackQueens, [&](u64 sq) { return b.RookMask(sq) | b.BishopMask(sq); });
    targets(white ? b.WhiteKing : b.BlackKing, [&](u64 sq) { return b.KingMask(sq); });

    u64 lastRank = white ? s.Rank8 : s.Rank1;
    auto pawnMove = [&](u64 from, u64 to) {
        if (!(to & lastRank)) return moves.push_back({from, to, NoPromotion});
        for (char p : {'Q', 'N'}) moves.push_back({from, to, p});
    };
    for (u64 set = white ? b.WhitePawns : b.BlackPawns; set; set &= set - 1) {
        u64 from = set & (0 - set);
        u64 one = white ? from << 8 : from >> 8, two = white ? one << 8 : one >> 8;
        if (one & empty) pawnMove(from, one);
        if ((one & empty) && (two & empty) && (from & (white ? s.Rank2 : s.Rank7))) pawnMove(from, two);
        u64 left = from & s.FileA ? 0 : (white ? from << 7 : from >> 9);
        u64 right = from & s.FileH ? 0 : (white ? from << 9 : from >> 7);
        for (u64 to : {left, right})
            if (to & enemy) pawnMove(from, to);
    }
    return moves;
}

} // namespace

ChessBoard EvalBoard(const char* fen) {
    ChessBoard b = BoardFromFen(fen);
    b.PawnKingHash = PawnKingKey(b);
    return b;
}

int Evaluate(const ChessBoard& board, char side, int alpha, int beta) { return PE.PosEval(side, alpha, beta, &board); }

int Evaluate(const char* fen) {
    static ChessBoard b;
    b = EvalBoard(fen);
    return Evaluate(b, char(b.SideToMove));
}

void PrimeTerms(const ChessBoard& board, char side) {
    PE.PosEval(side, -FullWindow, FullWindow, &board);
    PE.MiddleGame = PE.EndGame = 0;
}

ChessBoard Mirror(const ChessBoard& b) {
    ChessBoard m = b;
    m.WhitePawns = Flip(b.BlackPawns), m.BlackPawns = Flip(b.WhitePawns);
    m.WhiteKnights = Flip(b.BlackKnights), m.BlackKnights = Flip(b.WhiteKnights);
    m.WhiteBishops = Flip(b.BlackBishops), m.BlackBishops = Flip(b.WhiteBishops);
    m.WhiteRooks = Flip(b.BlackRooks), m.BlackRooks = Flip(b.WhiteRooks);
    m.WhiteQueens = Flip(b.BlackQueens), m.BlackQueens = Flip(b.WhiteQueens);
    m.WhiteKing = Flip(b.BlackKing), m.BlackKing = Flip(b.WhiteKing);
    m.SideToMove = u8(b.SideToMove ^ 1);
    m.Castling = u8(((b.Castling & 3) << 2) | ((b.Castling >> 2) & 3));
    m.LastFrom = Flip(b.LastFrom), m.LastTo = Flip(b.LastTo);
    RefreshDerived(m);
    return m;
}

bool PlayRandomMove(ChessBoard& b, std::mt19937& rng) {
    std::vector<Move> moves = Candidates(b);
    std::shuffle(moves.begin(), moves.end(), rng);
    char side = char(b.SideToMove);
    for (const Move& m : moves) {
        ChessBoard next = b;
        char mask = 15;
        next.MakeMove(m.from, m.to, m.promote, &mask);
        if (next.InCheck(side ? next.BlackKing : next.WhiteKing, side)) continue;
        next.SideToMove = u8(side ^ 1);
        next.Castling &= u8(mask);
        next.CheckDraw(0);
        b = next;
        return true;
    }
    return false;
}
