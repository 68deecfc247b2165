// The UCI options, each declared once: the "option" line the GUI reads
// and what "setoption" does with a value.
#pragma once

#include <string>

enum class OptionType { Check, Spin, Button, String };

struct UCIOption {
    const char* name;
    OptionType type;
    const char* defaultText; // as the "option" line shows it; none for a button
    long long min, max;      // a spin's range
    // Carries out a value that passed the type's test: "true" or "false", a
    // number clamped into the range, any text; nothing for a button.
    void (*apply)(const std::string& value);
    const char* outOfRange = nullptr; // what a spin says of a value beyond its range, when not the usual
};

// The "option name ... type ..." lines, in the table's order.
void PrintOptions();
// "setoption name <id> [value <x>]": the name matched without regard to
// case, the value tested by the option's type. A name or value that cannot
// be taken changes nothing and is answered with an "info string".
void SetOption(const std::string& name, const std::string& value);
