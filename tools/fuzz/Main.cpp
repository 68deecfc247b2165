// velkor_fuzz: random and mutated sessions against an engine binary.
//
//   velkor_fuzz --binary PATH [--seconds N] [--seed S] [--protocol uci|xboard|console|batch|all]
//               [--keep DIR] [--grammar warn|fail] [--xboard-probe ping|quit] [--probe-ms N]
//               [--exit-ms N] [--session N] [--known FILE] [--verbose]
//   velkor_fuzz --binary PATH --replay FILE [--verbose]
//
// Every failure is printed once per signature with the seed and session
// number that make it again; its input is kept in DIR. The exit code is 1
// when a fatal kind was found (with --grammar fail, protocol kinds too)
// whose signature is not listed in the --known file.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "fuzz/Chess.h"
#include "fuzz/Harness.h"
#include "fuzz/Process.h"
#include "fuzz/Session.h"

namespace {

struct Options {
    HarnessOptions harness;
    long seconds = 120;
    std::uint64_t seed = 0;
    bool seedGiven = false;
    Protocol protocol = Protocol::Uci;
    bool all = true;
    std::string keep = "fuzz-failures";
    bool grammarFails = true;
    long session = -1;
    std::string replay;
    bool verbose = false;
    std::set<std::string> known; // signatures reported but not failed on (--known FILE)
};

std::string Trim(const std::string& s) {
    size_t end = s.find_last_not_of(" \t\r");
    return end == std::string::npos ? "" : s.substr(0, end + 1);
}

[[noreturn]] void Usage(const char* why) {
    std::fprintf(stderr,
                 "velkor_fuzz: %s\n"
                 "usage: velkor_fuzz --binary PATH [--seconds N] [--seed S] [--protocol uci|xboard|console|batch|all]\n"
                 "                   [--keep DIR] [--grammar warn|fail] [--xboard-probe ping|quit] [--probe-ms N]\n"
                 "                   [--session N] [--verbose]\n"
                 "       velkor_fuzz --binary PATH --replay FILE [--verbose]\n",
                 why);
    std::exit(2);
}

// One signature a line, as the summary prints it; "#" starts a comment line.
void ReadKnown(const std::string& path, std::set<std::string>* known) {
    std::ifstream in(path);
    if (!in) Usage(("cannot read " + path).c_str());
    for (std::string line; std::getline(in, line);)
        if (!Trim(line).empty() && line[0] != '#') known->insert(Trim(line));
}

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) Usage(("missing value after " + a).c_str());
            return argv[++i];
        };
        auto number = [&]() -> long long {
            std::string v = value();
            char* end = nullptr;
            long long n = std::strtoll(v.c_str(), &end, 10);
            if (v.empty() || *end || n < 0) Usage(("not a number: " + v).c_str());
            return n;
        };
        if (a == "--binary")
            o.harness.binary = value();
        else if (a == "--seconds")
            o.seconds = long(number());
        else if (a == "--seed")
            o.seed = std::uint64_t(number()), o.seedGiven = true;
        else if (a == "--keep")
            o.keep = value();
        else if (a == "--session")
            o.session = long(number());
        else if (a == "--replay")
            o.replay = value();
        else if (a == "--verbose")
            o.verbose = true;
        else if (a == "--known")
            ReadKnown(value(), &o.known);
        else if (a == "--probe-ms")
            o.harness.probeMs = int(number());
        else if (a == "--exit-ms")
            o.harness.exitMs = int(number());
        else if (a == "--protocol") {
            std::string p = value();
            o.all = p == "all";
            if (!o.all && !ProtocolFromName(p, &o.protocol)) Usage(("unknown protocol " + p).c_str());
        } else if (a == "--grammar") {
            std::string g = value();
            if (g != "warn" && g != "fail") Usage("--grammar takes warn or fail");
            o.grammarFails = g == "fail";
        } else if (a == "--xboard-probe") {
            std::string p = value();
            if (p != "ping" && p != "quit") Usage("--xboard-probe takes ping or quit");
            o.harness.pingProbe = p == "ping";
        } else {
            Usage(("unknown argument " + a).c_str());
        }
    }
    if (o.harness.binary.empty()) Usage("--binary is required");
    if (!std::filesystem::exists(o.harness.binary)) Usage(("no binary at " + o.harness.binary).c_str());
    o.harness.binary = std::filesystem::absolute(o.harness.binary).string(); // each process starts in its own directory
    if (!o.seedGiven) o.seed = std::uint64_t(std::time(nullptr));
    return o;
}

struct Signature {
    std::string kind, detail;
    long count = 0;
    std::uint64_t seed = 0;
    long session = -1;
    std::string saved;
};

class Report {
public:
    explicit Report(const Options& o) : options(o) {}

    bool Fatal(const std::string& kind) const { return options.grammarFails || !IsProtocolKind(kind); }
    bool Known(const std::string& signature) const { return options.known.count(Trim(signature)) > 0; }
    const char* Note(const Finding& f) const {
        return Known(f.signature) ? " (known)" : Fatal(f.kind) ? "" : " (warn)";
    }

    void Record(const Session& s, const Outcome& out) {
        ++processes;
        inputs += s.parts;
        for (const Finding& f : out.findings) {
            ++byKind[f.kind];
            Signature& sig = signatures[Trim(f.signature)];
            bool first = sig.count++ == 0;
            if (first) sig.kind = f.kind, sig.detail = f.detail, sig.seed = s.seed, sig.session = s.number;
            // A few inputs of each fault are enough to work on.
            std::string saved = sig.count <= 2 ? Save(s, out, f.kind) : "";
            if (first) sig.saved = saved;
            if (first || options.verbose)
                std::printf("FAIL %s%s seed=%llu session=%ld protocol=%s: %s%s\n", f.kind.c_str(), Note(f),
                            (unsigned long long)s.seed, s.number, ProtocolName(s.protocol), f.detail.c_str(),
                            saved.empty() ? "" : (" -> " + saved).c_str());
        }
        std::fflush(stdout);
    }

    // Writes the session (for --replay), the raw input and the engine's output.
    std::string Save(const Session& s, const Outcome& out, const std::string& kind) {
        std::error_code ec;
        std::filesystem::create_directories(options.keep, ec);
        std::string base = options.keep + "/" + std::to_string(s.seed) + "-" + std::to_string(s.number) + "-" +
                           ProtocolName(s.protocol) + "-" + kind;
        std::ofstream(base + ".session", std::ios::binary) << SaveSession(s);
        std::ofstream(base + ".in", std::ios::binary) << out.input;
        if (!s.fileName.empty()) std::ofstream(base + ".epd", std::ios::binary) << s.fileContent;
        std::ofstream(base + ".out", std::ios::binary) << out.transcript << "--- stderr ---\n" << out.errors;
        return base + ".session";
    }

    int Summary(long ms) {
        int fatal = 0;
        std::printf("\nsignatures:\n");
        for (const auto& [text, sig] : signatures) {
            const char* note = Known(text) ? "known" : Fatal(sig.kind) ? "FATAL" : "warn";
            std::printf("  %-5s %-12s %5ld x  seed=%llu session=%ld  %s\n", note, sig.kind.c_str(), sig.count,
                        (unsigned long long)sig.seed, sig.session, text.c_str());
            if (Fatal(sig.kind) && !Known(text)) ++fatal;
        }
        std::printf("velkor_fuzz: %ld inputs, %ld processes, %ld s; failures:", inputs, processes, ms / 1000);
        for (const char* k : {"crash", "sanitizer", "hang", "no-readyok", "illegal", "grammar", "no-pong",
                              "late-readyok", "exit-status"})
            std::printf(" %s %ld%s", k, byKind[k], Fatal(k) ? "" : " (warn)");
        std::printf("\n");
        std::printf("velkor_fuzz: %s\n", fatal ? "FAILED (new fatal signatures above)" : "passed");
        return fatal ? 1 : 0;
    }

private:
    const Options& options;
    long inputs = 0, processes = 0;
    std::map<std::string, long> byKind;
    std::map<std::string, Signature> signatures;
};

int Replay(const Options& o) {
    std::ifstream in(o.replay, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    Session s;
    std::string error;
    if (!LoadSession(text.str(), &s, &error)) Usage((o.replay + ": " + error).c_str());
    Outcome out = RunSession(s, o.harness);
    if (o.verbose)
        std::printf("--- transcript ---\n%s--- stderr ---\n%s--- end ---\n", out.transcript.c_str(),
                    out.errors.c_str());
    int fatal = 0;
    for (const Finding& f : out.findings) {
        bool isFatal = (o.grammarFails || !IsProtocolKind(f.kind)) && !o.known.count(Trim(f.signature));
        std::printf("FAIL %s%s: %s\n", f.kind.c_str(), isFatal ? "" : " (warn)", f.detail.c_str());
        fatal += isFatal;
    }
    std::printf("replay of %s: %zu findings in %ld ms\n", o.replay.c_str(), out.findings.size(), out.ms);
    return fatal ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN); // a dead engine's input must not end the driver
    Options o = Parse(argc, argv);
    InitChess();
    if (!o.replay.empty()) return Replay(o);

    std::printf("velkor_fuzz: seed %llu, %s, %ld s, binary %s\n", (unsigned long long)o.seed,
                o.all ? "all protocols" : ProtocolName(o.protocol), o.seconds, o.harness.binary.c_str());
    std::fflush(stdout);
    Report report(o);
    const long started = NowMs();
    for (long n = o.session >= 0 ? o.session : 0;; ++n) {
        Session s = GenerateSession(o.seed, n, o.protocol, o.all);
        Outcome out = RunSession(s, o.harness);
        report.Record(s, out);
        if (o.verbose)
            std::printf("session %ld %s: %zu findings, %ld ms\n", n, ProtocolName(s.protocol), out.findings.size(),
                        out.ms);
        if (o.session >= 0 || NowMs() - started >= o.seconds * 1000) break;
    }
    return report.Summary(NowMs() - started);
}
