// The few operating-system services the engine needs: a millisecond
// clock, a non-blocking test for pending standard input, and bounded
// reads of words and lines from standard input.
#pragma once

#include <cstddef>
#include <string>

#include "core/Types.h"

// Monotonic wall-clock milliseconds since the process started.
i32 ClockMs();

// True when standard input has a byte waiting, has reached its end, or is
// broken: a read will not block.
bool InputWaiting();
// True when a whole line (or the end of input, or a line too long to wait
// for) is waiting: reading it will not block. Reads what is there.
bool LineWaiting();
// True when a word (or the end of input) is waiting; consumes the
// whitespace before it without blocking.
bool WordWaiting();
// Blocks until LineWaiting would be true (a line's first part alone does not end the wait).
void WaitForInput();
// Runs `task` once, when a read of standard input first finds nothing
// waiting: work that must not hold up the first replies to a front end.
void OnFirstWait(void (*task)());

// Has the system make every page of the memory (4 KiB each), leaving
// its contents as they are.
void TouchPages(void* start, size_t bytes);

// Reads one whitespace-delimited word into buf (at most size - 1
// characters; the rest of a longer word is dropped). The delimiter stays
// in the input. False at the end of input.
bool ReadWord(char* buf, int size);
// Reads the rest of the line into buf (at most size - 1 characters; the
// rest is dropped) and consumes the newline. False at the end of input
// with nothing read.
bool ReadLine(char* buf, int size);
// The same into a string of at most `limit` bytes; *cut tells whether the
// line was longer (its rest is read and dropped).
bool ReadLine(std::string* line, size_t limit, bool* cut = nullptr);
// Reads a decimal integer after optional whitespace, saturated to the int
// range. A non-number is left in the input (but for a sign before it) and
// the target is unchanged; false then.
bool ReadInt(int* value);
// Consumes one character (the line end after a word).
void SkipChar();
// True when the next character is a line end (or the input has ended); consumes nothing.
bool AtLineEnd();
// True once a read has met the end of standard input.
bool InputEnded();
// Forgets what was read from standard input and its end: for a harness that
// replaces the descriptor between runs.
void RestartInput();
// Without blocking: has standard input already ended (or is it broken)?
// Reads what is waiting to find out.
bool InputEndedNow();

// Opens a file for reading without ever blocking: a named pipe, a device
// or a directory is refused, as is a file larger than `maxBytes`. Returns
// the descriptor, or -1 with *error saying why.
int OpenRegularFile(const std::string& path, long long maxBytes, std::string* error, long long* size = nullptr);

// Lines of a text file, each cut at a bounded length, the whole file bounded.
class TextFile {
public:
    static constexpr long long MaxBytes = 64LL << 20;
    TextFile() = default;
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // False, with *error, when the file cannot be read as text (see OpenRegularFile).
    bool Open(const std::string& path, std::string* error);
    // The next line without its line end, at most `limit` bytes (the rest is
    // dropped); false at the end of the file.
    bool ReadLine(std::string* line, size_t limit);
    // A read failed or the file grew past MaxBytes while it was read.
    bool Failed() const { return failed; }

private:
    int Next();
    int fd = -1;
    char buf[65536];
    int pos = 0, len = 0;
    long long total = 0;
    bool failed = false;
};
