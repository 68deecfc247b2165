// Command-line options: each changes its settings and nothing else.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/ChessBoard.h"
#include "core/Status.h"
#include "frontend/app/CommandLine.h"
#include "frontend/app/Startup.h"
#include "frontend/batch/BatchJobs.h"
#include "support/TestBoards.h"

namespace {

// The settings the options touch, as "name=value" words.
std::vector<std::string> Settings() {
    const Status& s = MainStatus;
    const ChessBoard& b = MainBoard;
    std::vector<std::string> words = {"suite=" + SuiteFile, "evalfile=" + EvalFile,
                                      "eval=" + std::to_string(EvalSuiteRequested)};
    const std::vector<std::string> names = Words("maxdepth fd fixed st tpm left xboard uci sp post kibitz trace book "
                                                 "bench satrain perft ts pev mimic side");
    const long long values[] = {b.MaxDepth, s.FD,          b.FixedDepth, s.ST,          s.TimePerMove,
                                s.TimeLeft, s.xboard,      s.UCImode,    s.SelfPlay,    s.Post,
                                s.Kibitz,   s.Trace,       s.OwnBook,    s.BenchNumber, s.SATrain,
                                s.PERFT,    s.DoTestSuite, s.PEV,        s.Mimic,       b.SideToMove};
    for (size_t i = 0; i < names.size(); ++i) words.push_back(names[i] + "=" + std::to_string(values[i]));
    return words;
}

// Parses the arguments from a fresh state; returns the settings that changed and what was printed.
std::string Changes(std::vector<std::string> args, std::string* printed = nullptr) {
    MainStatus.xboard = MainStatus.UCImode = 0;
    MainStatus.initVars();
    MainStatus.Kibitz = MainStatus.OwnBook = MainStatus.TimeLeft = 0;
    MainBoard.InitRep();
    MainBoard.FixedDepth = 0;
    SuiteFile.clear(), EvalFile.clear(), EvalSuiteRequested = false;
    const std::vector<std::string> before = Settings();
    args.insert(args.begin(), "velkor");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    std::string out = CaptureStdout([&] { ParseCommandLine(int(args.size()), argv.data()); }), changed;
    if (printed) *printed = out;
    std::vector<std::string> after = Settings();
    for (size_t i = 0; i < after.size(); ++i)
        if (after[i] != before[i]) changed += (changed.empty() ? "" : " ") + after[i];
    return changed;
}

} // namespace

TEST(CommandLine, EachOptionChangesOnlyItsSettings) {
    CaptureStdout([] { ShowBanner(); }); // once per process, before the first other output
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"-st", "10"}, "st=10000 tpm=9000 left=600000"}, // seconds kept as milliseconds
        {{"-bench2", "-satrain", "-perft", "-eval", "four.epd"}, "evalfile=four.epd eval=1 bench=2 satrain=1 perft=1"},
        // Exact options need the whole argument.
        {{"-benchx", "-bench6", "bench", "-hx", "-helpme", "--fd", "3", "foo", "-", "", "-FD", "5", "--"}, ""},
        // Contained options fire inside longer arguments, several at once.
        {{"-nobook-post-kibitz-trace-uci"}, "uci=1 post=1 kibitz=1 trace=1"},
        {{"-sdx", "9"}, "maxdepth=9"},
        // Numbers are the leading digits: no sign, 0 without digits.
        {{"-sd", "-5"}, "maxdepth=0"},
        {{"-fd", "12x"}, "maxdepth=12 fd=12 fixed=12"},
        {{"-fd", "-1"}, "maxdepth=0"},
        // A value carries the rest of the pass: the tests after the option look at its value.
        {{"-sd", "-sp"}, "maxdepth=0 sp=1"},
        {{"-tc", "-sp"}, ""},                                                // -sp is tested before -tc
        {{"-tc", "xboard"}, "xboard=1"},                                     // xboard after it
        {{"-ts", "one.epd", "-pev", "two.epd"}, "suite=two.epd ts=1 pev=1"}, // the last suite option names the file
    };
    for (const auto& [args, expected] : cases) EXPECT_EQ(Changes(args), expected) << args[0];
    std::string printed;
    // A value option as the last argument is ignored.
    for (const char* last : {"-fd", "-sd", "-st", "-tc", "-ts", "-pev", "-mimicstudent", "-lpf", "-eval"})
        EXPECT_EQ(Changes({"-post", last}, &printed) + printed, "post=1") << last;
    Changes({"-st", "99999999999"});
    EXPECT_GT(MainStatus.ST, 0) << "a huge number saturates rather than wraps";
    // The position file's name is examined too.
    EXPECT_EQ(Changes({"-lpf", TempFile("a-sp.epd", "4k3/8/8/8/8/8/8/3QK3 b - -\n")}), "sp=1 side=1");
    EXPECT_EQ(MainBoard.WhiteQueens, Sq("d1"));
}
