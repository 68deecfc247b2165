// One engine process with piped standard streams. Writing never blocks on
// a full pipe while the process waits to write its own output: reads and
// writes are multiplexed with poll.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

class Child {
public:
    Child() = default;
    ~Child(); // kills a process still running
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Start(const std::string& binary, const std::vector<std::string>& args, const std::string& dir);
    // Writes the bytes; false when the input is closed or the deadline passes first.
    bool Write(const std::string& bytes, int timeoutMs);
    void CloseInput();
    // Reads output for up to timeoutMs, returning early once `done` is true or both outputs are closed.
    void Pump(int timeoutMs, const std::function<bool()>& done = nullptr);
    // True once the process has ended and both outputs are read to their end.
    bool Ended();
    bool WaitEnd(int timeoutMs);
    void Kill();

    std::function<void(const std::string&)> onLine; // each complete stdout line, without its newline
    std::string partial;                            // stdout after the last newline
    long lines = 0;                                 // complete stdout lines so far
    std::string err;                                // standard error, the first MaxErr bytes
    bool sanitizerSeen = false;                     // a sanitizer report began on standard error
    int exitCode = -1, signal = 0;                  // once ended: the exit code or the signal
    bool killed = false;                            // ended by Kill

    static constexpr size_t MaxErr = 1 << 20;

private:
    bool ReadSome(int timeoutMs, bool wantWrite, bool* writable);
    void Take(int fd, bool isOut);
    void Reap(bool block);
    pid_t pid = -1;
    int inFd = -1, outFd = -1, errFd = -1;
    bool reaped = false;
    std::string errTail; // the last bytes of stderr, for patterns split between reads
};

long NowMs();
