// The console's and xboard's input: a command and its arguments come from
// one line. A command takes its numbers and names from its own line only,
// so a missing argument never swallows the next line's command.
#pragma once

#include <deque>
#include <string>

// Lines longer than this are cut (no command of these protocols needs more).
constexpr size_t CommandLineSize = 65536;

class CommandInput {
public:
    // The next word, from the current line or the lines after it (at most
    // size - 1 characters, the rest of a longer word dropped). False at the end of input.
    bool NextWord(char* word, int size);
    // The next word of the current line; false when the line has no more.
    bool Argument(std::string* word);
    // A number at the start of the next word of the current line (a sign,
    // then digits), saturated to the int range. Text glued to the digits
    // stays as the next word; a word that is no number is consumed into
    // *word and false returned.
    bool Number(int* value, std::string* word = nullptr);
    // The rest of the current line, without the blanks before it.
    std::string RestOfLine();
    // A word of the current line, or a whole line, can be read without blocking.
    bool CommandWaiting();
    // Without blocking: reads the whole lines that are waiting, keeping them
    // for later, and tells whether the next word to be read is "quit".
    bool QuitIsNext();
    // The input has ended and no word is left to read.
    bool Exhausted();
    // The rest of the line the start-up read the first word from.
    void StartWith(const std::string& line);
    // Forgets the current line and the lines read ahead.
    void Reset();

private:
    bool WordOnLine();
    bool NextLine();
    std::string line;
    size_t at = 0;
    std::deque<std::string> ahead; // lines read ahead of their turn by QuitIsNext
};

extern CommandInput Input;
