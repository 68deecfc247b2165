// The evaluation table: its last line is the evaluation in pawns, and its Total column adds up to it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/shared/EvalTable.h"
#include "support/TestBoards.h"

namespace {

void ExpectConsistent(const ChessBoard& b) {
    const std::string table = EvalTable(b);
    std::vector<std::string> lines;
    std::istringstream in(table);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    char total[32];
    std::snprintf(total, sizeof total, "%.2f", Evaluate(b, char(b.SideToMove)) / 800.0);
    ASSERT_EQ(Words(lines.back()), (std::vector<std::string>{"Total", total})) << table;
    EXPECT_NE(table.find(b.SideToMove ? "(Black to move)" : "(White to move)"), std::string::npos) << table;
    size_t rows = 0;
    while (rows < lines.size() && Words(lines[rows]) != std::vector<std::string>{"Term", "White", "Black", "Total"})
        ++rows;
    ASSERT_LT(rows, lines.size()) << table;
    long sum = 0;
    for (size_t i = rows + 1; i + 1 < lines.size(); ++i) sum += std::lround(std::stod(Words(lines[i]).back()) * 100);
    EXPECT_EQ(sum, std::lround(std::stod(total) * 100)) << table;
    for (const std::string& line : lines) EXPECT_LE(line.size(), 80u) << line;
}

} // namespace

TEST(EvalTable, TotalIsTheEvaluationAndTheColumnAddsUp) {
    for (const ChessBoard& b : EvalSamplePositions()) ExpectConsistent(b);
    std::vector<ChessBoard> games = RandomGamePositions();
    for (size_t i = 0; i < games.size() && !HasFailure(); i += 5) ExpectConsistent(games[i]);
}
