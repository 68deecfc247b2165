// The mailbox reference counter.
#include "movegen/ReferenceBoard.h"

#include <cstdlib>
#include <utility>

namespace {

enum { Empty = 0, P = 1, N = 2, B = 3, R = 4, Q = 5, K = 6, Off = 99 };

int CellOf(int square) { return 21 + square % 8 + 10 * (square / 8); }
int SquareOfCell(int cell) { return (cell - 21) % 10 + 8 * ((cell - 21) / 10); }
int RankOfCell(int cell) { return (cell - 21) / 10; } // 0 = rank 1

const int knightSteps[8] = {-21, -19, -12, -8, 8, 12, 19, 21};
const int kingSteps[8] = {-11, -10, -9, -1, 1, 9, 10, 11};
const int diagonalSteps[4] = {-11, -9, 9, 11};
const int straightSteps[4] = {-10, -1, 1, 10};

int PieceOfLetter(char c) {
    switch (c) {
    case 'P': return P; case 'N': return N; case 'B': return B;
    case 'R': return R; case 'Q': return Q; case 'K': return K;
    case 'p': return -P; case 'n': return -N; case 'b': return -B;
    case 'r': return -R; case 'q': return -Q; case 'k': return -K;
    default: return Empty;
    }
}

} // namespace

ReferenceBoard::ReferenceBoard(const std::string& fen, ReferenceRules rules) : rules_(rules) {
    for (int& c : cell_) c = Off;
    for (int sq = 0; sq < 64; ++sq) cell_[CellOf(sq)] = Empty;
    size_t i = 0;
    for (int rank = 7, file = 0; i < fen.size() && fen[i] != ' '; ++i) {
        char c = fen[i];
        if (c == '/') {
            --rank;
            file = 0;
        } else if (c >= '1' && c <= '8') {
            file += c - '0';
        } else {
            cell_[CellOf(rank * 8 + file++)] = PieceOfLetter(c);
        }
    }
    side_ = (i + 1 < fen.size() && fen[i + 1] == 'b') ? -1 : 1;
    for (i += 3; i < fen.size() && fen[i] != ' '; ++i) {
        if (fen[i] == 'K') castling_ |= 1;
        if (fen[i] == 'Q') castling_ |= 2;
        if (fen[i] == 'k') castling_ |= 4;
        if (fen[i] == 'q') castling_ |= 8;
    }
}

// Looks outwards from the square for each kind of attacker of colour `by`.
bool ReferenceBoard::Attacked(int cell, int by) const {
    int pawnFrom = by > 0 ? -10 : 10; // an attacking pawn stands one rank behind, seen from `by`
    if (cell_[cell + pawnFrom - 1] == by * P || cell_[cell + pawnFrom + 1] == by * P) return true;
    for (int s : knightSteps)
        if (cell_[cell + s] == by * N) return true;
    for (int s : kingSteps)
        if (cell_[cell + s] == by * K) return true;
    for (int s : diagonalSteps) {
        int c = cell + s;
        while (cell_[c] == Empty) c += s;
        if (cell_[c] == by * B || cell_[c] == by * Q) return true;
    }
    for (int s : straightSteps) {
        int c = cell + s;
        while (cell_[c] == Empty) c += s;
        if (cell_[c] == by * R || cell_[c] == by * Q) return true;
    }
    return false;
}

char ReferenceBoard::PieceAt(int square) const {
    const int piece = cell_[CellOf(square)];
    if (piece == Empty) return 0;
    const char letter = " PNBRQK"[std::abs(piece)];
    return piece > 0 ? letter : char(letter - 'A' + 'a');
}

bool ReferenceBoard::KingAttacked(int colour) const {
    for (int c = 21; c < 99; ++c)
        if (cell_[c] == colour * K) return Attacked(c, -colour);
    return false;
}

void ReferenceBoard::PawnMoves(int cell, std::vector<Move>& out) const {
    const int up = 10 * side_;
    const int startRank = side_ > 0 ? 1 : 6, lastRank = side_ > 0 ? 7 : 0;
    auto add = [&](int to) {
        if (RankOfCell(to) != lastRank) {
            out.push_back({SquareOfCell(cell), SquareOfCell(to), 0});
            return;
        }
        for (char piece : {'Q', 'R', 'B', 'N'}) {
            out.push_back({SquareOfCell(cell), SquareOfCell(to), piece});
            if (!rules_.standard) break;
        }
    };
    if (cell_[cell + up] == Empty) {
        add(cell + up);
        if (RankOfCell(cell) == startRank && cell_[cell + 2 * up] == Empty) add(cell + 2 * up);
    }
    for (int side : {-1, 1}) {
        int to = cell + up + side;
        int target = cell_[to];
        if (target != Off && target * side_ < 0) add(to);
        if (to == epCell_) add(to);
    }
}

void ReferenceBoard::CastlingMoves(std::vector<Move>& out) const {
    const int base = side_ > 0 ? 21 : 91; // the a-file cell of the home rank
    const int kingSide = side_ > 0 ? 1 : 4, queenSide = side_ > 0 ? 2 : 8;
    const int rook = side_ * R, enemy = -side_;
    auto empty = [&](int file) { return cell_[base + file] == Empty; };
    auto safe = [&](int file) { return !Attacked(base + file, enemy); };
    if (cell_[base + 4] != side_ * K) return;
    if ((castling_ & kingSide) && cell_[base + 7] == rook && empty(5) && empty(6) && safe(4) && safe(5) && safe(6))
        out.push_back({SquareOfCell(base + 4), SquareOfCell(base + 6), 0});
    if ((castling_ & queenSide) && cell_[base] == rook && empty(1) && empty(2) && empty(3) && safe(4) && safe(3) &&
        safe(2))
        out.push_back({SquareOfCell(base + 4), SquareOfCell(base + 2), 0});
}

void ReferenceBoard::PseudoMoves(std::vector<Move>& out) const {
    for (int cell = 21; cell < 99; ++cell) {
        if (cell_[cell] == Off) continue;
        int piece = cell_[cell] * side_;
        if (piece <= 0) continue;
        if (piece == P) {
            PawnMoves(cell, out);
            continue;
        }
        auto step = [&](int s, bool slide) {
            for (int to = cell + s; cell_[to] != Off && cell_[to] * side_ <= 0; to += s) {
                out.push_back({SquareOfCell(cell), SquareOfCell(to), 0});
                if (cell_[to] != Empty || !slide) break;
            }
        };
        if (piece == N)
            for (int s : knightSteps) step(s, false);
        if (piece == K)
            for (int s : kingSteps) step(s, false);
        if (piece == B || piece == Q)
            for (int s : diagonalSteps) step(s, true);
        if (piece == R || piece == Q)
            for (int s : straightSteps) step(s, true);
    }
    CastlingMoves(out);
}

void ReferenceBoard::Play(const Move& move) {
    const int from = CellOf(move.from), to = CellOf(move.to);
    const int piece = cell_[from];
    const int kind = std::abs(piece);
    if (rules_.standard) {
        // Any move from or onto a corner ends that corner's right.
        const int corners[4] = {28, 21, 98, 91}; // h1, a1, h8, a8 for rights 1, 2, 4, 8
        for (int i = 0; i < 4; ++i)
            if (from == corners[i] || to == corners[i]) castling_ &= ~(1 << i);
    } else if (kind == R) {
        if (from == (piece > 0 ? 28 : 98)) castling_ &= piece > 0 ? ~1 : ~4;
        if (from == (piece > 0 ? 21 : 91)) castling_ &= piece > 0 ? ~2 : ~8;
    }
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
    std::vector<Move> pseudo, legal;
    PseudoMoves(pseudo);
    for (const Move& m : pseudo) {
        ReferenceBoard next = *this;
        next.Play(m);
        if (!next.KingAttacked(side_)) legal.push_back(m);
    }
    return legal;
}

std::uint64_t ReferenceBoard::Perft(int depth) const {
    if (depth == 0) return 1;
    std::uint64_t total = 0;
    for (const Move& m : LegalMoves()) {
        ReferenceBoard next = *this;
        next.Play(m);
        total += next.Perft(depth - 1);
    }
    return total;
}
