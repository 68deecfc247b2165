// The match loop: a batch job, or the hand-over to the protocol the first
// input word (or the command line) chose.
#pragma once

// Runs a batch job or plays games until the match ends; main's result.
int RunMatchLoop();
