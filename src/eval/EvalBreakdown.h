// The static evaluation taken apart into groups of terms, each with
// White's share and Black's, for a person who wonders why the engine likes
// a position. The shares and the rows that no side owns add up exactly to
// what PosEval returns.
#pragma once

#include <array>

#include "board/ChessBoard.h"

// Groups of terms, in the order a table lists them.
enum class EvalGroup {
    Material,      // pieces, pawns (worth more as pieces leave), the bishop pair
    PieceSquares,  // placement tables of pawns, knights, bishops and kings
    Mobility,      // safe squares of knights, bishops, rooks and queens
    CentreControl, // pawns on d4, e4, d5, e5 and pieces attacking those squares
    PawnStructure, // isolated, backward, doubled and advanced pawns; pawns on the enemy bishop's colour
    PassedPawns,   // passers and candidates, the kings' distance to them, escorts, pawn races
    KingSafety,    // each side's own king: its shield, the attackers near it, the pawns storming it
    PiecePlay,     // outposts, fianchetto, rooks on open files, behind passers and on the seventh, queen retreats
    TrappedPieces, // knights and bishops caught in a corner, rooks shut in by their own king
    MatingChances, // enough material left to mate
    EndgameRules,  // lone minor against pawns, a minor more without pawns, the drive against a bare king
};
constexpr int EvalGroupCount = 11;

// The name of a group as a table shows it.
const char* EvalGroupName(EvalGroup group);

// Where the evaluation ended.
enum class EvalExit {
    Full,
    PawnlessEnding, // no pawns and no winning edge: the kings and a part of the material decide
    DrawishEnding,  // rook against a minor piece: the score is halved
    LazyCut,        // the score lies far outside the search window
};

struct EvalBreakdown {
    char sideToMove = 0;
    int phase = 0; // 1 (every piece on) .. 24 (kings and pawns); 0 when the pawnless shortcut decided first
    EvalExit exit = EvalExit::Full;
    // Each side's share of each group from its own view (positive is good for
    // that side), its middle-game and end-game parts blended by the phase.
    std::array<int, EvalGroupCount> white{}, black{};
    // What no side owns, from White's view:
    int scaling = 0;       // what the drawish halving, the pawnless shortcut or opposite bishops changed
    int phaseRounding = 0; // the blend truncates whole sums, the shares are blended one by one
    int roundingToTen = 0; // the score is cut to a multiple of 10
    int score = 0;         // the side to move's view: what PosEval returns

    int Share(char side, EvalGroup group) const { return (side ? black : white)[int(group)]; }
    // A White-view amount from the side to move's view.
    int ForSideToMove(int whiteView) const { return sideToMove ? -whiteView : whiteView; }
};

// The evaluation of the board for its side to move, taken apart. The board
// is as PosEval takes it (piece counts and MatingMaterial current). The pawn
// structure is computed afresh, whatever the pawn hash holds, so the score is
// the one "-eval" prints; PosEval returns it too unless the slot of the
// board's key holds another structure for the same pawns (a collision, or the
// empty slot that a pawnless board of key 0 meets). PE, bb, the pawn hash and
// its counters are left as they were found. The window is the search's: the
// full one never ends the evaluation early.
EvalBreakdown ExplainEvaluation(const ChessBoard& board, int alpha = -110000, int beta = 110000);
