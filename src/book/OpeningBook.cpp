// The opening book: the key and value tables, the binary tree over them,
// and the choice of a book move.
#include "book/OpeningBook.h"

#include <cstdio>
#include <new>
#include <vector>

#include "board/HashKeys.h"
#include "core/Status.h"
#include "movegen/MoveGen.h"

// Nothing in the engine writes the tables, so link-time optimisation would make
// them read-only data: 20 MB of zeros in the binary. Visible from outside,
// they stay zero pages that cost nothing until touched.
[[gnu::externally_visible]] BookKey OpeningBook[BookCapacity];
[[gnu::externally_visible]] i32 BookValue[BookCapacity];
i32 booksize;

namespace {

treenode* treeroot = nullptr;

treenode* NewNode(i32 index) {
    treenode* node = new (std::nothrow) treenode{index, nullptr, nullptr};
    if (!node) std::printf("ERROR: no memory for the opening book tree\n");
    return node;
}

// Frees a tree without recursion: a tree built from sorted keys is a list.
void FreeTree(treenode* root) {
    std::vector<treenode*> pending;
    if (root) pending.push_back(root);
    while (!pending.empty()) {
        treenode* node = pending.back();
        pending.pop_back();
        if (node->left) pending.push_back(node->left);
        if (node->right) pending.push_back(node->right);
        delete node;
    }
}

// Smaller upper key, or equal upper key and smaller lower key, goes left.
bool GoesLeft(const BookKey& key, const BookKey& at) {
    return key.upper < at.upper || (key.upper == at.upper && key.lower < at.lower);
}

// Hangs entry n below the root unless an entry with both keys equal is there.
bool Insert(i32 n) {
    const BookKey& key = OpeningBook[n];
    treenode* node = treeroot;
    for (;;) {
        const BookKey& at = OpeningBook[node->index];
        if (key.upper == at.upper && key.lower == at.lower) return true;
        treenode*& child = GoesLeft(key, at) ? node->left : node->right;
        if (!child) {
            child = NewNode(n);
            return child != nullptr;
        }
        node = child;
    }
}

} // namespace

const treenode* BookTreeRoot() { return treeroot; }

void buildbook() {
    booksize = 0;
    buildbooktree(0);
}

void buildbooktree(long n) {
    FreeTree(treeroot);
    treeroot = NewNode(0);
    if (!treeroot) return;
    if (n > BookCapacity) n = BookCapacity;
    for (long i = 1; i < n; ++i)
        if (!Insert(i32(i))) return;
}

// An equal upper key decides at once, whatever the lower keys below it.
int BookTreeSearch(const treenode* node, u64 upper, u64 lower) {
    while (node) {
        const BookKey& at = OpeningBook[node->index];
        if (at.upper == upper) return at.lower == lower ? node->index : -1;
        if (at.lower == lower) return -1;
        node = upper < at.upper ? node->left : node->right;
    }
    return -1;
}

int InBook(char side, char castling, ChessBoard board) {
    const bool trace = MainStatus.Trace != 0;
    MoveGen list;
    const int count = list.GenerateAllMoves(side, &board, castling);
    int best = -100;
    i32 bestValue = 110000;
    for (int i = 0; i < count; ++i) {
        const auto [from, to, promote] = list.GetMove(i);
        u64 upper, lower;
        char mask;
        board.MakeMove(from, to, promote, &mask);
        genhashcode(char(side ^ 1), castling & mask, &upper, &lower, &board);
        const int entry = BookTreeSearch(treeroot, upper, lower);
        if (entry >= 0 && BookValue[entry] < bestValue) {
            bestValue = BookValue[entry];
            best = i;
        }
        if (trace) {
            char text[MoveTextSize];
            fillmovestring(text, 0, char(SquareOf(from)), char(SquareOf(to)), promote);
            std::printf("  {%s  %s%d%s}\n", text, entry < 0 ? "Not in Book: " : "", entry < 0 ? 0 : BookValue[entry],
                        text);
        }
        board.UndoMove(0);
    }
    return best;
}
