// How each playing level weakens the search. A row gives, for its Elo:
//   nodes   the most nodes one move may search (0 = no limit: the clock alone);
//           a weak level sees a few plies and misses what lies beyond them
//   lines   how many of the best root moves, each searched to an exact score,
//           the move is chosen from
//   spread  the temperature of that choice in hundredths of a pawn: a line
//           `spread` worse than the best is chosen e^-1 as often, and one
//           more than SpreadCutoff spreads worse never
// Between two rows the nodes are interpolated geometrically (strength grows
// with the logarithm of the nodes), the spread linearly, the lines taken
// from the row below. Fitted against a reference engine at 5 s + 0.05 s a
// game (see the README); the rows below the reference's weakest setting
// continue the curve above them.
#pragma once

#include "search/PlayingLevel.h"

struct LevelRow {
    int elo;
    long long nodes;
    int lines;
    int spread;
};

// clang-format off
constexpr LevelRow LevelRows[] = {
    //  Elo     nodes  lines  spread
    {   800,       60,     6,    220 },
    {   900,      100,     6,    190 },
    {  1000,      160,     5,    165 },
    {  1100,      260,     5,    140 },
    {  1200,      420,     5,    120 },
    {  1300,      700,     4,    100 },
    {  1400,     1150,     4,     80 },
    {  1500,     1900,     4,     65 },
    {  1600,     3200,     3,     50 },
    {  1700,     5500,     3,     38 },
    {  1800,     9500,     3,     27 },
    {  1900,    17000,     2,     17 },
    {  2000,        0,     1,      0 },
};
// clang-format on

// A line more than this many spreads below the best is never chosen: the
// weakest level still does not throw its queen away.
constexpr int SpreadCutoff = 3;

static_assert(LevelRows[0].elo == LevelMinElo, "the table starts at the weakest level");
static_assert(LevelRows[sizeof LevelRows / sizeof LevelRows[0] - 1].elo == LevelMaxElo,
              "the table ends at the strongest level");
