// The fixed benchmarks.
#pragma once

// The node total of a benchmark and its time (at least 1 ms).
struct BenchResult {
    long long nodes, ms;
};

// Benchmark 1: six positions to the fixed depth, one report.
BenchResult Bench();
// Benchmark 2: position 5 by iterative deepening, then by one search of the exact depth.
void Bench2();
