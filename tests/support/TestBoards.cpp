// Global test environment and board helpers.
#include "support/TestBoards.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>

#include "board/Fen.h"
#include "board/HashKeys.h"
#include "core/Status.h"

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
    for (const char* m : moves) {
        char mask;
        MainBoard.MakeMove(Sq(m), Sq(m + 2), NoPromotion, &mask);
        MainBoard.SideToMove ^= 1;
        MainBoard.Castling &= mask;
    }
    return MainBoard;
}

std::string TempFile(const std::string& name, const std::string& content) {
    char dir[] = "/tmp/velkor-unit-XXXXXX";
    std::string path = std::string(mkdtemp(dir) ? dir : "/tmp") + "/" + name;
    std::ofstream(path) << content;
    return path;
}
