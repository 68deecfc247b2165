// Whole games through the UCI interpreter in this process: every
// "bestmove" must be legal in an independent board, and "bestmove 0000"
// must come exactly when the side to move has no legal move.
#include <map>
#include <string>

#include "frontend/UCIFixture.h"
#include "movegen/ReferenceBoard.h"

namespace {

std::string SquareText(int square) { return {char('a' + square % 8), char('1' + square / 8)}; }

// The reference position as a key: men, side and castling rights.
std::string PositionKey(const ReferenceBoard& board, int ply) {
    std::string key;
    for (int sq = 0; sq < 64; ++sq) key += board.PieceAt(sq) ? board.PieceAt(sq) : '.';
    return key + char('0' + ply % 2) + char('a' + board.Castling());
}

bool BareKings(const ReferenceBoard& board) {
    for (int sq = 0; sq < 64; ++sq)
        if (board.PieceAt(sq) && (board.PieceAt(sq) | 0x20) != 'k') return false;
    return true;
}

struct GameResult {
    int plies = 0;
    bool noMove = false; // ended by "bestmove 0000"
};

// Plays from the FEN until a mate, stalemate, bare kings, a third
// repetition, the fifty-move rule or the ply limit.
GameResult PlayGame(UCITest& uci, const std::string& fen, const char* go, int maxPlies) {
    ReferenceBoard board(fen);
    std::string moves;
    std::map<std::string, int> seen;
    int quiet = 0;
    GameResult result;
    for (; result.plies < maxPlies; ++result.plies) {
        std::string key = PositionKey(board, result.plies);
        if (++seen[key] == 3 || quiet >= 100 || BareKings(board)) break;
        std::string position = "position fen " + fen + (moves.empty() ? "" : " moves" + moves);
        uci.Run(position.c_str());
        testing::internal::CaptureStdout();
        uci.Run(go);
        std::string out = testing::internal::GetCapturedStdout();
        size_t at = out.rfind("bestmove ");
        EXPECT_NE(at, std::string::npos) << out;
        if (at == std::string::npos) break;
        std::string text = out.substr(at + 9, out.find('\n', at) - at - 9);
        std::vector<ReferenceBoard::Move> legal = board.LegalMoves();
        if (text == "0000") {
            EXPECT_TRUE(legal.empty()) << position;
            result.noMove = true;
            break;
        }
        bool found = false;
        for (const ReferenceBoard::Move& m : legal) {
            std::string name = SquareText(m.from) + SquareText(m.to);
            if (m.promote) name += char(m.promote | 0x20);
            if (text == name + " " || text.rfind(name + " ponder ", 0) == 0) {
                found = true;
                char mover = board.PieceAt(m.from);
                quiet = (mover | 0x20) == 'p' || board.PieceAt(m.to) ? 0 : quiet + 1;
                board.Play(m);
                break;
            }
        }
        EXPECT_TRUE(found) << "illegal " << text << " after " << position;
        if (!found) break;
        moves += " " + text.substr(0, text.find(' '));
    }
    return result;
}

TEST_F(UCITest, GamesFromTheStartAndFromAnEndgameStayLegalToTheirEnd) {
    GameResult opening = PlayGame(*this, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "go depth 3", 300);
    EXPECT_GT(opening.plies, 20);
    // White mates with king and queen against the bare king.
    GameResult mate = PlayGame(*this, "8/8/4k3/8/8/8/3QK3/8 w - - 0 1", "go depth 4", 80);
    EXPECT_TRUE(mate.noMove);
    // Promotions and en passant come up in a pawn race.
    GameResult pawns = PlayGame(*this, "4k3/pppp4/8/4P3/8/8/5PPP/4K3 b - - 0 1", "go depth 3", 120);
    EXPECT_GT(pawns.plies, 10);
}

} // namespace
