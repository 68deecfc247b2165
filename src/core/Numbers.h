// Numbers read from outside the engine (commands, options, files): parsed
// by hand and clamped, so that no text can overflow them.
#pragma once

// The integer at the start of the text (an optional sign, then digits),
// clamped into [low, high]; `fallback` when the text starts with no number.
// With `end`, it points after the number (at the text when there is none).
long long ParseInteger(const char* text, long long low, long long high, long long fallback, const char** end = nullptr);

// Seconds with an optional fraction ("12", "0.3", "1.25") in milliseconds,
// clamped into [0, highMs]; `fallback` when the text starts with no number.
long long ParseSecondsAsMs(const char* text, long long highMs, long long fallback);
