// Saturating number parsing.
#include "core/Numbers.h"

namespace {

constexpr long long Saturated = 1000000000000000000LL; // far beyond every limit, far below overflow

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

long long ParseInteger(const char* text, long long low, long long high, long long fallback, const char** end) {
    const char* p = text;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    if (!IsDigit(*p)) {
        if (end) *end = text;
        return fallback;
    }
    long long v = 0;
    for (; IsDigit(*p); ++p)
        if (v < Saturated / 10) v = v * 10 + (*p - '0');
    if (end) *end = p;
    if (negative) v = -v;
    return v < low ? low : v > high ? high : v;
}

long long ParseSecondsAsMs(const char* text, long long highMs, long long fallback) {
    const char* p = text;
    if (!IsDigit(*p) && !(*p == '.' && IsDigit(p[1]))) return fallback;
    long long ms = 0;
    for (; IsDigit(*p); ++p)
        if (ms < Saturated / 10) ms = ms * 10 + (*p - '0');
    ms = ms < Saturated / 1000 ? ms * 1000 : Saturated;
    if (*p == '.') {
        long long scale = 100;
        for (++p; IsDigit(*p); ++p, scale /= 10) ms += (*p - '0') * scale;
    }
    return ms > highMs ? highMs : ms;
}
