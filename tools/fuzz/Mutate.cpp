// Mutations of sessions and position text.
#include "fuzz/Mutate.h"

#include <algorithm>
#include <cctype>

namespace {

const std::vector<std::string> oddNumbers = {"-1",
                                             "0",
                                             "-2147483648",
                                             "2147483647",
                                             "2147483648",
                                             "4294967296",
                                             "9223372036854775807",
                                             "99999999999999999999999",
                                             "-99999999999999999999",
                                             "1e9",
                                             "0x7fffffff",
                                             "abc",
                                             "",
                                             "00000000000000000000001",
                                             "+5",
                                             "3.7",
                                             "-0",
                                             "18446744073709551615",
                                             "-9223372036854775809",
                                             "1000000000"};

std::string RandomBytes(Rng& rng, int n, bool printable) {
    std::string s;
    for (int i = 0; i < n; ++i) s += printable ? char(rng.Range(32, 126)) : char(rng.Below(256));
    return s;
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = s.find(sep, start)) != std::string::npos; start = at + 1)
        parts.push_back(s.substr(start, at - start));
    parts.push_back(s.substr(start));
    return parts;
}

std::string Join(const std::vector<std::string>& parts, char sep) {
    std::string s;
    for (size_t i = 0; i < parts.size(); ++i) s += (i ? std::string(1, sep) : "") + parts[i];
    return s;
}

// A long text made from the line itself, a word repeated, or noise.
std::string Overlong(Rng& rng, const std::string& line) {
    size_t size = size_t(rng.Chance(30) ? rng.Range(250, 300) : rng.Range(1000, 100000));
    std::string unit;
    switch (rng.Below(4)) {
    case 0: unit = line.empty() ? "x" : line + " "; break;
    case 1: unit = rng.Pick({"e2e4 ", "a", "1", "moves ", "/", "go ", "8/", "K", " "}); break;
    case 2: unit = RandomBytes(rng, 64, true); break;
    default: unit = RandomBytes(rng, 64, false); break;
    }
    std::string text = line;
    while (text.size() < size) text += unit;
    text.resize(size);
    return text;
}

bool IsNewline(char c) { return c == '\n'; }

} // namespace

std::string MutateNumber(Rng& rng, const std::string& line) {
    std::vector<std::pair<size_t, size_t>> numbers;
    for (size_t i = 0; i < line.size();) {
        if (std::isdigit(static_cast<unsigned char>(line[i]))) {
            size_t j = i;
            while (j < line.size() && std::isdigit(static_cast<unsigned char>(line[j]))) ++j;
            numbers.push_back({i, j - i});
            i = j;
        } else {
            ++i;
        }
    }
    if (numbers.empty()) return line + " " + rng.Pick(oddNumbers);
    auto [at, length] = numbers[size_t(rng.Below(int(numbers.size())))];
    return line.substr(0, at) + rng.Pick(oddNumbers) + line.substr(at + length);
}

std::string MutateFen(Rng& rng, const std::string& fen) {
    std::string f = fen;
    const int rounds = rng.Chance(70) ? 1 : rng.Range(2, 4);
    for (int round = 0; round < rounds; ++round) {
        std::vector<std::string> fields = Split(f, ' ');
        std::vector<std::string> ranks = Split(fields[0], '/');
        switch (rng.Below(17)) {
        case 0: // a character replaced
            if (!f.empty())
                f[size_t(rng.Below(int(f.size())))] =
                    rng.Chance(50) ? char(rng.Below(256)) : "pnbrqkPNBRQK12345678/ -wb"[rng.Below(25)];
            break;
        case 1: // a character inserted
            f.insert(size_t(rng.Below(int(f.size()) + 1)), 1, "pnbrqkPNBRQK123456789/ -0x"[rng.Below(26)]);
            break;
        case 2: // a character deleted
            if (!f.empty()) f.erase(size_t(rng.Below(int(f.size()))), 1);
            break;
        case 3: // missing fields
            fields.resize(size_t(rng.Below(int(fields.size()))));
            f = Join(fields, ' ');
            break;
        case 4: { // too many ranks
            int extra = rng.Chance(80) ? rng.Range(1, 3) : rng.Range(10, 2000);
            for (int i = 0; i < extra; ++i)
                ranks.push_back(rng.Pick({"8", "pppppppp", "PPPPPPPP", "k7", "4K3", "rnbqkbnr"}));
            fields[0] = Join(ranks, '/');
            f = Join(fields, ' ');
            break;
        }
        case 5: // too few ranks
            ranks.resize(size_t(rng.Below(int(ranks.size()))));
            fields[0] = Join(ranks, '/');
            f = Join(fields, ' ');
            break;
        case 6: // too many squares on a rank
            ranks[size_t(rng.Below(int(ranks.size())))] =
                rng.Pick({"ppppppppp", "9", "44", "8p", "17", "PPPPPPPPPPPPPPPPPPPP", "88888888", "K8k", "1q1q1q1q1q"});
            fields[0] = Join(ranks, '/');
            f = Join(fields, ' ');
            break;
        case 7: // kingless
            for (char& c : fields[0])
                if ((c == 'K' && rng.Chance(70)) || (c == 'k' && rng.Chance(70))) c = '1';
            f = Join(fields, ' ');
            break;
        case 8: // many kings
            for (char& c : fields[0])
                if (std::isalpha(static_cast<unsigned char>(c)) && rng.Chance(40))
                    c = std::isupper(static_cast<unsigned char>(c)) ? 'K' : 'k';
            f = Join(fields, ' ');
            break;
        case 9: // pawns on the back ranks
            ranks.front() = rng.Pick({"pppppppp", "PPPPPPPP", "P6p", "p7"});
            if (rng.Chance(50)) ranks.back() = rng.Pick({"PPPPPPPP", "pppppppp", "7P"});
            fields[0] = Join(ranks, '/');
            f = Join(fields, ' ');
            break;
        case 10: // a huge digit run
            f.insert(size_t(rng.Below(int(fields[0].size()) + 1)),
                     rng.Pick({"99999999999999999999", "2147483647", "4294967296", "0", "00000000", "9"}));
            break;
        case 11: // slashes
            f.insert(size_t(rng.Below(int(fields[0].size()) + 1)), std::string(size_t(rng.Range(1, 300)), '/'));
            break;
        case 12: { // odd side, castling, en passant and counters
            while (fields.size() < 6) fields.push_back("-");
            size_t which = size_t(rng.Range(1, 5));
            const char* odd[] = {"x",  "KQkqKQkqKQkq", "e9", "-1", "99999999999999", "", "W", "B", "--", "kqKQ",
                                 "a0", "\t",           "bb", "wb"};
            fields[which] = odd[rng.Below(14)];
            f = Join(fields, ' ');
            break;
        }
        case 13: // overlong
            f = Overlong(rng, f);
            break;
        case 14: // control bytes
            f.insert(size_t(rng.Below(int(f.size()) + 1)), 1, rng.Pick({"\t", "\r", "\x7f", "\x01", "\xff"})[0]);
            break;
        case 15: // every man a queen, or ranks crowded with one kind of man
            if (rng.Chance(50)) {
                for (char& c : fields[0])
                    if (std::isalpha(static_cast<unsigned char>(c)) && c != 'K' && c != 'k')
                        c = std::isupper(static_cast<unsigned char>(c)) ? 'Q' : 'q';
            } else {
                const std::string man(1, "QRBNqrbn"[rng.Below(8)]);
                for (std::string& rank : ranks)
                    if (rng.Chance(60)) rank = std::string(size_t(rng.Chance(80) ? 8 : 16), man[0]);
                fields[0] = Join(ranks, '/');
            }
            f = Join(fields, ' ');
            break;
        default: // EPD operations
            f += rng.Pick(std::vector<std::string>{" bm e4; id \"x\";", " bm Qxf7+; am e4;", " ;;;;",
                                                   " id \"" + std::string(300, 'y') + "\";", " c0 \"\\\"\";", " bm"});
            break;
        }
    }
    return f;
}

std::string MutatePositionFile(Rng& rng, const std::vector<std::string>& fens) {
    if (rng.Chance(3)) return "";
    if (rng.Chance(3)) return RandomBytes(rng, rng.Range(1, 400), false);
    std::vector<std::string> lines;
    int count = rng.Range(1, 6);
    for (int i = 0; i < count; ++i) {
        std::string fen = rng.Pick(fens);
        if (rng.Chance(75)) fen = MutateFen(rng, fen);
        if (rng.Chance(8)) fen = rng.Pick({"", " ", "\r", "   \t  ", "-", "/"});
        lines.push_back(fen);
    }
    const std::string end = rng.Chance(20) ? "\r\n" : "\n";
    std::string text;
    for (const std::string& line : lines) text += line + end;
    if (rng.Chance(20)) text.resize(text.size() - end.size()); // no line end after the last line
    return text;
}

void MutateSteps(Rng& rng, std::vector<Step>& steps, int count) {
    for (int i = 0; i < count && !steps.empty(); ++i) {
        size_t at = size_t(rng.Below(int(steps.size())));
        Step& s = steps[at];
        std::string line = s.send;
        const bool hadNewline = !line.empty() && IsNewline(line.back());
        if (hadNewline) line.pop_back();
        bool changed = true;
        switch (rng.Below(14)) {
        case 0: steps.erase(steps.begin() + long(at)); continue;
        case 1: {
            Step copy = s;
            copy.expect.clear();
            steps.insert(steps.begin() + long(at), copy);
            continue;
        }
        case 2:
            if (at + 1 < steps.size()) std::swap(steps[at], steps[at + 1]);
            continue;
        case 3: // cut inside the line
            line = line.substr(0, size_t(rng.Below(int(line.size()) + 1)));
            break;
        case 4: { // a word dropped
            std::vector<std::string> words = Split(line, ' ');
            words.erase(words.begin() + rng.Below(int(words.size())));
            line = Join(words, ' ');
            break;
        }
        case 5:
        case 6: line = MutateNumber(rng, line); break;
        case 7: // random bytes
            line.insert(size_t(rng.Below(int(line.size()) + 1)), RandomBytes(rng, rng.Range(1, 16), rng.Chance(40)));
            break;
        case 8: line = Overlong(rng, line); break;
        case 9: // no newline: the line runs into the next one
            s.send = line;
            s.expect.clear();
            continue;
        case 10: // CRLF, for this line or all of them
            if (rng.Chance(30)) {
                for (Step& t : steps)
                    if (!t.send.empty() && t.send.back() == '\n') t.send.insert(t.send.size() - 1, "\r");
                continue;
            }
            line += "\r";
            break;
        case 11: // blanks and tabs where one blank was
            for (char& c : line)
                if (c == ' ' && rng.Chance(50)) c = '\t';
            if (rng.Chance(50)) line = "  " + line + "   ";
            break;
        case 12: // an empty line or a line of blanks before the step
            steps.insert(steps.begin() + long(at), Step{rng.Pick({"\n", " \n", "\t\n", "\r\n"}), "", 0, 0});
            continue;
        default: // no waiting: the next lines arrive while this one is worked on
            s.expect.clear();
            s.pauseMs = 0;
            changed = false;
            break;
        }
        s.send = line + (hadNewline ? "\n" : "");
        if (changed) s.expect.clear();
    }
}
