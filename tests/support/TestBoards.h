// Shared set-up for the unit tests.
#pragma once

#include <string>

#include "board/ChessBoard.h"

// MainBoard set up from FEN text with every count current (as after a move),
// MatingMaterial set by the draw check, and the pawn-and-king key computed.
ChessBoard BoardFromFen(const char* fen);
// The one-square set of a square name such as "e4".
u64 Sq(const char* name);
// The board's text as the FEN writer gives it.
std::string FenOf(const ChessBoard& board);
// Captures what a call prints on standard output.
template <class F> std::string CaptureStdout(F&& call);

#include <gtest/gtest.h>
template <class F> std::string CaptureStdout(F&& call) {
    testing::internal::CaptureStdout();
    call();
    return testing::internal::GetCapturedStdout();
}
