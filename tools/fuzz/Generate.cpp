// Session skeletons as GUIs and users send them, then mutated; and the
// text form of a session.
#include <cctype>
#include <cstdio>
#include <sstream>

#include "fuzz/Chess.h"
#include "fuzz/Mutate.h"
#include "fuzz/Session.h"

namespace {

const std::vector<std::string> fixedPositions = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/pppq1ppp/2npbn2/4p3/4P3/2NPBN2/PPPQ1PPP/R3K2R w KQkq - 0 1",
    "r3k2r/pppq1ppp/2npbn2/4p3/4P3/2NPBN2/PPPQ1PPP/R3K2R b KQkq - 0 1",
    "8/4P1k1/8/8/8/8/8/K7 w - - 0 1",
    "8/2P5/8/8/8/8/5p2/k1K5 b - - 0 1",
    "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1",
    "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 0 1",
    "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1",
    "8/8/8/4k3/8/8/3PK3/8 w - - 0 1",
    "4k3/8/8/8/8/8/4P3/4K3 b - - 0 1",
    "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
    "7k/8/8/8/8/8/8/K6n w - - 0 1",
    "k7/8/8/8/8/8/8/7K w - - 0 1",
    "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4",
    "8/8/8/8/8/8/6k1/4K2R w K - 0 1",
    "r3k3/8/8/8/8/8/8/4K3 b q - 0 1",
    "8/P7/8/8/8/8/8/k1K5 w - - 0 1",
    "1QQQQQQQ/QQQQQQQQ/8/8/8/7k/qqqqqqq1/K7 w - - 0 1",
    "6k1/6p1/8/8/8/8/1q6/K7 w - - 0 1",
    "2r3k1/1q3ppp/8/8/8/8/5PPP/1R4K1 b - - 0 1",
    "8/1k6/8/8/8/8/6K1/8 b - - 99 150",
};

// Valid positions: a fixed one, or one reached by random legal moves.
Position RandomPosition(Rng& rng) {
    std::optional<Position> p = Position::FromFen(rng.Pick(fixedPositions));
    Position pos = p ? *p : Position::Start();
    if (rng.Chance(50)) {
        pos = Position::Start();
        for (int plies = rng.Range(1, 60); plies > 0; --plies) {
            std::vector<std::string> moves = pos.LegalMoves();
            if (moves.empty()) break;
            pos.Play(rng.Pick(moves));
        }
    }
    return pos;
}

// Plays up to n random legal moves, recording them.
void Advance(Rng& rng, Position& pos, std::vector<std::string>& moves, int n) {
    for (; n > 0; --n) {
        std::vector<std::string> legal = pos.LegalMoves();
        if (legal.empty()) return;
        moves.push_back(rng.Pick(legal));
        pos.Play(moves.back());
    }
}

std::string JoinMoves(const std::vector<std::string>& moves) {
    std::string s;
    for (const std::string& m : moves) s += " " + m;
    return s;
}

struct Builder {
    std::vector<Step>& steps;
    void Line(const std::string& text, const std::string& expect = "", int waitMs = 0, int pauseMs = 0) {
        steps.push_back(Step{text + "\n", expect, waitMs, pauseMs});
    }
};

const char* const BestMove = "^bestmove";
constexpr int SearchWaitMs = 10000;
constexpr int AnswerWaitMs = 3000;
constexpr int UciParts = 4; // inputs one UCI session carries

void UciGo(Rng& rng, Builder& b, const Position& pos) {
    switch (rng.Below(11)) {
    case 0:
    case 1: b.Line("go depth " + std::to_string(rng.Range(1, 5)), BestMove, SearchWaitMs); break;
    case 2: b.Line("go movetime " + std::to_string(rng.Range(10, 800)), BestMove, SearchWaitMs); break;
    case 3: {
        std::string line =
            "go wtime " + std::to_string(rng.Range(100, 20000)) + " btime " + std::to_string(rng.Range(100, 20000));
        if (rng.Chance(60))
            line += " winc " + std::to_string(rng.Range(0, 1000)) + " binc " + std::to_string(rng.Range(0, 1000));
        if (rng.Chance(40)) line += " movestogo " + std::to_string(rng.Range(1, 40));
        b.Line(line, BestMove, SearchWaitMs);
        break;
    }
    case 4: b.Line("go nodes " + std::to_string(rng.Range(100, 100000)), BestMove, SearchWaitMs); break;
    case 5: b.Line("go mate " + std::to_string(rng.Range(1, 5)), BestMove, SearchWaitMs); break;
    case 6: b.Line("go", BestMove, SearchWaitMs); break;
    case 7: {
        std::vector<std::string> legal = pos.LegalMoves(), chosen;
        for (int i = rng.Range(1, 4); i > 0 && !legal.empty(); --i) chosen.push_back(rng.Pick(legal));
        b.Line("go depth " + std::to_string(rng.Range(1, 4)) + " searchmoves" + JoinMoves(chosen), BestMove,
               SearchWaitMs);
        break;
    }
    case 8:
    case 9: {
        b.Line("go infinite");
        if (rng.Chance(30)) b.Line("isready", "", 0, rng.Range(50, 600));
        b.Line("stop", BestMove, SearchWaitMs, rng.Range(100, 1500));
        break;
    }
    default: {
        b.Line("go ponder wtime " + std::to_string(rng.Range(500, 20000)) + " btime " +
               std::to_string(rng.Range(500, 20000)));
        b.Line(rng.Chance(50) ? "ponderhit" : "stop", BestMove, SearchWaitMs, rng.Range(50, 1000));
        break;
    }
    }
}

void UciSkeleton(Rng& rng, Session& s) {
    if (rng.Chance(40)) s.args = {"-uci"};
    Builder b{s.steps};
    b.Line("uci", "^uciok$", AnswerWaitMs);
    const std::vector<std::string> options = {"setoption name Ponder value true",
                                              "setoption name Ponder value false",
                                              "setoption name OwnBook value true",
                                              "setoption name OwnBook value false",
                                              "setoption name SecondaryBook value true",
                                              "setoption name UCI_AnalyseMode value true",
                                              "setoption name UCI_AnalyseMode value false",
                                              "setoption name UCI_ShowCurrLine value false",
                                              "setoption name Hash value 16",
                                              "setoption name Threads value 1",
                                              "setoption name Clear Hash",
                                              "setoption name UCI_EngineAbout value something else",
                                              "setoption name Unknown Option value 7"};
    for (int i = rng.Range(0, 3); i > 0; --i) b.Line(rng.Pick(options));
    b.Line("isready", "^readyok$", AnswerWaitMs);
    if (rng.Chance(50)) b.Line("ucinewgame"), b.Line("isready", "^readyok$", AnswerWaitMs);

    bool fromStart = rng.Chance(60);
    Position base = fromStart ? Position::Start() : RandomPosition(rng);
    Position pos = base;
    std::vector<std::string> moves;
    for (int round = rng.Range(1, 8); round > 0; --round) {
        Advance(rng, pos, moves, rng.Range(1, 2));
        std::string line = fromStart ? "position startpos" : "position fen " + base.Fen();
        if (!moves.empty() || rng.Chance(20)) line += " moves" + JoinMoves(moves);
        b.Line(line);
        UciGo(rng, b, pos);
        if (rng.Chance(20)) b.Line("isready", "^readyok$", AnswerWaitMs);
        if (rng.Chance(15)) {
            b.Line("ucinewgame");
            fromStart = rng.Chance(60);
            base = fromStart ? Position::Start() : RandomPosition(rng);
            pos = base;
            moves.clear();
        }
    }
}

const char* const EngineMove = "^(move |[0-9]+\\. \\.\\.\\. |White mates|Black mates|Stalemate|1-0|0-1|1/2-1/2)";

void XboardSkeleton(Rng& rng, Session& s) {
    if (rng.Chance(40)) s.args = {"xboard"};
    Builder b{s.steps};
    b.Line("xboard");
    if (rng.Chance(70)) {
        b.Line("protover 2");
        for (int i = rng.Range(0, 3); i > 0; --i)
            b.Line(std::string(rng.Chance(50) ? "accepted " : "rejected ") +
                   rng.Pick(
                       {"setboard", "usermove", "ping", "done", "sigint", "san", "time", "draw", "analyze", "myname"}));
    }
    b.Line("new");
    for (int i = rng.Range(0, 4); i > 0; --i)
        b.Line(rng.Pick(
            {"random", "hard", "easy", "computer", "post", "nopost", "name Ann Example", "name Player (1800)"}));
    // Mostly shallow, so that a session plays many moves. "new" clears the
    // depth limit, so GUIs send the controls again after it.
    const bool shallow = rng.Chance(85);
    const std::string depth = "sd " + std::to_string(rng.Range(1, 4));
    const std::string level = rng.Pick({"level 40 5 0", "level 0 0:30 0.3", "level 0 1 1", "level 1 0 5"});
    const bool withLevel = rng.Chance(50);
    auto controls = [&] {
        if (shallow) {
            b.Line(depth);
            if (withLevel) b.Line(level);
        } else {
            b.Line(withLevel ? "st 1" : "level 0 0:30 0.3");
            b.Line("time " + std::to_string(rng.Range(50, 3000))),
                b.Line("otim " + std::to_string(rng.Range(50, 3000)));
        }
    };
    auto newGame = [&] { b.Line("new"), controls(); };
    controls();
    const std::string usermove = rng.Chance(50) ? "usermove " : "";
    for (int segment = rng.Range(1, 4); segment > 0; --segment) {
        // Weighted towards what the follower can check: analysis and the odd commands end its following.
        const int roll = rng.Below(20);
        switch (roll < 7 ? 0 : roll < 11 ? 2 : roll < 15 ? 3 : roll < 17 ? 4 : 5) {
        case 0: // play: the engine answers each move
            for (int i = rng.Range(1, 8); i > 0; --i) {
                if (rng.Chance(20))
                    b.Line("time " + std::to_string(rng.Range(100, 30000))),
                        b.Line("otim " + std::to_string(rng.Range(100, 30000)));
                b.Line(usermove + "{move}", EngineMove, SearchWaitMs);
            }
            break;
        case 2: // force, moves for both sides, go
            b.Line("force");
            for (int i = rng.Range(0, 6); i > 0; --i) b.Line(usermove + "{move}");
            b.Line("go", EngineMove, SearchWaitMs);
            break;
        case 3: { // a position from the GUI
            if (rng.Chance(70)) newGame();
            b.Line("force");
            b.Line("setboard " + RandomPosition(rng).Fen());
            if (rng.Chance(50))
                b.Line("go", EngineMove, SearchWaitMs);
            else
                b.Line(usermove + "{move}"), b.Line("go", EngineMove, SearchWaitMs);
            break;
        }
        case 4: // analysis
            b.Line("post");
            b.Line("analyze");
            b.Line(".", "", 0, rng.Range(100, 1200));
            if (rng.Chance(40)) b.Line(usermove + "{move}", "", 0, rng.Range(50, 500));
            b.Line("exit", "", 0, rng.Range(50, 800));
            break;
        default: // the rest of what GUIs say
            for (int i = rng.Range(1, 4); i > 0; --i) {
                switch (rng.Below(9)) {
                case 0: b.Line("ping " + std::to_string(rng.Range(1, 99))); break;
                case 1: b.Line(rng.Pick({"draw", "hint", "bk", "computer", "random"})); break;
                case 2: b.Line("force"), b.Line(rng.Pick({"undo", "remove"})); break;
                case 3:
                    b.Line("edit"), b.Line("#"), b.Line("Ke1"), b.Line("Pe4"), b.Line("c"), b.Line("ke8"), b.Line(".");
                    break;
                case 4: b.Line("playother"); break;
                case 5: b.Line(rng.Pick({"white", "black"})); break;
                case 6: b.Line("result 1-0 {White mates}"), newGame(); break;
                case 7: b.Line("go", EngineMove, SearchWaitMs), b.Line("?"); break;
                default: newGame(); break;
                }
            }
            break;
        }
    }
}

void ConsoleSkeleton(Rng& rng, Session& s) {
    s.args = {"-fd", std::to_string(rng.Range(1, 4))};
    if (rng.Chance(15)) s.args.push_back(rng.Pick({"-post", "-nobook", "-trace", "-kibitz"}));
    Builder b{s.steps};
    b.Line(rng.Pick({"hello", "play", "x", "console"}));
    Position pos = Position::Start();
    std::vector<std::string> played;
    const char* const prompt = "^Enter Move: $";
    for (int i = rng.Range(1, 10); i > 0; --i) {
        switch (rng.Below(10)) {
        case 0: b.Line("go", prompt, SearchWaitMs); break;
        case 1: b.Line("new", prompt, AnswerWaitMs); break;
        case 2:
            b.Line(rng.Pick({"help", "displayboard", "force", "white", "black", "post", "bk", "undo", "moves"}));
            break;
        case 3: b.Line(rng.Pick({"sd 2", "st 1", "dumpsee 12 28", "sfd 2", "Depth 3"})); break;
        case 4: b.Line("setboard " + RandomPosition(rng).Fen(), prompt, AnswerWaitMs); break;
        default: { // a move of a random game: the engine's replies are not followed
            Advance(rng, pos, played, 1);
            if (!played.empty()) b.Line(played.back(), prompt, SearchWaitMs);
            break;
        }
        }
    }
}

void BatchSkeleton(Rng& rng, Session& s) {
    std::vector<std::string> fens = fixedPositions;
    for (int i = 0; i < 4; ++i) fens.push_back(RandomPosition(rng).Fen());
    s.fileName = "positions.epd";
    s.fileContent = MutatePositionFile(rng, fens);
    s.endByEof = true;
    switch (rng.Below(9)) {
    case 0:
    case 1: s.args = {"-ts", "{file}", "-fd", "2"}; break;
    case 2: s.args = {"-ts", "{file}", "-fd", std::to_string(rng.Range(1, 3))}; break;
    case 3:
    case 4: s.args = {"-pev", "{file}"}; break;
    case 5:
    case 6: s.args = {"-eval", "{file}"}; break;
    case 7: s.args = {"-lpf", "{file}", "-perft", "-fd", "2"}; break;
    default: s.args = {"-mimicstudent", "{file}"}; break;
    }
}

} // namespace

Session GenerateSession(std::uint64_t seed, long number, Protocol protocol, bool all) {
    Rng rng(SessionSeed(seed, std::uint64_t(number)));
    if (all) {
        int roll = rng.Below(100);
        protocol = roll < 35   ? Protocol::Uci
                   : roll < 70 ? Protocol::Xboard
                   : roll < 80 ? Protocol::Console
                               : Protocol::Batch;
    }
    Session s;
    s.protocol = protocol;
    s.seed = seed;
    s.number = number;
    switch (protocol) {
    case Protocol::Uci: UciSkeleton(rng, s); break;
    case Protocol::Xboard: XboardSkeleton(rng, s); break;
    case Protocol::Console: ConsoleSkeleton(rng, s); break;
    case Protocol::Batch: BatchSkeleton(rng, s); return s;
    }
    // Without "-uci" or "xboard" on the command line the first word picks the
    // protocol: damaged, it would only make another console session.
    const bool firstWordPicks = s.protocol != Protocol::Console && s.args.empty();
    Step first = s.steps.front();
    if (firstWordPicks) s.steps.erase(s.steps.begin());
    // One session in six goes as a GUI sent it; the rest are damaged a little or a lot.
    if (!rng.Chance(17)) MutateSteps(rng, s.steps, rng.Chance(70) ? rng.Range(1, 3) : rng.Range(4, 12));
    if (firstWordPicks) s.steps.insert(s.steps.begin(), first);
    // One UCI process carries several inputs: each further one starts with
    // "ucinewgame" and "isready" (whose answer is checked) and is damaged on
    // its own. The follower judges each bestmove by the last position line.
    for (; s.protocol == Protocol::Uci && s.parts < UciParts; ++s.parts) {
        if (!s.steps.empty() && !s.steps.back().send.empty() && s.steps.back().send.back() != '\n')
            s.steps.back().send += '\n';
        Session part;
        UciSkeleton(rng, part);
        if (!rng.Chance(17)) MutateSteps(rng, part.steps, rng.Chance(70) ? rng.Range(1, 3) : rng.Range(4, 12));
        Builder b{s.steps};
        b.Line("ucinewgame");
        b.Line("isready", "^readyok$", AnswerWaitMs);
        s.steps.insert(s.steps.end(), part.steps.begin(), part.steps.end());
    }
    if (rng.Chance(12)) {
        s.endByEof = true;
        if (rng.Chance(50) && !s.steps.empty() && s.steps.back().send.back() == '\n') s.steps.back().send.pop_back();
    }
    return s;
}

std::string Escape(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c < 32 || c >= 127 || c == ' ') {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        } else {
            out += char(c);
        }
    }
    return out;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char c = text[++i];
        if (c == 'n')
            out += '\n';
        else if (c == 'r')
            out += '\r';
        else if (c == 't')
            out += '\t';
        else if (c == 'x' && i + 2 < text.size() + 0 && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
                 std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += char(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

// One item a line: "protocol", "origin", "arg", "file", "eof", then one "step"
// line per step with its pause, wait, expectation and bytes, all escaped.
std::string SaveSession(const Session& s) {
    std::ostringstream out;
    out << "velkor-fuzz-session 1\n";
    out << "protocol " << ProtocolName(s.protocol) << "\n";
    out << "origin " << s.seed << " " << s.number << "\n";
    for (const std::string& a : s.args) out << "arg " << Escape(a) << "\n";
    if (!s.fileName.empty()) out << "file " << Escape(s.fileName) << " " << Escape(s.fileContent) << "\n";
    if (s.endByEof) out << "eof\n";
    for (const Step& st : s.steps)
        out << "step " << st.pauseMs << " " << st.waitMs << " " << (st.expect.empty() ? "-" : Escape(st.expect)) << " "
            << Escape(st.send) << "\n";
    return out.str();
}

bool LoadSession(const std::string& text, Session* s, std::string* error) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != "velkor-fuzz-session 1") return *error = "not a saved session", false;
    *s = Session();
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string item;
        fields >> item;
        if (item == "protocol") {
            std::string name;
            fields >> name;
            if (!ProtocolFromName(name, &s->protocol)) return *error = "unknown protocol " + name, false;
        } else if (item == "origin") {
            fields >> s->seed >> s->number;
        } else if (item == "arg") {
            std::string a;
            fields >> a;
            s->args.push_back(Unescape(a));
        } else if (item == "file") {
            std::string name, content;
            fields >> name >> content;
            s->fileName = Unescape(name), s->fileContent = Unescape(content);
        } else if (item == "eof") {
            s->endByEof = true;
        } else if (item == "step") {
            Step st;
            std::string expect, send;
            fields >> st.pauseMs >> st.waitMs >> expect >> send;
            st.expect = expect == "-" ? "" : Unescape(expect);
            st.send = Unescape(send);
            s->steps.push_back(st);
        } else if (!item.empty()) {
            return *error = "unknown line: " + line, false;
        }
    }
    return true;
}
