// The opening book: position keys with values, a binary tree over them,
// and the choice of a book move among the moves of a position.
#pragma once

#include "board/ChessBoard.h"

constexpr int BookCapacity = 1000000;

struct BookKey {
    u64 upper, lower;
};

struct treenode {
    i32 index; // entry in OpeningBook
    treenode* left;
    treenode* right;
};

extern BookKey OpeningBook[BookCapacity];
extern i32 BookValue[BookCapacity]; // smaller is better for the side moving into the position
extern i32 booksize;

void buildbook();
void buildbooktree(long n);
// The root of the tree that buildbooktree built last (null before the first build).
const treenode* BookTreeRoot();
// The entry index of the position, or -1.
int BookTreeSearch(const treenode* node, u64 upper, u64 lower);
// The index in GenerateAllMoves' list of the book move for side, or -100.
int InBook(char side, char castling, ChessBoard board);
