// The per-node move list and the move generators.
//
// A move is (from, to, promotion character): from and to are one-square
// sets, the character is NoPromotion (236) or a promotion letter. Where a
// move is stored in 16 bits it is fromIndex * 64 + toIndex with the
// promotion character kept beside it.
#pragma once

#include "board/ChessBoard.h"

constexpr int MaxMoves = 335;

// The longest principal variation a move text carries, and room for such a text.
constexpr int MaxLineMoves = 200;
constexpr int MoveTextSize = 1200;

inline int MoveCode(u64 from, u64 to) { return SquareOf(from) * 64 + SquareOf(to); }

// A move as MakeMove takes it: one-square sets and the promotion character.
struct Move {
    u64 from, to;
    char promote;
};

// A move as the search's tables keep it: the 16-bit code and the promotion character.
struct PVEntry {
    u16 move;     // fromIndex * 64 + toIndex
    char promote; // promotion character
};

class MoveGen {
public:
    ChessBoard* Board;
    u64 From[MaxMoves];
    u64 To[MaxMoves];
    char Promote[MaxMoves];
    i32 OrderValue[MaxMoves];
    i32 AttackerWeight[MaxMoves]; // filled by the quiescence ordering, read by nothing
    i32 VictimValue[MaxMoves];    // likewise
    i32 MoveCount;

    // Entry points: each sets Board and fills the list from index 0.
    // All pseudo-legal moves in the fixed generation order; stores MoveCount.
    int GenerateAllMoves(char side, ChessBoard* board, char castling);
    // Captures and all pawn moves for quiescence; MoveCount is not stored.
    int GenerateQuiesceMoves(char side, ChessBoard* board);
    // Replies to a check of `side`'s king; MoveCount is not stored.
    int GenCheckEvasions(char side, ChessBoard* board);

    Move GetMove(int i) const { return Move{From[i], To[i], Promote[i]}; }
    // One selection step: the best of entries i..count-1 (earliest on ties) moves to i.
    void SelectBest(int i, int count);
    // SelectBest, then entry i.
    Move NextMove(int i, int count);

    // Generators: append at index, return the next free index.
    int GenKnights(char side, int index);
    int GenKnightCaptures(char side, int index);
    int GenBishops(char side, int index);
    int GenBishopCaptures(char side, int index);
    int GenRooks(char side, int index);
    int GenRookCaptures(char side, int index);
    int GenQueens(char side, int index);
    int GenQueenCaptures(char side, int index);
    int GenKings(char side, int index);
    int GenKingCaptures(char side, int index);
    int GenCastle(char side, int index, char castling);
    int GenPawns(char side, int index);
    int GenEnPassant(char side, int index);
    int GenPawnCaptures(char side, int index);
    int GenNonCaptures(char side);
    int GenChecks(char side);
    int GenerateMoves(char side);
    int GenCaptures(char side, ChessBoard* board);

    // Evasion generators, restricted to the check mask.
    int GenKingEvasions(char side, u64 mask, int index);
    int GenKnightEvasions(char side, u64 mask, int index);
    int GenBishopEvasions(char side, u64 mask, int index);
    int GenRookEvasions(char side, u64 mask, int index);
    int GenQueenEvasions(char side, u64 mask, int index);
    int GenPawnEvasions(char side, u64 mask, u64 ownPawns, u64 enemyMen, int index);

    // Ordering values (search/MoveOrdering.cpp).
    void AssignMoveOrderValues(int count, int ply, u64 opponentKing, int ttMove, char NodeType);
    void QuiesceAssignMoveOrderValues(int count);
};

// The number of legal moves of `side`: the moves the generators give (the
// evasions when in check) that do not leave its king attacked. Perft's last ply.
int CountLegalMoves(char side, ChessBoard& board, char castling);

// Writes " e2e4" plus a promotion suffix ("q;" for the piece code of a
// queen, a blank otherwise), then the moves line[1] .. line[lineLength - 1]
// of a principal variation that starts with this move ("e7e5 " each), then
// a newline. The second argument is ignored. The buffer holds MoveTextSize.
void fillmovestring(char* buffer, int, char fromIndex, char toIndex, char promotionCode, const PVEntry* line = nullptr,
                    int lineLength = 0);
