// The console's and xboard's input, a line at a time.
#include "frontend/xboard/CommandInput.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "core/Numbers.h"
#include "core/Platform.h"

CommandInput Input;

namespace {

bool Blank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Is the word at `start` of the text "quit"?
bool IsQuit(const std::string& text, size_t start) {
    return text.compare(start, 4, "quit") == 0 && (text.size() == start + 4 || Blank(text[start + 4]));
}

} // namespace

bool CommandInput::WordOnLine() {
    while (at < line.size() && Blank(line[at])) ++at;
    return at < line.size();
}

bool CommandInput::NextLine() {
    line.clear();
    at = 0;
    if (!ahead.empty()) {
        line = ahead.front();
        ahead.pop_front();
        return true;
    }
    return ReadLine(&line, CommandLineSize);
}

bool CommandInput::NextWord(char* word, int size) {
    while (!WordOnLine())
        if (!NextLine()) {
            word[0] = '\0';
            return false;
        }
    std::string text;
    Argument(&text);
    std::snprintf(word, size_t(size), "%s", text.c_str());
    return true;
}

bool CommandInput::Argument(std::string* word) {
    word->clear();
    if (!WordOnLine()) return false;
    const size_t start = at;
    while (at < line.size() && !Blank(line[at])) ++at;
    *word = line.substr(start, at - start);
    return true;
}

bool CommandInput::Number(int* value, std::string* word) {
    if (!WordOnLine()) {
        if (word) word->clear();
        return false;
    }
    const char* start = line.c_str() + at;
    const char* end = start;
    const long long v = ParseInteger(start, INT32_MIN, INT32_MAX, 0, &end);
    if (end == start) {
        std::string skipped;
        Argument(&skipped);
        if (word) *word = skipped;
        return false;
    }
    at += size_t(end - start);
    *value = int(v);
    if (word) word->assign(start, end);
    return true;
}

std::string CommandInput::RestOfLine() {
    WordOnLine();
    const std::string rest = line.substr(at);
    at = line.size();
    return rest;
}

bool CommandInput::CommandWaiting() { return WordOnLine() || !ahead.empty() || LineWaiting(); }

bool CommandInput::QuitIsNext() {
    while (!InputEnded() && LineWaiting()) {
        std::string next;
        if (ReadLine(&next, CommandLineSize)) ahead.push_back(next);
    }
    if (WordOnLine()) return IsQuit(line, at);
    for (const std::string& l : ahead) {
        const size_t start = l.find_first_not_of(" \t\r\f\v");
        if (start != std::string::npos) return IsQuit(l, start); // a blank line is no command
    }
    return false;
}

bool CommandInput::Exhausted() {
    if (!InputEnded() || WordOnLine()) return false;
    for (const std::string& l : ahead)
        if (l.find_first_not_of(" \t\r\f\v") != std::string::npos) return false;
    return true;
}

void CommandInput::StartWith(const std::string& text) {
    line = text;
    at = 0;
}

void CommandInput::Reset() {
    StartWith("");
    ahead.clear();
}
