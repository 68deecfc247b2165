// The diagnostic log "match.log", truncated at every start. Each line is
// flushed at once so the file is complete after a crash.
#pragma once

void OpenLogFile();
// Writes the text and a newline.
void WriteLogFile(const char* text);
// printf-style WriteLogFile.
void LogF(const char* format, ...) __attribute__((format(printf, 1, 2)));
void CloseLogFile();

// Messages about inconsistencies the engine noticed ("Major Error: ...").
// They go to standard output until a front end routes them elsewhere: a
// GUI must see only its protocol's lines.
void ReportProblem(const char* text);
void SetProblemSink(void (*sink)(const char* text));
