// The evaluation table. Every Total-column row prints the change of the
// rounded running sum, not its own amount rounded, so that the printed rows
// add up to the printed total as a reader checks it.
#include "frontend/shared/EvalTable.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "eval/PawnHash.h"

namespace {

constexpr int UnitsPerPawn = 800;

// Units in hundredths of a pawn, rounded as printf rounds them to two
// decimals: the last row then agrees digit for digit with the total.
int Hundredths(int units) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", double(units) / UnitsPerPawn);
    return int(std::lround(std::strtod(text, nullptr) * 100));
}

std::string Pawns(int hundredths) {
    char text[32];
    int magnitude = std::abs(hundredths);
    std::snprintf(text, sizeof text, "%s%d.%02d", hundredths < 0 ? "-" : "", magnitude / 100, magnitude % 100);
    return text;
}

std::string Row(const char* term, const std::string& white, const std::string& black, const std::string& total) {
    char text[96];
    std::snprintf(text, sizeof text, "%-26s%10s%10s%10s\n", term, white.c_str(), black.c_str(), total.c_str());
    return text;
}

std::string Header(const EvalBreakdown& e) {
    const bool black = e.sideToMove;
    std::string text = "Static evaluation in pawns (1 pawn = 800 units), two decimals.\n"
                       "White, Black: each side's own terms; + is good for that side.\n";
    text += black ? "Total: Black's minus White's, from Black's view (Black to move).\n"
                  : "Total: White's minus Black's, from White's view (White to move).\n";
    if (e.phase)
        text += "Game phase " + std::to_string(e.phase) + " of 24 (1 = every piece on, 24 = kings and pawns).\n";
    switch (e.exit) {
    case EvalExit::PawnlessEnding:
        text += "No pawns and no winning edge: the kings' squares and 3/4 of the material count.\n";
        break;
    case EvalExit::DrawishEnding: text += "Rook against a minor piece without pawns: the score is halved.\n"; break;
    case EvalExit::LazyCut: text += "Stopped early: the score lies far outside the search window.\n"; break;
    case EvalExit::Full:
        if (e.scaling) text += "Bishops of opposite colours: a quarter of the positional score remains.\n";
        break;
    }
    return text + Row("Term", "White", "Black", "Total");
}

} // namespace

std::string FormatEvalTable(const EvalBreakdown& e) {
    std::string text = Header(e);
    int units = 0, printed = 0; // running sum of the Total column, and its rounding so far
    auto total = [&](int sideToMoveView) {
        units += sideToMoveView;
        int before = printed;
        printed = Hundredths(units);
        return Pawns(printed - before);
    };
    for (int g = 0; g < EvalGroupCount; ++g) {
        int white = e.white[g], black = e.black[g];
        text += Row(EvalGroupName(EvalGroup(g)), Pawns(Hundredths(white)), Pawns(Hundredths(black)),
                    total(e.ForSideToMove(white - black)));
    }
    text += Row("Endgame scaling", "", "", total(e.ForSideToMove(e.scaling)));
    text += Row("Phase blend truncation", "", "", total(e.ForSideToMove(e.phaseRounding)));
    text += Row("Rounding to 10 units", "", "", total(e.ForSideToMove(e.roundingToTen)));
    char score[32];
    std::snprintf(score, sizeof score, "%.2f", double(e.score) / UnitsPerPawn);
    return text + Row("Total", "", "", score);
}

std::string EvalTable(const ChessBoard& board) { return FormatEvalTable(ExplainEvaluation(board)); }

void PrepareForEvaluation(ChessBoard& b) {
    b.InitPieceCounts();
    b.WhitePieceCount =
        b.WhiteQueenCount + b.WhiteRookCount + b.WhiteBishopCount + b.WhiteKnightCount + b.WhitePawnCount;
    b.BlackPieceCount =
        b.BlackQueenCount + b.BlackRookCount + b.BlackBishopCount + b.BlackKnightCount + b.BlackPawnCount;
    b.PawnKingHash = PawnKingKey(b);
    b.CheckDraw(0);
}

std::string PositionEvalTable(const ChessBoard& position) {
    ChessBoard b = position;
    PrepareForEvaluation(b);
    return EvalTable(b);
}
