// The harness: a session's steps, the liveness probe, and the judgement.
#include "fuzz/Harness.h"
#include "fuzz/Grammar.h"

#include <stdlib.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "fuzz/Process.h"

namespace {

constexpr size_t MaxKeptOutput = 4 << 20;
constexpr int WriteTimeoutMs = 20000;
constexpr long SessionBudgetMs = 40000;

std::string TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/velkor-fuzz-XXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    return mkdtemp(buf.data()) ? std::string(buf.data()) : std::string();
}

// The sanitizers' settings unless the caller chose them.
void SanitizerEnvironment() {
    setenv("ASAN_OPTIONS", "detect_leaks=1:abort_on_error=0", 0);
    setenv("UBSAN_OPTIONS", "halt_on_error=1:print_stacktrace=1", 0);
}

// The first line of a sanitizer report and the first frame in the engine's own sources.
Finding SanitizerFinding(const std::string& err) {
    std::string first, where;
    std::istringstream in(err);
    for (std::string line; std::getline(in, line);) {
        if (first.empty() && (line.find("runtime error:") != std::string::npos ||
                              line.find("ERROR: AddressSanitizer") != std::string::npos ||
                              line.find("ERROR: LeakSanitizer") != std::string::npos))
            first = line;
        if (!first.empty() && where.empty() && line.find(" in ") != std::string::npos &&
            line.find("/src/") != std::string::npos)
            where = line.substr(line.find(" in ") + 4);
    }
    std::string kind = first;
    static const std::regex location("([^ :]*/)?([^/ :]+:[0-9]+):[0-9]+: runtime error: (.*)");
    std::smatch m;
    if (std::regex_search(first, m, location)) {
        kind = m[2].str() + ": " + std::regex_replace(m[3].str(), std::regex("-?[0-9]+"), "#");
    } else {
        size_t at = first.find("ERROR: ");
        if (at != std::string::npos) kind = first.substr(at);
        kind = std::regex_replace(kind, std::regex("0x[0-9a-f]+|\\(pc.*"), "");
        size_t slash = where.rfind('/');
        if (!where.empty())
            kind +=
                " in " +
                (slash == std::string::npos ? where : where.substr(0, where.find(' ')) + " " + where.substr(slash + 1));
    }
    return {"sanitizer", first + (where.empty() ? "" : " [" + where + "]"), "sanitizer: " + kind};
}

class Run {
public:
    Run(Session& s, const HarnessOptions& o) : session(s), options(o), follower(MakeFollower(s.protocol)) {}

    Outcome Go() {
        long started = NowMs();
        SanitizerEnvironment();
        dir = TempDir();
        if (dir.empty()) return Fail("hang", "cannot make a temporary directory"), Finish(started);
        std::vector<std::string> args;
        for (const std::string& a : session.args) args.push_back(a == "{file}" ? dir + "/" + session.fileName : a);
        if (!session.fileName.empty())
            std::ofstream(dir + "/" + session.fileName, std::ios::binary) << session.fileContent;
        child.onLine = [this](const std::string& line) { OnLine(line); };
        if (!child.Start(options.binary, args, dir))
            return Fail("crash", "cannot start " + options.binary), Finish(started);

        if (session.protocol == Protocol::Batch) {
            child.CloseInput();
            if (!child.WaitEnd(options.batchMs))
                Hang("batch run still going after " + Secs(options.batchMs), "over time", false);
        } else {
            Steps();
            if (!child.Ended()) Probe();
        }
        Judge();
        return Finish(started);
    }

private:
    void Steps() {
        Rng moves(SessionSeed(session.seed ^ 0x6d6f766573ULL, std::uint64_t(session.number)));
        const long started = NowMs();
        bool broken = false; // an answer did not come: the session no longer goes as planned
        for (Step& st : session.steps) {
            // Past its budget, or once off its plan, a session is sent without long waits.
            const bool hurry = broken || NowMs() - started > SessionBudgetMs;
            if (st.pauseMs) child.Pump(hurry ? std::min(st.pauseMs, 100) : st.pauseMs);
            for (size_t at; (at = st.send.find("{move}")) != std::string::npos;)
                st.send.replace(at, 6, follower->MoveFor(moves));
            if (!Send(st.send)) return;
            if (!st.expect.empty() && !Await(std::regex(st.expect), hurry ? std::min(st.waitMs, 500) : st.waitMs))
                broken = true;
            if (child.Ended()) return;
        }
    }

    bool Send(const std::string& bytes) {
        follower->Sent(bytes);
        input += bytes;
        Note("> " + Escape(bytes.substr(0, 300)));
        if (child.Write(bytes, WriteTimeoutMs)) return true;
        if (!child.Ended() && !child.WaitEnd(200))
            Hang("input not read for " + Secs(WriteTimeoutMs), "input not read", false);
        return false;
    }

    // Waits for an output line after this point matching re (or the prompt being written, at the console).
    bool Await(const std::regex& re, int ms) {
        long mark = child.lines;
        matched = false;
        awaiting = &re;
        child.Pump(ms, [&] {
            return matched || (child.lines > mark && !child.partial.empty() && BoundedMatch(child.partial, re));
        });
        awaiting = nullptr;
        return matched || (child.lines > mark && BoundedMatch(child.partial, re));
    }

    void Probe() {
        if (session.endByEof) {
            child.CloseInput();
            if (!child.WaitEnd(options.exitMs))
                Hang("still running " + Secs(options.exitMs) + " after the end of input", "end of input", true);
            return;
        }
        if (!Send("\n")) return; // ends a line the session left open
        if (session.protocol == Protocol::Uci) {
            if (!Send("isready\n")) return;
            if (!Await(std::regex("readyok"), options.probeMs) && !child.Ended()) {
                if (!Send("stop\n")) return;
                if (Await(std::regex("readyok"), options.probeMs))
                    Add("late-readyok", "isready answered only after stop", "late-readyok");
                else if (!child.Ended())
                    Add("no-readyok", "isready unanswered for " + Secs(2 * options.probeMs) + ", stop included",
                        "no-readyok");
            }
        } else if (session.protocol == Protocol::Xboard && options.pingProbe) {
            if (!Send("ping 4242\n")) return;
            if (!Await(std::regex("pong 4242"), options.probeMs) && !child.Ended())
                Add("no-pong", "ping unanswered for " + Secs(options.probeMs), "no-pong");
        }
        if (child.Ended() || !Send("quit\n")) return;
        if (!child.WaitEnd(options.exitMs)) Hang("alive " + Secs(options.exitMs) + " after quit", "quit", true);
        Note("ended");
    }

    void OnLine(const std::string& line) {
        if (output.size() < MaxKeptOutput) output += line + "\n";
        Note("< " + Escape(line.substr(0, 300)));
        if (awaiting && !matched && BoundedSearch(line, *awaiting)) matched = true;
        if (!LineAllowed(session.protocol, line, lineNumber++ == 0))
            Add("grammar", "line \"" + Printable(line.substr(0, 200)) + "\"", "grammar: " + LineShape(line));
        follower->Output(line, findings);
    }

    void Judge() {
        if (child.sanitizerSeen) findings.push_back(SanitizerFinding(child.err));
        if (!child.killed && child.signal) {
            std::string name = strsignal(child.signal) ? strsignal(child.signal) : "?";
            Add("crash", "killed by signal " + std::to_string(child.signal) + " (" + name + ")",
                "crash: signal " + name);
        }
        if (!child.sanitizerSeen && child.Ended() && !child.signal && child.exitCode != 0)
            Add("exit-status", "exit code " + std::to_string(child.exitCode),
                "exit-status " + std::to_string(child.exitCode));
    }

    // A process that does not end in time. Given some grace, the report tells
    // a late end (a search that reads its input slowly) from one that never comes.
    void Hang(const std::string& detail, const std::string& after, bool grace) {
        long waited = NowMs();
        bool ended = grace && child.WaitEnd(options.graceMs);
        waited = NowMs() - waited;
        std::string signature =
            std::string("hang: ") + ProtocolName(session.protocol) +
            (session.protocol == Protocol::Batch && !session.args.empty() ? " " + session.args[0] : "") + ": " + after +
            ": ";
        if (ended)
            Add("hang", detail + "; it ended " + std::to_string(waited / 1000) + " s later", signature + "late end");
        else
            Add("hang", detail + (grace ? "; no end in " + Secs(options.graceMs) + " more" : ""), signature + "no end");
        child.Kill();
    }

    void Add(const std::string& kind, const std::string& detail, const std::string& signature) {
        for (const Finding& f : findings)
            if (f.signature == signature) return; // once a session
        findings.push_back({kind, detail, signature});
    }
    void Fail(const std::string& kind, const std::string& detail) { Add(kind, detail, kind + ": " + detail); }

    // The transcript: what went in and came out, and when.
    void Note(const std::string& text) {
        if (transcript.size() < MaxKeptOutput)
            transcript += "+" + std::to_string(NowMs() - begun) + " ms " + text + "\n";
    }

    static std::string Secs(int ms) { return std::to_string(ms / 1000) + " s"; }
    static std::string Printable(const std::string& s) {
        std::string out;
        for (unsigned char c : s) out += c >= 32 && c < 127 ? std::string(1, char(c)) : "\\x" + std::to_string(c);
        return out;
    }

    Outcome Finish(long started) {
        if (!child.Ended()) child.Kill();
        std::error_code ignored;
        if (!dir.empty()) std::filesystem::remove_all(dir, ignored);
        Outcome o;
        o.findings = findings;
        o.input = input;
        o.output = output;
        o.errors = child.err;
        o.transcript = transcript;
        o.ms = NowMs() - started;
        return o;
    }

    Session& session;
    const HarnessOptions& options;
    std::unique_ptr<Follower> follower;
    Child child;
    std::string dir, input, output, transcript;
    const long begun = NowMs();
    std::vector<Finding> findings;
    const std::regex* awaiting = nullptr;
    bool matched = false;
    long lineNumber = 0;
};

} // namespace

Outcome RunSession(Session& session, const HarnessOptions& options) { return Run(session, options).Go(); }

bool IsProtocolKind(const std::string& kind) {
    return kind == "grammar" || kind == "no-pong" || kind == "late-readyok" || kind == "exit-status";
}
