// Runs the velkor binary with arguments and scripted standard input in a
// fresh working directory, and collects what it prints and how it exits.
#pragma once

#include <string>
#include <vector>

struct RunResult {
    int exitCode = -1; // -1 when killed (timed out or crashed)
    bool timedOut = false;
    std::string out;
    std::string err;
    std::string dir; // working directory of the run (match.log lives there)
};

// Input is written as given; standard input is closed after it.
RunResult RunVelkor(const std::vector<std::string>& args, const std::string& input = "", int timeoutSeconds = 60);
// The same in a working directory the test has prepared.
RunResult RunVelkorIn(const std::string& dir, const std::vector<std::string>& args, const std::string& input = "",
                      int timeoutSeconds = 60);
// A new empty temporary directory.
std::string TempDir();

// The lines of a text, without their newlines.
std::vector<std::string> Lines(const std::string& text);
// Writes a file into a new temporary directory and returns its path.
std::string TempFile(const std::string& name, const std::string& content);
// Counts the non-overlapping occurrences of needle in text.
int Count(const std::string& text, const std::string& needle);
