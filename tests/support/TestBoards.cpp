// Global test environment and board helpers.
#include "support/TestBoards.h"

#include <gtest/gtest.h>

#include "board/Fen.h"
#include "board/HashKeys.h"
#include "frontend/Status.h"

namespace {

class VelkorEnvironment : public testing::Environment {
public:
    void SetUp() override {
        MainStatus.initVars();
        MainBoard.InitRep();
        initPStable();
    }
};

testing::Environment* const environment = testing::AddGlobalTestEnvironment(new VelkorEnvironment);

} // namespace

ChessBoard BoardFromFen(const char* fen) {
    MainBoard.FiftyMoveCount = 0;
    SetupBoard(fen);
    ChessBoard& b = MainBoard;
    b.InitPieceCounts();
    b.WhitePieceCount = b.WhiteQueenCount + b.WhiteRookCount + b.WhiteBishopCount + b.WhiteKnightCount + b.WhitePawnCount;
    b.BlackPieceCount = b.BlackQueenCount + b.BlackRookCount + b.BlackBishopCount + b.BlackKnightCount + b.BlackPawnCount;
    b.CheckDraw(0);
    u32 key;
    genpawnhashcode(b.SideToMove, b, &key);
    b.PawnKingHash = key;
    return b;
}

u64 Sq(const char* name) { return SquareBit((name[1] - '1') * 8 + (name[0] - 'a')); }

std::string FenOf(const ChessBoard& board) { return Pos2FenText(board); }
