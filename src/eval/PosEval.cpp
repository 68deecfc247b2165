// Stand-in evaluation until the evaluation lands.
#include "eval/PositionEvaluate.h"

PositionEvaluate PE;
const ChessBoard* bb;
i32 Phashattempts;
i32 Phashmisses;

int PositionEvaluate::PosEval(char, int, int, const ChessBoard* board) {
    bb = board;
    return 0;
}

int PositionEvaluate::MaterialOnly(char side, const ChessBoard* b) const {
    int m = QueenValue * (b->WhiteQueenCount - b->BlackQueenCount) +
            RookValue * (b->WhiteRookCount - b->BlackRookCount) +
            BishopValue * (b->WhiteBishopCount + b->WhiteKnightCount - b->BlackBishopCount - b->BlackKnightCount) +
            PawnValue * (b->WhitePawnCount - b->BlackPawnCount);
    return side ? -m : m;
}

int PositionEvaluate::SideMaterialValue(char side, const ChessBoard* b) const {
    if (side)
        return RookValue * b->BlackRookCount + QueenValue * b->BlackQueenCount +
               BishopValue * (b->BlackBishopCount + b->BlackKnightCount);
    return RookValue * b->WhiteRookCount + QueenValue * b->WhiteQueenCount +
           BishopValue * (b->WhiteBishopCount + b->WhiteKnightCount);
}

void ClearPawnHash() {}

// Stand-in tables until the evaluation lands.
const int WKnightPost[64] = {};
const int BKnightPost[64] = {};
const int OpenFileControl[8] = {185, 185, 190, 200, 200, 190, 185, 185};
const i16 Majorson7[16] = {0, 350};
const int Passers[8] = {0, 40, 80, 160, 270, 550, 1100, 0};
