// A fuzz session: what is written to the engine and when, for one process.
// Sessions are made from a seed (Generate.cpp), saved to a text file that
// keeps every byte, and read back for --replay.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/Grammar.h"

struct Step {
    std::string send;   // the bytes written; "{move}" becomes a move of the followed position when sent
    std::string expect; // a later output line (ECMAScript regex) to wait for, empty for none
    int waitMs = 0;     // how long to wait for it
    int pauseMs = 0;    // quiet time before the step is written
};

struct Session {
    Protocol protocol = Protocol::Uci;
    std::vector<std::string> args; // "{file}" stands for the batch file's path
    std::vector<Step> steps;
    std::string fileName, fileContent; // the position file of a batch run
    bool endByEof = false;             // close the input instead of sending the liveness probe
    int parts = 1;                     // inputs carried, each after "ucinewgame" (UCI)
    std::uint64_t seed = 0;
    long number = -1;
};

// Makes session `number` of the run with `seed`; `all` lets the seed choose the protocol.
Session GenerateSession(std::uint64_t seed, long number, Protocol protocol, bool all);

std::string SaveSession(const Session& s);
bool LoadSession(const std::string& text, Session* s, std::string* error);
// C-style escapes for every byte that is not printable ASCII, and the way back.
std::string Escape(const std::string& bytes);
std::string Unescape(const std::string& text);
