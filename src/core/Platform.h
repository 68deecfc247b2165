// The few operating-system services the engine needs: a millisecond
// clock, a non-blocking test for pending standard input, and bounded
// reads of words and lines from standard input.
#pragma once

#include <cstddef>

#include "core/Types.h"

// Monotonic wall-clock milliseconds since the process started.
i32 ClockMs();

// True when standard input has a byte waiting, has reached its end, or is
// broken: a read will not block.
bool InputWaiting();
// True when a word (or the end of input) is waiting; consumes the
// whitespace before it without blocking.
bool WordWaiting();
// Blocks until InputWaiting would be true.
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
// Reads a decimal integer after optional whitespace, saturated to the int
// range. A non-number is left in the input (but for a sign before it) and
// the target is unchanged; false then.
bool ReadInt(int* value);
// Consumes one character (the line end after a word).
void SkipChar();
// Drops whatever the standard-input stream holds in its own buffer.
void DiscardBufferedInput();
// True once a read has met the end of standard input.
bool InputEnded();
