#include "movegen/ReferenceBoard.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

enum { Empty = 0, P = 1, N = 2, B = 3, R = 4, Q = 5, K = 6, Off = 99 };
const char letters[] = " PNBRQK";
const int knightSteps[8] = {-21, -19, -12, -8, 8, 12, 19, 21};
const int kingSteps[8] = {-11, -10, -9, -1, 1, 9, 10, 11};
const int bishopSteps[4] = {-11, -9, 9, 11};
const int rookSteps[4] = {-10, -1, 1, 10};

int CellOf(int square) { return 21 + square % 8 + 10 * (square / 8); }
int RankOfCell(int cell) { return (cell - 21) / 10; } // 0 = rank 1
int SquareOfCell(int cell) { return (cell - 21) % 10 + 8 * RankOfCell(cell); }

// +kind for a white letter, -kind for a black one, Empty for anything else.
int PieceOfLetter(char c) {
    const char* at = c ? std::strchr(letters + 1, c & ~0x20) : nullptr;
    return !at ? Empty : (c & 0x20) ? -int(at - letters) : int(at - letters);
}

} // namespace

ReferenceBoard::ReferenceBoard(const std::string& fen, bool standard) : standard_(standard) {
    for (int c = 0; c < 120; ++c) cell_[c] = c % 10 && c % 10 != 9 && c > 20 && c < 99 ? Empty : Off;
    size_t i = 0;
    for (int square = 56; i < fen.size() && fen[i] != ' '; ++i) {
        if (fen[i] == '/')
            square -= 16;
        else if (fen[i] >= '1' && fen[i] <= '8')
            square += fen[i] - '0';
        else
            cell_[CellOf(square++)] = PieceOfLetter(fen[i]);
    }
    side_ = (i + 1 < fen.size() && fen[i + 1] == 'b') ? -1 : 1;
    for (i += 3; i < fen.size() && fen[i] != ' '; ++i)
        if (const char* at = std::strchr("KQkq", fen[i])) castling_ |= 1 << (at - "KQkq");
}

char ReferenceBoard::PieceAt(int square) const {
    const int piece = cell_[CellOf(square)];
    return piece == Empty ? 0 : piece > 0 ? letters[piece] : char(letters[-piece] | 0x20);
}

// Looks outwards from the cell for each kind of attacker of colour `by`.
bool ReferenceBoard::Attacked(int cell, int by) const {
    const int pawnCell = cell - 10 * by; // attacking pawns stand one rank behind, seen from `by`
    if (cell_[pawnCell - 1] == by * P || cell_[pawnCell + 1] == by * P) return true;
    for (int k = 0; k < 8; ++k)
        if (cell_[cell + knightSteps[k]] == by * N || cell_[cell + kingSteps[k]] == by * K) return true;
    auto slider = [&](int step, int kind) {
        int c = cell + step;
        while (cell_[c] == Empty) c += step;
        return cell_[c] == by * kind || cell_[c] == by * Q;
    };
    for (int k = 0; k < 4; ++k)
        if (slider(bishopSteps[k], B) || slider(rookSteps[k], R)) return true;
    return false;
}

bool ReferenceBoard::KingAttacked(int colour) const {
    for (int c = 21; c < 99; ++c)
        if (cell_[c] == colour * K) return Attacked(c, -colour);
    return false;
}

std::vector<ReferenceBoard::Move> ReferenceBoard::PseudoMoves() const {
    std::vector<Move> out;
    auto add = [&](int from, int to) {
        const bool promotes = std::abs(cell_[from]) == P && (RankOfCell(to) == 0 || RankOfCell(to) == 7);
        for (char piece : {'Q', 'R', 'B', 'N'}) {
            out.push_back({SquareOfCell(from), SquareOfCell(to), promotes ? piece : char(0)});
            if (!promotes || !standard_) break;
        }
    };
    for (int from = 21; from < 99; ++from) {
        const int piece = cell_[from] == Off ? 0 : cell_[from] * side_, up = 10 * side_;
        if (piece == P && cell_[from + up] == Empty) {
            add(from, from + up);
            if (RankOfCell(from) == (side_ > 0 ? 1 : 6) && cell_[from + 2 * up] == Empty) add(from, from + 2 * up);
        }
        for (int to : {from + up - 1, from + up + 1})
            if (piece == P && ((cell_[to] != Off && cell_[to] * side_ < 0) || to == epCell_)) add(from, to);
        auto walk = [&](const int* steps, int n, bool slide) {
            for (int k = 0; k < n; ++k)
                for (int to = from + steps[k]; cell_[to] != Off && cell_[to] * side_ <= 0; to += steps[k]) {
                    add(from, to);
                    if (cell_[to] != Empty || !slide) break;
                }
        };
        if (piece == N) walk(knightSteps, 8, false);
        if (piece == K) walk(kingSteps, 8, false);
        if (piece == B || piece == Q) walk(bishopSteps, 4, true);
        if (piece == R || piece == Q) walk(rookSteps, 4, true);
    }
    // Castling: the right, the rook in its corner, free squares, no attacked square on the king's path.
    const int home = side_ > 0 ? 21 : 91;
    auto clear = [&](int a, int b, bool safe) {
        for (int f = a; f <= b; ++f)
            if (safe ? Attacked(home + f, -side_) : cell_[home + f] != Empty) return false;
        return true;
    };
    if (cell_[home + 4] != side_ * K) return out;
    if ((castling_ & (side_ > 0 ? 1 : 4)) && cell_[home + 7] == side_ * R && clear(5, 6, false) && clear(4, 6, true))
        add(home + 4, home + 6);
    if ((castling_ & (side_ > 0 ? 2 : 8)) && cell_[home] == side_ * R && clear(1, 3, false) && clear(2, 4, true))
        add(home + 4, home + 2);
    return out;
}

void ReferenceBoard::Play(const Move& move) {
    const int from = CellOf(move.from), to = CellOf(move.to), piece = cell_[from], kind = std::abs(piece);
    const int corners[4] = {28, 21, 98, 91}; // h1, a1, h8, a8: rights 1, 2, 4, 8
    for (int i = 0; i < 4; ++i) // full rules: any move from or onto a corner; the engine's: its rook leaving
        if (standard_ ? from == corners[i] || to == corners[i] : from == corners[i] && piece == (i < 2 ? R : -R))
            castling_ &= ~(1 << i);
    if (kind == K) {
        castling_ &= piece > 0 ? ~3 : ~12;
        if (to - from == 2) std::swap(cell_[from + 1], cell_[from + 3]);
        if (from - to == 2) std::swap(cell_[from - 1], cell_[from - 4]);
    }
    if (kind == P && to == epCell_) cell_[to - 10 * side_] = Empty;
    epCell_ = (kind == P && std::abs(to - from) == 20) ? (from + to) / 2 : 0;
    cell_[to] = move.promote ? side_ * PieceOfLetter(move.promote) : piece;
    cell_[from] = Empty;
    side_ = -side_;
}

std::vector<ReferenceBoard::Move> ReferenceBoard::LegalMoves() const {
    std::vector<Move> legal;
    for (const Move& m : PseudoMoves()) {
        ReferenceBoard next = *this;
        next.Play(m);
        if (!next.KingAttacked(side_)) legal.push_back(m);
    }
    return legal;
}

std::uint64_t ReferenceBoard::Perft(int depth) const {
    std::uint64_t total = 0;
    for (const Move& m : depth ? LegalMoves() : std::vector<Move>()) {
        ReferenceBoard next = *this;
        next.Play(m);
        total += next.Perft(depth - 1);
    }
    return depth ? total : 1;
}
