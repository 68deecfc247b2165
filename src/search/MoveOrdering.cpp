// Ordering keys for the move lists of the search and of quiescence, and
// the history table behind the quiet-move keys.
#include <cstring>

#include "core/Status.h"
#include "eval/EvalGeometry.h"
#include "eval/PositionEvaluate.h"
#include "movegen/MoveGen.h"
#include "search/SearchRoutines.h"

namespace {

// The victim's value for ordering captures.
int CapturedManValue(const ChessBoard& b, char victimSide, u64 sq) {
    static constexpr int Values[] = {0, PawnValue, KnightVictimValue, BishopValue, RookValue, QueenValue, 0};
    return Values[b.KindOn(victimSide, sq) + 1]; // no man, or a king: nothing
}

bool IsQueenPromotion(char promote) { return promote == 'Q' || promote == 'q' || promote == 4 || promote == 10; }

} // namespace

void MoveGen::AssignMoveOrderValues(int count, int ply, u64 opponentKing, int ttMove, char NodeType) {
    const ChessBoard& b = *Board;
    const int kingSquare = opponentKing ? SquareOf(opponentKing) : -1;
    const u64 rookLines = kingSquare < 0 ? 0 : evalgeo::FileMask[kingSquare % 8] | evalgeo::RankMask[kingSquare / 8];
    const PVEntry pvMove = Search.PV[ply][ply];
    const u16 killer1 = Search.Killers[ply][0], killer2 = Search.Killers[ply][1];
    bool pvSeen = false, ttSeen = false, killer1Seen = false, killer2Seen = false;

    for (int i = 0; i < count; ++i) {
        const u64 from = From[i], to = To[i];
        const int code = MoveCode(from, to);
        const char side = (b.WhitePieces & from) ? 0 : 1;
        const char enemy = side ^ 1;

        if (!pvSeen && NodeType != AllNode && code == pvMove.move && Promote[i] == pvMove.promote) {
            pvSeen = true;
            OrderValue[i] = PVMoveValue;
            continue;
        }
        if (!ttSeen && ttMove != 0 && code == ttMove) {
            ttSeen = true;
            OrderValue[i] = TableMoveValue;
            continue;
        }
        if (!killer1Seen && code == killer1) {
            killer1Seen = true;
            OrderValue[i] = FirstKillerValue;
            continue;
        }
        if (!killer2Seen && code == killer2) {
            killer2Seen = true;
            OrderValue[i] = SecondKillerValue;
            continue;
        }

        int value;
        const u64 enemyMen = enemy ? b.BlackPieces : b.WhitePieces;
        if (enemyMen & to) {
            value = CapturedManValue(b, enemy, to);
            const int toSq = SquareOf(to), fromSq = SquareOf(from);
            if (b.IsBishop(side, from)) {
                value -= 12;
            } else if (b.IsKnight(side, from)) {
                value += (side ? BKnightPost : WKnightPost)[toSq] - 10;
            } else if (b.IsRook(side, from)) {
                // The victim itself does not close the file.
                if (!((b.WhitePawns | b.BlackPawns) & evalgeo::FileMask[toSq % 8] & ~to))
                    value += OpenFileControl[toSq % 8];
                if (toSq / 8 == (side ? 1 : 6)) value += Majorson7[1];
                value -= 19;
            } else if (b.IsPawn(side, from)) {
                value -= 3;
                const u64 enemyPawns = side ? b.WhitePawns : b.BlackPawns;
                if (!(evalgeo::PawnSpan(side, toSq) & enemyPawns)) {
                    int toRank = toSq / 8, fromRank = fromSq / 8;
                    if (side) toRank = 7 - toRank, fromRank = 7 - fromRank;
                    value += Passers[toRank] - Passers[fromRank];
                }
            } else if (b.IsQueen(side, from)) {
                value -= 38;
            } else if (b.IsKing(side, from)) {
                value -= KingCaptureMalus;
            }
            value += CaptureBase;
        } else if (IsQueenPromotion(Promote[i])) {
            value = QueenPromotionValue;
        } else if (Promote[i] == NoPromotion) {
            value = Search.History[int(side)][code] >> HistoryShift;
        } else {
            value = OtherPromotionValue;
        }
        if ((to & rookLines) && (b.IsRook(side, from) || b.IsQueen(side, from))) value += RookLineBonus;
        OrderValue[i] = value;
    }
}

void MoveGen::QuiesceAssignMoveOrderValues(int count) {
    const ChessBoard& b = *Board;
    for (int i = 0; i < count; ++i) {
        const u64 from = From[i], to = To[i];
        const char side = (b.WhitePieces & from) ? 0 : 1;
        const char enemy = side ^ 1;
        const u64 enemyMen = enemy ? b.BlackPieces : b.WhitePieces;
        if (!(enemyMen & to)) {
            VictimValue[i] = 0;
            AttackerWeight[i] = 0;
            const u64 lastRank = side ? MainStatus.Rank1 : MainStatus.Rank8;
            OrderValue[i] = (b.IsPawn(side, from) && (to & lastRank)) ? QuiescePromotionValue : 0;
            continue;
        }
        // By piece code, pawn to king; a square without a man of the side counts as a queen's.
        static constexpr int Victim[] = {PawnValue, KnightVictimValue, BishopValue,
                                         RookValue, QueenValue,        QuiesceKingVictim};
        static constexpr int Correction[] = {3, 12, 12, 19, 38, 38};
        static constexpr int Weight[] = {384, 1536, 1536, 2432, 4864, 4864};
        const int attacker = b.KindOn(side, from), kind = attacker < 0 ? QueenCode : attacker;
        const int victim = Victim[b.KindOn(enemy, to)]; // an enemy man stands there
        VictimValue[i] = victim;
        AttackerWeight[i] = Weight[kind];
        OrderValue[i] = victim - Correction[kind] + QuiesceCaptureBase;
    }
}

void SearchRoutines::ClearHistory() {
    HistoryMax = 0;
    std::memset(History, 0, sizeof History);
}

void SearchRoutines::AddHistory(char side, int move, int depth) {
    i32* counters = History[int(side)];
    counters[move] += depth * depth;
    if (counters[move] > HistoryMax) HistoryMax = counters[move];
    if (counters[move] > HistoryLimit) {
        HistoryMax >>= 1;
        for (int i = 0; i < 4096; ++i) counters[i] >>= 1;
    }
}
