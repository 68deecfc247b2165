// Writing a game as PGN.
#include "frontend/shared/Pgn.h"

#include <cstdio>
#include <ctime>

#include "board/Fen.h"
#include "movegen/San.h"

namespace {

const char* const InitialPlacement = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";

std::string Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y.%m.%d", &local);
    return text;
}

// PGN strings escape their quotes and backslashes.
std::string Quoted(const std::string& value) {
    std::string text = "\"";
    for (char c : value) {
        if (c == '"' || c == '\\') text += '\\';
        if (c != '\n' && c != '\r') text += c;
    }
    return text + '"';
}

// Words joined with blanks into lines of at most 80 characters.
std::string Wrapped(const std::vector<std::string>& words) {
    std::string text, line;
    for (const std::string& w : words) {
        if (!line.empty() && line.size() + 1 + w.size() > 80) {
            text += line + '\n';
            line.clear();
        }
        line += (line.empty() ? "" : " ") + w;
    }
    return text + line + '\n';
}

std::vector<std::string> MoveWords(const ChessBoard& start, const std::vector<Move>& moves) {
    std::vector<std::string> words;
    ChessBoard b = start;
    int number = 1;
    for (size_t i = 0; i < moves.size(); ++i) {
        if (b.SideToMove == 0)
            words.push_back(std::to_string(number) + ".");
        else if (i == 0)
            words.push_back(std::to_string(number) + "...");
        words.push_back(SanOf(b, moves[i]));
        char mask;
        b.MakeMove(moves[i].from, moves[i].to, moves[i].promote, &mask);
        b.Castling &= mask;
        number += b.SideToMove; // Black just moved
        b.SideToMove ^= 1;
    }
    return words;
}

} // namespace

std::string StandardFen(const ChessBoard& b, int moveNumber) {
    std::string placement = Pos2FenText(b);
    placement = placement.substr(0, placement.find(' '));
    std::string castling;
    if (b.Castling & 1) castling += 'K';
    if (b.Castling & 2) castling += 'Q';
    if (b.Castling & 4) castling += 'k';
    if (b.Castling & 8) castling += 'q';
    // En passant exists right after a double step only.
    std::string passed = "-";
    const int from = b.LastFrom ? SquareOf(b.LastFrom) : -1, to = b.LastTo ? SquareOf(b.LastTo) : -1;
    const u64 pawns = b.SideToMove ? b.WhitePawns : b.BlackPawns;
    if (from >= 0 && to >= 0 && (pawns & b.LastTo) && (from - to == 16 || to - from == 16))
        passed = {char('a' + to % 8), char('1' + (from + to) / 16)};
    return placement + (b.SideToMove ? " b " : " w ") + (castling.empty() ? "-" : castling) + " " + passed + " " +
           std::to_string(b.FiftyMoveCount) + " " + std::to_string(moveNumber);
}

std::string MoveList(const ChessBoard& start, const std::vector<Move>& moves) {
    std::string text;
    for (const std::string& w : MoveWords(start, moves)) text += (text.empty() ? "" : " ") + w;
    return text;
}

std::string FormatPgn(const ChessBoard& start, const std::vector<Move>& moves, const PgnTags& tags) {
    std::string text;
    auto tag = [&](const char* name, const std::string& value) {
        text += std::string("[") + name + " " + Quoted(value) + "]\n";
    };
    tag("Event", tags.event);
    tag("Site", tags.site);
    tag("Date", tags.date.empty() ? Today() : tags.date);
    tag("Round", tags.round);
    tag("White", tags.white);
    tag("Black", tags.black);
    tag("Result", tags.result);
    const std::string fen = StandardFen(start, 1);
    if (fen != std::string(InitialPlacement) + " w KQkq - 0 1") {
        tag("SetUp", "1");
        tag("FEN", fen);
    }
    for (const auto& [name, value] : tags.extra) tag(name.c_str(), value);
    std::vector<std::string> words = MoveWords(start, moves);
    words.push_back(tags.result);
    return text + "\n" + Wrapped(words);
}
