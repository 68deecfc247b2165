// Following a session as the GUI means it: the position each search
// starts from, and the moves the engine answers with. A line the follower
// cannot read exactly makes the position unknown, and nothing is checked
// until the session sets up a position it can read again.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/Chess.h"
#include "fuzz/Grammar.h"
#include "fuzz/Rng.h"

struct Finding {
    std::string kind;      // crash, sanitizer, hang, no-readyok, illegal, grammar, no-pong, late-readyok, exit-status
    std::string detail;    // what happened, for the report
    std::string signature; // the same fault found twice has the same signature
};

class Follower {
public:
    virtual ~Follower() = default;
    // The bytes as written; lines are taken from the stream, whatever the steps were.
    void Sent(const std::string& bytes);
    virtual void Output(const std::string& line, std::vector<Finding>& findings) = 0;
    // A legal move of the followed position for "{move}", or a made-up one when none is known.
    virtual std::string MoveFor(Rng& rng);

protected:
    virtual void SentLine(const std::string& line) = 0;
    virtual std::optional<Position> Current() const { return std::nullopt; }

private:
    std::string pending;
};

std::unique_ptr<Follower> MakeFollower(Protocol p);

// A "position" line read as UCI has it; nullopt when it is not exactly well formed or a move is illegal.
std::optional<Position> ParseUciPosition(const std::string& line);
