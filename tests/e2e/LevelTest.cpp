// Playing levels: the UCI and xboard options and console commands, the line naming the level, the clock kept.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <thread>

#include "e2e/Runner.h"

namespace {

constexpr const char* LimitTo = "setoption name UCI_LimitStrength value true\nsetoption name UCI_Elo value ";

} // namespace

TEST(UciLevel, OptionsSetTheLevelAndTheSearchNamesIt) {
    RunResult r = RunVelkor({},
                            "uci\nsetoption name UCI_Elo value 3000\nsetoption name Skill Level value 10\n"
                            "position startpos\ngo depth 3\n"
                            // UCI_Elo wins over the skill while the limit is on.
                            "setoption name Level Seed value 7\nsetoption name uci_limitstrength value true\n"
                            "setoption name UCI_Elo value 1500\ngo depth 3\n"
                            "setoption name UCI_LimitStrength value false\nsetoption name Skill Level value 20\n"
                            "go depth 3\n",
                            20);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(std::regex_search(r.out, std::regex("info string UCI_Elo 3000 is out of range 800..2000: 2000 used\n"
                                                    "info string playing at 1400 Elo \\(seed [1-9][0-9]*\\)\n"
                                                    "info depth 1\n")))
        << r.out;
    EXPECT_TRUE(Has(r.out, "info string playing at 1500 Elo (seed 7)\ninfo depth 1\n"));
    EXPECT_EQ(Count(r.out, "playing at"), 2) << "full strength says nothing";
    EXPECT_EQ(Count(r.out, "multipv"), 0) << "the lines a level chooses from are not shown";
    EXPECT_EQ(Count(r.out, "bestmove "), 3);
}

// A level never takes longer than the clock allows (a second for the whole game); a ponder search that has
// spent its level's nodes keeps its move until the ponderhit.
TEST(UciLevel, KeepsToItsClockAndPonders) {
    for (const char* elo : {"2000", "1500", "800"}) {
        Session s;
        ASSERT_TRUE(s.Step(std::string("uci\n") + LimitTo + elo + "\nisready", "readyok\n"));
        const long before = s.Elapsed();
        ASSERT_TRUE(s.Step("position startpos moves e2e4\ngo wtime 1000 btime 1000", "bestmove ", 5000)) << elo;
        EXPECT_LT(s.Elapsed() - before, 1000) << elo;
    }
    Session s;
    ASSERT_TRUE(s.Step(std::string("uci\nsetoption name Ponder value true\n") + LimitTo +
                           "800\nposition startpos moves e2e4\ngo ponder wtime 60000 btime 60000",
                       "info depth 2\n"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_TRUE(s.Step("isready", "readyok\n"));
    EXPECT_FALSE(Has(s.out, "bestmove"));
    EXPECT_TRUE(s.Step("ponderhit", "bestmove ", 5000));
}

// Switched off, the search is the one before levels: the same move from the same nodes.
TEST(UciLevel, OffSearchesAsBefore) {
    Session s;
    ASSERT_TRUE(s.Step("uci\nsetoption name Level Seed value 3\nsetoption name UCI_Elo value 900\n"
                       "position fen r1bqk2r/pp2bppp/2p5/3pP3/P2Q1P2/2N1B3/1PP3PP/R4RK1 b kq - 0 1\ngo depth 7",
                       "bestmove ", 30000));
    ASSERT_TRUE(s.WaitFor("\n"));
    EXPECT_TRUE(std::regex_search(s.out, std::regex("info depth 7 .* nodes 31641 .*\n(.*\n)*bestmove c8f5 \n")))
        << s.out;
}

// Out-of-range values are clamped and told (level and book options alike); the level goes to the log only.
TEST(XboardLevel, OptionsClampedAndTheLevelLogged) {
    Session s;
    ASSERT_TRUE(s.Step("xboard\nprotover 2", "done=1\n"));
    ASSERT_TRUE(s.Step("option BookSeed=-5\noption UCI_Elo=5000\noption UCI_LimitStrength=1\noption "
                       "UCI_Elo=1200\noption Level Seed=5\n"
                       "new\nsd 4\nusermove e2e4",
                       "1. ... "));
    ASSERT_TRUE(s.Step("option UCI_LimitStrength=0\noption Skill Level=0\nusermove d2d4", "2. ... "));
    ASSERT_TRUE(s.Step("option Skill Level=20\nusermove g1f3", "3. ... "));
    EXPECT_EQ(s.Finish(), 0);
    EXPECT_TRUE(Has(s.out, "telluser BookSeed -5 is out of range 0..2147483647: 0 used\n"));
    EXPECT_TRUE(Has(s.out, "telluser UCI_Elo 5000 is out of range 800..2000: 2000 used\n"));
    EXPECT_FALSE(Has(s.out, "Playing")) << "xboard hears nothing of the level";
    const std::string log = s.Log();
    EXPECT_TRUE(Has(log, "Playing level 1200 Elo seed 5:"));
    EXPECT_TRUE(Has(log, "Playing level 800 Elo seed 5:"));
    EXPECT_EQ(Count(log, "Playing level"), 2);
}

TEST(ConsoleLevel, CommandsAndTheLevelOfEachMove) {
    RunResult r = RunVelkor({"-fd", "4"},
                            "strength 1200\nseed 9\nskill 5\nstrength 5000\nstrength abc\nseed\nstrength 1300\n"
                            "e2e4\nstrength off\ng1f3\nhelp\nquit\n",
                            30);
    EXPECT_EQ(r.exitCode, 0);
    for (const char* said :
         {"Level: 1200 Elo\n", "Level: 1200 Elo (seed 9)\n", "Level: 1100 Elo (seed 9)\n",
          "strength 5000 is out of range 800..2000: 2000 used\nLevel: 2000 Elo (seed 9)\n",
          "strength needs an Elo from 800 to 2000, or off\n", "seed needs a number from 0 to 2147483647\n",
          "Playing at 1300 Elo (seed 9)\n", "Level: full strength\n", "  skill N         a level from 0 to 20"})
        EXPECT_TRUE(Has(r.out, said)) << said << "\n" << r.out;
    EXPECT_EQ(Count(r.out, "Playing at"), 1) << "g1f3 was answered at full strength";
}
