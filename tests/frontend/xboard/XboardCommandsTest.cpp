// The console and xboard interpreter where the end-to-end sessions cannot look.
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
#include "search/TimeManagement.h"
#include "search/TranspositionTables.h"
#include "support/TestBoards.h"

namespace {

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

// An interpreter over the initial position: xboard's (no prompts or echoes) or a person's console.
class Interpreter : public testing::Test {
protected:
    void Start(bool xboard) {
        MainStatus.xboard = xboard, MainStatus.UCImode = MainStatus.SelfPlay = 0;
        MainStatus.initVars();
        MainBoard.InitRep();
        MainBoard.FiftyMoveCount = 0;
        if (!xboard) StartConsolePlay();
        StartGamePosition();
    }
    void SetUp() override { Start(true); }
    void TearDown() override {
        LeaveConsolePlay();
        MainStatus.xboard = MainStatus.Analyze = MainStatus.Force = 0;
    }
    // The command with the rest of its line, then the lines after it; what it printed.
    std::string Do(std::string word, const std::string& rest = "", const std::string& after = "") {
        FeedInput(after);
        Input.StartWith(rest);
        word.resize(WordSize);
        return CaptureStdout([&] { DoCommand(word.data()); });
    }
};

class PersonConsole : public Interpreter {
protected:
    void SetUp() override { Start(false); }
    // Moves for both sides, as force mode takes them, up to "go".
    void Play(const std::string& moves) {
        FeedInput("force\n" + moves + "\ngo\n");
        CaptureStdout([] { EXPECT_EQ(HumanMove(), StateChanged); });
    }
    std::string Saved(const std::string& path) {
        EXPECT_EQ(Do("save", path), "Game saved to " + path + "\n");
        std::ifstream in(path);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

} // namespace

// "memory N" sizes the table as UCI's Hash does; the overhead is an option as in UCI.
TEST_F(Interpreter, SettingsTheFiftyMoveRuleAndCastlingFromTheEditor) {
    Do("memory", "16\n");
    EXPECT_EQ(PositionCache.BucketCount(), size_t(1) << 17);
    Do("memory", "lots\n");
    EXPECT_EQ(PositionCache.BucketCount(), size_t(1) << 17) << "no number: the table stays";
    Do("memory", "100000\n");
    EXPECT_EQ(PositionCache.BucketCount(), size_t(1) << 25) << "clamped to 4096 MiB";
    ASSERT_TRUE(PositionCache.Resize(TTDefaultMegabytes));
    Do("option", "Move Overhead=120\n");
    EXPECT_EQ(MoveOverheadMs(), 120);
    SetMoveOverhead(DefaultMoveOverheadMs);
    MainStatus.xboard = 0;
    EXPECT_EQ(Do("sfd", "4"), "setting MAXDEPTH\nscanstring sfd\nMAXDEPTH 4\n");
    EXPECT_EQ(MainBoard.FixedDepth, 4);
    // The hundredth half-move without a capture or a pawn move ends the game.
    BoardFromFen("4k3/8/8/8/8/8/4P3/1N2K3 w - -");
    MainBoard.FiftyMoveCount = 98;
    FeedInput("b1c3 e8d8 e2e4\n");
    EXPECT_EQ(HumanMove(), IsMove);
    EXPECT_EQ(HumanMove(), FiftyMoves);
    EXPECT_EQ(MainBoard.FiftyMoveCount, 100);
    // The editor gives castling rights to kings and rooks on their home squares.
    Do("edit", "", "# Ke1 Rh1 c Pe4 Kg8 . e2e4\n");
    EXPECT_TRUE(MainBoard.BlackPawns == SquareBit(28) && MainBoard.WhiteKing == SquareBit(4));
    EXPECT_EQ(MainBoard.Castling, 1);
    char colour = 0;
    for (const char* w : {"#", "Ke1", "Rh1", "Ra1", "c", "Ke8", "Ra8", "xa1", "Qh1"}) EditBoard(w, &colour);
    EXPECT_EQ(MainBoard.Castling, 8);
    EXPECT_EQ(MainBoard.WhiteRooks, 0u); // a man placed on h1 replaces the rook there
}

TEST(ConsoleMoves, ReadAsPeopleTypeThem) {
    const char* const initial = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    const char* const twins = "4k3/8/8/8/8/2N1R1N1/8/4RK2 w - - 0 1"; // knights c3, g3; rooks e3, e1
    auto read = [](const char* fen, const std::string& word) {
        Move move;
        std::string refusal;
        return ReadConsoleMove(BoardFromFen(fen), word.c_str(), &move, &refusal) ? MoveNotation(move) : refusal;
    };
    const struct {
        const char *fen, *words, *moves; // each word read as the move in its place
    } cases[] = {{initial, "Nf3!? Ng1f3", "g1f3 g1f3"},
                 {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "O-O 0-0-0 e1g1", "e1g1 e1c1 e1g1"},
                 {"rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 2", "ed5", "e4d5"},
                 {"8/4P2k/8/8/8/8/8/4K3 w - - 0 1", "e8=Q e8Q e8 e8=N e7e8q", "e7e8q e7e8q e7e8q e7e8n e7e8q"},
                 {twins, "Nce4 Nge4 R1e2 R3e2+", "c3e4 g3e4 e1e2 e3e2"}};
    for (const auto& c : cases)
        for (size_t i = 0; i < Words(c.words).size(); ++i)
            EXPECT_EQ(read(c.fen, Words(c.words)[i]), Words(c.moves)[i]) << Words(c.words)[i];
    // Refused: not legal, not one move, not a move at all.
    EXPECT_EQ(read(initial, "Nf6"), "Illegal move: Nf6");
    EXPECT_EQ(read(initial, "e2e9"), "Illegal move: e2e9");
    EXPECT_EQ(read(twins, "Ne4"), "Ambiguous move: Ne4 (Nce4 or Nge4)");
    EXPECT_EQ(read(twins, "Re2"), "Ambiguous move: Re2 (R1e2 or R3e2)");
    EXPECT_EQ(read(initial, "e9"), "Unknown command or move: e9 (help lists the commands)");
}

// Saving itself and the move list are the end-to-end tests'; the record's edges are here.
TEST_F(PersonConsole, GameSavedAsPgnThatReplaysToItOrKeptWhenItCannotBe) {
    Play("e4 e5 Nf3 Nc6 Bb5 a6 Bxc6 dxc6 O-O f6 d4 exd4 Nxd4 c5 Nb3 Qxd1 Rxd1");
    const std::string path = TempFile("games.pgn", "");
    std::string pgn = Saved(path);
    EXPECT_EQ(FenOf(ReplayPgn(pgn)), FenOf(MainBoard));
    // A game set up from FEN carries it; a second game is added to the file after a blank line.
    Do("setboard", "4k3/8/8/8/8/8/4P3/4K3 b - - 0 1");
    Play("Kd7 e4 Kc6 e5 Kd5 e6");
    pgn = Saved(path);
    const std::string second = pgn.substr(pgn.rfind("\n\n[Event ") + 2);
    EXPECT_NE(second.find("[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 0 1\"]\n"), std::string::npos) << second;
    EXPECT_NE(second.find("1... Kd7 2. e4 Kc6 3. e5 Kd5 4. e6 *"), std::string::npos) << second;
    EXPECT_EQ(FenOf(ReplayPgn(second)), FenOf(MainBoard));
    // The side to move set by hand starts the record anew, as a set-up does.
    Do("new");
    Play("e4");
    Do("white");
    Play("d4 Nf6");
    EXPECT_NE(Saved(path).find("[FEN \"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 0 1\"]"),
              std::string::npos);
    // A file that cannot take the game loses nothing.
    EXPECT_EQ(Do("pgn", "/tmp"), "Cannot save the game to /tmp: Is a directory. The game is still here: try another "
                                 "file.\n");
    EXPECT_EQ(Do("save"), "Usage: save FILE (the game is added to FILE as PGN)\n");
    EXPECT_EQ(Do("moves"), "1. d4 Nf6\n");
}

TEST_F(PersonConsole, DefaultOpponentUntilThePersonOrXboardSaysOtherwise) {
    ApplyConsoleDefaults();
    Do("sd", "6");
    EXPECT_EQ(Do("st", "10"), "Velkor plays at about 1500 Elo, 10 seconds a move, at most 6 plies deep.\n");
    Do("new");
    EXPECT_TRUE(MainStatus.ST == 10000 && MainBoard.MaxDepth == 6) << "a person's settings last the session";
    Do("level", "40 5 0");
    EXPECT_EQ(OpponentText(), "about 1500 Elo, 40 moves in 5 minutes, at most 6 plies deep");
    EXPECT_EQ(Do("xboard"), "");
    EXPECT_FALSE(PersonAtConsole() || Search.Level.limited) << "the GUI sets its own level";
    // Under xboard the default clock goes too.
    MainStatus.xboard = 0;
    Search.Settings = ConsoleSearch;
    MainStatus.initVars();
    StartConsolePlay();
    ApplyConsoleDefaults();
    EXPECT_TRUE(MainStatus.ST == 3000 && Search.Level.limited);
    LeaveConsolePlay();
    EXPECT_TRUE(MainStatus.ST == 0 && !Search.Level.limited);
}
