// What a protocol's standard output may contain, line by line. The table
// of patterns is in Grammar.cpp; the console has none (free text).
#pragma once

#include <regex>
#include <string>

enum class Protocol { Uci, Xboard, Console, Batch };

const char* ProtocolName(Protocol p);
bool ProtocolFromName(const std::string& name, Protocol* p);

// True when the line (without its newline) is allowed. The first line of
// the output may also be the engine's banner where the protocol allows it.
// Protocols without a grammar allow everything.
bool LineAllowed(Protocol p, const std::string& line, bool firstLine);
bool HasGrammar(Protocol p);

// The line with numbers and moves blotted out and cut short, so that the
// same fault in different games is counted once.
std::string LineShape(const std::string& line);

// std::regex recurses once a character: a line of many kilobytes overflows
// the stack. Lines longer than any the engine writes on purpose are matched
// on their first 2000 characters (every long pattern ends in ".*").
bool BoundedMatch(const std::string& text, const std::regex& re);
bool BoundedMatch(const std::string& text, std::smatch& m, const std::regex& re);
bool BoundedSearch(const std::string& text, const std::regex& re);
