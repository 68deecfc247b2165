// The evaluation taken apart. The explainer retraces PosEval step by step
// and calls the same terms, asking each for one side at a time, so that
// every amount lands in its group and on its side; the score it builds from
// those shares is the one PosEval returns. A term that scores both sides in
// one call runs on a copy of the board that keeps only one side's knights,
// bishops, rooks and queens (occupancy, pawns, kings and counts unchanged):
// it then scores that side exactly as in the full position.
#include "eval/EvalBreakdown.h"

#include "eval/EvalDriver.h"
#include "eval/EvalGeometry.h"
#include "eval/EvalTables.h"
#include "eval/PawnStructure.h"
#include "eval/PositionEvaluate.h"

using namespace evaldriver;
using evalgeo::Flip;

namespace {

const char* const GroupNames[EvalGroupCount] = {
    "Material",    "Piece-square tables",  "Mobility",       "Centre control",  "Pawn structure", "Passed pawns",
    "King safety", "Outposts, files, 7th", "Trapped pieces", "Mating material", "Endgame rules"};

// What one side's share of a group adds to the score directly and to the
// two sums that the phase blends.
struct Share {
    int direct = 0, middleGame = 0, endGame = 0;
};

// Everything the evaluation writes besides its result: the record PE, the
// board pointer, the pawn hash slot of the position and the hash counters.
class SavedEvalState {
public:
    explicit SavedEvalState(u32 pawnKey)
        : pe_(PE), board_(bb), slot_(PawnHashArray[pawnKey & 0xffff]), record_(slot_), attempts_(Phashattempts),
          misses_(Phashmisses) {}
    ~SavedEvalState() {
        PE = pe_;
        bb = board_;
        slot_ = record_;
        Phashattempts = attempts_;
        Phashmisses = misses_;
    }
    SavedEvalState(const SavedEvalState&) = delete;
    SavedEvalState& operator=(const SavedEvalState&) = delete;

private:
    PositionEvaluate pe_;
    const ChessBoard* board_;
    PawnRecord& slot_;
    PawnRecord record_;
    i32 attempts_, misses_;
};

ChessBoard OneSide(const ChessBoard& board, int colour) {
    ChessBoard b = board;
    if (colour == 0)
        b.BlackKnights = b.BlackBishops = b.BlackRooks = b.BlackQueens = 0;
    else
        b.WhiteKnights = b.WhiteBishops = b.WhiteRooks = b.WhiteQueens = 0;
    return b;
}

class Explainer {
public:
    Explainer(const ChessBoard& board, int alpha, int beta)
        : b_(board), side_(char(board.SideToMove)), alpha_(alpha),
          beta_(beta), oneSide_{OneSide(board, 0), OneSide(board, 1)} {}
    EvalBreakdown Run();

private:
    void Direct(int colour, EvalGroup g, int v);
    void Blended(int colour, EvalGroup g, int middleGame, int endGame);
    void Gain(EvalGroup g, int whiteView);
    void Penalty(EvalGroup g, int whiteView);
    void Blend();
    bool OutsideWindow(int margin) const;
    EvalBreakdown Finish(EvalExit exit);

    void Start();
    bool PawnlessShortcut();
    void SetPhase();
    void MaterialAndPawns();
    void PassedPawnDynamics();
    void Kings();
    bool DrawishEnding();
    void PositionalTerms();
    void KingSafety();
    void PieceBalance();
    void CentreControl();
    void Pieces(int colour);
    void TablesAndMobility(int colour, Share* table, Share* mobility) const;
    void EndingRules();

    // Runs a term on one side's copy of the board and returns what it added
    // to the middle-game and end-game sums, from that side's view.
    template <class Term>
    Share OnOneSide(int colour, Term term);

    const ChessBoard& b_;
    const char side_;
    const int alpha_, beta_;
    const ChessBoard oneSide_[2];
    Share shares_[2][EvalGroupCount];
    int material_ = 0;
    int score_ = 0;                       // White's view, as the driver keeps it
    int middleGame_ = 0, endGame_ = 0;    // the sums the next blend takes, White's view
    int scaling_ = 0, roundingToTen_ = 0; // White's view
};

void Explainer::Direct(int colour, EvalGroup g, int v) {
    shares_[colour][int(g)].direct += v;
    score_ += colour ? -v : v;
}

void Explainer::Blended(int colour, EvalGroup g, int middleGame, int endGame) {
    Share& s = shares_[colour][int(g)];
    s.middleGame += middleGame;
    s.endGame += endGame;
    middleGame_ += colour ? -middleGame : middleGame;
    endGame_ += colour ? -endGame : endGame;
}

// Terms that only ever help one side (a won pawn race) or only ever cost
// one side (the ending rules): their sign names the side.
void Explainer::Gain(EvalGroup g, int whiteView) {
    if (whiteView) Direct(whiteView < 0, g, whiteView < 0 ? -whiteView : whiteView);
}

void Explainer::Penalty(EvalGroup g, int whiteView) {
    if (whiteView) Direct(whiteView > 0, g, whiteView > 0 ? -whiteView : whiteView);
}

void Explainer::Blend() {
    score_ += Taper(PE.Phase, middleGame_, endGame_);
    middleGame_ = endGame_ = 0;
}

bool Explainer::OutsideWindow(int margin) const {
    int s = ForSide(side_, score_);
    return s + margin < alpha_ || s - margin > beta_;
}

template <class Term>
Share Explainer::OnOneSide(int colour, Term term) {
    bb = &oneSide_[colour];
    PE.MiddleGame = PE.EndGame = 0;
    term();
    bb = &b_;
    int sign = colour ? -1 : 1;
    return {0, sign * PE.MiddleGame, sign * PE.EndGame};
}

// The driver's steps, in its order.
EvalBreakdown Explainer::Run() {
    Start();
    if (PawnlessShortcut()) return Finish(EvalExit::PawnlessEnding);
    PE.AttackMasks();
    SetPhase();
    MaterialAndPawns();
    PassedPawnDynamics();
    Kings();
    Blend();
    if (DrawishEnding()) return Finish(EvalExit::DrawishEnding);
    if (OutsideWindow(FirstLazyMargin)) return Finish(EvalExit::LazyCut);

    PositionalTerms();
    Blend();
    if (OutsideWindow(SecondLazyMargin)) return Finish(EvalExit::LazyCut);

    CentreControl();
    Pieces(0);
    Pieces(1);
    Blend();
    if (b_.MatingMaterial & 1) Direct(0, EvalGroup::MatingChances, MatingMaterialBonus);
    if (b_.MatingMaterial & 32) Direct(1, EvalGroup::MatingChances, MatingMaterialBonus);
    EndingRules();
    roundingToTen_ = score_ / 10 * 10 - score_;
    score_ += roundingToTen_;
    return Finish(EvalExit::Full);
}

void Explainer::Start() {
    PE.MiddleGame = PE.EndGame = 0;
    bb = &b_;
    PE.WhiteKingSquare = SquareOf(b_.WhiteKing);
    PE.BlackKingSquare = SquareOf(b_.BlackKing);
    PE.WhiteKingFile = b_.WhiteKing ? geometry::FileMask[PE.WhiteKingSquare & 7] : 0;
    PE.BlackKingFile = b_.BlackKing ? geometry::FileMask[PE.BlackKingSquare & 7] : 0;
    PE.WhiteNonPawnCount = i8(b_.WhiteQueenCount + b_.WhiteRookCount + b_.WhiteBishopCount + b_.WhiteKnightCount);
    PE.BlackNonPawnCount = i8(b_.BlackQueenCount + b_.BlackRookCount + b_.BlackBishopCount + b_.BlackKnightCount);
    material_ = PE.MaterialOnly(0, &b_) - PawnValue * (b_.WhitePawnCount - b_.BlackPawnCount);
    for (int c = 0; c < 2; ++c) Direct(c, EvalGroup::Material, PE.SideMaterialValue(char(c), &b_));
}

void Explainer::SetPhase() {
    PE.Phase = 24 - (PE.WhiteNonPawnCount + PE.BlackNonPawnCount) - (b_.WhiteRookCount + b_.BlackRookCount) -
               3 * (b_.WhiteQueenCount + b_.BlackQueenCount);
    if (PE.Phase < 1) PE.Phase = 1;
}

// Rook against a minor piece and nothing else: the score so far, halved.
bool Explainer::DrawishEnding() {
    int men = PE.WhiteNonPawnCount + b_.WhitePawnCount + PE.BlackNonPawnCount + b_.BlackPawnCount;
    if (men > 3 || !PE.DrawishEnding(side_)) return false;
    scaling_ = score_ / 2 - score_;
    score_ += scaling_;
    return true;
}

void Explainer::CentreControl() {
    auto centre = [](u64 map) { return PopCount(map & geometry::Centre); };
    int white = centre(PE.WhiteRookAttackMap) + centre(PE.WhiteBishopAttackMap) + centre(PE.WhiteKnightAttackMap);
    int black = centre(PE.BlackRookAttackMap) + centre(PE.BlackBishopAttackMap) + centre(PE.BlackKnightAttackMap);
    Blended(0, EvalGroup::CentreControl, CentreSquare * white, 0);
    Blended(1, EvalGroup::CentreControl, CentreSquare * black, 0);
}

EvalBreakdown Explainer::Finish(EvalExit exit) {
    EvalBreakdown r;
    r.sideToMove = side_;
    r.phase = exit == EvalExit::PawnlessEnding ? 0 : PE.Phase;
    r.exit = exit;
    int shares = 0;
    for (int g = 0; g < EvalGroupCount; ++g) {
        const Share& w = shares_[0][g];
        const Share& k = shares_[1][g];
        r.white[g] = w.direct + Taper(r.phase, w.middleGame, w.endGame);
        r.black[g] = k.direct + Taper(r.phase, k.middleGame, k.endGame);
        shares += r.white[g] - r.black[g];
    }
    r.scaling = scaling_;
    r.roundingToTen = roundingToTen_;
    r.phaseRounding = score_ - scaling_ - roundingToTen_ - shares;
    r.score = ForSide(side_, score_);
    return r;
}

// Without pawns, equal material or one minor piece more is settled by the
// kings' placement and a part of the material, before anything else.
bool Explainer::PawnlessShortcut() {
    int shortcut;
    if (b_.WhitePawnCount || b_.BlackPawnCount || !PE.PawnlessEnding(side_, material_, &shortcut)) return false;
    Direct(0, EvalGroup::PieceSquares, KingEnding[PE.WhiteKingSquare]);
    Direct(1, EvalGroup::PieceSquares, KingEnding[PE.BlackKingSquare]);
    scaling_ = ForSide(side_, shortcut) - score_;
    score_ += scaling_;
    return true;
}

// Pawns: their value growing with the phase, and the static structure,
// computed afresh: the probe is made to miss, and the slot it overwrites is
// put back when the explanation ends.
void Explainer::MaterialAndPawns() {
    int pawns[2] = {b_.WhitePawnCount, b_.BlackPawnCount};
    for (int c = 0; c < 2; ++c)
        Direct(c, EvalGroup::Material, PawnValue * pawns[c] + PawnEndingBonus * pawns[c] * PE.Phase / 24);
    // The driver truncates the growth of the difference, not of each side's.
    score_ += PawnEndingBonus * (pawns[0] - pawns[1]) * PE.Phase / 24 -
              (PawnEndingBonus * pawns[0] * PE.Phase / 24 - PawnEndingBonus * pawns[1] * PE.Phase / 24);

    PawnHashArray[b_.PawnKingHash & 0xffff].key = ~b_.PawnKingHash;
    PE.PawnEval04(side_);
    // Black's pawns are scored on the board turned upside down, as the pawn hash scores them.
    const u64 own[2] = {b_.WhitePawns, Flip(b_.BlackPawns)}, enemy[2] = {b_.BlackPawns, Flip(b_.WhitePawns)};
    const int kings[2] = {PE.WhiteKingSquare, PE.BlackKingSquare ^ 56};
    for (int c = 0; c < 2; ++c) {
        PawnSide p = ScorePawns(own[c], enemy[c], kings[c]);
        int table = 0;
        for (u64 set = own[c]; set; set &= set - 1) table += WPawnSquare[__builtin_ctzll(set)];
        int centre = CentrePawn * PopCount(own[c] & geometry::Centre);
        Direct(c, EvalGroup::PieceSquares, table);
        Direct(c, EvalGroup::PawnStructure, p.score - table);
        Blended(c, EvalGroup::PawnStructure, p.middleGame - centre, p.endGame);
        Blended(c, EvalGroup::CentreControl, centre, 0);
    }
}

// The passers' dynamic terms, one colour at a time for their end-game part,
// then the passer scores (raised by those terms) weighted as the driver does.
void Explainer::PassedPawnDynamics() {
    const i32 scores[2] = {PE.WhitePasserScore, PE.BlackPasserScore};
    const u8 counts[2] = {PE.WhitePasserCount, PE.BlackPasserCount};
    for (int c = 0; c < 2; ++c) {
        if (!counts[c]) continue;
        PE.EndGame = 0;
        PE.PawnDynamics(char(c), side_);
        Blended(c, EvalGroup::PassedPawns, 0, c ? -PE.EndGame : PE.EndGame);
    }
    PE.WhitePasserScore = scores[0];
    PE.BlackPasserScore = scores[1];
    for (int c = 0; c < 2; ++c) Blended(c, EvalGroup::PassedPawns, 13 * scores[c] / 10, 19 * scores[c] / 10);
}

void Explainer::Kings() {
    Penalty(EvalGroup::EndgameRules, PE.KingEval(side_));
    Blended(0, EvalGroup::PieceSquares, WKingSquare[PE.WhiteKingSquare], KingEnding[PE.WhiteKingSquare]);
    Blended(1, EvalGroup::PieceSquares, BKingSquare[PE.BlackKingSquare], KingEnding[PE.BlackKingSquare]);
}

// The driver's steps between its two lazy exits.
void Explainer::PositionalTerms() {
    Gain(EvalGroup::PassedPawns, PE.RuleofSquare(side_));
    if (b_.BlackBishopCount == 1)
        Blended(0, EvalGroup::PawnStructure, 0,
                -BishopColourPawn * PopCount(b_.WhitePawns & SameColourSquares(b_.BlackBishops)));
    if (b_.WhiteBishopCount == 1)
        Blended(1, EvalGroup::PawnStructure, 0,
                -BishopColourPawn * PopCount(b_.BlackPawns & SameColourSquares(b_.WhiteBishops)));
    for (int c = 0; c < 2; ++c) {
        Share traps = OnOneSide(c, [this] { PE.MiddleGame = PE.EndGame = PE.Traps(side_); });
        Blended(c, EvalGroup::TrappedPieces, traps.middleGame, traps.endGame);
    }
    KingSafety();
    for (int c = 0; c < 2; ++c) {
        Share seventh = OnOneSide(c, [] { PE.MajorsOnSeventh(); });
        Blended(c, EvalGroup::PiecePlay, seventh.middleGame, seventh.endGame);
    }
    PieceBalance();
}

// Each side's own king: the danger the driver counts against it.
void Explainer::KingSafety() {
    bool whiteAttacks = CanAttackKing(PE.WhiteNonPawnCount, b_.WhiteQueenCount);
    bool blackAttacks = CanAttackKing(PE.BlackNonPawnCount, b_.BlackQueenCount);
    bool oppositeWings = OppositeWings(PE.WhiteKingSquare & 7, PE.BlackKingSquare & 7);
    auto storm = [oppositeWings](int v) { return oppositeWings ? v : v / 2; };
    // In the driver's order: a shield counts its gaps, which the attack on the same king reads.
    int danger[2] = {0, 0};
    if (blackAttacks) danger[0] += PE.PawnShield(0);
    if (whiteAttacks) danger[1] += PE.PawnShield(1);
    if (blackAttacks) danger[0] += PE.AttackCounts(0);
    if (whiteAttacks) danger[1] += PE.AttackCounts(1) + storm(PE.PawnStorm(0));
    if (blackAttacks) danger[0] += storm(PE.PawnStorm(1));
    for (int c = 0; c < 2; ++c) Blended(c, EvalGroup::KingSafety, -danger[c], 0);
}

// The lone-minor and doubled-pawn corrections, told apart by asking again
// without one side's doubled pawns.
void Explainer::PieceBalance() {
    const i32 doubled[2] = {PE.WhiteDoubledPawns, PE.BlackDoubledPawns};
    auto adjustments = [&](bool white, bool black) {
        PE.WhiteDoubledPawns = white ? doubled[0] : 0;
        PE.BlackDoubledPawns = black ? doubled[1] : 0;
        return PE.DynamicPieceAdjustments();
    };
    int loneMinor = adjustments(false, false);
    int whiteDoubled = adjustments(true, false) - loneMinor;
    int blackDoubled = adjustments(false, true) - loneMinor;
    PE.WhiteDoubledPawns = doubled[0];
    PE.BlackDoubledPawns = doubled[1];
    Penalty(EvalGroup::EndgameRules, loneMinor);
    Direct(0, EvalGroup::PawnStructure, whiteDoubled);
    Direct(1, EvalGroup::PawnStructure, -blackDoubled);
}

// One side's knights, bishops, rooks and queens: their placement tables and
// safe mobility, and the rest of what the piece terms add (outposts,
// fianchetto, files, retreats) as piece play.
void Explainer::Pieces(int colour) {
    int pair = 0, halfOpenFiles = 0;
    Share all = OnOneSide(colour, [&] {
        PE.KnightEval(side_);
        pair = PE.BishopEval(side_);
        halfOpenFiles = PE.RookEval(side_);
        PE.QueenEval(side_);
    });
    const int sign = colour ? -1 : 1;
    Direct(colour, EvalGroup::Material, sign * pair);
    Direct(colour, EvalGroup::PiecePlay, sign * halfOpenFiles);

    Share table, mobility;
    TablesAndMobility(colour, &table, &mobility);
    Blended(colour, EvalGroup::PieceSquares, table.middleGame, table.endGame);
    Blended(colour, EvalGroup::Mobility, mobility.middleGame, mobility.endGame);
    Blended(colour, EvalGroup::PiecePlay, all.middleGame - table.middleGame - mobility.middleGame,
            all.endGame - table.endGame - mobility.endGame);
}

// One side's placement tables and safe mobility, looked up as the piece
// terms look them up.
void Explainer::TablesAndMobility(int colour, Share* table, Share* mobility) const {
    const bool black = colour;
    const u64 own = black ? b_.BlackPieces : b_.WhitePieces;
    const u64 guarded = ~b_.AllPieces & (black ? PE.WhitePawnAttacks : PE.BlackPawnAttacks);
    auto safe = [&](u64 attacks) { return PopCount(attacks & ~own & ~guarded); };
    auto add = [](Share& s, int middleGame, int endGame) {
        s.middleGame += middleGame;
        s.endGame += endGame;
    };
    for (u64 set = black ? b_.BlackKnights : b_.WhiteKnights; set; set &= set - 1) {
        int s = __builtin_ctzll(set), m = KnightMobility[safe(b_.KnightMask(set & (0 - set)))];
        add(*table, (black ? BKnightSquare : WKnightSquare)[s], KnightEnding[s]);
        add(*mobility, m, m);
    }
    for (u64 set = black ? b_.BlackBishops : b_.WhiteBishops; set; set &= set - 1) {
        int s = __builtin_ctzll(set), m = BishopMobility[safe(b_.BishopMask(set & (0 - set)))];
        add(*table, (black ? BBishopSquare : WBishopSquare)[s], BishopEnding[s]);
        add(*mobility, m, m);
    }
    for (u64 set = black ? b_.BlackRooks : b_.WhiteRooks; set; set &= set - 1) {
        int m = RookMobility[safe(b_.RookMask(set & (0 - set)))];
        add(*mobility, m, 14 * m / 10);
    }
    for (u64 set = black ? b_.BlackQueens : b_.WhiteQueens; set; set &= set - 1) {
        u64 q = set & (0 - set);
        int m = QueenMobility[safe(b_.RookMask(q) | b_.BishopMask(q))];
        add(*mobility, m, m);
    }
}

// A minor piece more without pawns to go with it costs its owner a fixed
// amount; opposite-coloured bishops scale the positional score, which is
// nothing when the score is the material alone: the two never meet.
void Explainer::EndingRules() {
    int materialOnly = PE.MaterialOnly(0, &b_);
    int extraMinor = PE.ScaleEnding(materialOnly, material_) - materialOnly;
    int scaled = PE.ScaleEnding(score_, material_);
    Penalty(EvalGroup::EndgameRules, extraMinor);
    scaling_ = scaled - score_;
    score_ = scaled;
}

} // namespace

const char* EvalGroupName(EvalGroup group) {
    int g = int(group);
    return g >= 0 && g < EvalGroupCount ? GroupNames[g] : "";
}

EvalBreakdown ExplainEvaluation(const ChessBoard& board, int alpha, int beta) {
    SavedEvalState saved(board.PawnKingHash);
    return Explainer(board, alpha, beta).Run();
}
