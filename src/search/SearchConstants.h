// The search's scores, node types, margins and table sizes in one place.
// Scores are in the engine's units (a pawn is 800) from the point of view
// of the side to move.
#pragma once

// Mates and special results. A side mated at ply p scores p - MATE, the side
// that mates MATE - p; the root and the driver also hand back MATE, -MATE
// and StalemateResult when the side to move has no legal move.
constexpr int MATE = 110000;
constexpr int StalemateResult = MATE + 1;
constexpr int WorstScore = -110200;     // below any real score: a node's best starts here
constexpr int LowestBeta = -110199;     // a window below this has nothing left to search
constexpr int MateScoreBound = 109799;  // beyond it a score is a mate's, carrying its distance
constexpr int MateFound = 109899;       // beyond it the root announces a mate
constexpr int MateThreatened = -109699; // a null move scoring below it means a mate threat
inline bool IsMate(int v) { return v > MateScoreBound || v < -MateScoreBound; }

// Node types. A principal-variation node never cuts on the table; the two
// non-PV types alternate from parent to child.
enum NodeType : char { UntypedNode = 0, PVNode = 1, CutNode = 2, AllNode = 3 };

// Static cut-off near the leaves: the evaluation less this margin by depth must still reach beta.
constexpr int StaticCutMargin[4] = {0, 1100, 1925, 2700};
constexpr int StaticCutMaxDepth = 3;

// Null move: only with material that makes zugzwang unlikely, or near the leaves.
constexpr int NullMoveMaterial = 9300;   // own non-pawn material above which any depth may try it
constexpr int NullMoveMaxDepth = 6;      // below it any material may try it
constexpr int NullMoveMargin = 2000;     // the material balance plus this must reach beta
constexpr int NullMoveFullBoard = 33000; // both sides' non-pawn material above it: reduce one more
constexpr int NullMoveStoreReduction = 3;

// Internal iterative deepening: how much shallower the search for a move to try first is.
constexpr int IIDMinDepth = 4;
constexpr int IIDReduction = 3;

// Late moves: quiet moves ordered at or below this value are searched shallower.
constexpr int LateMoveOrderValue = 950;
constexpr int LateMoveMinLegal = 3;

// Futility at depth 2: a quiet move leaving the material balance this far below alpha is not searched.
constexpr int FutilityMargin = 3440;

// Root: the fail-low signal for the clock, and the easy move that ends deepening early.
constexpr int FailLowMargin = 200; // the new best this far below the last iteration's score
constexpr int FailLowMinDepth = 10;
constexpr int EasyMoveMargin = 2949; // the first iteration's best this far above the second best
constexpr int EasyMoveMinDepth = 11;
constexpr int PonderDrawDepth = 72; // a ponder search at this depth with score 0 has seen enough

// Depth limits. A line never reaches ply 199, so the PV and killer tables suffice.
constexpr int FTMoveListSize = 600;      // game plies and search plies the move record holds
constexpr int DefaultMaxDepth = 100;     // iterations when no depth limit is given
constexpr int ExactDepthUnlimited = 200; // a one-shot search of depth 0 or less searches this deep

// Move ordering keys: table move, line move, captures by victim and attacker, the killers, then
// quiet moves by history.
constexpr int TableMoveValue = 29000;
constexpr int PVMoveValue = 28998;
constexpr int CaptureBase = 9750;       // added to every capture's victim-less-attacker value
constexpr int KnightVictimValue = 3248; // a hair below a bishop, so that bishops are taken first
constexpr int QueenPromotionValue = 4875;
constexpr int FirstKillerValue = 1020;
constexpr int SecondKillerValue = 1010;
constexpr int OtherPromotionValue = 500;
constexpr int RookLineBonus = 28;       // a rook or queen moving onto the enemy king's file or rank
constexpr int KingCaptureMalus = 14625; // king captures come after the quiet moves
constexpr int HistoryShift = 7;         // history counters (at most 65536) scaled down to 512
constexpr int HistoryLimit = 65536;     // past it every counter of the side is halved
// Quiescence ordering: captures by victim less a little for the attacker, promotions next.
constexpr int QuiescePromotionValue = 750;
constexpr int QuiesceKingVictim = 10000;
constexpr int QuiesceCaptureBase = 10;
