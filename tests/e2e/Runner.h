// Runs velkor in a fresh working directory (its match.log there): line by line (Session) or a whole script.
#pragma once

#include <sys/types.h>

#include <algorithm>
#include <string>
#include <vector>

struct RunResult {
    int exitCode = -1; // -1 when killed (timed out or crashed)
    bool timedOut = false;
    std::string out, err, dir;
    std::string Log() const; // match.log
};

class Session : public RunResult {
public:
    explicit Session(const std::vector<std::string>& args = {}, const std::string& workDir = "");
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    void Write(const std::string& text);
    void Send(const std::string& line) { Write(line + "\n"); }
    bool Step(const std::string& lines, const std::string& text, int timeoutMs = 10000) {
        return Send(lines), WaitFor(text, timeoutMs);
    }
    // Reads until the output holds `text` after everything awaited before; false on a timeout or end of output.
    bool WaitFor(const std::string& text, int timeoutMs = 10000);
    // Reads until the process closes its outputs; false on a timeout.
    bool WaitForExit(int timeoutMs = 10000);
    // Closes standard input, reads the rest and returns the exit code (-1 if killed).
    int Finish(int timeoutMs = 10000);
    int Quit() { return Send("quit"), Finish(); }
    long Elapsed() const; // milliseconds since the start
    pid_t Pid() const { return pid; }

    size_t seen = 0; // end of the text last awaited

private:
    bool Read(long deadline); // one poll of the outputs; false once the time is up or both are closed
    pid_t pid = -1;
    int inFd = -1, outFd = -1, errFd = -1;
    long started = 0;
};

// The input is written as given and standard input closed after it.
RunResult RunVelkor(const std::vector<std::string>& args, const std::string& input = "", int timeoutSeconds = 60,
                    const std::string& dir = "");
std::string TempDir(); // a new empty temporary directory
// Writes a file into a new temporary directory and returns its path.
std::string TempFile(const std::string& name, const std::string& content);
std::string ReadFile(const std::string& path);
std::vector<std::string> Lines(const std::string& text);       // without their newlines
int Count(const std::string& text, const std::string& needle); // non-overlapping occurrences
inline bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
inline std::string Tail(const std::string& s, size_t n = 300) { return s.substr(s.size() - std::min(n, s.size())); }
bool Matches(const std::string& text, const std::string& pattern); // a regular expression found in the text
