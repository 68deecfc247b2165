// The clock settings the front ends fill in before a search. Everything the
// search derives from them (the time and node budget of a move, the speed
// estimate, the extension and the stop rules) lives in TimeManagement.cpp.
#pragma once

#include "core/Types.h"

// Two weeks in milliseconds: the fixed time of a search that only a command ends.
constexpr i32 AnalysisTime = 1209600000;

// Milliseconds taken off every clock and fixed time for what the move loses
// on its way to the clock that counts (the pipe, the GUI, a busy machine).
constexpr i32 DefaultMoveOverheadMs = 50;
constexpr i32 MaxMoveOverheadMs = 5000;

// "st n" and "-st n": n seconds for every move.
void SetSecondsPerMove(long long seconds);
// UCI "movetime": the milliseconds of this move.
void SetMoveTime(i32 milliseconds);
// An analysis searches until told to stop, with or without a fixed time per move.
void SetAnalysisTime();
// The move overhead, clamped into 0..MaxMoveOverheadMs; it stays until changed.
void SetMoveOverhead(long long milliseconds);
i32 MoveOverheadMs();
// The nodes per second assumed until the search measures its own speed.
void AssumeSpeed(i32 nodesPerSecond);
// Milliseconds since the current (or last) search started.
i32 SearchElapsedMs();
// Limits of the next search besides the clock: a node count and an iteration depth (0: none).
void SetSearchLimits(long long nodes, int depth);
// No limit at all: no clock, increment, fixed time, fixed depth, node count or depth limit,
// before a front end sets those of the next search.
void ClearSearchLimits();
