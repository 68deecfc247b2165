// The game record and games written as PGN that replay to the same position.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "frontend/shared/GameRecord.h"
#include "frontend/shared/Pgn.h"
#include "movegen/LegalMoves.h"
#include "support/TestBoards.h"

namespace {

const char* const Initial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

void Play(const char* move) {
    const int from = SquareFromText(move), to = SquareFromText(move + 2);
    PlayGameMove(from, to, move[4]);
    MainBoard.SideToMove ^= 1;
    Game.Record(Move{SquareBit(from), SquareBit(to), move[4]});
}

// A game of plies picked from the legal moves by a fixed rule, from a FEN.
std::vector<Move> Played(const char* fen, int plies, ChessBoard* end) {
    ChessBoard b = BoardFromFen(fen);
    std::vector<Move> moves;
    for (int i = 0; i < plies; ++i) {
        const std::vector<Move> legal = LegalMoves(b);
        if (legal.empty()) break;
        moves.push_back(legal[(i * 7 + 3) % legal.size()]);
        b = AfterMove(b, moves.back());
    }
    *end = b;
    return moves;
}

} // namespace

TEST(GameRecord, SquaresCastlingRightsFiftyMovesRepetitionsAndTakingBack) {
    EXPECT_EQ(SquareFromText("h8"), 63);
    for (const char* off : {"a9", "h0", "a", ""}) EXPECT_EQ(SquareFromText(off), -1) << off;
    const int from[] = {4, 7, 0, 60, 63, 56, 12}, left[] = {12, 14, 13, 3, 11, 7, 15};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(CastlingAfterMoveFrom(15, from[i]), left[i]) << from[i];
    BoardFromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    MainBoard.Castling = 15;
    PlayGameMove(7, 63, '\0'); // Rxh8: only the from-square counts
    EXPECT_EQ(MainBoard.Castling, 14);
    // The fifty-move count and repetitions, whoever moves.
    BoardFromFen("4k3/8/8/3p4/8/8/4P3/1N2K1n1 w - -");
    Game.Start();
    for (int round = 1; round <= 2; ++round) {
        for (const char* m : {"b1c3", "g1f3", "c3b1", "f3g1"}) Play(m);
        EXPECT_EQ(Game.Occurrences(), round + 1);
    }
    EXPECT_EQ(MainBoard.FiftyMoveCount, 8);
    for (const char* m : {"e2e4", "g1f3", "b1c3"}) Play(m);
    EXPECT_EQ(MainBoard.FiftyMoveCount, 2);
    for (const char* m : {"f3g1", "c3d5"}) Play(m); // a capture
    EXPECT_TRUE(MainBoard.FiftyMoveCount == 0 && Game.Occurrences() == 1);
    // Taking moves back replays the game: the capture and the count come back.
    const std::string twoBack = FenOf(MainBoard);
    Play("e8d8");
    ASSERT_TRUE(Game.Undo());
    EXPECT_EQ(FenOf(MainBoard), twoBack);
    ASSERT_TRUE(Game.Undo() && Game.Undo());
    EXPECT_TRUE((MainBoard.BlackPawns & Sq("d5")) && MainBoard.FiftyMoveCount == 2 && MainBoard.SideToMove == 1);
    while (Game.Undo()) {}
    EXPECT_EQ(FenOf(MainBoard), "4k3/8/8/3p4/8/8/4P3/1N2K1n1 w -- - 0 ; ");
}

TEST(Pgn, TagsMovesStandardFenAndLongGamesThatReplayToTheSamePosition) {
    ChessBoard end;
    const ChessBoard start = BoardFromFen(Initial);
    const std::vector<Move> moves = Played(Initial, 3, &end);
    PgnTags tags;
    tags.date = "2026.12.07", tags.white = "Player", tags.black = "Velkor 1.0", tags.result = "0-1";
    tags.extra = {{"BlackElo", "1500"}};
    const std::string pgn = FormatPgn(start, moves, tags);
    EXPECT_EQ(pgn.substr(0, pgn.find("\n\n")), "[Event \"Casual game\"]\n[Site \"?\"]\n[Date \"2026.12.07\"]\n"
                                               "[Round \"-\"]\n[White \"Player\"]\n[Black \"Velkor 1.0\"]\n"
                                               "[Result \"0-1\"]\n[BlackElo \"1500\"]");
    EXPECT_EQ(pgn.substr(pgn.find("\n\n") + 2), MoveList(start, moves) + " 0-1\n");
    EXPECT_EQ(StandardFen(After(Initial, {"e2e4"}), 1), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
    EXPECT_EQ(StandardFen(BoardFromFen("4k3/8/8/8/8/8/8/R3K3 b Q - 0 1"), 40), "4k3/8/8/8/8/8/8/R3K3 b Q - 0 40");
    // Long games, from set-up positions too, in lines a reader takes.
    for (const char* fen : {Initial, "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq - 0 1",
                            "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1"}) {
        ChessBoard last;
        const std::vector<Move> game = Played(fen, 120, &last);
        EXPECT_GT(game.size(), 30u) << fen;
        const std::string text = FormatPgn(BoardFromFen(fen), game, PgnTags{});
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
        EXPECT_EQ(text.find("[SetUp") != std::string::npos, fen != Initial) << text;
        EXPECT_EQ(FenOf(ReplayPgn(text)), FenOf(last)) << text;
    }
}
