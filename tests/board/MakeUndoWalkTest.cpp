// Random games over positions rich in castling, en passant, promotion and
// captures. Every pseudo-legal move of every position visited is made on
// a copy, checked against a square-by-square reference, and taken back;
// the record must then equal the original in every field.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <vector>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "board/HashKeys.h"
#include "frontend/Status.h"
#include "support/TestBoards.h"

namespace {

struct Move {
    u64 from, to;
    char promote;
};

// Every field but the undo copies and CapturedValue, which UndoMove leaves alone.
std::vector<std::pair<const char*, long long>> Fields(const ChessBoard& b) {
#define F(name) {#name, (long long)b.name}
    return {F(WhitePieces),      F(BlackPieces),      F(AllPieces),        F(WhitePawns),       F(WhiteBishops),
            F(WhiteKnights),     F(WhiteRooks),       F(WhiteQueens),      F(WhiteKing),        F(BlackPawns),
            F(BlackBishops),     F(BlackKnights),     F(BlackRooks),       F(BlackQueens),      F(BlackKing),
            F(PawnKingHash),     F(SideToMove),       F(Castling),         F(LastFrom),         F(LastTo),
            F(MaxDepth),         F(FixedDepth),       F(FiftyMoveCount),   F(BestFrom),         F(BestTo),
            F(BestPromote),      F(MatingMaterial),   F(WhitePieceCount),  F(BlackPieceCount),  F(WhiteQueenCount),
            F(WhiteRookCount),   F(WhiteBishopCount), F(WhiteKnightCount), F(WhitePawnCount),   F(BlackQueenCount),
            F(BlackRookCount),   F(BlackBishopCount), F(BlackKnightCount), F(BlackPawnCount),   F(MaxPly)};
#undef F
}

::testing::AssertionResult SameRecord(const ChessBoard& expected, const ChessBoard& actual) {
    auto e = Fields(expected), a = Fields(actual);
    for (size_t i = 0; i < e.size(); ++i)
        if (e[i].second != a[i].second)
            return ::testing::AssertionFailure()
                   << e[i].first << " is " << a[i].second << ", expected " << e[i].second;
    return ::testing::AssertionSuccess();
}

// The board as 64 letters (' ' for empty), and the move played on it by the rules of chess.
using Squares = std::array<char, 64>;

Squares Letters(const ChessBoard& b) {
    Squares s;
    for (int i = 0; i < 64; ++i) s[i] = b.AllPieces & SquareBit(i) ? DecodePiece(SquareBit(i), b) : ' ';
    return s;
}

struct Reference {
    Squares after;
    int captured; // CapturedValue
    int mask;     // castling mask
    bool resets;  // pawn move or capture
};

Reference Apply(Squares s, const Move& m) {
    int from = SquareOf(m.from), to = SquareOf(m.to);
    char piece = s[from], victim = s[to];
    bool white = piece >= 'A' && piece <= 'Z';
    char upper = char(white ? piece : piece - 'a' + 'A');
    Reference r{s, 0, 15, upper == 'P' || victim != ' '};
    switch (victim == ' ' ? ' ' : victim | 0x20) {
    case 'p': r.captured = PawnValue; break;
    case 'n': case 'b': r.captured = KnightValue; break;
    case 'r': r.captured = RookValue; break;
    case 'q': r.captured = QueenValue; break;
    }
    r.after[to] = piece;
    r.after[from] = ' ';
    if (upper == 'P' && (from - to) % 8 != 0 && victim == ' ') r.after[to + (white ? -8 : 8)] = ' ';
    if (upper == 'P' && (to / 8 == 7 || to / 8 == 0)) {
        char p = char(m.promote | 0x20);
        char made = p == 'n' || p == 'b' || p == 'r' ? p : 'q';
        r.after[to] = char(white ? made - 'a' + 'A' : made);
    }
    if (upper == 'K') {
        r.mask = white ? 12 : 3;
        if (to - from == 2) std::swap(r.after[to + 1], r.after[to - 1]);
        if (from - to == 2) std::swap(r.after[to - 2], r.after[to + 1]);
    }
    if (upper == 'R') {
        if (from == (white ? 7 : 63)) r.mask = white ? 14 : 11;
        if (from == (white ? 0 : 56)) r.mask = white ? 13 : 7;
    }
    return r;
}

// Pseudo-legal moves of the side to move, with all eight promotion letters and one unknown.
std::vector<Move> Moves(const ChessBoard& b) {
    const Status& s = MainStatus;
    bool white = b.SideToMove == 0;
    u64 own = white ? b.WhitePieces : b.BlackPieces, enemy = white ? b.BlackPieces : b.WhitePieces;
    std::vector<Move> moves;
    auto add = [&](u64 from, u64 targets) {
        for (; targets; targets &= targets - 1) {
            u64 to = targets & (0 - targets);
            if (((b.WhitePawns | b.BlackPawns) & from) && (to & (s.Rank1 | s.Rank8)))
                for (char p : {'Q', 'R', 'B', 'N', 'q', 'r', 'b', 'n', 'z'}) moves.push_back({from, to, p});
            else
                moves.push_back({from, to, NoPromotion});
        }
    };
    for (u64 set = own; set; set &= set - 1) {
        u64 sq = set & (0 - set);
        if ((b.WhitePawns | b.BlackPawns) & sq) {
            u64 push = white ? sq << 8 : sq >> 8, targets = push & ~b.AllPieces;
            if (targets && sq & (white ? s.Rank2 : s.Rank7)) targets |= (white ? push << 8 : push >> 8) & ~b.AllPieces;
            u64 left = sq & s.FileA ? 0 : (white ? sq << 7 : sq >> 9);
            u64 right = sq & s.FileH ? 0 : (white ? sq << 9 : sq >> 7);
            targets |= (left | right) & enemy;
            bool doubleStep = (b.LastFrom & (white ? s.Rank7 : s.Rank2)) && (b.LastTo & (white ? s.Rank5 : s.Rank4)) &&
                              ((white ? b.BlackPawns : b.WhitePawns) & b.LastTo);
            if (doubleStep && (sq == b.LastTo << 1 || sq == b.LastTo >> 1))
                targets |= (white ? b.LastTo << 8 : b.LastTo >> 8) & (left | right);
            add(sq, targets);
        } else {
            u64 targets = b.KnightMask(sq & (b.WhiteKnights | b.BlackKnights)) |
                          b.KingMask(sq & (b.WhiteKing | b.BlackKing)) |
                          b.BishopMask(sq & (b.WhiteBishops | b.BlackBishops | b.WhiteQueens | b.BlackQueens)) |
                          b.RookMask(sq & (b.WhiteRooks | b.BlackRooks | b.WhiteQueens | b.BlackQueens));
            add(sq, targets & ~own);
        }
    }
    int base = white ? 0 : 56;
    u64 king = white ? b.WhiteKing : b.BlackKing, rooks = white ? b.WhiteRooks : b.BlackRooks;
    auto safe = [&](int a, int c) {
        for (int i = a; i <= c; ++i)
            if (b.IsAttacked(SquareBit(base + i), b.SideToMove)) return false;
        return true;
    };
    if (king == SquareBit(base + 4)) {
        if (b.Castling & (white ? 1 : 4) && rooks & SquareBit(base + 7) && !(b.AllPieces & (0x60ULL << base)) &&
            safe(4, 6))
            moves.push_back({king, SquareBit(base + 6), NoPromotion});
        if (b.Castling & (white ? 2 : 8) && rooks & SquareBit(base) && !(b.AllPieces & (0x0eULL << base)) &&
            safe(2, 4))
            moves.push_back({king, SquareBit(base + 2), NoPromotion});
    }
    return moves;
}

// What a made move must leave: the reference placement, consistent sets and
// counts, and the pawn-and-king key of the pawns plus the kings' journeys.
void CheckMade(const ChessBoard& before, const ChessBoard& after, const Move& m, char mask, u32 kingPart) {
    Reference r = Apply(Letters(before), m);
    Squares made = Letters(after);
    ASSERT_EQ(std::string(r.after.begin(), r.after.end()), std::string(made.begin(), made.end()))
        << FenOf(before) << " move " << SquareOf(m.from) << "-" << SquareOf(m.to) << " " << m.promote;
    ASSERT_EQ(after.CapturedValue, r.captured) << FenOf(before);
    ASSERT_EQ(mask, r.mask) << FenOf(before);
    ASSERT_EQ(after.FiftyMoveCount, r.resets ? 0 : before.FiftyMoveCount + 1) << FenOf(before);
    ASSERT_EQ(after.LastFrom, m.from);
    ASSERT_EQ(after.LastTo, m.to);
    const u64 white[6] = {after.WhitePawns, after.WhiteKnights, after.WhiteBishops,
                          after.WhiteRooks, after.WhiteQueens,  after.WhiteKing};
    const u64 black[6] = {after.BlackPawns, after.BlackKnights, after.BlackBishops,
                          after.BlackRooks, after.BlackQueens,  after.BlackKing};
    u64 w = 0, bl = 0;
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(w & white[i], 0u);
        ASSERT_EQ(bl & black[i], 0u);
        w |= white[i];
        bl |= black[i];
    }
    ASSERT_EQ(after.WhitePieces, w);
    ASSERT_EQ(after.BlackPieces, bl);
    ASSERT_EQ(w & bl, 0u);
    ASSERT_EQ(after.AllPieces, w | bl);
    ChessBoard counted = after;
    counted.InitPieceCounts();
    ASSERT_TRUE(SameRecord(counted, after)) << "per-type counts after " << FenOf(before);
    ASSERT_EQ(after.WhitePieceCount, PieceSetCount(w) - 1);
    ASSERT_EQ(after.BlackPieceCount, PieceSetCount(bl) - 1);
    u32 pawns;
    genpawnhashcode(0, after, &pawns);
    u32 kings = u32(LPStable[KingCode * 64 + SquareOf(after.WhiteKing)]) ^
                u32(LPStable[(BlackOffset + KingCode) * 64 + SquareOf(after.BlackKing)]);
    ASSERT_EQ(after.PawnKingHash, pawns ^ kings ^ kingPart) << FenOf(before);
}

struct Tally {
    int moves = 0, castles = 0, enPassant = 0, promotions = 0, captures = 0;
};

// Counts the kinds of move checked, so the test knows it met every kind.
void Count(const ChessBoard& b, const Move& m, Tally& tally) {
    bool pawn = (b.WhitePawns | b.BlackPawns) & m.from;
    ++tally.moves;
    tally.castles += ((b.WhiteKing | b.BlackKing) & m.from) && (m.to == m.from << 2 || m.to == m.from >> 2);
    tally.enPassant += pawn && !(b.AllPieces & m.to) &&
                       (m.to == m.from << 7 || m.to == m.from << 9 || m.to == m.from >> 7 || m.to == m.from >> 9);
    tally.promotions += pawn && (m.to & (MainStatus.Rank1 | MainStatus.Rank8));
    tally.captures += (b.AllPieces & m.to) != 0;
}

// Plays one random game from the position, checking every move on the way.
void Walk(const char* fen, std::mt19937& rng, int plies, Tally& tally) {
    ChessBoard b = BoardFromFen(fen);
    b.BestFrom = Sq("a2");
    b.BestPromote = 'q';
    b.MaxPly = 17;
    // Kings are not in genpawnhashcode: MakeMove adds their start and present squares.
    u32 kingPart = u32(LPStable[KingCode * 64 + SquareOf(b.WhiteKing)]) ^
                   u32(LPStable[(BlackOffset + KingCode) * 64 + SquareOf(b.BlackKing)]);
    for (int ply = 0; ply < plies; ++ply) {
        std::vector<Move> legal;
        for (const Move& m : Moves(b)) {
            Count(b, m, tally);
            ChessBoard copy = b;
            char mask = 0;
            copy.MakeMove(m.from, m.to, m.promote, &mask);
            CheckMade(b, copy, m, mask, kingPart);
            if (::testing::Test::HasFatalFailure()) return;
            bool inCheck = copy.InCheck(b.SideToMove ? copy.BlackKing : copy.WhiteKing, b.SideToMove);
            bool kingTaken = m.to & (b.WhiteKing | b.BlackKing);
            copy.UndoMove(0);
            ASSERT_TRUE(SameRecord(b, copy)) << "after undoing a move in " << FenOf(b);
            if (!inCheck && !kingTaken) legal.push_back(m);
        }
        if (legal.empty()) return;
        Move m = legal[rng() % legal.size()];
        char mask;
        b.MakeMove(m.from, m.to, m.promote, &mask);
        b.Castling &= mask;
        b.SideToMove ^= 1;
    }
}

} // namespace

TEST(MakeUndo, EveryMoveOfRandomGamesIsMadeRightAndTakenBackWhole) {
    const char* starts[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -",
        "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R b KQkq -",
        "4k3/PPP4p/8/1pP5/5pP1/8/ppp4P/4K3 w - -",
    };
    std::mt19937 rng(2024);
    Tally tally;
    for (const char* fen : starts)
        for (int game = 0; game < 20; ++game) {
            Walk(fen, rng, 80, tally);
            if (HasFatalFailure()) return;
        }
    std::printf("checked %d moves: %d castling, %d en passant, %d promotions, %d captures\n", tally.moves,
                tally.castles, tally.enPassant, tally.promotions, tally.captures);
    EXPECT_GT(tally.moves, 100000);
    EXPECT_GT(tally.castles, 100);
    EXPECT_GT(tally.enPassant, 30);
    EXPECT_GT(tally.promotions, 500);
    EXPECT_GT(tally.captures, 5000);
}
