// The evaluation listing ("-eval").
#pragma once

// Prints the evaluation of every position of an EPD file.
void EvalSuite(const char* fileName);
