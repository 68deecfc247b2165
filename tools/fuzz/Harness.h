// Runs one session against the engine binary and judges what came back:
// crashes, sanitizer reports, hangs, illegal moves and protocol text.
#pragma once

#include <string>
#include <vector>

#include "fuzz/Follow.h"
#include "fuzz/Session.h"

struct HarnessOptions {
    std::string binary;
    bool pingProbe = true; // xboard: "ping N" before "quit"; off until the engine answers it
    int probeMs = 3000;    // for readyok and pong
    int exitMs = 5000;     // for the process to end after quit or the end of input
    int batchMs = 30000;   // for a whole batch run
    int graceMs = 30000;   // after a hang, to tell a late end from none
};

struct Outcome {
    std::vector<Finding> findings;
    std::string input;      // every byte written, the probe included
    std::string output;     // standard output, cut at a few megabytes
    std::string errors;     // standard error, cut likewise
    std::string transcript; // input and output lines with their times
    long ms = 0;
};

// Runs the session in a fresh temporary directory. "{move}" in the steps is
// replaced by what was sent, so that the session saved afterwards replays exactly.
Outcome RunSession(Session& session, const HarnessOptions& options);

// Kinds that fail a run only with "--grammar fail": protocol conformance.
bool IsProtocolKind(const std::string& kind);
