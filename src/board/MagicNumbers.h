// Multipliers of the slider lookup for processors without a fast PEXT,
// found by tools/FindMagics.cpp. Laid out as the board reads, rank 8
// first: the number of square sq is at index sq ^ 56.
#pragma once

#include "core/Types.h"

extern const u64 RookMagics[64];
extern const u64 BishopMagics[64];
