// The evaluation's constant tables. Square tables are diagrams: rank 8 on
// the first line, file a on the left, as White looks at the board.
#include "eval/EvalTables.h"

#include "eval/PositionEvaluate.h"

// clang-format off

// ---- Pawns ------------------------------------------------------------

constexpr SquareTable WPawnSquare = FromDiagram({
      0,   0,   0,   0,   0,   0,   0,   0,
      0,   0,   0,  60,  60,   0,   0,   0,
      0,   0,   0,  60,  60,   0,   0,   0,
      0,   0,   0, 152, 152,   0,   0,   0,
      0,   0,   0, 187, 187,   0,   0,   0,
      0,   3,   0, 112, 112,   0,   3,   0,
      0,   0,   0, -10, -10,   0,   0,   0,
      0,   0,   0,   0,   0,   0,   0,   0,
});
constexpr SquareTable BPawnSquare = Mirrored(WPawnSquare);

// By rank index, counted from the pawn's own side (6 = one step from promotion).
constexpr int Passers[8]                    = { 0, 40, 80, 160, 270, 550, 1100, 0 };
constexpr int ProtectedPassers[8]           = { 0, 50, 90, 170, 300, 600, 1200, 0 };
constexpr int ConnectedPassers[8]           = { 0, 60, 100, 180, 320, 640, 1280, 0 };
constexpr int KingProximityPasserPenalty[8] = { 0, 17, 34, 54, 81, 120, 184, 0 };
// By file a..h.
constexpr int IsolatedPawn[8]               = { 90, 100, 100, 110, 110, 100, 100, 90 };

// ---- Kings ------------------------------------------------------------

constexpr SquareTable WKingSquare = FromDiagram({
   -700, -700, -700, -700, -700, -700, -700, -700,
   -700, -700, -700, -700, -700, -700, -700, -700,
   -600, -600, -600, -600, -600, -600, -600, -600,
   -500, -500, -500, -500, -500, -500, -500, -500,
   -400, -400, -400, -400, -400, -400, -400, -400,
   -100, -100, -100, -100, -100, -100, -100, -100,
   -100, -100, -100, -120, -120, -120, -100, -100,
    180,  210,  130, -210, -210,  130,  210,  180,
});
constexpr SquareTable BKingSquare = Mirrored(WKingSquare);

// Either king in the ending.
constexpr SquareTable KingEnding = FromDiagram({
   -250, -150,  -80,  -50,  -50,  -80, -150, -250,
   -150,  -70,   12,   12,   12,   12,  -70, -150,
    -80,   12,   12,   32,   32,   12,   12,  -80,
    -50,   12,   32,   80,   80,   32,   12,  -50,
    -50,   12,   32,   80,   80,   32,   12,  -50,
    -80,   12,   12,   32,   32,   12,   12,  -80,
   -150,  -70,   12,   12,   12,   12,  -70, -150,
   -250, -150,  -80,  -50,  -50,  -80, -150, -250,
});

// ---- Knights ----------------------------------------------------------

constexpr SquareTable WKnightSquare = FromDiagram({
   -250, -250, -200, -150, -150, -200, -250, -250,
   -200, -100,  -50,  -50,  -50,  -50, -100, -200,
   -100,   50,   30,   40,   40,   30,   50, -100,
   -100,   50,   30,   80,   80,   30,   50, -100,
   -100,    0,   60,  100,  100,   60,    0, -100,
   -150, -100,    0,   50,   50,    0, -100, -150,
   -200, -200, -150, -100, -100, -150, -200, -200,
   -400, -400, -300, -250, -250, -300, -400, -400,
});
constexpr SquareTable BKnightSquare = Mirrored(WKnightSquare);

constexpr SquareTable KnightEnding = FromDiagram({
   -250, -250, -250, -250, -250, -250, -250, -250,
   -250,  -50,  -50,  -50,  -50,  -50,  -50, -250,
   -250,  -50,   50,   50,   50,   50,  -50, -250,
   -250,  -50,   50,  150,  150,   50,  -50, -250,
   -250,  -50,   50,  150,  150,   50,  -50, -250,
   -250,  -50,   50,   50,   50,   50,  -50, -250,
   -250,  -50,  -50,  -50,  -50,  -50,  -50, -250,
   -250, -250, -250, -250, -250, -250, -250, -250,
});

// Outposts: paid when no enemy pawn can take the knight from where it stands.
constexpr SquareTable WKnightPost = FromDiagram({
      0,    0,    0,    0,    0,    0,    0,    0,
      0,    0,   64,   90,   90,   64,    0,    0,
      0,    0,  120,  160,  160,  120,    0,    0,
      0,    0,   80,  120,  120,   80,    0,    0,
      0,    0,   60,   80,   80,   60,    0,    0,
      0,    0,    0,    0,    0,    0,    0,    0,
      0,    0,    0,    0,    0,    0,    0,    0,
      0,    0,    0,    0,    0,    0,    0,    0,
});
constexpr SquareTable BKnightPost = Mirrored(WKnightPost);

// ---- Bishops ----------------------------------------------------------

constexpr SquareTable WBishopSquare = FromDiagram({
   -100, -100,  -70,  -40,  -40,  -70, -100, -100,
   -100,   25,  -30,    0,    0,  -30,   25, -100,
    -60,  -20,   50,   20,   20,   50,  -20,  -60,
    -30,    5,   20,   80,   80,   20,    5,  -30,
    -30,    3,   20,   80,   80,   20,    3,  -30,
    -60,  -20,   50,   20,   20,   50,  -20,  -60,
   -100,   25,  -30,    0,    0,  -30,   25, -100,
   -200, -200, -200, -150, -150, -200, -200, -200,
});
constexpr SquareTable BBishopSquare = Mirrored(WBishopSquare);

constexpr SquareTable BishopEnding = FromDiagram({
   -150, -150, -120, -100, -100, -120, -150, -150,
   -150,  -50,    0,   10,   10,    0,  -50, -150,
   -120,    0,   10,   30,   30,   10,    0, -120,
   -100,   10,   20,   60,   60,   20,   10, -100,
   -100,   10,   20,   60,   60,   20,   10, -100,
   -120,    0,   10,   30,   30,   10,    0, -120,
   -150,  -50,    0,   10,   10,    0,  -50, -150,
   -150, -150, -120, -100, -100, -120, -150, -150,
});

// ---- Mobility and major pieces ----------------------------------------

// Indexed by the number of safe squares; the last entries cannot be reached.
constexpr int KnightMobility[16] = { -180,  -70, -20,   0,  20,  50,  70, 100, 120,  75, 100, 120, 135, 150, 165, 0 };
constexpr int BishopMobility[16] = { -200, -110, -70, -30,   0,  30,  60,  90,  90,  90,  90,  90,  90,  90,  90, 0 };
constexpr int RookMobility[16]   = { -220, -120, -80, -30,   0,  30,  70, 100, 120, 140, 170, 190, 210, 230, 240, 0 };
constexpr int QueenMobility[32]  = {
   -140, -120, -100,  -80,  -60,  -40,  -20,    0,   20,   40,   60,   80,  100,  120,  140,  160,
    180,  200,  220,  240,  260,  280,  280,  280,  280,  280,  280,  280,  280,    0,    0,    0,
};

// By the number of rooks on the seventh and eighth ranks.
constexpr i16 Majorson7[16] = { 0, 350, 650, 950, 1250, 1400, 1450, 1500, 1500, 1500, 1500, 0, 0, 0, 0, 0 };

// By file a..h; read by the move ordering only.
constexpr int OpenFileControl[8] = { 185, 185, 190, 200, 200, 190, 185, 185 };

// clang-format on
