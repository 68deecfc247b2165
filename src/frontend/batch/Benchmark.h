// The fixed benchmarks.
#pragma once

// Benchmark 1: six positions to the fixed depth, one report.
void Bench();
// Benchmark 2: position 5 by iterative deepening, then by one search of the exact depth.
void Bench2();
