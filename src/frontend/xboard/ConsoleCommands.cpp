// The commands a person has at the console beyond the protocol's: the game
// so far, the game saved as PGN, the diagnostics switch, and the help.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "frontend/shared/EngineIdentity.h"
#include "frontend/shared/GameRecord.h"
#include "frontend/shared/Pgn.h"
#include "frontend/xboard/CommandInput.h"
#include "frontend/xboard/Console.h"
#include "frontend/xboard/XboardProtocol.h"

namespace {

std::string PlayerName(int side) {
    return EngineSides() & (1 << side) ? std::string(EngineName) + " " + EngineVersion : "Player";
}

PgnTags GameTags() {
    PgnTags tags;
    tags.event = std::string(EngineName) + " console game";
    tags.white = PlayerName(0);
    tags.black = PlayerName(1);
    tags.result = Game.Result();
    const int elo = Search.Level.elo;
    for (int side = 0; side < 2; ++side)
        if (Search.Level.limited && (EngineSides() & (1 << side)))
            tags.extra.push_back({side ? "BlackElo" : "WhiteElo", std::to_string(elo)});
    tags.extra.push_back({"Level", OpponentText()});
    return tags;
}

// Appends the text to a regular file (created if need be). A file that
// cannot take it all is cut back to what it held, so an earlier game in it
// is never damaged. False with the reason otherwise.
bool AppendToFile(const std::string& path, const std::string& text, std::string* problem) {
    // Without blocking: a named pipe nobody reads must not hang the console.
    const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        *problem = std::strerror(errno);
        return false;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        *problem = "not a regular file";
        close(fd);
        return false;
    }
    // Games in one file are parted by a blank line.
    const std::string whole = info.st_size > 0 ? "\n" + text : text;
    size_t written = 0;
    errno = 0;
    while (written < whole.size()) {
        const ssize_t n = write(fd, whole.data() + written, whole.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        written += size_t(n);
    }
    const int error = written < whole.size() ? (errno ? errno : EIO) : 0;
    if (error) {
        const int cut = ftruncate(fd, info.st_size); // back to what the file held
        (void)cut;
    }
    if (close(fd) != 0 && !error) {
        *problem = std::strerror(errno);
        return false;
    }
    if (error) *problem = std::strerror(error);
    return !error;
}

// "moves": "1. e4 e5 2. Nf3", with the result once the game is over.
char ListMoves(char*) {
    if (Game.Moves().empty()) {
        std::printf("No moves yet.\n");
    } else {
        const std::string& result = Game.Result();
        std::printf("%s%s\n", MoveList(Game.StartPosition(), Game.Moves()).c_str(),
                    result == "*" ? "" : (" " + result).c_str());
    }
    return Handled;
}

// "save FILE" and "pgn FILE": the game appended to the file as PGN.
char SaveGame(char* command) {
    std::string path = Input.RestOfLine();
    while (!path.empty() && std::strchr(" \t\r", path.back())) path.pop_back();
    if (path.empty()) {
        std::printf("Usage: %s FILE (the game is added to FILE as PGN)\n", command);
        return Handled;
    }
    std::string problem;
    if (AppendToFile(path, FormatPgn(Game.StartPosition(), Game.Moves(), GameTags()), &problem))
        std::printf("Game saved to %.200s\n", path.c_str());
    else
        std::printf("Cannot save the game to %.200s: %s. The game is still here: try another file.\n", path.c_str(),
                    problem.c_str());
    return Handled;
}

// "verbose", "verbose on", "verbose off": the diagnostic lines shown or only logged.
char Verbose(char*) {
    std::string word;
    Input.Argument(&word);
    SetConsoleVerbose(word == "on" || (word != "off" && !ConsoleVerbose()));
    std::printf(ConsoleVerbose() ? "Verbose: the diagnostics are shown.\n"
                                 : "Verbose off: the diagnostics go to match.log.\n");
    return Handled;
}

struct ConsoleCommandEntry {
    const char* name;
    char (*handler)(char* word);
};

const ConsoleCommandEntry consoleCommands[] = {
    {"moves", ListMoves},
    {"pgn", SaveGame},
    {"save", SaveGame},
    {"verbose", Verbose},
};

} // namespace

bool IsConsoleCommand(const char* word) {
    for (const ConsoleCommandEntry& c : consoleCommands)
        if (std::strcmp(word, c.name) == 0) return true;
    return false;
}

bool ConsoleCommand(char* word, char* result) {
    if (!PersonAtConsole()) return false;
    for (const ConsoleCommandEntry& c : consoleCommands)
        if (std::strcmp(word, c.name) == 0) {
            *result = c.handler(word);
            std::fflush(stdout);
            return true;
        }
    return false;
}

void ShowConsoleHelp() {
    std::printf("Moves: e4, Nf3, exd5, O-O (or 0-0), e8=Q, Nbd2, R1e2, marks + # ! ? allowed; or squares: e2e4, "
                "e7e8q.\n");
    std::printf("%s plays at %s.\n", EngineName, OpponentText().c_str());
    std::printf("  hint            a move for you             moves           the game so far\n"
                "  undo            take back one move         remove          take back a move of each side\n"
                "  new             a new game                 go              %s moves for the side to move\n"
                "  save FILE       add the game to FILE as PGN (pgn FILE does the same)\n"
                "  st N            N seconds a move           sd N            at most N plies deep\n"
                "  level MOVES MINUTES[:SECONDS] INCREMENT    a clock instead of a time a move\n"
                "  strength ELO    play at about ELO          strength off    play at full strength\n"
                "  skill N         a level from 0 to 20       seed N          the level's draws from seed N\n"
                "  post, nopost    show or hide the thinking  verbose         show or hide the diagnostics\n"
                "  force           enter moves for both sides, go ends it; selfplay: %s plays itself\n"
                "  setboard FEN, displayboard, analyze (exit ends it), multipv N, eval, bk (book on or off), quit\n",
                EngineName, EngineName);
    std::fflush(stdout);
}
