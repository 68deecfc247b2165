// Settings defaults and the geometry masks.
#include "core/Status.h"

#include "core/Geometry.h"

Status MainStatus;

using geometry::Square;

void Status::InitFilesAndRanks() {
    u64* files[8] = {&FileA, &FileB, &FileC, &FileD, &FileE, &FileF, &FileG, &FileH};
    for (int f = 0; f < 8; ++f) *files[f] = geometry::FileMask[f];
    FilesGH = FileG | FileH;
    FilesAB = FileA | FileB;
    FilesFGH = FileF | FileG | FileH;
    FilesABC = FileA | FileB | FileC;
    u64* ranks[8] = {&Rank1, &Rank2, &Rank3, &Rank4, &Rank5, &Rank6, &Rank7, &Rank8};
    for (int r = 0; r < 8; ++r) *ranks[r] = geometry::RankMask[r];
}

void Status::initVars() {
    InitFilesAndRanks();

    // Pawn chains and the diagonals aimed at a castled king (ends on ranks 1 and 8 removed).
    ChainF5E6D7 = Square('f', 5) | Square('e', 6) | Square('d', 7);
    ChainC5D6E7 = Square('c', 5) | Square('d', 6) | Square('e', 7);
    ChainF4E5D6 = Square('f', 4) | Square('e', 5) | Square('d', 6);
    ChainC4D5E6 = Square('c', 4) | Square('d', 5) | Square('e', 6);
    ChainD2E3F4 = Square('d', 2) | Square('e', 3) | Square('f', 4);
    ChainE2D3C4 = Square('e', 2) | Square('d', 3) | Square('c', 4);
    ChainD3E4F5 = Square('d', 3) | Square('e', 4) | Square('f', 5);
    ChainE3D4C5 = Square('e', 3) | Square('d', 4) | Square('c', 5);
    DiagH2C7 = 0x0004081020408000ULL;
    DiagG2B7 = 0x0002040810204000ULL;
    DiagF2A7 = 0x0001020408102000ULL;
    DiagC2H7 = 0x0080402010080400ULL;
    DiagB2G7 = 0x0040201008040200ULL;
    DiagA2F7 = 0x0020100804020100ULL;
    LightSquares = geometry::LightSquares;
    DarkSquares = geometry::DarkSquares;
    Corners = geometry::Corners;
    WhiteHalf = geometry::WhiteHalf;
    BlackHalf = geometry::BlackHalf;

    SquareH8 = Square('h', 8);
    SquareH7 = Square('h', 7);
    SquareF7 = Square('f', 7);
    SquareG7 = Square('g', 7);
    SquareH6 = Square('h', 6);
    SquareF6 = Square('f', 6);
    SquareG6 = Square('g', 6);
    SquareA8 = Square('a', 8);
    SquareA7 = Square('a', 7);
    SquareC7 = Square('c', 7);
    SquareA6 = Square('a', 6);
    SquareB7 = Square('b', 7);
    SquareC6 = Square('c', 6);
    SquareB6 = Square('b', 6);
    SquareH1 = Square('h', 1);
    SquareH2 = Square('h', 2);
    SquareF2 = Square('f', 2);
    SquareG2 = Square('g', 2);
    SquareH3 = Square('h', 3);
    SquareF3 = Square('f', 3);
    SquareG3 = Square('g', 3);
    SquareA1 = Square('a', 1);
    SquareA2 = Square('a', 2);
    SquareC2 = Square('c', 2);
    SquareB2 = Square('b', 2);
    SquareA3 = Square('a', 3);
    SquareC3 = Square('c', 3);
    SquareB3 = Square('b', 3);
    SquareB8 = Square('b', 8);
    SquareG8 = Square('g', 8);
    SquareB1 = Square('b', 1);
    SquareG1 = Square('g', 1);

    Mimic = 0;
    GamePly = 1;
    GameInProgress = 1;
    SelfPlay = 0;
    HumanToMove = 1;
    PERFT = 0;
    BenchNumber = 0;
    SATrain = 0;
    DoTestSuite = 0;
    Post = 0;
    PEV = 0;
    Trace = 0;
    SelDepth = 0;
    if (UCImode != 1) {
        TimePerMove = 0;
        FD = 0;
        OwnBook = 1;
        MovesPerSession = 0;
        DefaultMovesPerSession = 50;
        ST = 0;
    }
}
