// Position following for the driver's legality checks.
#include "fuzz/Chess.h"

#include <cctype>
#include <sstream>

#include "board/Fen.h"
#include "core/Status.h"
#include "frontend/shared/GameRecord.h"
#include "movegen/LegalMoves.h"

namespace {

constexpr const char* StartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

char Lower(char c) { return char(std::tolower(static_cast<unsigned char>(c))); }

std::string SquareName(int square) { return {char('a' + square % 8), char('1' + square / 8)}; }

bool IsNumber(const std::string& s) {
    if (s.empty() || s.size() > 9) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// The placement field: eight ranks of eight squares, one king a side, no pawn on a back rank.
bool SanePlacement(const std::string& placement) {
    int rank = 7, file = 0, whiteKings = 0, blackKings = 0;
    for (char c : placement) {
        if (c == '/') {
            if (file != 8 || rank == 0) return false;
            --rank, file = 0;
        } else if (c >= '1' && c <= '8') {
            file += c - '0';
            if (file > 8) return false;
        } else if (std::string("PNBRQKpnbrqk").find(c) != std::string::npos) {
            if (file > 7) return false;
            if ((c == 'P' || c == 'p') && (rank == 0 || rank == 7)) return false;
            whiteKings += c == 'K', blackKings += c == 'k';
            ++file;
        } else {
            return false;
        }
    }
    return rank == 0 && file == 8 && whiteKings == 1 && blackKings == 1;
}

bool IsPromotion(char generated) { return generated != NoPromotion && generated != 0; }

} // namespace

void InitChess() {
    MainStatus.initVars();
    MainBoard.InitRep();
}

bool ParseMoveText(const std::string& text, int* from, int* to, char* promote) {
    if (text.size() != 4 && text.size() != 5) return false;
    for (int i : {0, 2})
        if (text[size_t(i)] < 'a' || text[size_t(i)] > 'h' || text[size_t(i) + 1] < '1' || text[size_t(i) + 1] > '8')
            return false;
    *from = (text[0] - 'a') + 8 * (text[1] - '1');
    *to = (text[2] - 'a') + 8 * (text[3] - '1');
    *promote = text.size() == 5 ? text[4] : 0;
    return text.size() == 4 || std::string("qrbn").find(text[4]) != std::string::npos;
}

Position Position::Start() { return *FromFen(StartFen); }

std::optional<Position> Position::FromFen(const std::string& fen) {
    std::istringstream in(fen);
    std::vector<std::string> fields;
    for (std::string f; in >> f;) fields.push_back(f);
    if (fields.size() != 4 && fields.size() != 6) return std::nullopt;
    if (fen.find_first_not_of("/12345678PNBRQKpnbrqk wb-acdefgh0123456789") != std::string::npos) return std::nullopt;
    if (!SanePlacement(fields[0]) || (fields[1] != "w" && fields[1] != "b")) return std::nullopt;
    const std::string& castling = fields[2];
    if (castling != "-") {
        std::string seen;
        for (char c : castling) {
            if (std::string("KQkq").find(c) == std::string::npos || seen.find(c) != std::string::npos)
                return std::nullopt;
            seen += c;
        }
    }
    const std::string& ep = fields[3];
    if (ep != "-" && (ep.size() != 2 || ep[0] < 'a' || ep[0] > 'h' || (ep[1] != '3' && ep[1] != '6')))
        return std::nullopt;
    if (fields.size() == 6 && (!IsNumber(fields[4]) || !IsNumber(fields[5]))) return std::nullopt;

    MainBoard.FiftyMoveCount = 0;
    SetupBoard(fen.c_str());
    Position p;
    p.board = MainBoard;
    ChessBoard& b = p.board;
    RefreshPieceCounts(b);
    // Rights need the king and the rook at home.
    const struct {
        char letter;
        u64 king, rook;
        u8 bit;
    } rights[] = {{'K', b.WhiteKing, b.WhiteRooks & SquareBit(7), 1},
                  {'Q', b.WhiteKing, b.WhiteRooks & SquareBit(0), 2},
                  {'k', b.BlackKing, b.BlackRooks & SquareBit(63), 4},
                  {'q', b.BlackKing, b.BlackRooks & SquareBit(56), 8}};
    for (const auto& r : rights) {
        if (!(b.Castling & r.bit)) continue;
        u64 home = r.bit < 4 ? SquareBit(4) : SquareBit(60);
        if (r.king != home || !r.rook) return std::nullopt;
    }
    // The side that just moved cannot be in check.
    u64 otherKing = b.SideToMove ? b.WhiteKing : b.BlackKing;
    if (b.IsAttacked(otherKing, char(b.SideToMove ^ 1))) return std::nullopt;
    return p;
}

std::vector<std::string> Position::LegalMoves() const {
    std::vector<std::string> texts;
    for (const Move& g : ::LegalMoves(board)) {
        std::string t = SquareName(SquareOf(g.from)) + SquareName(SquareOf(g.to));
        if (IsPromotion(g.promote)) t += Lower(g.promote);
        texts.push_back(t);
    }
    return texts;
}

bool Position::IsLegal(const std::string& text) const {
    int from, to;
    char promote;
    if (!ParseMoveText(text, &from, &to, &promote)) return false;
    for (const Move& g : ::LegalMoves(board))
        if (g.from == SquareBit(from) && g.to == SquareBit(to)) return IsPromotion(g.promote) == (promote != 0);
    return false;
}

bool Position::Play(const std::string& text) {
    if (!IsLegal(text)) return false;
    int from, to;
    char promote;
    ParseMoveText(text, &from, &to, &promote);
    // The engine's own promotion letters are capitals for white.
    if (promote && board.SideToMove == 0) promote = char(std::toupper(static_cast<unsigned char>(promote)));
    char mask;
    board.MakeMove(SquareBit(from), SquareBit(to), promote ? promote : NoPromotion, &mask);
    board.Castling = u8(CastlingAfterMoveFrom(board.Castling, from) & mask);
    board.SideToMove ^= 1;
    return true;
}

std::string Position::Fen() const {
    std::string text;
    for (int rank = 7; rank >= 0; --rank) {
        int empty = 0;
        for (int file = 0; file < 8; ++file) {
            u64 sq = SquareBit(rank * 8 + file);
            if (!(board.AllPieces & sq)) {
                ++empty;
                continue;
            }
            if (empty) text += char('0' + empty);
            empty = 0;
            text += DecodePiece(sq, board);
        }
        if (empty) text += char('0' + empty);
        if (rank) text += '/';
    }
    text += board.SideToMove ? " b " : " w ";
    std::string castling;
    for (auto [bit, letter] : {std::pair{1, 'K'}, {2, 'Q'}, {4, 'k'}, {8, 'q'}})
        if (board.Castling & bit) castling += letter;
    return text + (castling.empty() ? "-" : castling) + " - 0 1";
}

bool Position::InCheck() const {
    u64 king = board.SideToMove ? board.BlackKing : board.WhiteKing;
    return king && board.IsAttacked(king, char(board.SideToMove));
}
