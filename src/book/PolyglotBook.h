// Opening books in the Polyglot format: the key of a position, reading a
// book file, and the choice of a book move by weight.
//
// An entry is 16 bytes, every field big-endian, entries sorted by key:
//
//   bytes 0-7    key     the position's Polyglot key
//   bytes 8-9    move    bits 0-2 to-file, 3-5 to-rank, 6-8 from-file,
//                        9-11 from-rank, 12-14 promotion (0 none, 1 knight,
//                        2 bishop, 3 rook, 4 queen); castling is the king
//                        taking its own rook (e1h1 stands for e1g1)
//   bytes 10-11  weight  relative frequency; 0 means "never play"
//   bytes 12-15  learn   not used
#pragma once

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "board/ChessBoard.h"
#include "movegen/MoveGen.h"

// The format's fixed numbers (PolyglotKeys.cpp). Men by kind, black pawn 0,
// white pawn 1, black knight 2, ... white king 11, then [7 - rank][file].
extern const u64 PolyglotPieceKeys[12][8][8];
extern const u64 PolyglotCastleKeys[4]; // in the order of the board's Castling bits
extern const u64 PolyglotEnPassantKeys[8];
extern const u64 PolyglotWhiteToMoveKey;

// The Polyglot key of the board with `side` (0 white, 1 black) to move and
// the given castling rights (the board's Castling bits). En passant counts
// only right after a double step (read from LastFrom/LastTo) and only when
// a pawn of `side` stands beside the pawn that made it.
u64 PolyglotKey(const ChessBoard& board, char side, char castling);

struct PolyglotEntry {
    u64 key;
    u16 move;
    u16 weight;
};

// A book move in the engine's terms, with a promotion letter (NoPromotion, or
// N/B/R/Q for white and n/b/r/q for black), and its weight.
struct BookMove {
    Move move;
    u16 weight;
};

// One open book file, searched on disk. Not copyable: it owns the file.
class PolyglotBook {
public:
    // Entries read for one key at most; a longer run means a broken file.
    static constexpr int MaxEntriesPerKey = 1024;

    PolyglotBook();
    ~PolyglotBook() { Close(); }
    PolyglotBook(const PolyglotBook&) = delete;
    PolyglotBook& operator=(const PolyglotBook&) = delete;

    // Opens a book, closing the one open before. On failure no book is open
    // and *message holds one line saying why.
    bool Open(const std::string& path, std::string* message);
    void Close();
    bool IsOpen() const { return file != nullptr; }
    long long Size() const { return entries; }

    // The entries of a key in file order; none after a read error.
    std::vector<PolyglotEntry> Entries(u64 key);
    // The legal book moves of weight above 0 for `side` in the position.
    std::vector<BookMove> Moves(const ChessBoard& board, char side, char castling);
    // One of Moves at random, in proportion to the weights; false when there is none.
    bool Choose(const ChessBoard& board, char side, char castling, Move* move);
    void Seed(u64 seed) { random.seed(seed); }

private:
    bool Read(long long index, PolyglotEntry* entry);
    std::FILE* file = nullptr;
    long long entries = 0;
    std::mt19937_64 random;
};

// The engine's book file. Loading replaces the book; a failed load leaves
// none and returns the message for the caller to show in its own way.
bool LoadPolyglotBook(const std::string& path, std::string* message);
void UnloadPolyglotBook();
bool PolyglotBookLoaded();
// Makes the choices repeatable; until called, the seed comes from the clock.
void SetPolyglotBookSeed(u64 seed);
// The search's book hook: a move from the loaded book for `side`, or false
// when no book is loaded or it has no legal move for the position.
bool PolyglotBookMove(const ChessBoard& board, char side, char castling, Move* move);
