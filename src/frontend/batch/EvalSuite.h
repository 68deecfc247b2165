// The evaluation listing ("-eval").
#pragma once

// Prints the evaluation of every position of an EPD file; returns the exit
// code (1 when the file cannot be read to its end).
int EvalSuite(const char* fileName);
