// Static exchange evaluation: the swap list over the attackers of one square.
#include "search/SEE.h"

#include <cstdio>
#include <cstdlib>

#include "core/Log.h"
#include "core/Status.h"
#include "search/SearchRoutines.h"

SEE see;

SEE::SEE() : board(nullptr) {
    for (int a = 0; a < 64; ++a)
        for (int b = 0; b < 64; ++b) {
            int df = b % 8 - a % 8, dr = b / 8 - a / 8;
            i16 d = 0;
            if (a == b)
                d = 0;
            else if (df == 0)
                d = dr > 0 ? 8 : -8;
            else if (dr == 0)
                d = df > 0 ? 1 : -1;
            else if (df == dr)
                d = dr > 0 ? 9 : -9;
            else if (df == -dr)
                d = dr > 0 ? 7 : -7;
            dir[a][b] = d;
        }
}

u64 SEE::SquareAttacksDefences(u64 target) const {
    const ChessBoard& b = *board;
    const Status& s = MainStatus;
    u64 set = b.RookMask(target) & (b.WhiteRooks | b.BlackRooks | b.WhiteQueens | b.BlackQueens);
    set |= b.BishopMask(target) & (b.WhiteBishops | b.BlackBishops | b.WhiteQueens | b.BlackQueens);
    set |= b.KnightMask(target) & (b.WhiteKnights | b.BlackKnights);
    set |= b.KingMask(target) & (b.WhiteKing | b.BlackKing);
    set |= (((target & ~s.FileA) << 7) | ((target & ~s.FileH) << 9)) & b.BlackPawns;
    set |= (((target & ~s.FileH) >> 7) | ((target & ~s.FileA) >> 9)) & b.WhitePawns;
    return set;
}

int SEE::LVP(char side, u64 set) const {
    const ChessBoard& b = *board;
    const u64 kinds[6] = {
        side ? b.BlackPawns : b.WhitePawns,     side ? b.BlackKnights : b.WhiteKnights,
        side ? b.BlackBishops : b.WhiteBishops, side ? b.BlackRooks : b.WhiteRooks,
        side ? b.BlackQueens : b.WhiteQueens,   side ? b.BlackKing : b.WhiteKing,
    };
    for (u64 kind : kinds)
        if (set & kind) return SquareOf(set & kind);
    return -1;
}

u64 SEE::AddXrayAttacker(u64 attackers, int square, int direction) const {
    const ChessBoard& b = *board;
    u64 sliders;
    switch (direction) {
    case 8:
    case -8:
    case 1:
    case -1: sliders = b.WhiteRooks | b.BlackRooks | b.WhiteQueens | b.BlackQueens; break;
    case 9:
    case -9:
    case 7:
    case -7: sliders = b.WhiteBishops | b.BlackBishops | b.WhiteQueens | b.BlackQueens; break;
    default:
        char text[64];
        std::snprintf(text, sizeof text, "ERROR: dir not in range. dir = %d", direction);
        ReportProblem(text);
        std::exit(0);
    }
    // Steps that change the file stop on the file they would wrap onto.
    const bool towardsH = direction == 1 || direction == 9 || direction == -7;
    const bool towardsA = direction == -1 || direction == 7 || direction == -9;
    int sq = square;
    for (;;) {
        sq += direction;
        if (sq < 0 || sq > 63) return attackers;
        if (towardsH && sq % 8 == 0) return attackers;
        if (towardsA && sq % 8 == 7) return attackers;
        u64 bit = SquareBit(sq);
        if (b.AllPieces & bit) return (sliders & bit) ? attackers ^ bit : attackers;
    }
}

int SEE::StaticExchangeEvaluation(char side, u64 from, u64 to, const ChessBoard* b) {
    board = b;
    const int f = SquareOf(from), t = SquareOf(to);
    u64 attackers = SquareAttacksDefences(to) ^ from;
    // The swap list wraps at 16 bits, so a king enters as 16960.
    i16 gain[40];
    gain[0] = i16(Search.ValueCapturedPiece(side ^ 1, to, b));
    i16 onSquare = i16(Search.ValueCapturedPiece(side, from, b));

    int d = dir[t][f];
    if (d < -9 || d > 9) {
        char text[80];
        ReportProblem("ERROR: Location #1");
        std::snprintf(text, sizeof text, "ERROR: dir > 10: dir = %d to = %d from = %d", d, t, f);
        ReportProblem(text);
        std::exit(0);
    }
    if (d) attackers = AddXrayAttacker(attackers, f, d);

    int next = LVP(side, attackers);
    int k = 0;
    char s = side;
    while (next >= 0 && k + 1 < 40) {
        gain[k + 1] = i16(onSquare - gain[k]);
        s ^= 1;
        u64 bit = SquareBit(next);
        onSquare = i16(Search.ValueCapturedPiece(s, bit, b)); // the recapturer, now the victim
        attackers &= ~bit;
        d = dir[t][next];
        if (d < -9 || d > 9) {
            char text[80];
            ReportProblem("ERROR: Location #2");
            std::snprintf(text, sizeof text, "ERROR: dir > 10: dir = %d to = %d from = %d", d, t, next);
            ReportProblem(text);
        } else if (d) {
            attackers = AddXrayAttacker(attackers, next, d);
        }
        next = LVP(s, attackers);
        ++k;
    }
    for (int j = k; j >= 1; --j)
        if (gain[j] > i16(-gain[j - 1])) gain[j - 1] = i16(-gain[j]);
    return gain[0];
}
