// Command-line options: exact and contained matches, values, and several
// options firing on one argument.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "board/ChessBoard.h"
#include "frontend/CommandLine.h"
#include "frontend/Status.h"
#include "support/TestBoards.h"

namespace {

class CommandLine : public testing::Test {
protected:
    void SetUp() override {
        Status& s = MainStatus;
        s.xboard = s.UCImode = 0;
        s.initVars();
        s.Kibitz = 0;
        s.TimeLeft = 0;
        MainBoard.InitRep();
        MainBoard.FixedDepth = 0;
        SuiteFile.clear();
        EvalFile.clear();
        EvalSuiteRequested = false;
    }

    static void Parse(std::vector<std::string> args) {
        args.insert(args.begin(), "velkor");
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ParseCommandLine(int(args.size()), argv.data());
    }
};

// A file in a fresh directory, so a test may choose a name that matters.
std::string PositionFile(const std::string& name, const std::string& content) {
    char dir[] = "/tmp/velkor-cl-XXXXXX";
    if (!mkdtemp(dir)) return name;
    std::string path = std::string(dir) + "/" + name;
    FILE* f = std::fopen(path.c_str(), "w");
    std::fputs(content.c_str(), f);
    std::fclose(f);
    return path;
}

} // namespace

TEST_F(CommandLine, DepthAndTimeSettings) {
    Parse({"-fd", "5"});
    EXPECT_EQ(MainStatus.getFD(), 5);
    EXPECT_EQ(MainBoard.MaxDepth, 5);
    EXPECT_EQ(MainBoard.FixedDepth, 5);

    SetUp();
    Parse({"-sd", "7"});
    EXPECT_EQ(MainBoard.MaxDepth, 7);
    EXPECT_EQ(MainStatus.FD, 0);
    EXPECT_EQ(MainBoard.FixedDepth, 0);

    SetUp();
    Parse({"-st", "10"});
    EXPECT_EQ(MainStatus.ST, 10000) << "seconds are kept as milliseconds";
    EXPECT_EQ(MainStatus.TimePerMove, 9000);
    EXPECT_EQ(MainStatus.TimeLeft, 600000);

    SetUp();
    Parse({"-fd", "abc"});
    EXPECT_EQ(MainBoard.MaxDepth, 0) << "a missing number reads as 0";
    SetUp();
    Parse({"-fd", "12plies"});
    EXPECT_EQ(MainBoard.FixedDepth, 12) << "the leading digits count";
    SetUp();
    Parse({"-st", "99999999999"});
    EXPECT_GT(MainStatus.ST, 0) << "a huge number saturates rather than wraps";
}

TEST_F(CommandLine, ExactOptionsNeedTheWholeArgument) {
    const std::pair<const char*, int> benches[] = {{"-bench", 1},  {"-bench2", 2}, {"-bench3", 3}, {"-bench4", 4},
                                                   {"-bench5", 5}, {"-benchx", 0}, {"-bench6", 0}, {"bench", 0}};
    for (auto [arg, number] : benches) {
        SetUp();
        Parse({arg});
        EXPECT_EQ(MainStatus.BenchNumber, number) << arg;
    }
    SetUp();
    Parse({"-satrain", "-perft", "-hx", "-helpme", "--fd", "3"});
    EXPECT_EQ(MainStatus.SATrain, 1);
    EXPECT_EQ(MainStatus.getPERFT(), 1);
    EXPECT_EQ(MainBoard.MaxDepth, 56) << "--fd is not -fd";
}

TEST_F(CommandLine, ContainedOptionsFireInsideLongerArguments) {
    Parse({"-xboard"});
    EXPECT_EQ(MainStatus.getxboard(), 1);
    SetUp();
    Parse({"xboard"});
    EXPECT_EQ(MainStatus.getxboard(), 1);

    SetUp();
    Parse({"-nobook-post-kibitz-trace-uci"});
    EXPECT_EQ(MainStatus.OwnBook, 0);
    EXPECT_EQ(MainStatus.Post, 1);
    EXPECT_EQ(MainStatus.Kibitz, 1);
    EXPECT_EQ(MainStatus.Trace, 1);
    EXPECT_EQ(MainStatus.UCImode, 1);

    SetUp();
    Parse({"-stats", "4"});
    EXPECT_EQ(MainStatus.ST, 4000) << "-stats contains -st";
    SetUp();
    Parse({"-sdx", "9"});
    EXPECT_EQ(MainBoard.MaxDepth, 9);
    SetUp();
    Parse({"-spy"});
    EXPECT_EQ(MainStatus.SelfPlay, 1);
}

TEST_F(CommandLine, AValueCarriesTheRestOfThePass) {
    // The tests after "-sd" look at its value, so "-sp" still fires; "-fd" comes earlier and does not.
    Parse({"-sd", "-sp"});
    EXPECT_EQ(MainBoard.MaxDepth, 0);
    EXPECT_EQ(MainStatus.SelfPlay, 1);

    SetUp();
    Parse({"-tc", "-sp"});
    EXPECT_EQ(MainStatus.SelfPlay, 0) << "-sp is tested before -tc";
    SetUp();
    Parse({"-tc", "xboard"});
    EXPECT_EQ(MainStatus.getxboard(), 1) << "xboard is tested after -tc";
    SetUp();
    Parse({"-tc", "40", "-post"});
    EXPECT_EQ(MainStatus.Post, 1) << "the next argument begins a new pass";

    SetUp();
    std::string file = PositionFile("a-sp.epd", "4k3/8/8/8/8/8/8/3QK3 b - -\n");
    Parse({"-lpf", file});
    EXPECT_EQ(MainStatus.SelfPlay, 1) << "the file name contains -sp";
    EXPECT_EQ(MainBoard.WhiteQueens, Sq("d1"));
    EXPECT_EQ(MainBoard.SideToMove, 1);
}

TEST_F(CommandLine, SuiteFilesAndOptionsWithoutValues) {
    Parse({"-ts", "one.epd", "-pev", "two.epd"});
    EXPECT_EQ(MainStatus.getDoTestSuite(), 1);
    EXPECT_EQ(MainStatus.PEV, 1);
    EXPECT_EQ(SuiteFile, "two.epd") << "the last suite option names the file";

    SetUp();
    std::string said = CaptureStdout([] { Parse({"-mimicstudent", "three.epd"}); });
    EXPECT_EQ(said, "## Mimic Student option detected \n");
    EXPECT_EQ(MainStatus.Mimic, 1);
    EXPECT_EQ(SuiteFile, "three.epd");

    SetUp();
    Parse({"-eval", "four.epd"});
    EXPECT_TRUE(EvalSuiteRequested);
    EXPECT_EQ(EvalFile, "four.epd");

    // A value option as the last argument is ignored.
    for (const char* last : {"-fd", "-sd", "-st", "-tc", "-ts", "-pev", "-mimicstudent", "-lpf", "-eval"}) {
        SetUp();
        std::string said2 = CaptureStdout([&] { Parse({"-post", last}); });
        EXPECT_EQ(said2, "") << last;
        EXPECT_EQ(MainStatus.Post, 1);
        EXPECT_EQ(MainBoard.MaxDepth, 56) << last;
        EXPECT_EQ(MainStatus.ST, 0) << last;
        EXPECT_EQ(MainStatus.DoTestSuite | MainStatus.PEV | MainStatus.Mimic, 0) << last;
        EXPECT_FALSE(EvalSuiteRequested) << last;
        EXPECT_EQ(SuiteFile, "") << last;
    }
}

TEST_F(CommandLine, UnknownArgumentsAreIgnored) {
    Parse({"foo", "-", "", "-FD", "5", "--"});
    EXPECT_EQ(MainBoard.MaxDepth, 56);
    EXPECT_EQ(MainStatus.getxboard() | MainStatus.UCImode | MainStatus.SelfPlay | MainStatus.Post, 0);
}

TEST_F(CommandLine, HelpEndsTheProcessAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(Parse({"-fd", "3", "-help"}), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(Parse({"-h"}), testing::ExitedWithCode(0), "");
}
