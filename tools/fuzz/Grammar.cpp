// The protocol grammars: one table, one row per kind of line.
#include "fuzz/Grammar.h"

#include <regex>
#include <vector>

namespace {

struct Rule {
    Protocol protocol;
    const char* pattern;
    bool firstLineOnly;
};

#define MOVE "[a-h][1-8][a-h][1-8][qrbn]?"

const Rule rules[] = {
    {Protocol::Uci, "id name .*", false},
    {Protocol::Uci, "id author .*", false},
    {Protocol::Uci, "option name .*", false},
    {Protocol::Uci, "uciok", false},
    {Protocol::Uci, "readyok", false},
    {Protocol::Uci, "bestmove (" MOVE "|0000)( ponder " MOVE ")? ?", false},
    {Protocol::Uci, "info( .*)?", false},

    {Protocol::Xboard, "feature .*", false},
    {Protocol::Xboard, "pong -?\\d+", false},
    {Protocol::Xboard, "move " MOVE, false},
    {Protocol::Xboard, "\\d+\\. \\.\\.\\. " MOVE " ?", false},
    {Protocol::Xboard, "-?\\d+ -?\\d+ \\d+ \\d+ .*", false}, // thinking: ply score time nodes line
    {Protocol::Xboard, "Illegal move( \\(.*\\))?: .*", false},
    {Protocol::Xboard, "Error \\(.*\\): .*", false},
    {Protocol::Xboard, "tellusererror .*", false},
    {Protocol::Xboard, "telluser .*", false},
    {Protocol::Xboard, "tellics .*", false},
    {Protocol::Xboard, "stat01: .*", false},
    {Protocol::Xboard, "(1-0|0-1|1/2-1/2) \\{.*\\}", false},
    {Protocol::Xboard, "White mates!", false},
    {Protocol::Xboard, "Black mates!", false},
    {Protocol::Xboard, "Stalemate", false},
    {Protocol::Xboard, "#.*", false},
    {Protocol::Xboard, "Velkor ?", true},
};

#undef MOVE

struct Compiled {
    Protocol protocol;
    std::regex re;
    bool firstLineOnly;
};

const std::vector<Compiled>& Table() {
    static const std::vector<Compiled> table = [] {
        std::vector<Compiled> t;
        for (const Rule& r : rules) t.push_back({r.protocol, std::regex(r.pattern), r.firstLineOnly});
        return t;
    }();
    return table;
}

} // namespace

const char* ProtocolName(Protocol p) {
    switch (p) {
    case Protocol::Uci: return "uci";
    case Protocol::Xboard: return "xboard";
    case Protocol::Console: return "console";
    case Protocol::Batch: return "batch";
    }
    return "?";
}

bool ProtocolFromName(const std::string& name, Protocol* p) {
    for (Protocol q : {Protocol::Uci, Protocol::Xboard, Protocol::Console, Protocol::Batch})
        if (name == ProtocolName(q)) return *p = q, true;
    return false;
}

bool HasGrammar(Protocol p) { return p == Protocol::Uci || p == Protocol::Xboard; }

bool LineAllowed(Protocol p, const std::string& line, bool firstLine) {
    if (!HasGrammar(p)) return true;
    for (const Compiled& c : Table())
        if (c.protocol == p && (firstLine || !c.firstLineOnly) && BoundedMatch(line, c.re)) return true;
    return false;
}

std::string LineShape(const std::string& line) {
    static const std::regex move("[a-h][1-8][a-h][1-8][qrbn]?"), number("-?[0-9]+");
    std::string shape = std::regex_replace(line.substr(0, 200), move, "<move>");
    shape = std::regex_replace(shape, number, "#");
    if (shape.size() > 60) shape = shape.substr(0, 60) + "...";
    std::string printable;
    for (unsigned char c : shape) printable += c >= 32 && c < 127 ? std::string(1, char(c)) : "?";
    return printable;
}

namespace {
constexpr size_t MatchLimit = 2000;
}

bool BoundedMatch(const std::string& text, const std::regex& re) {
    return std::regex_match(text.size() > MatchLimit ? text.substr(0, MatchLimit) : text, re);
}

bool BoundedMatch(const std::string& text, std::smatch& m, const std::regex& re) {
    static thread_local std::string cut;
    if (text.size() <= MatchLimit) return std::regex_match(text, m, re);
    cut = text.substr(0, MatchLimit);
    return std::regex_match(cut, m, re);
}

bool BoundedSearch(const std::string& text, const std::regex& re) {
    return std::regex_search(text.size() > MatchLimit ? text.substr(0, MatchLimit) : text, re);
}
