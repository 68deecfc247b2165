// Carrying a mating line on to the mate: the table's moves while the mate
// is far, then a small mate search of its own over the last plies, which
// shares nothing with the main search and leaves the table as it is.
#include "search/MateLine.h"

#include <cstring>

#include "board/HashKeys.h"
#include "movegen/MoveGen.h"
#include "search/SearchConstants.h"
#include "search/TimeManagement.h"
#include "search/TranspositionTables.h"

namespace {

constexpr int TailPlies = 5;                // plies before the mate that the mate search plays
constexpr int Slack = 2;                    // moves more than announced the mate search may find
constexpr long long SearchBudget = 40000;   // positions the mate search may look at for one line
constexpr long long ClockCheckEvery = 1024; // positions between two looks at the search's clock

struct Position {
    ChessBoard board;
    char side, castling;

    bool InCheck() const { return board.InCheck(side ? board.BlackKing : board.WhiteKing, side); }
    Position After(const PVEntry& m) const {
        Position next = *this;
        char mask;
        next.board.MakeMove(SquareBit(m.move / 64), SquareBit(m.move % 64), m.promote, &mask);
        next.castling &= mask;
        next.side ^= 1;
        return next;
    }
};

// The legal moves, as the search has them: the evasions in check, else every move.
int LegalMoves(const Position& p, PVEntry* out) {
    ChessBoard board = p.board;
    MoveGen list;
    const int count =
        p.InCheck() ? list.GenCheckEvasions(p.side, &board) : list.GenerateAllMoves(p.side, &board, p.castling);
    int n = 0;
    for (int i = 0; i < count; ++i) {
        char mask;
        board.MakeMove(list.From[i], list.To[i], list.Promote[i], &mask);
        if (!board.InCheck(p.side ? board.BlackKing : board.WhiteKing, p.side))
            out[n++] = PVEntry{u16(MoveCode(list.From[i], list.To[i])), list.Promote[i]};
        board.UndoMove(0);
    }
    return n;
}

// The legal move with this code (the table keeps no promotion letter), if any.
bool FindMove(const PVEntry* moves, int count, int code, PVEntry* found) {
    for (int i = 0; i < count; ++i)
        if (moves[i].move == code) {
            *found = moves[i];
            return true;
        }
    return false;
}

int TableMove(const Position& p) {
    u64 upper, lower;
    PositionKey(p.side, p.castling, p.board, &upper, &lower);
    return PositionCache.StoredMove(upper, lower);
}

// A plain mate search: does the side to move mate within n of its moves, whatever the defence?
// Checks are tried first; the table's move before them.
class Prover {
public:
    long long budget = SearchBudget;
    i64 giveUpAtMs = -1; // the search's elapsed time at which the mate search gives up; -1: never

    bool Mates(const Position& p, int n, PVEntry* first) {
        if (n <= 0 || --budget < 0) return false;
        if (budget % ClockCheckEvery == 0 && giveUpAtMs >= 0 && SearchElapsedMs() >= giveUpAtMs) {
            budget = -1;
            return false;
        }
        PVEntry moves[MaxMoves];
        const int count = Ordered(p, moves);
        for (int i = 0; i < count; ++i) {
            const Position next = p.After(moves[i]);
            const bool check = next.InCheck();
            if (n == 1 && !check) continue;
            PVEntry replies[MaxMoves];
            const int r = LegalMoves(next, replies);
            bool mated = r == 0 && check;
            for (int k = 0; k < r && n > 1; ++k) {
                PVEntry unused;
                if (!Mates(next.After(replies[k]), n - 1, &unused)) break;
                mated = k == r - 1;
            }
            if (mated) {
                *first = moves[i];
                return true;
            }
            if (budget < 0) return false;
        }
        return false;
    }

    // The fewest moves to mate, up to `most`; 0 when none was found.
    int Shortest(const Position& p, int most, PVEntry* first) {
        for (int n = 1; n <= most && budget >= 0; ++n)
            if (Mates(p, n, first)) return n;
        return 0;
    }

private:
    int Ordered(const Position& p, PVEntry* moves) {
        const int count = LegalMoves(p, moves);
        const int tableMove = TableMove(p);
        int front = 0;
        for (int pass = 0; pass < 2; ++pass)
            for (int i = front; i < count; ++i) {
                const bool wanted = pass == 0 ? moves[i].move == tableMove : p.After(moves[i]).InCheck();
                if (!wanted) continue;
                const PVEntry m = moves[i];
                std::memmove(&moves[front + 1], &moves[front], sizeof(PVEntry) * size_t(i - front));
                moves[front++] = m;
            }
        return count;
    }
};

// The winner's next move: the shortest mate near the end, else the table's move, else whatever
// mate the search of its own finds within what is left of its budget.
bool WinnerMove(const Position& p, const PVEntry* moves, int count, int remaining, Prover& prover, PVEntry* next) {
    const int most = (remaining + 1) / 2 + Slack;
    if (remaining <= TailPlies && prover.Shortest(p, most, next) > 0) return true;
    if (FindMove(moves, count, TableMove(p), next)) return true;
    return remaining > TailPlies && prover.Shortest(p, most, next) > 0;
}

// The loser's next move: near the end the reply that puts the mate furthest off, else the
// table's move, else the first legal one.
bool LoserMove(const Position& p, const PVEntry* moves, int count, int remaining, Prover& prover, PVEntry* next) {
    if (remaining <= TailPlies) {
        int longest = 0;
        for (int i = 0; i < count; ++i) {
            PVEntry unused;
            const int n = prover.Shortest(p.After(moves[i]), remaining / 2 + Slack, &unused);
            if (prover.budget < 0) break;
            if (n > longest) {
                longest = n;
                *next = moves[i];
            }
        }
        if (longest > 0 && prover.budget >= 0) return true;
    }
    if (!FindMove(moves, count, TableMove(p), next)) *next = moves[0];
    return true;
}

// The line as far as its moves are legal from p, which is left at its end.
void LegalPart(const MoveLine& line, MoveLine* out, Position* p) {
    PVEntry moves[MaxMoves];
    out->length = 0;
    for (int i = 0; i < line.length; ++i) {
        PVEntry m;
        if (!FindMove(moves, LegalMoves(*p, moves), line.moves[i].move, &m)) break;
        out->moves[out->length++] = m;
        *p = p->After(m);
    }
}

} // namespace

MoveLine LegalLine(const ChessBoard& root, char side, char castling, const MoveLine& line) {
    MoveLine out;
    Position p{root, side, castling};
    LegalPart(line, &out, &p);
    return out;
}

MoveLine CompleteMatingLine(const ChessBoard& root, char side, char castling, const MoveLine& line, int score,
                            i64 giveUpAtMs) {
    if (!IsMate(score) || score > MATE || score < -MATE) return line;
    // The same line is reported several times in an iteration (new best line, iteration done,
    // search finished): it is carried on once.
    static struct {
        u64 upper = 0, lower = 0;
        int score = 0;
        MoveLine line, completed;
    } last;
    u64 upper, lower;
    PositionKey(side, castling, root, &upper, &lower);
    bool same = upper == last.upper && lower == last.lower && score == last.score && line.length == last.line.length;
    for (int i = 0; same && i < line.length; ++i)
        same = line.moves[i].move == last.line.moves[i].move && line.moves[i].promote == last.line.moves[i].promote;
    if (same) return last.completed;
    const int plies = MATE - (score > 0 ? score : -score);
    const char winner = score > 0 ? side : side ^ 1;

    // The search's own line, as far as it is legal.
    MoveLine out;
    Position p{root, side, castling};
    PVEntry moves[MaxMoves];
    LegalPart(line, &out, &p);

    // Then on to the mate.
    Prover prover;
    prover.giveUpAtMs = giveUpAtMs;
    if (giveUpAtMs >= 0 && SearchElapsedMs() >= giveUpAtMs) prover.budget = -1;
    bool mated = false;
    while (out.length < MaxLineMoves && out.length < plies + 2 * Slack) {
        const int count = LegalMoves(p, moves);
        mated = count == 0 && p.InCheck();
        if (count == 0) break;
        const int remaining = plies - out.length;
        PVEntry next;
        const bool found = p.side == winner ? WinnerMove(p, moves, count, remaining, prover, &next)
                                            : LoserMove(p, moves, count, remaining, prover, &next);
        if (!found) break;
        out.moves[out.length++] = next;
        p = p.After(next);
    }
    if (mated) last.upper = upper, last.lower = lower, last.score = score, last.line = line, last.completed = out;
    return out;
}
