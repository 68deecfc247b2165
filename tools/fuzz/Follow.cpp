// The UCI and xboard followers.
#include "fuzz/Follow.h"
#include "fuzz/Grammar.h"

#include <regex>
#include <sstream>

namespace {

// Words split at single blanks; false when the line has any other spacing.
bool StrictWords(const std::string& line, std::vector<std::string>* words) {
    words->clear();
    std::string w;
    for (char c : line) {
        if (c == ' ') {
            if (w.empty()) return false;
            words->push_back(w), w.clear();
        } else if (c <= ' ' || c == 127) {
            return false;
        } else {
            w += c;
        }
    }
    if (w.empty()) return false;
    words->push_back(w);
    return true;
}

bool Begins(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

std::string Shorten(const std::string& s) { return s.size() > 200 ? s.substr(0, 200) + "..." : s; }

Finding Illegal(const std::string& what, const std::string& line, const std::string& fen) {
    return {"illegal", what + ": \"" + Shorten(line) + "\" in " + fen, "illegal: " + what + ": " + LineShape(line)};
}

// Lines longer than this are cut by the engine (documented), so the follower does not read them.
constexpr size_t LongestFollowedLine = 4096;

class UciFollower : public Follower {
public:
    void Output(const std::string& line, std::vector<Finding>& findings) override {
        if (!Begins(line, "bestmove")) return;
        std::vector<Search> searches;
        searches.swap(outstanding);
        if (searches.empty() || lost) return; // a search the follower did not see start
        // Several "go" lines before one bestmove: one of them may yet start a search
        // whose lines and answers the follower cannot tell apart from the next ones.
        if (searches.size() > 1) {
            lost = true;
            return;
        }
        const Search& s = searches.front();
        if (!s.position) return;
        std::istringstream in(line);
        std::string word, move, ponderWord, ponder;
        in >> word >> move >> ponderWord >> ponder;
        bool legal;
        if (move == "0000") {
            legal = s.position->LegalMoves().empty() || s.restricted;
        } else {
            legal = s.position->IsLegal(move);
            Position after = *s.position;
            if (legal && ponderWord == "ponder" && !(after.Play(move) && after.IsLegal(ponder))) {
                findings.push_back(Illegal("ponder move", line, after.Fen()));
                return;
            }
        }
        if (!legal) {
            // The engine keeps its own move on its board; a second "go" without a new "position" shows it.
            std::string what = move == "0000" ? "null move with legal moves" : "bestmove";
            if (!s.fresh) what += " of a second go on the same position line";
            findings.push_back(Illegal(what, line, s.position->Fen()));
        }
        fresh = false;
    }

protected:
    void SentLine(const std::string& line) override {
        // Prefixes after any leading white space, not words: a line the engine may read
        // as the command is taken as one.
        const size_t start = line.find_first_not_of(" \t\v\f\r");
        const std::string command = start == std::string::npos ? std::string() : line.substr(start);
        if (Begins(command, "position")) {
            // During a search the engine applies it after bestmove: which search it meets is unclear.
            current = outstanding.empty() && line.size() <= LongestFollowedLine ? ParseUciPosition(line) : std::nullopt;
            fresh = true;
        } else if (Begins(command, "go")) {
            // Past the followed length a searchmoves list may hide.
            const bool restricted = line.find("searchmoves") != std::string::npos || line.size() > LongestFollowedLine;
            outstanding.push_back({current, restricted, fresh});
        } else if (Begins(command, "ucinewgame")) {
            current.reset();
        }
    }
    std::optional<Position> Current() const override { return current; }

private:
    struct Search {
        std::optional<Position> position;
        bool restricted; // searchmoves: the list may hold no legal move
        bool fresh;      // a position line came after the last bestmove
    };
    std::optional<Position> current;
    std::vector<Search> outstanding; // "go" lines since the last bestmove
    bool lost = false, fresh = true;
};

// Commands that leave the position and the engine's side alone, exactly as GUIs write them.
// "accepted setboard" and the like are not among them: the engine reads the
// feature's name as a command.
const std::regex& Harmless() {
    static const std::regex re(
        "(|xboard|post|nopost|hard|easy|random|computer|draw|hint|bk|\\.|"
        "protover [0-9]{1,3}|(accepted|rejected) (usermove|ping|done|sigint|sigterm|san|myname|reuse|colors|"
        "ics|variants|debug|memory|smp|pause|nps|exclude|setscore|highlight)|name [A-Z][A-Za-z()0-9 ]*|"
        "level [0-9]{1,4} [0-9]{1,4}(:[0-9]{1,2})? [0-9]{1,4}(\\.[0-9]{1,3})?|"
        "(st|sd|time|otim|ping) [0-9]{1,6})");
    return re;
}

class XboardFollower : public Follower {
public:
    void Output(const std::string& line, std::vector<Finding>& findings) override {
        static const std::regex moveLine("(move |[0-9]+\\. \\.\\.\\. )([^ ]*) ?");
        std::smatch m;
        if (BoundedMatch(line, m, moveLine)) {
            std::string move = m[2];
            if (!position || !engineToMove) {
                Lose(); // a move the follower did not expect: it no longer knows the game
                return;
            }
            engineToMove = false;
            // xboard reads a promotion without a letter as a queen, and so does the follower.
            if (move.size() == 4 && IsPromotionSquare(move) && position->IsLegal(move + "q")) move += "q";
            if (!position->Play(move)) {
                findings.push_back(Illegal("engine move", line, position->Fen()));
                Lose();
            }
            return;
        }
        bool mate = line == "White mates!" || line == "Black mates!", stalemate = line == "Stalemate";
        if ((mate || stalemate) && position && engineToMove) {
            bool right = position->LegalMoves().empty() && position->InCheck() == mate &&
                         (!mate || (line[0] == 'W') == (position->SideToMove() == 1));
            if (!right) findings.push_back(Illegal("result claim", line, position->Fen()));
        }
    }

protected:
    void SentLine(const std::string& raw) override {
        std::string line = raw;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (engineToMove && line != "?") {
            // A line that reaches the engine while it thinks is read word by word by its poll.
            Lose();
        }
        std::vector<std::string> w;
        bool strict = StrictWords(line, &w) || line.empty();
        if (line.size() > LongestFollowedLine) strict = false;
        std::string move;
        if (strict && w.size() == 1 && IsMoveText(w[0])) move = w[0];
        if (strict && w.size() == 2 && w[0] == "usermove" && IsMoveText(w[1])) move = w[1];
        if (!move.empty()) {
            if (!position || !position->Play(move)) return Lose();
            if (!force && engineSide == position->SideToMove()) engineToMove = true;
        } else if (line == "new") {
            if (!lost) position = Position::Start(), force = false, engineSide = 1, engineToMove = false;
        } else if (line == "force") {
            force = true;
        } else if (line == "go") {
            force = false;
            if (position) engineSide = position->SideToMove(), engineToMove = true;
        } else if (strict && Begins(line, "setboard ")) {
            position = force && !lost ? Position::FromFen(line.substr(9)) : std::nullopt;
            if (!position) Lose();
        } else if (line == "?" || line == "quit" || line.find_first_not_of(" \t\r") == std::string::npos ||
                   BoundedMatch(line, Harmless())) {
        } else {
            Lose();
        }
    }
    std::optional<Position> Current() const override { return position; }

private:
    // Once lost, the game stays unknown: the engine may still be answering
    // earlier lines when a "new" or "setboard" is sent.
    void Lose() {
        position.reset();
        engineToMove = false;
        lost = true;
    }
    static bool IsMoveText(const std::string& w) {
        int from, to;
        char promote;
        return ParseMoveText(w, &from, &to, &promote);
    }
    bool IsPromotionSquare(const std::string& move) const { return position->IsLegal(move + "q"); }
    std::optional<Position> position;
    bool force = false, engineToMove = false, lost = false;
    int engineSide = 1;
};

class NoFollower : public Follower {
public:
    void Output(const std::string&, std::vector<Finding>&) override {}

protected:
    void SentLine(const std::string&) override {}
};

} // namespace

void Follower::Sent(const std::string& bytes) {
    for (char c : bytes) {
        if (c != '\n') {
            // An overlong line keeps its start, which still names the command, and is longer
            // than any line the followers read word for word.
            if (pending.size() <= LongestFollowedLine) pending += c;
            continue;
        }
        std::string line;
        line.swap(pending);
        SentLine(line);
    }
}

std::string Follower::MoveFor(Rng& rng) {
    if (std::optional<Position> p = Current()) {
        std::vector<std::string> moves = p->LegalMoves();
        if (!moves.empty()) return rng.Pick(moves);
    }
    std::string m = {char('a' + rng.Below(8)), char('1' + rng.Below(8)), char('a' + rng.Below(8)),
                     char('1' + rng.Below(8))};
    return rng.Chance(10) ? m + "q" : m;
}

std::unique_ptr<Follower> MakeFollower(Protocol p) {
    if (p == Protocol::Uci) return std::make_unique<UciFollower>();
    if (p == Protocol::Xboard) return std::make_unique<XboardFollower>();
    return std::make_unique<NoFollower>();
}

std::optional<Position> ParseUciPosition(const std::string& raw) {
    std::string line = raw;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> w;
    if (!StrictWords(line, &w) || w.size() < 2 || w[0] != "position") return std::nullopt;
    size_t i = 2;
    std::optional<Position> p;
    if (w[1] == "startpos") {
        p = Position::Start();
    } else if (w[1] == "fen") {
        std::string fen;
        for (; i < w.size() && w[i] != "moves"; ++i) fen += (fen.empty() ? "" : " ") + w[i];
        p = Position::FromFen(fen);
    }
    if (!p) return std::nullopt;
    if (i < w.size() && w[i++] != "moves") return std::nullopt;
    for (; i < w.size(); ++i)
        if (!p->Play(w[i])) return std::nullopt;
    return p;
}
