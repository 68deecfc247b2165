// An interactive run of the velkor binary: lines are sent one at a time
// and the test waits for the engine's answer before it sends the next,
// as a GUI does. Standard input stays open until Finish.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class Session {
public:
    explicit Session(const std::vector<std::string>& args);
    ~Session();

    void Send(const std::string& line); // the newline is added
    // Reads output until it holds `text` after everything already awaited;
    // false on a timeout or the end of the output.
    bool WaitFor(const std::string& text, int timeoutMs = 10000);
    // Reads until the process closes its output; false on a timeout.
    bool WaitForExit(int timeoutMs);
    // Closes standard input, collects the rest of the output and the exit code (-1 if killed).
    int Finish(int timeoutMs = 10000);

    const std::string& Output() const { return out; }
    // Output after the last awaited text.
    std::string Rest() const { return out.substr(seen); }
    const std::string& Dir() const { return dir; }
    // Milliseconds since the session started.
    long Elapsed() const;

private:
    pid_t pid = -1;
    int inFd = -1, outFd = -1;
    std::string out, dir;
    size_t seen = 0;
    long started = 0;
    bool ReadSome(int timeoutMs); // false at the end of the output or a timeout
};
