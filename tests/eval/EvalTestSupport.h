// Evaluation test helpers: boards as the search sees them, and one term
// run on its own against a table of positions.
#pragma once

#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>

#include "eval/PositionEvaluate.h"
#include "support/TestBoards.h"

constexpr int FullWindow = 110000;

// A board from FEN with a pawn-and-king key that includes the kings.
inline ChessBoard EvalBoard(const char* fen) {
    ChessBoard b = BoardFromFen(fen);
    b.PawnKingHash = PawnKingKey(b);
    return b;
}

inline int Evaluate(const ChessBoard& b, char side, int alpha = -FullWindow, int beta = FullWindow) {
    return PE.PosEval(side, alpha, beta, &b);
}

// A position, the term's return value and what it leaves in the accumulators (Any: not checked).
constexpr int Any = INT_MIN;
struct TermCase {
    const char* fen;
    int value, middleGame = Any, endGame = Any;
};

// Runs the full evaluation for White, clears the accumulators, then the term alone.
template <class Term> void ExpectTerm(Term term, std::initializer_list<TermCase> cases) {
    static ChessBoard b; // the evaluation keeps a pointer to it
    for (const TermCase& c : cases) {
        b = EvalBoard(c.fen);
        Evaluate(b, 0);
        PE.MiddleGame = PE.EndGame = 0;
        const int value = term();
        EXPECT_EQ(c.value == Any ? Any : value, c.value) << c.fen;
        EXPECT_EQ(c.middleGame == Any ? Any : PE.MiddleGame, c.middleGame) << c.fen;
        EXPECT_EQ(c.endGame == Any ? Any : PE.EndGame, c.endGame) << c.fen;
    }
}
