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
// from the row below. Fitted and measured against a reference engine's
// limited strength (see the README); the rows below its weakest setting,
// 1350, continue the curve above them and are extrapolated.
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
    {   800,      250,     6,    170 },
    {   900,      450,     6,    140 },
    {  1000,      800,     5,    110 },
    {  1100,     1300,     5,     90 },
    {  1200,     2000,     4,     75 },
    {  1300,     3200,     4,     62 },
    {  1400,     4500,     3,     52 },
    {  1500,     6000,     3,     44 },
    {  1600,     9000,     3,     32 },
    {  1700,    13000,     2,     24 },
    {  1800,    22000,     2,     15 },
    {  1900,    50000,     2,      8 },
    {  2000,        0,     1,      0 },
};
// clang-format on

// A line more than this many spreads below the best is never chosen: the
// weakest level still does not throw its queen away.
constexpr int SpreadCutoff = 3;

static_assert(LevelRows[0].elo == LevelMinElo, "the table starts at the weakest level");
static_assert(LevelRows[sizeof LevelRows / sizeof LevelRows[0] - 1].elo == LevelMaxElo,
              "the table ends at the strongest level");
