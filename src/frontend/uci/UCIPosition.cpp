// UCI "position": a start position or a FEN, then a move list replayed on
// the game position with the keys of the repetition rule. Everything is
// checked: a bad FEN leaves the position as it was, and the list stops at
// the first move that is malformed or not legal.
#include <cstring>
#include <sstream>
#include <string>

#include "board/ChessBoard.h"
#include "board/HashKeys.h"
#include "core/Log.h"
#include "core/Status.h"
#include "frontend/shared/GameRecord.h"
#include "frontend/shared/PositionInput.h"
#include "frontend/uci/UCIProtocol.h"
#include "search/MoveHistory.h"
#include "search/SearchRoutines.h"

namespace {

// Of a refused text only its start is said back: a GUI reads stdout no faster than it writes our input.
constexpr size_t EchoedText = 200;

} // namespace

void UCIProtocol::SetPosition() {
    std::istringstream in(Command);
    std::string word, fen;
    in >> word >> word; // "position", then "startpos" or "fen"
    const bool startpos = word == "startpos", fromFen = word == "fen";
    while (fromFen && in >> word && word != "moves") fen += (fen.empty() ? "" : " ") + word;
    if (startpos) in >> word;

    ChessBoard position;
    if (fromFen) {
        const std::string problem = ReadPosition(fen.c_str(), &position);
        if (!problem.empty()) {
            InfoString(("invalid position: " + fen.substr(0, EchoedText)).c_str());
            LogF("Refused position (%s): %s", problem.c_str(), fen.c_str());
            return;
        }
    } else if (!startpos) {
        InfoString("position needs startpos or fen");
        return;
    }

    ResetGame();
    if (startpos) {
        HashSide = 0;
    } else {
        const i32 maxDepth = MainBoard.MaxDepth;
        MainBoard = position;
        MainBoard.MaxDepth = maxDepth;
        MainBoard.FiftyMoveCount = 0; // the FEN's half-move clock is not read
        WriteLogFile(fen.c_str());
        HashSide = MainBoard.SideToMove; // the keys follow the side to move of the replayed position
    }
    RefreshPieceCounts(MainBoard);
    MoveList.Init(); // no keys of an earlier game stay behind a list without moves
    MainStatus.GamePly = 0;
    if (word == "moves") {
        std::string rest;
        std::getline(in, rest);
        ProcessMoves(rest.c_str());
    }
}

int UCIProtocol::ProcessMoves(const char* list) {
    std::istringstream in(list);
    int count = 0;
    for (std::string word; in >> word;) {
        Move text, move;
        if (!ParseMoveText(word.c_str(), &text) || !FindLegalMove(MainBoard, text, &move)) {
            InfoString(("illegal move: " + word.substr(0, EchoedText)).c_str());
            break;
        }
        MakeMoves(move);
        ++count;
    }
    return count;
}

void UCIProtocol::MakeMoves(const Move& move) {
    FromBit = move.from;
    ToBit = move.to;
    FromIndex = SquareOf(move.from);
    ToIndex = SquareOf(move.to);
    ++MainStatus.GamePly;
    PlayGameMove(FromIndex, ToIndex, move.promote);
    MainBoard.SideToMove ^= 1;
    HashSide ^= 1;
    u64 upper, lower;
    genhashcode(char(HashSide), MainBoard.Castling, &upper, &lower, &MainBoard);
    MoveList.InsertHashCodeMoveHistory(upper, lower);
}
