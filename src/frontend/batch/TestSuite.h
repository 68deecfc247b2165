// Batch modes: EPD test suites, the evaluation listing and the benchmarks.
#pragma once

// Runs the suite file in the mode the settings select ("-ts", "-pev", "-mimicstudent").
void ParseEPDSuite(const char* fileName);
// Prints the evaluation of every position of an EPD file ("-eval").
void EvalSuite(const char* fileName);
void Bench();
void Bench2();
