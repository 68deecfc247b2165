// UCI "go": the limits of the line, read and clamped; the search; the
// "bestmove" reply, which is always a legal move or 0000.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "board/ChessBoard.h"
#include "core/Log.h"
#include "core/Numbers.h"
#include "core/Status.h"
#include "eval/PositionEvaluate.h"
#include "frontend/shared/GameRecord.h"
#include "frontend/shared/PositionInput.h"
#include "frontend/uci/UCIObserver.h"
#include "frontend/uci/UCIProtocol.h"
#include "movegen/LegalMoves.h"
#include "movegen/MoveGen.h"
#include "search/SearchRoutines.h"
#include "search/TimeManagement.h"

namespace {

constexpr long long MaxMilliseconds = INT32_MAX;
constexpr long long MaxMovesToGo = 1000;
constexpr long long MaxGoDepth = 100;
constexpr long long MaxMateMoves = 100;
constexpr long long MaxNodes = 1LL << 50;

// A number word, clamped into [low, high]; `fallback` when it is no number at all.
long long Number(const std::string& word, long long low, long long high, long long fallback) {
    return ParseInteger(word.c_str(), low, high, fallback);
}

bool IsMoveWord(const std::string& w) {
    Move move;
    return ParseMoveText(w.c_str(), &move);
}

// True when one of the legal moves is among the root moves the search is limited to.
bool HasLegalMoveAmong(const ChessBoard& board) {
    for (const Move& m : LegalMoves(board))
        if (Search.RootMoveAllowed(m.from, m.to)) return true;
    return false;
}

// The teaching modes: "Mimic Student", and "Mimic Oracle", which shows the evaluation.
void ReadMimic(const char* line) {
    Status& s = MainStatus;
    ChessBoard& b = MainBoard;
    if (std::strstr(line, "Mimic Student")) {
        s.Mimic = 1;
        InfoString("Mimic info Student");
        RefreshPieceCounts(b);
    }
    if (std::strstr(line, "Mimic Oracle")) {
        s.Mimic = 2;
        RefreshPieceCounts(b);
        b.CheckDraw(0); // the evaluation reads MatingMaterial
        const int v = PE.PosEval(char(b.SideToMove), -MATE, MATE, &b);
        InfoString(("Mimic info Oracle " + std::to_string(v)).c_str());
    }
}

} // namespace

GoLine ParseGoLine(const char* line) {
    GoLine go;
    std::istringstream in(line);
    std::string word, value;
    in >> word; // "go"
    auto next = [&]() { return in >> value ? value : std::string(); };
    bool inSearchMoves = false;
    while (in >> word) {
        if (inSearchMoves && IsMoveWord(word)) {
            Move move;
            ParseMoveText(word.c_str(), &move);
            go.searchMoves.push_back(u16(MoveCode(move.from, move.to)));
            continue;
        }
        inSearchMoves = false;
        if (word == "wtime")
            go.time[0] = Number(next(), 0, MaxMilliseconds, 0);
        else if (word == "btime")
            go.time[1] = Number(next(), 0, MaxMilliseconds, 0);
        else if (word == "winc")
            go.increment[0] = Number(next(), 0, MaxMilliseconds, 0);
        else if (word == "binc")
            go.increment[1] = Number(next(), 0, MaxMilliseconds, 0);
        else if (word == "movestogo")
            go.movesToGo = Number(next(), 0, MaxMovesToGo, 0);
        else if (word == "depth")
            go.depth = Number(next(), 1, MaxGoDepth, 1);
        else if (word == "nodes")
            go.nodes = Number(next(), 1, MaxNodes, 1);
        else if (word == "mate")
            go.mate = Number(next(), 1, MaxMateMoves, 1);
        else if (word == "movetime")
            go.moveTime = Number(next(), 0, MaxMilliseconds, 0);
        else if (word == "infinite")
            go.infinite = true;
        else if (word == "ponder")
            go.ponder = true;
        else if (word == "searchmoves")
            inSearchMoves = go.searchMovesGiven = true;
    }
    return go;
}

GoLine UCIProtocol::ApplyGoLine(const char* line) {
    Status& s = MainStatus;
    ChessBoard& b = MainBoard;
    const GoLine go = ParseGoLine(line);
    const int side = b.SideToMove ? 1 : 0;
    State = Searching;
    ClearSearchLimits();
    // A go line starts neither a ponder nor an analysis unless it says so: UCI_AnalyseMode changes
    // what is shown, not how long the search runs.
    s.Pondering = 0;
    s.Analyze = 0;
    SetSearchLimits(go.nodes, 0);

    SearchRoutines& q = Search;
    const int capacity = int(sizeof q.RootMoveFilter / sizeof q.RootMoveFilter[0]);
    q.RootMoveFilterCount = 0;
    for (u16 code : go.searchMoves)
        if (q.RootMoveFilterCount < capacity) q.RootMoveFilter[q.RootMoveFilterCount++] = code;

    ReadMimic(line);
    if (go.infinite) {
        s.Analyze = 1;
        s.ST = AnalysisTime;
        s.Force = 0;
        State = InfiniteAnalysis;
        AssumeSpeed(InfiniteSearchSpeed);
    }
    if (go.time[side] >= 0) {
        s.TimeLeft = i32(go.time[side]);
        LogF("MainStatus.TimeLeft = %d\n", s.TimeLeft);
    }
    if (go.increment[side] > 0) {
        s.TimeInc = i32(go.increment[side]);
        LogF("MainStatus.TimeInc = %d\n", s.TimeInc);
    }
    s.MovesPerSession = i32(go.movesToGo);
    if (go.movesToGo) LogF("MainStatus.MovesPerSession = %d\n", s.MovesPerSession);
    if (go.depth) {
        b.FixedDepth = b.MaxDepth = i32(go.depth);
        s.FD = i8(go.depth);
        LogF("MainBoard.FixedDepth = %d\n", b.FixedDepth);
    }
    if (go.moveTime >= 0) SetMoveTime(i32(go.moveTime));
    // A node count or a mate to find, without a clock, knows no time limit; a mate needs no deeper search.
    const bool clock = go.time[side] >= 0 || go.moveTime >= 0 || go.infinite;
    if ((go.nodes || go.mate) && !clock && !go.depth) s.ST = AnalysisTime;
    if (go.mate) SetSearchLimits(go.nodes, int(2 * go.mate + 2));
    if (go.ponder) {
        s.Pondering = 1;
        State = PonderingState;
    }
    return go;
}

void UCIProtocol::Go() {
    const GoLine go = ApplyGoLine(Command.c_str());
    if (Command.find("Mimic") == std::string::npos) SearchAndReply(go);
    State = Waiting;
    WriteLogFile("Received the VelkorSearchFinished message - a search has finished\n");
    WriteLogFile("===========================================================\n");
}

void UCIProtocol::BestMoveText(char* out, int size, bool hasMove, const Move& best) const {
    if (!hasMove || !best.from || !best.to) {
        std::snprintf(out, size_t(size), " 0000");
        return;
    }
    int n = std::snprintf(out, size_t(size), " %s ", MoveNotation(best).c_str());
    if (PonderOption != 1 || Search.PVLength < 2 || n < 0 || n >= size) return;
    // The ponder move is the second of the principal variation, when it is legal after the first.
    ChessBoard after = MainBoard;
    char mask;
    after.MakeMove(best.from, best.to, best.promote, &mask);
    after.Castling &= mask;
    after.SideToMove ^= 1;
    const PVEntry reply = Search.PV[0][1];
    Move ponder;
    if (!FindLegalMove(after, Move{SquareBit(reply.move / 64), SquareBit(reply.move % 64), NoPromotion}, &ponder))
        return;
    std::snprintf(out + n, size_t(size - n), "ponder %s", MoveNotation(ponder).c_str());
}

void UCIProtocol::SearchAndReply(const GoLine& go) {
    Status& s = MainStatus;
    LogF("MovesPerSession %d TimeLeft %d TimeInc %d \n", s.MovesPerSession, s.TimeLeft, s.TimeInc);
    const std::vector<Move> legal = LegalMoves(MainBoard);
    bool hasMove = !legal.empty();
    Move best{0, 0, NoPromotion};
    int score = 0;
    if (hasMove && go.searchMovesGiven && !HasLegalMoveAmong(MainBoard)) {
        hasMove = false; // no listed move is legal: there is nothing to search
    } else {
        SearchRunning = 1;
        score = Search.ProgressiveDeepening(MainBoard, s.FD, &best);
        SearchRunning = 0;
    }
    // A search stopped before its first move finished has none: any legal move will do.
    if (hasMove && !IsLegal(MainBoard, best)) best = legal.front();
    Promotion = best.promote;

    char text[128];
    BestMoveText(text, sizeof text, hasMove, best);
    std::printf("info score %s\n", UciScore(Search.Report(0, score, best)).c_str());
    std::fflush(stdout);
    std::printf("bestmove%s\n", text);
    std::fflush(stdout);
    WriteLogFile("Sent bestmove ");
    WriteLogFile(text);
    WriteLogFile("\n");
}
