// An interactive run of the velkor binary: the test sends a line, waits
// for the answer, then sends the next, as a GUI does. Standard input stays
// open until Finish.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class Session {
public:
    explicit Session(const std::vector<std::string>& args = {});
    ~Session();

    void Send(const std::string& line); // the newline is added
    // Reads until the output holds `text` after everything awaited before;
    // false on a timeout or the end of the output.
    bool WaitFor(const std::string& text, int timeoutMs = 10000);
    // Reads until the process closes its output; false on a timeout.
    bool WaitForExit(int timeoutMs = 10000);
    // Closes standard input, reads the rest and returns the exit code (-1 if killed).
    int Finish();

    std::string out, dir;
    size_t seen = 0; // end of the text last awaited
    long Elapsed() const; // milliseconds since the start

private:
    pid_t pid = -1;
    int inFd = -1, outFd = -1;
    long started = 0;
};
