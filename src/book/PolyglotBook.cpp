// Polyglot books: position keys, the binary search over the file and the
// weighted choice among the legal book moves.
#include "book/PolyglotBook.h"

#include <cerrno>
#include <chrono>
#include <cstring>

#include <unistd.h>

#include "core/Platform.h"
#include "movegen/LegalMoves.h"
#include "movegen/MoveGen.h"

namespace {

constexpr u64 Rank2 = 0x000000000000FF00ULL, Rank4 = 0x00000000FF000000ULL;
constexpr u64 Rank5 = 0x000000FF00000000ULL, Rank7 = 0x00FF000000000000ULL;
constexpr int EntryBytes = 16;
constexpr long long MaxBookBytes = 1LL << 40; // searched on disk, never read whole

// The men's part of the key, in the format's order of kinds.
u64 PieceKeys(const ChessBoard& b) {
    const u64 men[12] = {b.BlackPawns, b.WhitePawns, b.BlackKnights, b.WhiteKnights, b.BlackBishops, b.WhiteBishops,
                         b.BlackRooks, b.WhiteRooks, b.BlackQueens,  b.WhiteQueens,  b.BlackKing,    b.WhiteKing};
    u64 key = 0;
    for (int kind = 0; kind < 12; ++kind)
        for (u64 set = men[kind]; set; set &= set - 1) {
            const int sq = SquareOf(set);
            key ^= PolyglotPieceKeys[kind][7 - sq / 8][sq % 8];
        }
    return key;
}

// The board keeps a right when its rook is captured at home; the format
// counts a right only while the king and that rook stand on their squares.
int RightsHeld(const ChessBoard& b, int castling) {
    const bool whiteKing = b.WhiteKing & SquareBit(4), blackKing = b.BlackKing & SquareBit(60);
    if (!whiteKing || !(b.WhiteRooks & SquareBit(7))) castling &= ~1;
    if (!whiteKing || !(b.WhiteRooks & SquareBit(0))) castling &= ~2;
    if (!blackKing || !(b.BlackRooks & SquareBit(63))) castling &= ~4;
    if (!blackKing || !(b.BlackRooks & SquareBit(56))) castling &= ~8;
    return castling;
}

// The file of the pawn that has just stepped two squares, when a pawn of
// `side` stands beside it and could take it; -1 otherwise.
int EnPassantFile(const ChessBoard& b, char side) {
    const u64 moverPawns = side ? b.WhitePawns : b.BlackPawns;
    const u64 ownPawns = side ? b.BlackPawns : b.WhitePawns;
    const u64 start = side ? Rank2 : Rank7, landing = side ? Rank4 : Rank5;
    if (!(b.LastFrom & start) || !(b.LastTo & landing & moverPawns)) return -1;
    const int file = SquareOf(b.LastTo) % 8;
    const u64 beside = (file > 0 ? b.LastTo >> 1 : 0) | (file < 7 ? b.LastTo << 1 : 0);
    return (beside & ownPawns) ? file : -1;
}

// The entry's move in the engine's terms, castling turned into the king's
// two-square step; false for a promotion field beyond 4.
bool Decode(const ChessBoard& b, char side, const PolyglotEntry& entry, BookMove* move) {
    const int fromSq = (entry.move >> 6) & 63, promotion = (entry.move >> 12) & 7;
    int toSq = entry.move & 63;
    if (promotion > 4) return false;
    const int home = side ? 60 : 4;
    const u64 king = side ? b.BlackKing : b.WhiteKing;
    if (fromSq == home && (king & SquareBit(home))) {
        if (toSq == home + 3) toSq = home + 2;
        if (toSq == home - 4) toSq = home - 2;
    }
    char promote = NoPromotion;
    if (promotion) promote = char("NBRQ"[promotion - 1] + (side ? 'a' - 'A' : 0));
    *move = BookMove{Move{SquareBit(fromSq), SquareBit(toSq), promote}, entry.weight};
    return true;
}

} // namespace

u64 PolyglotKey(const ChessBoard& board, char side, char castling) {
    u64 key = PieceKeys(board);
    const int rights = RightsHeld(board, castling);
    for (int i = 0; i < 4; ++i)
        if (rights & (1 << i)) key ^= PolyglotCastleKeys[i];
    const int file = EnPassantFile(board, side);
    if (file >= 0) key ^= PolyglotEnPassantKeys[file];
    return side ? key : key ^ PolyglotWhiteToMoveKey;
}

PolyglotBook::PolyglotBook() { random.seed(u64(std::chrono::system_clock::now().time_since_epoch().count())); }

bool PolyglotBook::Open(const std::string& path, std::string* message) {
    Close();
    auto fail = [&](const std::string& why) {
        if (message) *message = "Book file \"" + path + "\" not used: " + why;
        return false;
    };
    // A pipe or a device is refused before anything is read from it: it may never answer or never end.
    std::string error;
    long long size = 0;
    const int fd = OpenRegularFile(path, MaxBookBytes, &error, &size);
    if (fd < 0) return fail(error);
    if (size == 0 || size % EntryBytes) {
        close(fd);
        return fail(size ? std::to_string(size) + " bytes is not a whole number of 16-byte entries"
                         : "the file is empty");
    }
    file = fdopen(fd, "rb");
    if (!file) {
        close(fd);
        return fail(std::strerror(errno));
    }
    entries = size / EntryBytes;
    return true;
}

void PolyglotBook::Close() {
    if (file) std::fclose(file);
    file = nullptr;
    entries = 0;
}

bool PolyglotBook::Read(long long index, PolyglotEntry* entry) {
    unsigned char e[EntryBytes];
    if (!file || std::fseek(file, long(index * EntryBytes), SEEK_SET) != 0 ||
        std::fread(e, 1, EntryBytes, file) != EntryBytes)
        return false;
    u64 key = 0;
    for (int i = 0; i < 8; ++i) key = key << 8 | e[i];
    *entry = PolyglotEntry{key, u16(e[8] << 8 | e[9]), u16(e[10] << 8 | e[11])};
    return true;
}

std::vector<PolyglotEntry> PolyglotBook::Entries(u64 key) {
    std::vector<PolyglotEntry> found;
    PolyglotEntry e;
    long long low = 0, high = entries; // the first entry of the key lies in [low, high]
    while (low < high) {
        const long long middle = low + (high - low) / 2;
        if (!Read(middle, &e)) return {};
        if (e.key < key)
            low = middle + 1;
        else
            high = middle;
    }
    for (long long i = low; i < entries && int(found.size()) < MaxEntriesPerKey; ++i) {
        if (!Read(i, &e)) return {};
        if (e.key != key) break;
        found.push_back(e);
    }
    return found;
}

// A book move counts only if it is legal (a promotion where the generator
// promotes to a queen). An under-promotion keeps its letter: MakeMove plays it.
std::vector<BookMove> PolyglotBook::Moves(const ChessBoard& board, char side, char castling) {
    std::vector<BookMove> moves;
    const std::vector<PolyglotEntry> found = Entries(PolyglotKey(board, side, castling));
    if (found.empty()) return moves;
    const std::vector<Move> legal = LegalMoves(board, side, castling);
    for (const PolyglotEntry& entry : found) {
        BookMove m;
        if (entry.weight == 0 || !Decode(board, side, entry, &m)) continue;
        for (const Move& l : legal) {
            if (l.from != m.move.from || l.to != m.move.to) continue;
            if ((l.promote != NoPromotion) == (m.move.promote != NoPromotion)) moves.push_back(m);
            break;
        }
    }
    return moves;
}

bool PolyglotBook::Choose(const ChessBoard& board, char side, char castling, Move* move) {
    const std::vector<BookMove> moves = Moves(board, side, castling);
    u64 total = 0;
    for (const BookMove& m : moves) total += m.weight;
    if (total == 0) return false;
    u64 pick = random() % total;
    for (const BookMove& m : moves) {
        if (pick < m.weight) {
            *move = m.move;
            return true;
        }
        pick -= m.weight;
    }
    return false;
}

namespace {

PolyglotBook engineBook;

} // namespace

bool LoadPolyglotBook(const std::string& path, std::string* message) { return engineBook.Open(path, message); }

void UnloadPolyglotBook() { engineBook.Close(); }

bool PolyglotBookLoaded() { return engineBook.IsOpen(); }

void SetPolyglotBookSeed(u64 seed) { engineBook.Seed(seed); }

bool PolyglotBookMove(const ChessBoard& board, char side, char castling, Move* move) {
    return engineBook.IsOpen() && engineBook.Choose(board, side, castling, move);
}
