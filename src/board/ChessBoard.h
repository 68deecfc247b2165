// The position record. A plain value copied whole into every search node;
// the global MainBoard is the game position.
#pragma once

#include <type_traits>

#include "board/Attacks.h"
#include "board/Bitboard.h"

// Piece codes: white 0..5, black 6..11 (black = white + 6).
enum PieceCode { PawnCode, KnightCode, BishopCode, RookCode, QueenCode, KingCode };
constexpr int BlackOffset = 6;

// Value of a man captured by MakeMove (CapturedValue) and of the material terms.
constexpr int PawnValue = 800;
constexpr int KnightValue = 3250;
constexpr int BishopValue = 3250;
constexpr int RookValue = 5000;
constexpr int QueenValue = 9750;

// Promotion character of a move that does not promote.
constexpr char NoPromotion = char(236);

// The castling rights (bits as in BoardState::Castling) kept when `side`'s
// man of the given kind leaves the square: a king gives up both of its
// side's, a rook in its corner the one on its wing.
inline int CastlingKept(char side, int kind, int fromSquare) {
    const int home = side ? 56 : 0;
    if (kind == KingCode) return side ? 3 : 12;
    if (kind == RookCode && fromSquare == home + 7) return side ? 11 : 14;
    if (kind == RookCode && fromSquare == home) return side ? 7 : 13;
    return 15;
}

// Everything MakeMove changes: saved whole before a move, so that UndoMove
// restores it in one statement.
struct BoardState {
    u64 WhitePieces, BlackPieces, AllPieces;
    u64 WhitePawns, WhiteBishops, WhiteKnights, WhiteRooks, WhiteQueens, WhiteKing;
    u64 BlackPawns, BlackBishops, BlackKnights, BlackRooks, BlackQueens, BlackKing;
    u32 PawnKingHash;
    // The men's part of the position key (both halves): set by
    // InitPieceCounts, kept up to date by MakeMove.
    u64 PieceKeyUpper, PieceKeyLower;
    u8 Castling;          // 1 white king side, 2 white queen side, 4 black king side, 8 black queen side
    i32 FiftyMoveCount;   // plies since the last capture or pawn move
    u64 LastFrom, LastTo; // squares of the last move made on this record, 0 if none
    i32 WhitePieceCount, BlackPieceCount;
    i32 WhiteQueenCount, WhiteRookCount, WhiteBishopCount, WhiteKnightCount, WhitePawnCount;
    i32 BlackQueenCount, BlackRookCount, BlackBishopCount, BlackKnightCount, BlackPawnCount;

    // The piece code (PawnCode..KingCode) of `side`'s man on the square, -1
    // when it holds none. Without branches: the search asks it of men in no
    // order a predictor could learn.
    int KindOn(char side, u64 sq) const {
        const bool black = side;
        const int kind = KnightCode * !!((black ? BlackKnights : WhiteKnights) & sq) +
                         BishopCode * !!((black ? BlackBishops : WhiteBishops) & sq) +
                         RookCode * !!((black ? BlackRooks : WhiteRooks) & sq) +
                         QueenCode * !!((black ? BlackQueens : WhiteQueens) & sq) +
                         KingCode * !!((black ? BlackKing : WhiteKing) & sq);
        return (black ? BlackPieces : WhitePieces) & sq ? kind : -1; // pawns are code 0
    }
};

class ChessBoard : public BoardState {
public:
    BoardState Old; // before the last MakeMove, for the one-level UndoMove
    u8 SideToMove;
    i32 MaxDepth;
    i32 FixedDepth;
    u64 BestFrom, BestTo;
    char BestPromote;
    i32 CapturedValue;
    char MatingMaterial; // bit 0: white can mate, bit 5: black can mate
    i32 MaxPly;          // ply limit of the current search iteration

    // Set-up (ChessBoard.cpp).
    void InitRep();
    void ClearField();
    // Recomputes the piece counts and the men's part of the key from the piece sets.
    void InitPieceCounts();
    void SetupBoard() {}

    // Predicates on a one-square set.
    bool IsKing(char side, u64 sq) const { return (side ? BlackKing : WhiteKing) & sq; }
    bool IsPawn(char side, u64 sq) const { return (side ? BlackPawns : WhitePawns) & sq; }
    bool IsBishop(char side, u64 sq) const { return (side ? BlackBishops : WhiteBishops) & sq; }
    bool IsKnight(char side, u64 sq) const { return (side ? BlackKnights : WhiteKnights) & sq; }
    bool IsRook(char side, u64 sq) const { return (side ? BlackRooks : WhiteRooks) & sq; }
    bool IsQueen(char side, u64 sq) const { return (side ? BlackQueens : WhiteQueens) & sq; }
    bool IsEmptySquare(u64 sq) const { return !(AllPieces & sq); }
    bool PieceColor(u64 sq) const { return !(WhitePieces & sq); }
    int QuickPawnCount(char side) const { return side ? BlackPawnCount : WhitePawnCount; }
    int QuickPieceCount(char) const;
    bool PawnOn7th(char side) const;
    void DropPawn(char side, u64 sq);
    void Promote(char side, u64 sq, char piece);

    // Diagram output: one cell, and the whole board framed by file letters.
    void DisplayPiece(unsigned char square) const;
    void DisplayBoard() const;

    // Attack sets of the man on a one-square set, blocked by AllPieces
    // (ChessBoardAttacks.cpp). An empty argument gives an empty set.
    u64 KnightMask(u64 sq) const { return sq ? attacks::Knight(SquareOf(sq)) : 0; }
    u64 KingMask(u64 sq) const { return sq ? attacks::King(SquareOf(sq)) : 0; }
    u64 BishopMask(u64 sq) const { return sq ? attacks::Bishop(SquareOf(sq), AllPieces) : 0; }
    u64 RookMask(u64 sq) const { return sq ? attacks::Rook(SquareOf(sq), AllPieces) : 0; }
    // Rays from the king that meet one of the attackers first: the squares
    // on which a slider's check is blocked or its checker captured.
    u64 BishopCheckMask(u64 kingSq, u64 attackers) const;
    u64 RookCheckMask(u64 kingSq, u64 attackers) const;
    // True if a man of the side opposite to `side` attacks the square.
    bool IsAttacked(u64 sq, char side) const;
    bool InCheck(u64 sq, char side) const { return IsAttacked(sq, side); }
    int RookAttackCount(u64 sq) const;
    static u64 NorthAttacks(u64 sliders, u64 empty);
    static u64 SouthAttacks(u64 sliders, u64 empty);

    // Moves (ChessBoardMakeMove.cpp). MakeMove neither tests legality nor
    // changes SideToMove or Castling; it reports the castling AND-mask.
    void MakeMove(u64 from, u64 to, char promote, char* castleMask);
    void UndoMove(int);

    // Draw rules (ChessBoardDraw.cpp): 0 none, 7 fifty moves, 8 material.
    int CheckDraw(char side);
    bool Test50MoveRule(char fromIndex, char toIndex);
};

static_assert(std::is_trivially_copyable_v<ChessBoard>, "boards are copied by value at every node");

extern ChessBoard MainBoard;

// Population count of the piece sets (parallel count over both 32-bit halves).
int PieceSetCount(u64 b);
