// The evaluation driver: the order in which the terms are added, the
// blend of middle-game and end-game terms by game phase, the two lazy
// exits, and the attack maps every piece term reads.
#include "eval/EvalDriver.h"
#include "eval/EvalGeometry.h"
#include "eval/EvalTables.h"
#include "eval/PositionEvaluate.h"

using namespace evaldriver;
using namespace evalgeo;

PositionEvaluate PE;
const ChessBoard* bb;

namespace {

constexpr int QueenOnSeventh = 200;

} // namespace

void PositionEvaluate::AttackMasks() {
    const ChessBoard& b = *bb;
    WhitePawnAttackMap = ((b.WhitePawns & ~FileMask[7]) << 9) | ((b.WhitePawns & ~FileMask[0]) << 7);
    BlackPawnAttackMap = ((b.BlackPawns & ~FileMask[7]) >> 7) | ((b.BlackPawns & ~FileMask[0]) >> 9);
    auto each = [](u64 set, auto attacks) {
        u64 map = 0;
        for (; set; set &= set - 1) map |= attacks(set & (0 - set));
        return map;
    };
    auto knight = [&b](u64 sq) { return b.KnightMask(sq); };
    auto bishop = [&b](u64 sq) { return b.BishopMask(sq); };
    auto rook = [&b](u64 sq) { return b.RookMask(sq); };
    auto queen = [&b](u64 sq) { return b.RookMask(sq) | b.BishopMask(sq); };
    WhiteKnightAttackMap = each(b.WhiteKnights, knight);
    BlackKnightAttackMap = each(b.BlackKnights, knight);
    WhiteBishopAttackMap = each(b.WhiteBishops, bishop);
    BlackBishopAttackMap = each(b.BlackBishops, bishop);
    WhiteRookAttackMap = each(b.WhiteRooks, rook);
    BlackRookAttackMap = each(b.BlackRooks, rook);
    WhiteQueenAttackMap = each(b.WhiteQueens, queen);
    BlackQueenAttackMap = each(b.BlackQueens, queen);
    WhiteKingAttackMap = b.KingMask(b.WhiteKing);
    BlackKingAttackMap = b.KingMask(b.BlackKing);
    WhiteAttackMap = WhitePawnAttackMap | WhiteKnightAttackMap | WhiteBishopAttackMap | WhiteRookAttackMap |
                     WhiteQueenAttackMap | WhiteKingAttackMap;
    BlackAttackMap = BlackPawnAttackMap | BlackKnightAttackMap | BlackBishopAttackMap | BlackRookAttackMap |
                     BlackQueenAttackMap | BlackKingAttackMap;
}

void PositionEvaluate::Taper(int* score) {
    *score += evaldriver::Taper(Phase, MiddleGame, EndGame);
    MiddleGame = EndGame = 0;
}

int PositionEvaluate::PosEval(char side, int alpha, int beta, const ChessBoard* board) {
    const ChessBoard& b = *board;
    MiddleGame = EndGame = 0;
    bb = board;

    WhiteKingSquare = SquareOf(b.WhiteKing);
    BlackKingSquare = SquareOf(b.BlackKing);
    WhiteKingFile = b.WhiteKing ? FileMask[WhiteKingSquare & 7] : 0;
    BlackKingFile = b.BlackKing ? FileMask[BlackKingSquare & 7] : 0;

    int material = QueenValue * (b.WhiteQueenCount - b.BlackQueenCount) +
                   RookValue * (b.WhiteRookCount - b.BlackRookCount) +
                   BishopValue * (b.WhiteBishopCount + b.WhiteKnightCount - b.BlackBishopCount - b.BlackKnightCount);
    WhiteNonPawnCount = i8(b.WhiteQueenCount + b.WhiteRookCount + b.WhiteBishopCount + b.WhiteKnightCount);
    BlackNonPawnCount = i8(b.BlackQueenCount + b.BlackRookCount + b.BlackBishopCount + b.BlackKnightCount);

    int shortcut;
    if (!b.WhitePawnCount && !b.BlackPawnCount && PawnlessEnding(side, material, &shortcut)) return shortcut;

    AttackMasks();

    Phase = 24 - (WhiteNonPawnCount + BlackNonPawnCount) - (b.WhiteRookCount + b.BlackRookCount) -
            3 * (b.WhiteQueenCount + b.BlackQueenCount);
    if (Phase < 1) Phase = 1;

    int pawnBalance = b.WhitePawnCount - b.BlackPawnCount;
    int score = material + PawnValue * pawnBalance + (PawnEndingBonus * pawnBalance * Phase) / 24;
    score += PawnEval04(side);
    // Passed pawns weigh more in the ending.
    MiddleGame += 13 * WhitePasserScore / 10 - 13 * BlackPasserScore / 10;
    EndGame += 19 * WhitePasserScore / 10 - 19 * BlackPasserScore / 10;
    score += KingEval(side);
    Taper(&score);

    int men = WhiteNonPawnCount + b.WhitePawnCount + BlackNonPawnCount + b.BlackPawnCount;
    if (men <= 3 && DrawishEnding(side)) return ForSide(side, score / 2);
    int s = ForSide(side, score);
    if (s + FirstLazyMargin < alpha || s - FirstLazyMargin > beta) return s;

    score += RuleofSquare(side);
    // Pawns fixed on the colour of the enemy's only bishop are its targets.
    if (b.BlackBishopCount == 1)
        EndGame -= BishopColourPawn * PopCount(b.WhitePawns & SameColourSquares(b.BlackBishops));
    if (b.WhiteBishopCount == 1)
        EndGame += BishopColourPawn * PopCount(b.BlackPawns & SameColourSquares(b.WhiteBishops));
    int traps = Traps(side);
    MiddleGame += traps;
    EndGame += traps;
    KingSafetyTerms();
    MajorsOnSeventh();
    score += DynamicPieceAdjustments();
    Taper(&score);

    s = ForSide(side, score);
    if (alpha > s + SecondLazyMargin || beta < s - SecondLazyMargin) return s;

    auto centre = [](u64 map) { return PopCount(map & Centre); };
    MiddleGame =
        CentreSquare * (centre(WhiteRookAttackMap) + centre(WhiteBishopAttackMap) + centre(WhiteKnightAttackMap) -
                        centre(BlackKnightAttackMap) - centre(BlackBishopAttackMap) - centre(BlackRookAttackMap));
    score += KnightEval(side);
    score += BishopEval(side);
    score += RookEval(side);
    score += QueenEval(side);
    Taper(&score);

    // A side that can still mate keeps winning chances.
    if (b.MatingMaterial & 1) score += MatingMaterialBonus;
    if (b.MatingMaterial & 32) score -= MatingMaterialBonus;
    score = ScaleEnding(score, material);
    return ForSide(side, score / 10 * 10);
}

// Pawn shields, attacks on the king and pawn storms, each counted only when
// the attacker has the material for a real attack.
void PositionEvaluate::KingSafetyTerms() {
    const ChessBoard& b = *bb;
    bool whiteAttacks = CanAttackKing(WhiteNonPawnCount, b.WhiteQueenCount);
    bool blackAttacks = CanAttackKing(BlackNonPawnCount, b.BlackQueenCount);
    bool oppositeWings = OppositeWings(WhiteKingSquare & 7, BlackKingSquare & 7);
    auto storm = [oppositeWings](int v) { return oppositeWings ? v : v / 2; };

    if (blackAttacks) MiddleGame -= PawnShield(0);
    if (whiteAttacks) MiddleGame += PawnShield(1);
    if (blackAttacks) MiddleGame -= AttackCounts(0);
    if (whiteAttacks) {
        MiddleGame += AttackCounts(1);
        MiddleGame += storm(PawnStorm(0));
    }
    if (blackAttacks) MiddleGame -= storm(PawnStorm(1));
}

// Rooks on the seventh rank against pawns still at home or a king on the
// back rank; a queen joining them adds more.
void PositionEvaluate::MajorsOnSeventh() {
    const ChessBoard& b = *bb;
    u64 whiteSeventh = RankMask[6] | RankMask[7], blackSeventh = RankMask[0] | RankMask[1];
    if ((b.BlackPawns & RankMask[6]) || (b.BlackKing & RankMask[7])) {
        int n = PopCount(b.WhiteRooks & whiteSeventh);
        int v = Majorson7[n < 16 ? n : 15];
        EndGame += v;
        MiddleGame += v >> 1;
        if (b.WhiteQueens & whiteSeventh) EndGame += QueenOnSeventh;
    }
    if ((b.WhitePawns & RankMask[1]) || (b.WhiteKing & RankMask[0])) {
        int n = PopCount(b.BlackRooks & blackSeventh);
        int v = Majorson7[n < 16 ? n : 15];
        EndGame -= v;
        MiddleGame -= v >> 1;
        if (b.BlackQueens & blackSeventh) EndGame -= QueenOnSeventh;
    }
}
