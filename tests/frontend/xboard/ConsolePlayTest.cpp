// The console as a person plays it: moves in either notation with one
// clear refusal, the game listed and saved as PGN that replays to the same
// position, and the default opponent, which gives way to xboard.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/Platform.h"
#include "core/Status.h"
#include "frontend/shared/GameRecord.h"
#include "frontend/shared/PositionInput.h"
#include "frontend/xboard/CommandInput.h"
#include "frontend/xboard/Console.h"
#include "frontend/xboard/GameLoop.h"
#include "frontend/xboard/XboardProtocol.h"
#include "movegen/San.h"
#include "support/TestBoards.h"

namespace {

const char* const Initial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

// The move a word names, as coordinates, or the console's refusal.
std::string Read(const char* fen, const char* word) {
    const ChessBoard board = BoardFromFen(fen);
    Move move;
    std::string refusal;
    return ReadConsoleMove(board, word, &move, &refusal) ? MoveNotation(move) : refusal;
}

TEST(ConsoleMoves, ReadAsPeopleTypeThem) {
    const char* const castling = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
    const char* const capture = "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 2";
    const char* const promotion = "8/4P2k/8/8/8/8/8/4K3 w - - 0 1";
    const char* const twins = "4k3/8/8/8/8/2N1R1N1/8/4RK2 w - - 0 1"; // knights c3, g3; rooks e3, e1
    const struct {
        const char *fen, *word, *read;
    } cases[] = {
        {Initial, "e4", "e2e4"},
        {Initial, "e2e4", "e2e4"},
        {Initial, "Nf3", "g1f3"},
        {Initial, "Nf3!?", "g1f3"},
        {Initial, "Ng1f3", "g1f3"},
        {castling, "O-O", "e1g1"},
        {castling, "0-0-0", "e1c1"},
        {castling, "e1g1", "e1g1"},
        {capture, "exd5", "e4d5"},
        {capture, "ed5", "e4d5"},
        {promotion, "e8=Q", "e7e8q"},
        {promotion, "e8Q", "e7e8q"},
        {promotion, "e8", "e7e8q"},
        {promotion, "e8=N", "e7e8n"},
        {promotion, "e7e8q", "e7e8q"},
        {twins, "Nce4", "c3e4"},
        {twins, "Nge4", "g3e4"},
        {twins, "R1e2", "e1e2"},
        {twins, "R3e2+", "e3e2"},
        {"4k3/8/8/8/8/8/8/3QK3 w - - 0 1", "Qd7+", "d1d7"},
        // Refused: not legal, not one move, not a move at all.
        {Initial, "Nf6", "Illegal move: Nf6"},
        {Initial, "e5", "Illegal move: e5"},
        {Initial, "O-O", "Illegal move: O-O"},
        {Initial, "e2e5", "Illegal move: e2e5"},
        {Initial, "e2e9", "Illegal move: e2e9"},
        {twins, "Ne4", "Ambiguous move: Ne4 (Nce4 or Nge4)"},
        {twins, "Re2", "Ambiguous move: Re2 (R1e2 or R3e2)"},
        {Initial, "hello", "Unknown command or move: hello (help lists the commands)"},
        {Initial, "e9", "Unknown command or move: e9 (help lists the commands)"},
    };
    for (const auto& c : cases) EXPECT_EQ(Read(c.fen, c.word), c.read) << c.word << " in " << c.fen;
}

// The interpreters read their lines from standard input.
void FeedInput(const std::string& text) {
    RestartInput();
    Input.Reset();
    char path[] = "/tmp/velkor-input-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, text.data(), text.size()), ssize_t(text.size()));
    close(fd);
    ASSERT_TRUE(std::freopen(path, "r", stdin));
    unlink(path);
}

// A small PGN reader: the FEN tag or the initial position, then every move word read with ReadSan.
ChessBoard Replay(const std::string& pgn) {
    std::istringstream in(pgn);
    std::string line, fen = Initial, moves;
    while (std::getline(in, line)) {
        if (line.rfind("[FEN \"", 0) == 0) fen = line.substr(6, line.size() - 8);
        if (!line.empty() && line[0] != '[') moves += line + " ";
    }
    ChessBoard b = BoardFromFen(fen.c_str());
    std::istringstream words(moves);
    for (std::string w; words >> w;) {
        if (w.find('.') != std::string::npos || w == "*" || w == "1-0" || w == "0-1" || w == "1/2-1/2") continue;
        Move m;
        EXPECT_EQ(ReadSan(b, w, &m), SanReading::Ok) << w;
        char mask;
        b.MakeMove(m.from, m.to, m.promote, &mask);
        b.Castling &= mask;
        b.SideToMove ^= 1;
    }
    return b;
}

class PersonConsole : public testing::Test {
protected:
    void SetUp() override {
        MainStatus.xboard = MainStatus.UCImode = MainStatus.SelfPlay = 0;
        MainStatus.initVars();
        MainBoard.InitRep();
        MainBoard.FiftyMoveCount = 0;
        StartConsolePlay();
        StartGamePosition();
    }
    void TearDown() override {
        LeaveConsolePlay();
        MainStatus.Force = 0;
    }
    std::string Do(std::string word, const std::string& rest = "") {
        FeedInput("");
        Input.StartWith(rest);
        word.resize(WordSize);
        return CaptureStdout([&] { DoCommand(word.data()); });
    }
    // Moves for both sides, as force mode takes them, up to "go".
    void Play(const std::string& moves) {
        FeedInput("force\n" + moves + "\ngo\n");
        CaptureStdout([] { EXPECT_EQ(HumanMove(), StateChanged); });
    }
    std::string Saved(const std::string& path) {
        EXPECT_EQ(Do("save", path), "Game saved to " + path + "\n");
        return ReadFile(path);
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(PersonConsole, GameListedAndSavedAsPgnThatReplaysToIt) {
    EXPECT_EQ(Do("moves"), "No moves yet.\n");
    Play("e4 e5 Nf3 Nc6 Bb5 a6 Bxc6 dxc6 O-O f6 d4 exd4 Nxd4 c5 Nb3 Qxd1 Rxd1");
    EXPECT_EQ(Do("moves"), "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Bxc6 dxc6 5. O-O f6 6. d4 exd4 7. Nxd4 c5 8. Nb3 Qxd1 "
                           "9. Rxd1\n");
    const std::string path = TempFile("games.pgn", "");
    std::string pgn = Saved(path);
    for (const char* tag : {"[Event \"Velkor console game\"]\n", "[Site \"?\"]\n", "[Round \"-\"]\n",
                            "[White \"Player\"]\n", "[Black \"Velkor 1.0\"]\n", "[Result \"*\"]\n", "[Level \""})
        EXPECT_NE(pgn.find(tag), std::string::npos) << tag << pgn;
    EXPECT_EQ(pgn.find("[FEN "), std::string::npos);
    EXPECT_EQ(FenOf(Replay(pgn)), FenOf(MainBoard));

    // A game set up from FEN carries it; a second game is added to the file after a blank line.
    const char* const fen = "4k3/8/8/8/8/8/4P3/4K3 b - - 0 1";
    Do("setboard", fen);
    Play("Kd7 e4 Kc6 e5 Kd5 e6");
    pgn = Saved(path);
    EXPECT_NE(pgn.find("\n\n[Event "), std::string::npos) << "two games, parted by a blank line";
    const std::string second = pgn.substr(pgn.rfind("[Event "));
    EXPECT_NE(second.find("[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 0 1\"]\n"), std::string::npos) << second;
    EXPECT_NE(second.find("1... Kd7 2. e4 Kc6 3. e5 Kd5 4. e6 *"), std::string::npos) << second;
    EXPECT_EQ(FenOf(Replay(second)), FenOf(MainBoard));
}

// The side to move set by hand starts the record anew, as a set-up does.
TEST_F(PersonConsole, SideSetByHandStartsTheListAnew) {
    Play("e4");
    Do("white");
    Play("d4 Nf6");
    EXPECT_EQ(Do("moves"), "1. d4 Nf6\n");
    EXPECT_NE(
        Saved(TempFile("side.pgn", "")).find("[FEN \"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 1\"]"),
        std::string::npos);
}

TEST_F(PersonConsole, AFileThatCannotTakeTheGameLosesNothing) {
    Play("d4 d5");
    EXPECT_EQ(Do("save", "/nonexistent/velkor/game.pgn"),
              "Cannot save the game to /nonexistent/velkor/game.pgn: No such file or directory. The game is still "
              "here: try another file.\n");
    EXPECT_EQ(Do("pgn", "/tmp"), "Cannot save the game to /tmp: Is a directory. The game is still here: try another "
                                 "file.\n");
    EXPECT_EQ(Do("save"), "Usage: save FILE (the game is added to FILE as PGN)\n");
    EXPECT_EQ(Game.Moves().size(), 2u);
    EXPECT_EQ(Do("moves"), "1. d4 d5\n");
}

TEST_F(PersonConsole, DefaultOpponentUntilThePersonOrXboardSaysOtherwise) {
    ApplyConsoleDefaults();
    EXPECT_TRUE(Search.Level.limited);
    EXPECT_EQ(OpponentText(), "about 1500 Elo, 3 seconds a move");
    EXPECT_EQ(Do("sd", "6"), "Velkor plays at about 1500 Elo, 3 seconds a move, at most 6 plies deep.\n");
    EXPECT_EQ(Do("st", "10"), "Velkor plays at about 1500 Elo, 10 seconds a move, at most 6 plies deep.\n");
    Do("new");
    EXPECT_EQ(MainStatus.ST, 10000) << "a person's settings last the session";
    EXPECT_EQ(MainBoard.MaxDepth, 6);
    Do("level", "40 5 0");
    EXPECT_EQ(OpponentText(), "about 1500 Elo, 40 moves in 5 minutes, at most 6 plies deep");
    EXPECT_EQ(Do("xboard"), "");
    EXPECT_FALSE(PersonAtConsole());
    EXPECT_FALSE(Search.Level.limited) << "the GUI sets its own level";

    // Under xboard the default clock goes too; a fixed depth from the command line keeps full strength.
    MainStatus.xboard = 0;
    Search.Settings = ConsoleSearch;
    MainStatus.initVars();
    StartConsolePlay();
    ApplyConsoleDefaults();
    EXPECT_EQ(MainStatus.ST, 3000);
    LeaveConsolePlay();
    EXPECT_TRUE(MainStatus.ST == 0 && !Search.Level.limited);
    StartConsolePlay();
    MainStatus.FD = 2;
    ApplyConsoleDefaults();
    EXPECT_FALSE(Search.Level.limited);
    EXPECT_EQ(OpponentText(), "full strength, 2 plies deep a move");
    MainStatus.FD = 0;
}

} // namespace
