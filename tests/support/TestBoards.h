// Shared set-up for the unit tests: boards, squares and moves by name, evaluation calls.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "board/ChessBoard.h"
#include "eval/PositionEvaluate.h"
#include "movegen/MoveGen.h"

// MainBoard set up from FEN text with every count current (as after a move),
// MatingMaterial set by the draw check, and the pawn-and-king key computed.
ChessBoard BoardFromFen(const char* fen);
// The one-square set of a square name such as "e4".
u64 Sq(const char* name);
std::string FenOf(const ChessBoard& board);
// "e2e4"; a promotion character other than NoPromotion is appended ("b7b8Q").
std::string MoveName(u64 from, u64 to, char promote);
std::vector<std::string> ListOf(const MoveGen& list, int count);
std::vector<std::string> Words(const std::string& text);
// MainBoard after the moves ("e2e4") from the FEN, played as the front ends play them.
ChessBoard After(const char* fen, std::initializer_list<const char*> moves);
// The board after one move as the front ends play it: castling rights kept up, the other side to move.
ChessBoard AfterMove(ChessBoard b, const Move& m);
// The position a PGN text reaches: its FEN tag or the initial position, then each move read as SAN.
ChessBoard ReplayPgn(const std::string& pgn);
std::string TempFile(const std::string& name, const std::string& content);

// A board from FEN as the evaluation sees one: the pawn-and-king key includes the kings.
inline ChessBoard EvalBoard(const char* fen) {
    ChessBoard b = BoardFromFen(fen);
    b.PawnKingHash = PawnKingKey(b);
    return b;
}
constexpr int FullWindow = 110000;

// The board turned upside down with the colours exchanged and the other side to move.
ChessBoard Mirror(const ChessBoard& b);
// Positions every third ply of random legal games from varied starts.
std::vector<ChessBoard> RandomGamePositions();
// The reference positions of tests/data and endings where the rules act, each with either side to move.
std::vector<ChessBoard> EvalSamplePositions();
inline int Evaluate(const ChessBoard& b, char side, int alpha = -FullWindow, int beta = FullWindow) {
    return PE.PosEval(side, alpha, beta, &b);
}

template <class F>
std::string CaptureStdout(F&& call) {
    testing::internal::CaptureStdout();
    call();
    return testing::internal::GetCapturedStdout();
}
