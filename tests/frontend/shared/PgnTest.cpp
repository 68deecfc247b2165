// Games written as PGN: the tags a reader needs, numbered SAN moves in
// lines a reader takes, and a text that replays to the same position.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "frontend/shared/Pgn.h"
#include "movegen/LegalMoves.h"
#include "movegen/San.h"
#include "support/TestBoards.h"

namespace {

// A small reader: the FEN tag or the initial position, then every move word.
ChessBoard Replay(const std::string& pgn) {
    std::istringstream in(pgn);
    std::string line, fen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", moves;
    while (std::getline(in, line)) {
        if (line.rfind("[FEN \"", 0) == 0) fen = line.substr(6, line.size() - 8);
        if (!line.empty() && line[0] != '[') moves += line + " ";
    }
    ChessBoard b = BoardFromFen(fen.c_str());
    std::istringstream words(moves);
    for (std::string w; words >> w;) {
        if (w.find(".") != std::string::npos || w == "*" || w == "1-0" || w == "0-1" || w == "1/2-1/2") continue;
        Move m;
        EXPECT_EQ(ReadSan(b, w, &m), SanReading::Ok) << w;
        char mask;
        b.MakeMove(m.from, m.to, m.promote, &mask);
        b.Castling &= mask;
        b.SideToMove ^= 1;
    }
    return b;
}

// A game of plies picked from the legal moves by a fixed rule, from a FEN.
std::vector<Move> Played(const char* fen, int plies, ChessBoard* end) {
    ChessBoard b = BoardFromFen(fen);
    std::vector<Move> moves;
    for (int i = 0; i < plies; ++i) {
        const std::vector<Move> legal = LegalMoves(b);
        if (legal.empty()) break;
        const Move m = legal[(i * 7 + 3) % legal.size()];
        moves.push_back(m);
        char mask;
        b.MakeMove(m.from, m.to, m.promote, &mask);
        b.Castling &= mask;
        b.SideToMove ^= 1;
    }
    *end = b;
    return moves;
}

} // namespace

TEST(Pgn, TagsMovesAndResult) {
    ChessBoard end;
    const ChessBoard start = BoardFromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    const std::vector<Move> moves = Played("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 3, &end);
    PgnTags tags;
    tags.date = "2026.12.07";
    tags.white = "Player";
    tags.black = "Velkor 1.0";
    tags.result = "0-1";
    tags.extra = {{"BlackElo", "1500"}};
    const std::string pgn = FormatPgn(start, moves, tags);
    EXPECT_EQ(pgn.substr(0, pgn.find("\n\n")), "[Event \"Casual game\"]\n[Site \"?\"]\n[Date \"2026.12.07\"]\n"
                                               "[Round \"-\"]\n[White \"Player\"]\n[Black \"Velkor 1.0\"]\n"
                                               "[Result \"0-1\"]\n[BlackElo \"1500\"]");
    EXPECT_EQ(pgn.substr(pgn.find("\n\n") + 2), MoveList(start, moves) + " 0-1\n");
    EXPECT_EQ(MoveList(start, moves).substr(0, 3), "1. ");
}

TEST(Pgn, LongGamesAndSetUpPositionsReplayToTheSamePosition) {
    for (const char* fen : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                            "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq - 0 1",
                            "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1"}) {
        ChessBoard end;
        const std::vector<Move> moves = Played(fen, 120, &end);
        EXPECT_GT(moves.size(), 30u) << fen;
        const std::string pgn = FormatPgn(BoardFromFen(fen), moves, PgnTags{});
        std::istringstream lines(pgn);
        for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
        EXPECT_EQ(pgn.find("[SetUp") != std::string::npos, fen[0] != 'r' || fen[1] != 'n') << pgn;
        EXPECT_EQ(FenOf(Replay(pgn)), FenOf(end)) << pgn;
    }
}

TEST(Pgn, StandardFen) {
    const ChessBoard afterE4 = After("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {"e2e4"});
    EXPECT_EQ(StandardFen(afterE4, 1), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
    EXPECT_EQ(StandardFen(BoardFromFen("4k3/8/8/8/8/8/8/R3K3 b Q - 0 1"), 40), "4k3/8/8/8/8/8/8/R3K3 b Q - 0 40");
}
