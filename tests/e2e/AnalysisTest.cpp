// Analysis as GUIs show it: MultiPV lines in UCI, xboard and the console, info lines that claim only what was
// searched and say it once, and "eval". Ranking and listed moves are the search's unit tests.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

#include "e2e/Runner.h"

namespace {

constexpr const char* Middlegame = "r1bqk2r/pp2bppp/2p5/3pP3/P2Q1P2/2N1B3/1PP3PP/R4RK1 b kq - 0 0";

struct InfoLine {
    int depth = 0, rank = 0;
    std::string score, pv;
};

// The info lines that carry a line, in order.
std::vector<InfoLine> InfoLines(const std::string& out) {
    static const std::regex info(R"(info depth (\d+) seldepth \d+(?: multipv (\d+))? score (\S+ -?\d+) nodes \d+ )"
                                 R"(nps \d+ time \d+ hashfull \d+ pv (.*))");
    std::vector<InfoLine> lines;
    std::smatch m;
    for (const std::string& line : Lines(out))
        if (std::regex_match(line, m, info))
            lines.push_back({std::stoi(m[1]), m[2].matched ? std::stoi(m[2]) : 0, m[3], m[4]});
    return lines;
}

// The output with the numbers that vary from run to run taken out.
std::string Steady(const std::string& out) { return std::regex_replace(out, std::regex(" (nps|time) [0-9]+"), ""); }

// Only the bestmove block of the last "go".
std::string LastSearch(const std::string& out) {
    const size_t end = out.rfind("bestmove");
    const size_t start = out.rfind("bestmove", end - 1);
    return out.substr(start == std::string::npos ? 0 : start, end - (start == std::string::npos ? 0 : start));
}

} // namespace

TEST(Analysis, UciLinesRankedLimitedAndOneLineUnchanged) {
    const std::string go = std::string("position fen ") + Middlegame + "\ngo depth 5\n";
    RunResult plain = RunVelkor({}, "uci\n" + go, 30);
    RunResult one = RunVelkor({}, "uci\nsetoption name MultiPV value 1\n" + go, 30);
    EXPECT_EQ(Steady(plain.out.substr(plain.out.find("uciok"))), Steady(one.out.substr(one.out.find("uciok"))));
    EXPECT_FALSE(Has(plain.out, " multipv "));
    // Every depth's final line once.
    std::vector<InfoLine> lines = InfoLines(plain.out);
    for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_FALSE(lines[i].depth == lines[i - 1].depth && lines[i].pv == lines[i - 1].pv &&
                     lines[i].score == lines[i - 1].score)
            << "shown twice: depth " << lines[i].depth << " " << lines[i].pv;
    EXPECT_EQ(lines.back().depth, 5);

    Session s;
    ASSERT_TRUE(s.Step("uci\nsetoption name MultiPV value 3\n" + go, "bestmove "));
    // Each depth's lines once, ranked 1..3 (which moves and in what order is the search's unit tests').
    lines = InfoLines(s.out);
    EXPECT_EQ(lines.size(), 15u);
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].rank, int(i % 3) + 1) << i;
    // No more lines than the listed moves.
    ASSERT_TRUE(s.Step("position startpos\ngo depth 4 searchmoves a2a3 g1f3", "bestmove "));
    for (const InfoLine& l : InfoLines(LastSearch(s.out))) EXPECT_LE(l.rank, 2);
    // One listed move is searched as deep as asked, not ended as a forced move.
    ASSERT_TRUE(s.Step("setoption name MultiPV value 1\ngo depth 4 searchmoves b1c3", "bestmove b1c3 "));
    EXPECT_EQ(InfoLines(LastSearch(s.out)).back().depth, 4);

    // A mate search with several lines: line 1 is the mate, and the search ends on it.
    ASSERT_TRUE(s.Step("setoption name MultiPV value 2\nposition fen 6k1/5ppp/8/8/8/8/4QPPP/4R1K1 w - - 0 1\n"
                       "go mate 2",
                       "bestmove e2e8 "));
    lines = InfoLines(LastSearch(s.out));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2].score, "mate 1");
    EXPECT_EQ(lines[lines.size() - 2].rank, 1);
    EXPECT_EQ(s.Finish(), 0);
}

// No line without a move; a fixed time kept whatever the options.
TEST(Analysis, InfoLinesTellTheTruth) {
    Session s;
    // Checkmated and stalemated: a score, no depth and no line, also in an analysis.
    ASSERT_TRUE(s.Step("uci\nposition fen R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1\ngo infinite",
                       "info depth 0 score mate 0 nodes 0 time "));
    ASSERT_TRUE(s.Step("stop", "bestmove 0000\n"));
    ASSERT_TRUE(s.Step("position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\ngo depth 3", "bestmove 0000\n"));
    EXPECT_TRUE(Has(s.out, "info depth 0 score cp 0 nodes 0 time "));
    EXPECT_FALSE(Has(s.out, "a1a1"));

    // UCI_AnalyseMode shows more, but "go movetime" still ends in time (generous: a loaded machine).
    for (const char* count : {"1", "4"}) {
        const long start = s.Elapsed();
        ASSERT_TRUE(s.Step(std::string("setoption name UCI_AnalyseMode value true\nsetoption name MultiPV value ") +
                               count + "\nposition startpos moves e2e4\ngo movetime 400",
                           "bestmove ", 5000));
        EXPECT_LT(s.Elapsed() - start, 2500) << count;
    }
    EXPECT_EQ(s.Finish(), 0);
}

TEST(Analysis, XboardAndConsoleLines) {
    Session x;
    ASSERT_TRUE(x.Step("xboard\nprotover 2", "done=1\n"));
    EXPECT_TRUE(Has(x.out, "option=\"MultiPV -spin 1 1 64\""));
    ASSERT_TRUE(x.Step(std::string("option MultiPV=3\nsetboard ") + Middlegame + "\nsd 4\nanalyze", "\n4 "));
    ASSERT_TRUE(x.Step("ping 4", "pong 4\n"));
    // Three thinking lines at depth 4, each with its own move; the analysis then waits.
    const std::regex thinking("(\\d+) -?\\d+ \\d+ \\d+ ([a-h][1-8][a-h][1-8]).*");
    std::map<std::string, std::set<std::string>> byDepth;
    std::smatch m;
    for (const std::string& line : Lines(x.out))
        if (std::regex_match(line, m, thinking)) byDepth[m.str(1)].insert(m.str(2));
    ASSERT_EQ(byDepth.size(), 4u);
    for (const auto& [depth, moves] : byDepth) EXPECT_EQ(moves.size(), 3u) << depth;
    ASSERT_TRUE(x.Step("exit\nsetboard R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1\nanalyze\nping 5", "pong 5\n"));
    ASSERT_TRUE(x.Step("exit\nping 6", "pong 6\n"));
    EXPECT_FALSE(Matches(x.out.substr(x.out.find("pong 5")), "\n\\d+ -?\\d+ \\d+ \\d+"))
        << "a mated position has no line";
    EXPECT_EQ(x.Finish(), 0);

    RunResult c = RunVelkor({"-post", "-st", "5"}, "hello\nmultipv 2\nsd 3\ngo\nhelp\nquit\n", 20);
    int depth3 = 0;
    for (const std::string& line : Lines(c.out)) depth3 += std::regex_match(line, std::regex("3 -?\\d+ \\d+ \\d+ .*"));
    EXPECT_EQ(depth3, 2) << c.out;
    EXPECT_TRUE(Has(c.out, "multipv N, eval"));
}

// "eval" in every protocol, also mid-search; the table's numbers are the unit tests'.
TEST(Analysis, EvalInEveryProtocol) {
    const std::string fen = "r1bq1rk1/pp2bppp/2n2n2/3p4/3P4/2NB1N2/PP3PPP/R1BQ1RK1 w - - 0 9";
    const struct {
        std::string input, prefix;
    } runs[] = {{"uci\nposition fen " + fen + "\neval\nquit\n", "info string "},
                {"xboard\nsetboard " + fen + "\neval\nquit\n", "# "},
                {"setboard " + fen + "\neval\nquit\n", ""}};
    for (const auto& run : runs) {
        const std::string out = RunVelkor({}, run.input, 20).out;
        EXPECT_TRUE(Matches(out, "\n" + run.prefix + "Term +White +Black +Total\n")) << out;
        EXPECT_TRUE(Matches(out, "\n" + run.prefix + "Material.*\n(.*\n)*" + run.prefix + "Total +[0-9.]+\n")) << out;
    }
    Session u;
    ASSERT_TRUE(u.Step("uci\nposition fen " + fen + "\ngo infinite", "info depth 3\n"));
    ASSERT_TRUE(u.Step("eval\nisready", "readyok\n")); // answered at once, and the search goes on
    EXPECT_TRUE(Has(u.out, "info string Total ") && !Has(u.out, "bestmove"));
    ASSERT_TRUE(u.Step("stop", "bestmove "));
    EXPECT_EQ(u.Finish(), 0);
}
