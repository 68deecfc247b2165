// POSIX implementation of the platform services. Standard input is
// unbuffered, so poll() on the descriptor sees every byte not yet read.
#include "core/Platform.h"

#include <poll.h>
#include <stdio_ext.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>

namespace {

const auto processStart = std::chrono::steady_clock::now();
bool ended = false;
void (*firstWaitTask)() = nullptr;

bool PollInput(int timeoutMs) {
    pollfd fd{STDIN_FILENO, POLLIN, 0};
    int ready = poll(&fd, 1, timeoutMs);
    if (ready < 0) return true; // a broken input counts as input
    return ready > 0;
}

// Bytes already taken from the descriptor into the stream (a pushed-back delimiter).
bool StreamHoldsInput() { return stdin->_IO_read_ptr < stdin->_IO_read_end; }

// Called where a command starts to be read: one poll a command until the
// task has run, none after.
void RunFirstWaitTask() {
    if (!firstWaitTask || InputWaiting()) return;
    void (*task)() = firstWaitTask;
    firstWaitTask = nullptr;
    task();
}

int Next() {
    int c = std::getchar();
    if (c == EOF) ended = true;
    return c;
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

bool InputWaiting() { return ended || StreamHoldsInput() || PollInput(0); }

void OnFirstWait(void (*task)()) { firstWaitTask = task; }

bool WordWaiting() {
    while (InputWaiting()) {
        int c = Next();
        if (c == EOF) return true;
        if (!std::isspace(c)) {
            std::ungetc(c, stdin);
            return true;
        }
    }
    return false;
}

void WaitForInput() {
    RunFirstWaitTask();
    while (!InputWaiting()) PollInput(-1);
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
    if (c != EOF) std::ungetc(c, stdin);
    return true;
}

bool ReadLine(char* buf, int size) {
    RunFirstWaitTask();
    int n = 0, c;
    bool any = false;
    while ((c = Next()) != EOF && c != '\n') {
        any = true;
        if (n < size - 1) buf[n++] = char(c);
    }
    if (n > 0 && buf[n - 1] == '\r') --n;
    buf[n] = '\0';
    return any || c == '\n';
}

// Saturates instead of overflowing; a word that is no number stays in the input.
bool ReadInt(int* value) {
    int c = Next();
    while (c != EOF && std::isspace(c)) c = Next();
    const bool negative = c == '-';
    if (c == '-' || c == '+') c = Next();
    if (c == EOF || !std::isdigit(c)) {
        if (c != EOF) std::ungetc(c, stdin);
        return false;
    }
    long long v = 0;
    for (; c != EOF && std::isdigit(c); c = Next())
        if (v <= INT32_MAX) v = v * 10 + (c - '0');
    if (c != EOF) std::ungetc(c, stdin);
    if (negative) v = -v;
    *value = ClampToI32(v);
    return true;
}

void SkipChar() { Next(); }

void DiscardBufferedInput() { __fpurge(stdin); }

bool InputEnded() { return ended; }
