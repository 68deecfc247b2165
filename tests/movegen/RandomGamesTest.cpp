// Random games against the mailbox reference: every pseudo-legal move made on a copy, compared
// square by square and taken back to the identical record; perft counts along the first games.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <tuple>
#include <vector>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "board/HashKeys.h"
#include "movegen/LegalMoves.h"
#include "movegen/PerfT.h"
#include "movegen/ReferenceBoard.h"
#include "support/TestBoards.h"

namespace {

// Every field but the undo copies and CapturedValue, which UndoMove leaves alone.
auto Record(const ChessBoard& b) {
    return std::tie(b.WhitePieces, b.BlackPieces, b.AllPieces, b.WhitePawns, b.WhiteBishops, b.WhiteKnights,
                    b.WhiteRooks, b.WhiteQueens, b.WhiteKing, b.BlackPawns, b.BlackBishops, b.BlackKnights,
                    b.BlackRooks, b.BlackQueens, b.BlackKing, b.PawnKingHash, b.SideToMove, b.Castling, b.LastFrom,
                    b.LastTo, b.MaxDepth, b.FixedDepth, b.FiftyMoveCount, b.BestFrom, b.BestTo, b.BestPromote,
                    b.MatingMaterial, b.WhitePieceCount, b.BlackPieceCount, b.WhiteQueenCount, b.WhiteRookCount,
                    b.WhiteBishopCount, b.WhiteKnightCount, b.WhitePawnCount, b.BlackQueenCount, b.BlackRookCount,
                    b.BlackBishopCount, b.BlackKnightCount, b.BlackPawnCount, b.MaxPly, b.PieceKeyUpper,
                    b.PieceKeyLower);
}

u32 KingEntries(const ChessBoard& b) {
    return u32(LPStable[KingCode * 64 + SquareOf(b.WhiteKing)]) ^
           u32(LPStable[(BlackOffset + KingCode) * 64 + SquareOf(b.BlackKing)]);
}

struct Tally {
    int moves = 0, castles = 0, enPassant = 0, promotions = 0, captures = 0, checks = 0, counted = 0;
};

u64 EngineLeaves(int depth) {
    u64 leaves = 0;
    CaptureStdout([&] { leaves = PerfT(depth).LeafNodes; });
    return leaves;
}

// Makes the move with the promotion letter on a copy of b, checks it against the reference, takes it back.
void CheckMove(const ChessBoard& b, const ReferenceBoard& ref, ReferenceBoard::Move m, char letter, u32 kingStart,
               Tally& tally) {
    const char piece = char(ref.PieceAt(m.from) | 0x20), victim = char(ref.PieceAt(m.to) | 0x20);
    const bool white = b.SideToMove == 0;
    ChessBoard after = b;
    char mask = 0;
    after.MakeMove(SquareBit(m.from), SquareBit(m.to), letter, &mask);
    ReferenceBoard next = ref;
    if (m.promote) m.promote = std::strchr("RBN", letter & ~0x20) ? char(letter & ~0x20) : 'Q';
    next.Play(m);
    std::string expected, made;
    for (int sq = 0; sq < 64; ++sq) {
        expected += next.PieceAt(sq) ? next.PieceAt(sq) : ' ';
        made += after.AllPieces & SquareBit(sq) ? DecodePiece(SquareBit(sq), after) : ' ';
    }
    const std::string move = FenOf(b) + " " + MoveName(SquareBit(m.from), SquareBit(m.to), letter);
    ASSERT_EQ(made, expected) << move;
    int corner = white ? 0 : 56, expectMask = 15;
    if (piece == 'k') expectMask = white ? 12 : 3;
    if (piece == 'r' && m.from == corner + 7) expectMask = white ? 14 : 11;
    if (piece == 'r' && m.from == corner) expectMask = white ? 13 : 7;
    ASSERT_EQ(mask, expectMask) << move;
    ASSERT_EQ(after.FiftyMoveCount, piece == 'p' || victim != ' ' ? 0 : b.FiftyMoveCount + 1) << move;
    ASSERT_TRUE(after.SideToMove == b.SideToMove && after.Castling == b.Castling) << "left to the caller: " << move;
    // The sets must not overlap, and the colour sets must be their unions.
    const u64 w = after.WhitePawns ^ after.WhiteKnights ^ after.WhiteBishops ^ after.WhiteRooks ^ after.WhiteQueens ^
                  after.WhiteKing;
    const u64 k = after.BlackPawns ^ after.BlackKnights ^ after.BlackBishops ^ after.BlackRooks ^ after.BlackQueens ^
                  after.BlackKing;
    ASSERT_TRUE(after.WhitePieces == w && after.BlackPieces == k && after.AllPieces == (w ^ k)) << move;
    ChessBoard counted = after;
    counted.InitPieceCounts();
    ASSERT_EQ(Record(counted), Record(after)) << "per-type counts and the key's men after " << move;
    ASSERT_TRUE(after.WhitePieceCount == PopCount(after.WhitePieces) - 1 &&
                after.BlackPieceCount == PopCount(after.BlackPieces) - 1)
        << move;
    u32 pawns;
    genpawnhashcode(0, after, &pawns);
    ASSERT_EQ(after.PawnKingHash, pawns ^ KingEntries(after) ^ kingStart) << move;
    after.UndoMove(0);
    ASSERT_EQ(Record(b), Record(after)) << "after undoing " << move;

    ++tally.moves;
    tally.castles += piece == 'k' && std::abs(m.to - m.from) == 2;
    tally.enPassant += piece == 'p' && (m.to - m.from) % 8 != 0 && victim == ' ';
    tally.promotions += m.promote != 0;
    tally.captures += victim != ' ';
}

// Moves as sorted from-to codes, promotions marked: the two lists in one form.
template <class M>
std::vector<int> Codes(const std::vector<M>& moves, int (*square)(decltype(M::from)), decltype(M::promote) none) {
    std::vector<int> codes;
    for (const M& m : moves) codes.push_back(square(m.from) * 128 + square(m.to) * 2 + (m.promote != none));
    std::sort(codes.begin(), codes.end());
    return codes;
}

} // namespace

TEST(RandomGames, MovesMadeTakenBackAndCountedAsByTheReference) {
    std::mt19937 rng(2024);
    Tally tally;
    for (const char* fen :
         {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
          "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
          "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - -", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -",
          "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -",
          "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R b KQkq -", "4k3/PPP4p/8/1pP5/5pP1/8/ppp4P/4K3 w - -"})
        for (int game = 0; game < 6; ++game) {
            ChessBoard& b = MainBoard; // perft counts from it
            BoardFromFen(fen);
            b.BestFrom = Sq("a2"), b.BestPromote = 'q', b.MaxPly = 17; // fields MakeMove must leave alone
            ReferenceBoard ref(fen);
            const u32 kingStart = KingEntries(b);
            for (int ply = 0; ply < 70; ++ply) {
                for (const ReferenceBoard::Move& m : ref.PseudoMoves())
                    for (char letter : m.promote ? std::string("QRBNqrbnz") : std::string(1, NoPromotion)) {
                        CheckMove(b, ref, m, letter, kingStart, tally);
                        if (HasFatalFailure()) return;
                    }
                std::vector<ReferenceBoard::Move> legal = ref.LegalMoves();
                ASSERT_EQ(Codes(LegalMoves(b), SquareOf, NoPromotion), Codes(
                                                                           legal, +[](int sq) { return sq; }, char(0)))
                    << "the legal-move module in " << FenOf(b);
                if (game < 2) {
                    ASSERT_EQ(EngineLeaves(1), legal.size()) << FenOf(b);
                    ASSERT_EQ(EngineLeaves(2), ref.Perft(2)) << FenOf(b);
                    ASSERT_EQ(b.Castling, ref.Castling()) << FenOf(b);
                    tally.checks += ref.InCheck();
                    ++tally.counted;
                }
                if (legal.empty()) break;
                const ReferenceBoard::Move m = legal[rng() % legal.size()];
                char mask;
                b.MakeMove(SquareBit(m.from), SquareBit(m.to), m.promote ? 'Q' : NoPromotion, &mask);
                b.Castling &= mask;
                b.SideToMove ^= 1;
                ref.Play(m);
            }
        }
    // The walk must have met the cases the checks are meant for.
    EXPECT_TRUE(tally.moves > 80000 && tally.castles > 100 && tally.enPassant > 10 && tally.promotions > 500 &&
                tally.captures > 5000 && tally.counted > 1000 && tally.checks > 20);
}
