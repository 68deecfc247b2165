// The settings of the run and the constant geometry masks, held in one
// record (MainStatus) that every subsystem reads and writes directly.
#pragma once

#include "core/Types.h"

class Status {
public:
    // Settings (see initVars for their defaults).
    u8 Mimic = 0;                 // teaching mode: 0 off, 1 student, 2 oracle
    i32 SearchStartTime = 0;      // clock reading (ms) at the start of the search
    i32 GamePly = 0;              // ply counter of the game, 1 at the start
    i32 DepthReached = 0;         // depth of the last completed iteration
    i32 TimeLastPly = 0;          // estimated seconds of the last iteration
    i32 TimeInc = 0;              // increment per move, ms
    i32 TimePerMove = 0;          // time budget of one move, ms
    i32 TimeLeft = 0;             // time left on the engine's clock, ms
    i32 NodesPerSecond = 1200000; // assumed search speed, replaced by measurements
    i64 EmergencyThreshold = 0;   // node count at which a search is abandoned
    u8 xboard = 0;
    u8 UCImode = 0;
    u8 GameInProgress = 0;
    u8 SelfPlay = 0;
    i8 FD = 0; // fixed search depth, 0 = none
    u8 HumanToMove = 0;
    u8 Kibitz = 0;
    u8 PERFT = 0;
    u8 BenchNumber = 0;
    u8 SATrain = 0;
    u8 DoTestSuite = 0;
    u8 Post = 0;
    u8 Force = 0;
    u8 OwnBook = 0;
    u8 PEV = 0;
    u8 Analyze = 0;
    u8 NewMatch = 0;
    u8 Trace = 0;
    u8 Pondering = 0;

    // Geometry masks.
    u64 FileA = 0, FileB = 0, FileC = 0, FileD = 0, FileE = 0, FileF = 0, FileG = 0, FileH = 0;
    u64 FilesGH = 0, FilesAB = 0, FilesFGH = 0, FilesABC = 0;
    u64 ChainF5E6D7 = 0, ChainC5D6E7 = 0, ChainF4E5D6 = 0, ChainC4D5E6 = 0;
    u64 ChainD2E3F4 = 0, ChainE2D3C4 = 0, ChainD3E4F5 = 0, ChainE3D4C5 = 0;
    u64 Rank1 = 0, Rank2 = 0, Rank3 = 0, Rank4 = 0, Rank5 = 0, Rank6 = 0, Rank7 = 0, Rank8 = 0;
    u64 DiagH2C7 = 0, DiagG2B7 = 0, DiagF2A7 = 0, DiagC2H7 = 0, DiagB2G7 = 0, DiagA2F7 = 0;
    u64 LightSquares = 0, DarkSquares = 0, Corners = 0, WhiteHalf = 0, BlackHalf = 0;

    i32 MovesPerSession = 0;        // moves per time-control period, 0 = whole game
    i32 DefaultMovesPerSession = 0; // printed by the console time report
    i32 ST = 0;                     // fixed time per move, ms
    i32 SelDepth = 0;               // deepest ply of the current search

    // Single squares for the wrong-bishop rule and the trap patterns.
    u64 SquareH8 = 0, SquareH7 = 0, SquareF7 = 0, SquareG7 = 0, SquareH6 = 0, SquareF6 = 0;
    u64 SquareG6 = 0, SquareA8 = 0, SquareA7 = 0, SquareC7 = 0, SquareA6 = 0, SquareB7 = 0;
    u64 SquareC6 = 0, SquareB6 = 0, SquareH1 = 0, SquareH2 = 0, SquareF2 = 0, SquareG2 = 0;
    u64 SquareH3 = 0, SquareF3 = 0, SquareG3 = 0, SquareA1 = 0, SquareA2 = 0, SquareC2 = 0;
    u64 SquareB2 = 0, SquareA3 = 0, SquareC3 = 0, SquareB3 = 0, SquareB8 = 0, SquareG8 = 0;
    u64 SquareB1 = 0, SquareG1 = 0;

    // Fills every mask and resets the settings of a new game. In UCI mode
    // the book switch, the time settings and the fixed depth survive.
    void initVars();
    // Fills the file, file-group and rank masks.
    void InitFilesAndRanks();

    void setPERFT(char v) { PERFT = u8(v); }
    char getPERFT() const { return char(PERFT); }
    void setFD(char v) { FD = i8(v); }
    char getFD() const { return char(FD); }
    void setxboard(char v) { xboard = u8(v); }
    char getxboard() const { return char(xboard); }
    void setDoTestSuite(char v) { DoTestSuite = u8(v); }
    char getDoTestSuite() const { return char(DoTestSuite); }
};

extern Status MainStatus;
