// The batch jobs the command line can ask for: perft, the evaluation
// listing, the EPD suites and the benchmarks. Each runs once and ends the
// process.
#pragma once

#include <string>

// The file named by the last of "-ts", "-pev" and "-mimicstudent", and by "-eval".
extern std::string SuiteFile;
extern std::string EvalFile;
// Set by "-eval": evaluate every position of EvalFile and exit.
extern bool EvalSuiteRequested;
// Set by "velkor bench": benchmark 1 ends with "N nodes M nps", the line testing frameworks read.
extern bool BenchSummaryRequested;

// True when the settings ask for a batch job rather than play.
bool BatchJobRequested();
// Runs the job the settings ask for; returns the process's exit code.
int RunBatchJob();
