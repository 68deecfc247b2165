// Global test environment and board helpers.
#include "support/TestBoards.h"

#include <stdlib.h>

#include <cctype>
#include <fstream>
#include <random>
#include <sstream>

#include "board/Fen.h"
#include "board/HashKeys.h"
#include "core/Status.h"
#include "movegen/LegalMoves.h"
#include "movegen/San.h"

namespace {

class VelkorEnvironment : public testing::Environment {
public:
    void SetUp() override {
        MainStatus.initVars();
        MainBoard.InitRep();
        initPStable();
    }
};

testing::Environment* const environment = testing::AddGlobalTestEnvironment(new VelkorEnvironment);

} // namespace

ChessBoard BoardFromFen(const char* fen) {
    MainBoard.FiftyMoveCount = 0;
    SetupBoard(fen);
    ChessBoard& b = MainBoard;
    b.InitPieceCounts();
    b.WhitePieceCount = PopCount(b.WhitePieces & ~b.WhiteKing); // the men but the king
    b.BlackPieceCount = PopCount(b.BlackPieces & ~b.BlackKing);
    b.CheckDraw(0);
    u32 key;
    genpawnhashcode(b.SideToMove, b, &key);
    b.PawnKingHash = key;
    return b;
}

u64 Sq(const char* name) { return SquareBit((name[1] - '1') * 8 + (name[0] - 'a')); }

std::string FenOf(const ChessBoard& board) { return Pos2FenText(board); }

std::string MoveName(u64 from, u64 to, char promote) {
    std::string text;
    for (int i : {SquareOf(from), SquareOf(to)}) text += {char('a' + i % 8), char('1' + i / 8)};
    return promote == NoPromotion ? text : text + promote;
}

std::vector<std::string> ListOf(const MoveGen& list, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back(MoveName(list.From[i], list.To[i], list.Promote[i]));
    return names;
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

ChessBoard After(const char* fen, std::initializer_list<const char*> moves) {
    BoardFromFen(fen);
    for (const char* m : moves) MainBoard = AfterMove(MainBoard, Move{Sq(m), Sq(m + 2), NoPromotion});
    return MainBoard;
}

ChessBoard AfterMove(ChessBoard b, const Move& m) {
    char mask;
    b.MakeMove(m.from, m.to, m.promote, &mask);
    b.SideToMove ^= 1;
    b.Castling &= mask;
    return b;
}

ChessBoard ReplayPgn(const std::string& pgn) {
    std::istringstream in(pgn);
    std::string line, fen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", moves;
    while (std::getline(in, line)) {
        if (line.rfind("[FEN \"", 0) == 0) fen = line.substr(6, line.size() - 8);
        if (!line.empty() && line[0] != '[') moves += line + " ";
    }
    ChessBoard b = BoardFromFen(fen.c_str());
    for (const std::string& w : Words(moves)) {
        if (w.find('.') != std::string::npos || w == "*" || w == "1-0" || w == "0-1" || w == "1/2-1/2") continue;
        Move m;
        EXPECT_EQ(ReadSan(b, w, &m), SanReading::Ok) << w;
        b = AfterMove(b, m);
    }
    return b;
}

std::string TempFile(const std::string& name, const std::string& content) {
    char dir[] = "/tmp/velkor-unit-XXXXXX";
    std::string path = std::string(mkdtemp(dir) ? dir : "/tmp") + "/" + name;
    std::ofstream(path) << content;
    return path;
}

ChessBoard Mirror(const ChessBoard& b) {
    std::string placement = FenOf(b).substr(0, FenOf(b).find(' ')), mirrored;
    for (char& c : placement) c = char(std::isalpha(c) ? c ^ 0x20 : c);
    std::istringstream ranks(placement);
    for (std::string rank; std::getline(ranks, rank, '/');) mirrored = rank + (mirrored.empty() ? "" : "/") + mirrored;
    return EvalBoard((mirrored + (b.SideToMove ? " w" : " b")).c_str());
}

std::vector<ChessBoard> RandomGamePositions() {
    std::vector<ChessBoard> positions;
    std::mt19937 rng(20240607);
    for (const char* fen :
         {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
          "r1bq1rk1/pppp1ppp/2n2n2/2b1p1N1/2B1P3/8/PPPP1PPP/RNBQK2R w KQ - 0 1",
          "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
          "3r1k2/4npp1/1ppr3p/p6P/P2PPPP1/1NR5/5K2/2R5 w - - 0 1", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
          "6k1/5ppp/8/8/8/8/1r3PPP/3R2K1 w - - 0 1", "8/pp3k2/2p5/8/8/5K2/PP6/8 w - - 0 1",
          "4k3/8/8/3b4/8/8/3B4/4K3 w - - 0 1", "r1b1kb1r/1p3ppp/p1nppn2/q7/3NP3/2N1BP2/PPPQ2PP/R3KB1R w KQkq - 0 1"})
        for (int game = 0; game < 8; ++game) {
            ChessBoard b = EvalBoard(fen);
            for (int ply = 0; ply < 70; ++ply) {
                const std::vector<Move> legal = LegalMoves(b);
                if (legal.empty()) break;
                b = AfterMove(b, legal[rng() % legal.size()]);
                b.CheckDraw(0);
                if (ply % 3 == 0) positions.push_back(b);
            }
        }
    return positions;
}

std::vector<ChessBoard> EvalSamplePositions() {
    std::vector<std::string> fens;
    std::ifstream reference(VELKOR_TEST_DATA "/eval_reference.epd");
    for (std::string line; std::getline(reference, line);) fens.push_back(line);
    EXPECT_GT(fens.size(), 20u) << "the reference positions are missing";
    // Rook against minor, minor more without pawns, pawnless balance, lone minor, bare kings, opposite bishops.
    for (const char* fen :
         {"8/8/3k4/8/8/2b5/8/R3K3 w - - 0 1", "8/8/8/4k3/8/8/8/1NB1K3 w - - 0 1", "8/4k3/8/8/8/8/8/R3K3 w - - 0 1",
          "3rk3/8/8/8/8/8/8/1B1RK3 w - - 0 1", "8/1n2k3/8/8/8/8/8/1B2K3 w - - 0 1", "8/2b1k3/8/8/8/8/8/2BBK3 w - - 0 1",
          "8/4k3/8/8/8/2n5/8/2BBK3 w - - 0 1", "4k3/p7/8/8/8/8/8/2N1K3 w - - 0 1", "4k3/1pp5/8/8/8/8/8/2B1K3 w - - 0 1",
          "4k3/3p4/8/3b4/8/8/3P4/2B1K3 w - - 0 1", "4k3/2pp4/8/2b5/8/8/3PP3/2B1K3 w - - 0 1",
          "4k3/p7/8/2b5/8/8/P7/2B1K3 w - - 0 1", "4k3/8/8/8/8/2n5/PP6/4K3 w - - 0 1",
          "6k1/5ppp/8/8/8/8/5PPP/5KR1 w - - 0 1", "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 0 1",
          "2kr3r/ppp2ppp/2n5/8/8/2N5/PPP2PPP/2KR3R w - - 0 1", "6k1/4Rppp/8/8/8/8/1r3PPP/6K1 w - - 0 1"})
        fens.push_back(fen);
    std::vector<ChessBoard> positions;
    for (const std::string& fen : fens) {
        positions.push_back(EvalBoard(fen.c_str()));
        ChessBoard other = positions.back();
        other.SideToMove ^= 1;
        positions.push_back(other);
    }
    return positions;
}
