// POSIX implementation of the platform services. Standard input is read
// with read() into a buffer of our own, so poll() on the descriptor sees
// every byte that is not in the buffer yet, and a long line costs a few
// reads rather than one a byte.
#include "core/Platform.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

const auto processStart = std::chrono::steady_clock::now();
bool ended = false;
void (*firstWaitTask)() = nullptr;

constexpr size_t ChunkBytes = 65536;
// A line is waited for until this much of it has come; then it is read (and cut) as it is.
constexpr size_t MaxPendingBytes = size_t(1) << 24;
std::string held; // bytes read from the descriptor and not taken yet, from `at` on
size_t at = 0;
bool markChecked = false; // the byte-order mark before the first command

bool PollInput(int timeoutMs) {
    pollfd fd{STDIN_FILENO, POLLIN, 0};
    int ready = poll(&fd, 1, timeoutMs);
    if (ready < 0) return errno != EINTR; // a broken input counts as input
    return ready > 0;
}

size_t Available() { return held.size() - at; }

// One read of what the descriptor has (blocking when it has nothing); false at the end or on an error.
bool Fill() {
    if (ended) return false;
    if (at == held.size()) {
        held.clear();
        at = 0;
    } else if (at > ChunkBytes) {
        held.erase(0, at);
        at = 0;
    }
    char chunk[ChunkBytes];
    ssize_t n;
    do n = read(STDIN_FILENO, chunk, sizeof chunk);
    while (n < 0 && errno == EINTR);
    if (n <= 0) {
        ended = true;
        return false;
    }
    held.append(chunk, size_t(n));
    return true;
}

// Some editors and GUIs put a UTF-8 byte-order mark before the first command.
void SkipByteOrderMark() {
    static const char mark[] = "\xEF\xBB\xBF";
    while (Available() < 3 && held.compare(at, Available(), mark, Available()) == 0 && Fill()) {}
    markChecked = true;
    if (held.compare(at, 3, mark) == 0) at += 3;
}

// At least one byte to take; false at the end of input.
bool Ensure() {
    if (Available() == 0 && !Fill()) return false;
    if (!markChecked) SkipByteOrderMark();
    return Available() > 0 || Fill();
}

// Called where a command starts to be read: one poll a command until the
// task has run, none after.
void RunFirstWaitTask() {
    if (!firstWaitTask || InputWaiting()) return;
    void (*task)() = firstWaitTask;
    firstWaitTask = nullptr;
    task();
}

int Next() { return Ensure() ? static_cast<unsigned char>(held[at++]) : EOF; }

// Puts back the character Next just returned.
void Unget(int c) {
    if (c != EOF) --at;
}

} // namespace

i32 ClockMs() {
    auto elapsed = std::chrono::steady_clock::now() - processStart;
    return i32(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void TouchPages(void* start, size_t bytes) {
    auto* p = static_cast<volatile char*>(start);
    for (size_t i = 0; i < bytes; i += 4096) p[i] = p[i];
}

bool InputWaiting() { return ended || Available() > 0 || PollInput(0); }

bool LineWaiting() {
    for (;;) {
        if (ended || Available() >= MaxPendingBytes) return true;
        if (std::memchr(held.data() + at, '\n', Available())) return true;
        if (!PollInput(0)) return false;
        Fill(); // poll said it will not block
    }
}

void OnFirstWait(void (*task)()) { firstWaitTask = task; }

bool WordWaiting() {
    while (InputWaiting()) {
        int c = Next();
        if (c == EOF) return true;
        if (!std::isspace(c)) {
            Unget(c);
            return true;
        }
    }
    return false;
}

void WaitForInput() {
    RunFirstWaitTask();
    while (!LineWaiting()) PollInput(-1);
}

bool ReadWord(char* buf, int size) {
    RunFirstWaitTask();
    int c = Next();
    while (c != EOF && std::isspace(c)) c = Next();
    if (c == EOF) {
        buf[0] = '\0';
        return false;
    }
    int n = 0;
    for (; c != EOF && !std::isspace(c); c = Next())
        if (n < size - 1) buf[n++] = char(c);
    buf[n] = '\0';
    Unget(c);
    return true;
}

bool ReadLine(char* buf, int size) {
    std::string line;
    if (!ReadLine(&line, size_t(size - 1))) {
        buf[0] = '\0';
        return false;
    }
    std::memcpy(buf, line.c_str(), line.size() + 1);
    return true;
}

bool ReadLine(std::string* line, size_t limit, bool* cut) {
    RunFirstWaitTask();
    line->clear();
    bool any = false, longer = false;
    while (Ensure()) {
        any = true;
        const char* start = held.data() + at;
        const char* newline = static_cast<const char*>(std::memchr(start, '\n', Available()));
        const size_t n = newline ? size_t(newline - start) : Available();
        const size_t room = limit - std::min(limit, line->size());
        if (n > room) longer = true;
        line->append(start, std::min(n, room));
        at += n;
        if (newline) {
            ++at;
            break;
        }
    }
    if (!line->empty() && line->back() == '\r') line->pop_back();
    if (cut) *cut = longer;
    return any;
}

// Saturates instead of overflowing; a word that is no number stays in the input.
bool ReadInt(int* value) {
    int c = Next();
    while (c != EOF && std::isspace(c)) c = Next();
    const bool negative = c == '-';
    if (c == '-' || c == '+') c = Next();
    if (c == EOF || !std::isdigit(c)) {
        Unget(c);
        return false;
    }
    long long v = 0;
    for (; c != EOF && std::isdigit(c); c = Next())
        if (v <= INT32_MAX) v = v * 10 + (c - '0');
    Unget(c);
    if (negative) v = -v;
    *value = ClampToI32(v);
    return true;
}

void SkipChar() { Next(); }

bool AtLineEnd() {
    const int c = Next();
    Unget(c);
    return c == EOF || c == '\n' || c == '\r';
}

bool InputEnded() { return ended; }

void RestartInput() {
    held.clear();
    at = 0;
    ended = false;
    markChecked = false;
}

bool InputEndedNow() {
    if (ended) return true;
    if (Available() > 0 || !PollInput(0)) return false;
    return !Fill();
}

int OpenRegularFile(const std::string& path, long long maxBytes, std::string* error, long long* size) {
    // O_NONBLOCK: opening a named pipe must not wait for a writer.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *error = std::strerror(errno);
        return -1;
    }
    struct stat st;
    const char* problem = nullptr;
    if (fstat(fd, &st) != 0)
        problem = std::strerror(errno);
    else if (S_ISDIR(st.st_mode))
        problem = "it is a directory";
    else if (!S_ISREG(st.st_mode))
        problem = "not a regular file (a pipe or a device never ends or may never answer)";
    else if (st.st_size > maxBytes)
        problem = "larger than the limit";
    if (problem) {
        *error = problem;
        if (S_ISREG(st.st_mode) && st.st_size > maxBytes)
            *error = "larger than " + std::to_string(maxBytes) + " bytes (" + std::to_string(st.st_size) + ")";
        close(fd);
        return -1;
    }
    if (size) *size = st.st_size;
    return fd;
}

TextFile::~TextFile() {
    if (fd >= 0) close(fd);
}

bool TextFile::Open(const std::string& path, std::string* error) {
    fd = OpenRegularFile(path, MaxBytes, error);
    return fd >= 0;
}

int TextFile::Next() {
    if (pos == len) {
        if (fd < 0 || failed) return EOF;
        ssize_t n;
        do n = read(fd, buf, sizeof buf);
        while (n < 0 && errno == EINTR);
        if (n < 0) failed = true;
        if (n <= 0) return EOF;
        total += n;
        if (total > MaxBytes) { // it grew while being read
            failed = true;
            return EOF;
        }
        pos = 0;
        len = int(n);
    }
    return static_cast<unsigned char>(buf[pos++]);
}

bool TextFile::ReadLine(std::string* line, size_t limit) {
    line->clear();
    int c;
    bool any = false;
    while ((c = Next()) != EOF && c != '\n') {
        any = true;
        if (line->size() < limit) line->push_back(char(c));
    }
    if (!line->empty() && line->back() == '\r') line->pop_back();
    return any || c == '\n';
}
