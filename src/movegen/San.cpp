// Writing and reading standard algebraic notation over the legal moves.
#include "movegen/San.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "movegen/LegalMoves.h"

namespace {

const char PieceLetters[] = "PNBRQK"; // by piece code

int KindOf(const ChessBoard& b, u64 square) { return b.KindOn(char(b.SideToMove), square); }

char FileOf(u64 square) { return char('a' + SquareOf(square) % 8); }
char RankOf(u64 square) { return char('1' + SquareOf(square) / 8); }

bool IsCastling(const ChessBoard& b, const Move& m) {
    const int step = SquareOf(m.to) - SquareOf(m.from);
    return KindOf(b, m.from) == KingCode && (step == 2 || step == -2);
}

// A promotion letter as the board takes it, upper case for White.
char PromotionFor(const ChessBoard& b, char letter) {
    const char upper = char(std::toupper(static_cast<unsigned char>(letter)));
    return b.SideToMove ? char(std::tolower(static_cast<unsigned char>(upper))) : upper;
}

// "+" or "#" after the move, or nothing.
const char* CheckMark(const ChessBoard& board, const Move& m) {
    ChessBoard after = board;
    char mask;
    after.MakeMove(m.from, m.to, m.promote, &mask);
    after.Castling &= mask;
    after.SideToMove ^= 1;
    const char side = char(after.SideToMove);
    const u64 king = side ? after.BlackKing : after.WhiteKing;
    if (!king || !after.InCheck(king, side)) return "";
    return HasLegalMove(after) ? "+" : "#";
}

} // namespace

std::string SanOf(const ChessBoard& board, const Move& m) {
    std::string san;
    const int kind = KindOf(board, m.from);
    if (kind < 0) return {FileOf(m.from), RankOf(m.from), FileOf(m.to), RankOf(m.to)}; // no man of the side to move
    const bool capture = !board.IsEmptySquare(m.to) || (kind == PawnCode && FileOf(m.from) != FileOf(m.to));
    if (IsCastling(board, m)) {
        san = SquareOf(m.to) > SquareOf(m.from) ? "O-O" : "O-O-O";
    } else if (kind == PawnCode) {
        if (capture) san = {FileOf(m.from), 'x'};
        san += {FileOf(m.to), RankOf(m.to)};
        if (m.promote != NoPromotion) san += {'=', char(std::toupper(static_cast<unsigned char>(m.promote)))};
    } else {
        san = PieceLetters[kind];
        // Name the file, else the rank, else both, when another man of the kind could go there too.
        bool rival = false, sameFile = false, sameRank = false;
        for (const Move& other : LegalMoves(board)) {
            if (other.to != m.to || other.from == m.from || KindOf(board, other.from) != kind) continue;
            rival = true;
            sameFile |= FileOf(other.from) == FileOf(m.from);
            sameRank |= RankOf(other.from) == RankOf(m.from);
        }
        if (rival && (!sameFile || sameRank)) san += FileOf(m.from);
        if (rival && sameFile) san += RankOf(m.from);
        if (capture) san += 'x';
        san += {FileOf(m.to), RankOf(m.to)};
    }
    return san + CheckMark(board, m);
}

SanReading ReadSan(const ChessBoard& board, const std::string& input, Move* move) {
    std::string text = input;
    while (!text.empty() && std::strchr("+#!?", text.back())) text.pop_back();
    if (text.size() > 4 && text.compare(text.size() - 4, 4, "e.p.") == 0) text.resize(text.size() - 4);
    const std::vector<Move> legal = LegalMoves(board);

    // Castling.
    if (text == "O-O" || text == "0-0" || text == "O-O-O" || text == "0-0-0") {
        const bool queenSide = text.size() == 5;
        for (const Move& m : legal)
            if (IsCastling(board, m) && (SquareOf(m.to) < SquareOf(m.from)) == queenSide) {
                *move = m;
                return SanReading::Ok;
            }
        return SanReading::Illegal;
    }

    // [piece][from file][from rank][x]to-square[=promotion]
    size_t i = 0;
    int kind = PawnCode;
    if (!text.empty() && text[0] != 0 && std::strchr("NBRQK", text[0]))
        kind = int(std::strchr(PieceLetters, text[i++]) - PieceLetters);
    char promote = 0;
    size_t end = text.size();
    if (end >= 2 && std::strchr("NBRQnbrq", text[end - 1]) &&
        (text[end - 2] == '=' || std::isdigit(static_cast<unsigned char>(text[end - 2])))) {
        promote = text[end - 1];
        end -= text[end - 2] == '=' ? 2 : 1;
    }
    if (end < i + 2) return SanReading::NotUnderstood;
    const char toFile = text[end - 2], toRank = text[end - 1];
    if (toFile < 'a' || toFile > 'h' || toRank < '1' || toRank > '8') return SanReading::NotUnderstood;
    char fromFile = 0, fromRank = 0;
    for (size_t k = i; k < end - 2; ++k) {
        const char c = text[k];
        if (c >= 'a' && c <= 'h' && !fromFile && !fromRank)
            fromFile = c;
        else if (c >= '1' && c <= '8' && !fromRank)
            fromRank = c;
        else if (c == 'x' && k == end - 3)
            continue;
        else
            return SanReading::NotUnderstood;
    }
    if (promote && kind != PawnCode) return SanReading::NotUnderstood;

    const Move* found = nullptr;
    int matches = 0;
    for (const Move& m : legal) {
        if (FileOf(m.to) != toFile || RankOf(m.to) != toRank || KindOf(board, m.from) != kind) continue;
        if ((fromFile && FileOf(m.from) != fromFile) || (fromRank && RankOf(m.from) != fromRank)) continue;
        if (promote && m.promote == NoPromotion) continue;
        if (IsCastling(board, m)) continue; // only as O-O
        found = &m;
        ++matches;
    }
    if (matches == 0) return SanReading::Illegal;
    if (matches > 1) return SanReading::Ambiguous;
    *move = *found;
    if (promote) move->promote = PromotionFor(board, promote);
    return SanReading::Ok;
}
