// The log file. Without it (it could not be opened) logging is a no-op.
#include "core/Log.h"

#include <cstdarg>
#include <cstdio>

namespace {

FILE* dlog = nullptr;

void PrintProblem(const char* text) {
    std::printf("%s\n", text);
    std::fflush(stdout);
}

void (*problemSink)(const char*) = PrintProblem;

} // namespace

void OpenLogFile() {
    dlog = std::fopen("match.log", "w");
    if (!dlog) std::fprintf(stderr, "Cannot open match.log; running without a log\n");
}

void WriteLogFile(const char* text) {
    if (!dlog) return;
    std::fputs(text, dlog);
    std::fputc('\n', dlog);
    std::fflush(dlog);
}

void LogF(const char* format, ...) {
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    WriteLogFile(text);
}

void CloseLogFile() {
    if (dlog) std::fclose(dlog);
    dlog = nullptr;
}

void ReportProblem(const char* text) { problemSink(text); }

void SetProblemSink(void (*sink)(const char* text)) { problemSink = sink ? sink : PrintProblem; }
