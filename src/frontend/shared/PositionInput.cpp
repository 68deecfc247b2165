// Checking moves and positions from outside before they touch the game.
#include "frontend/shared/PositionInput.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>
#include <vector>

#include "board/Fen.h"
#include "core/Geometry.h"
#include "frontend/shared/GameRecord.h"
#include "movegen/LegalMoves.h"
#include "movegen/MoveGen.h"

namespace {

bool IsFile(char c) { return c >= 'a' && c <= 'h'; }
bool IsRank(char c) { return c >= '1' && c <= '8'; }
int SquareAt(const char* p) { return (p[0] - 'a') + 8 * (p[1] - '1'); }

u64 Men(const ChessBoard& b, char side) { return side ? b.BlackPieces : b.WhitePieces; }
u64 King(const ChessBoard& b, char side) { return side ? b.BlackKing : b.WhiteKing; }

// The placement field: eight ranks of eight squares, men from the FEN alphabet only.
bool PlacementReadable(const std::string& field) {
    int ranks = 1, squares = 0;
    for (char c : field) {
        if (c == '/') {
            if (squares != 8) return false;
            ++ranks;
            squares = 0;
        } else if (c >= '1' && c <= '8') {
            squares += c - '0';
        } else if (std::strchr("PNBRQKpnbrqk", c)) {
            ++squares;
        } else {
            return false;
        }
        if (squares > 8) return false;
    }
    return ranks == 8 && squares == 8;
}

bool CastlingReadable(const std::string& field) {
    for (char c : field)
        if (!std::strchr("KQkq-", c)) return false;
    return !field.empty();
}

bool EnPassantReadable(const std::string& field, char side) {
    if (field == "-") return true;
    return field.size() == 2 && IsFile(field[0]) && field[1] == (side ? '3' : '6');
}

bool IsNumber(const std::string& field) {
    if (field.empty() || field.size() > 9) return false;
    for (char c : field)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

int Beyond(int count, int home) { return count > home ? count - home : 0; }

// What promotions can explain: every man beyond the first army needs a pawn.
bool MaterialPossible(const ChessBoard& b, char side) {
    const int pawns = side ? b.BlackPawnCount : b.WhitePawnCount;
    const int promoted = side ? Beyond(b.BlackQueenCount, 1) + Beyond(b.BlackRookCount, 2) +
                                    Beyond(b.BlackBishopCount, 2) + Beyond(b.BlackKnightCount, 2)
                              : Beyond(b.WhiteQueenCount, 1) + Beyond(b.WhiteRookCount, 2) +
                                    Beyond(b.WhiteBishopCount, 2) + Beyond(b.WhiteKnightCount, 2);
    return pawns <= 8 && promoted <= 8 - pawns && PopCount(Men(b, side)) <= 16;
}

// Keeps only the rights whose king and rook still stand at home.
u8 PossibleCastling(const ChessBoard& b, u8 rights) {
    const u64 e1 = SquareBit(4), a1 = SquareBit(0), h1 = SquareBit(7);
    const u64 e8 = SquareBit(60), a8 = SquareBit(56), h8 = SquareBit(63);
    u8 kept = 0;
    if (b.WhiteKing & e1) kept |= u8(((b.WhiteRooks & h1) ? 1 : 0) | ((b.WhiteRooks & a1) ? 2 : 0));
    if (b.BlackKing & e8) kept |= u8(((b.BlackRooks & h8) ? 4 : 0) | ((b.BlackRooks & a8) ? 8 : 0));
    return rights & kept;
}

} // namespace

bool ParseMoveText(const char* text, Move* move) {
    if (!IsFile(text[0]) || !IsRank(text[1]) || !IsFile(text[2]) || !IsRank(text[3])) return false;
    char promote = NoPromotion;
    if (text[4]) {
        promote = char(std::tolower(static_cast<unsigned char>(text[4])));
        if (!std::strchr("qrbn", promote) || text[5]) return false;
    }
    *move = Move{SquareBit(SquareAt(text)), SquareBit(SquareAt(text + 2)), promote};
    return true;
}

bool FindLegalMove(const ChessBoard& board, const Move& move, Move* legal) {
    for (const Move& m : LegalMoves(board)) {
        if (m.from != move.from || m.to != move.to) continue;
        const bool promotes = m.promote != NoPromotion;
        if (move.promote != NoPromotion && !promotes) return false;
        // The generators make queens; MakeMove takes any promotion letter.
        *legal = Move{m.from, m.to, promotes && move.promote != NoPromotion ? move.promote : m.promote};
        return true;
    }
    return false;
}

std::string MoveNotation(u64 from, u64 to, char promote) {
    std::string text;
    for (int square : {SquareOf(from), SquareOf(to)}) text += {char('a' + square % 8), char('1' + square / 8)};
    if (promote != NoPromotion && promote) text += char(std::tolower(static_cast<unsigned char>(promote)));
    return text;
}

std::string ReadPosition(const char* text, ChessBoard* board, bool epd) {
    std::istringstream in(text);
    std::vector<std::string> fields;
    for (std::string field; fields.size() < (epd ? 4u : 6u) && in >> field;) fields.push_back(field);
    if (fields.empty() || !PlacementReadable(fields[0])) return "unreadable placement";
    if (fields.size() > 1 && fields[1] != "w" && fields[1] != "b") return "unreadable side to move";
    const char side = fields.size() > 1 && fields[1] == "b" ? 1 : 0;
    if (fields.size() > 2 && !CastlingReadable(fields[2])) return "unreadable castling rights";
    if (fields.size() > 3 && !EnPassantReadable(fields[3], side)) return "unreadable en-passant square";
    for (size_t i = 4; i < fields.size(); ++i)
        if (!IsNumber(fields[i])) return "unreadable move counters";

    // The reader works on the game position: read into it, keep the result, put the game back.
    std::string fen = fields[0];
    for (size_t i = 1; i < fields.size(); ++i) fen += " " + fields[i];
    const ChessBoard game = MainBoard;
    SetupBoard(fen.c_str());
    ChessBoard b = MainBoard;
    MainBoard = game;
    RefreshPieceCounts(b);

    // The reader keeps the last king of a colour: count them in the text.
    const auto kings = [&](char letter) { return std::count(fields[0].begin(), fields[0].end(), letter); };
    if (kings('K') != 1 || kings('k') != 1) return "each side needs one king";
    const std::string problem = CheckPosition(b);
    if (!problem.empty()) return problem;

    b.Castling = PossibleCastling(b, b.Castling);
    if (fields.size() > 3 && fields[3] != "-") {
        // The double step just made: from the mover's second rank over the square to its fourth.
        const int target = SquareAt(fields[3].c_str());
        const int landed = side ? target + 8 : target - 8, started = side ? target - 8 : target + 8;
        const u64 enemyPawns = side ? b.WhitePawns : b.BlackPawns;
        if ((enemyPawns & SquareBit(landed)) && !(b.AllPieces & (SquareBit(target) | SquareBit(started)))) {
            b.LastFrom = SquareBit(started);
            b.LastTo = SquareBit(landed);
        }
    }
    *board = b;
    return "";
}

std::string CheckPosition(const ChessBoard& b) {
    const char side = char(b.SideToMove);
    if (PopCount(b.WhiteKing) != 1 || PopCount(b.BlackKing) != 1) return "each side needs one king";
    if ((b.WhitePawns | b.BlackPawns) & (geometry::RankMask[0] | geometry::RankMask[7]))
        return "a pawn on the first or last rank";
    if (!MaterialPossible(b, 0) || !MaterialPossible(b, 1)) return "more men than a side can have";
    if (b.InCheck(King(b, side ^ 1), side ^ 1)) return "the side not to move is in check";
    return "";
}
