// UCI "go": the settings of the line, the search, and the "bestmove" reply.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "board/ChessBoard.h"
#include "core/Log.h"
#include "core/Status.h"
#include "eval/PositionEvaluate.h"
#include "frontend/GameRecord.h"
#include "frontend/UCIProtocol.h"
#include "search/SearchRoutines.h"
#include "search/TimeManagement.h"

namespace {

// The integer after the keyword in the line, 0 when none follows.
i32 IntAfter(const char* line, const char* keyword) {
    const char* p = std::strstr(line, keyword);
    if (!p) return 0;
    return ClampToI32(std::strtoll(p + std::strlen(keyword), nullptr, 10));
}

bool Has(const char* line, const char* keyword) { return std::strstr(line, keyword) != nullptr; }

bool IsMoveWord(const char* p) {
    return p[0] >= 'a' && p[0] <= 'h' && p[1] >= '1' && p[1] <= '8' && p[2] >= 'a' && p[2] <= 'h' && p[3] >= '1' &&
           p[3] <= '8';
}

// "e2" from a square index 0..63.
void SquareText(char* out, int square) {
    out[0] = char('a' + square % 8);
    out[1] = char('1' + square / 8);
    out[2] = '\0';
}

const char* PromotionSuffix(char promote) {
    switch (promote) {
    case 'B': case 'b': return "b ";
    case 'N': case 'n': return "n ";
    case 'Q': case 'q': return "q ";
    case 'R': case 'r': return "r ";
    default: return " ";
    }
}

// The teaching modes: "Mimic Student" and "Mimic Oracle", which prints the evaluation.
void ReadMimic(const char* line) {
    Status& s = MainStatus;
    ChessBoard& b = MainBoard;
    if (Has(line, "Mimic Student")) {
        s.Mimic = 1;
        std::printf("Mimic info Student ");
        RefreshPieceCounts(b);
    }
    if (Has(line, "Mimic Oracle")) {
        s.Mimic = 2;
        RefreshPieceCounts(b);
        b.CheckDraw(0); // the evaluation reads MatingMaterial
        int v = PE.PosEval(char(b.SideToMove), -110000, 110000, &b);
        std::printf("Mimic info Oracle %d\n", v);
        std::fflush(stdout);
    }
}

// The clock of the side to move, the session length, a fixed depth or time.
void ReadClock(const char* line) {
    Status& s = MainStatus;
    ChessBoard& b = MainBoard;
    const char* timeKey = b.SideToMove ? "btime" : "wtime";
    if (Has(line, timeKey)) {
        s.TimeLeft = IntAfter(line, timeKey);
        LogF("MainStatus.TimeLeft = %d\n", s.TimeLeft);
    }
    const char* incKey = b.SideToMove ? "binc" : "winc";
    if (Has(line, incKey)) {
        s.TimeInc = IntAfter(line, incKey) / 1000;
        LogF("MainStatus.TimeInc = %d\n", s.TimeInc);
    }
    if (Has(line, "movestogo")) {
        s.MovesPerSession = IntAfter(line, "movestogo");
        LogF("MainStatus.MovesPerSession = %d\n", s.MovesPerSession);
    } else {
        s.MovesPerSession = 0;
    }
    if (Has(line, "depth")) {
        b.FixedDepth = IntAfter(line, "depth");
        s.FD = i8(b.FixedDepth);
        LogF("MainBoard.FixedDepth = %d\n", b.FixedDepth);
    }
    if (Has(line, "movetime")) {
        SetMoveTime(IntAfter(line, "movetime"));
    }
}

} // namespace

void UCIProtocol::ReadSearchMoves(const char* list) {
    SearchRoutines& q = Search;
    const int capacity = int(sizeof q.RootMoveFilter / sizeof q.RootMoveFilter[0]);
    const char* p = list;
    while (*p == ' ') ++p;
    while (IsMoveWord(p) && q.RootMoveFilterCount < capacity) {
        int from = (p[0] - 'a') + 8 * (p[1] - '1'), to = (p[2] - 'a') + 8 * (p[3] - '1');
        q.RootMoveFilter[q.RootMoveFilterCount++] = u16(from * 64 + to);
        p += 4;
        while (*p && *p != ' ') ++p; // a promotion letter
        while (*p == ' ') ++p;
    }
}

void UCIProtocol::ApplyGoLine(const char* line) {
    Status& s = MainStatus;
    ChessBoard& b = MainBoard;
    State = Searching;
    s.TimeInc = 0;
    s.TimeLeft = 0;
    b.FixedDepth = 0;
    s.FD = 0;
    s.ST = 0;
    // A go line starts neither a ponder nor an analysis unless it (or the option) says so.
    s.Pondering = 0;
    s.Analyze = AnalyseMode;
    Search.RootMoveFilterCount = 0;

    ReadMimic(line);
    if (Has(line, "infinite")) {
        s.Analyze = 1;
        s.ST = AnalysisTime;
        s.Force = 0;
        State = InfiniteAnalysis;
        AssumeSpeed(800000);
    }
    if (const char* list = std::strstr(line, "searchmoves")) ReadSearchMoves(list + std::strlen("searchmoves"));
    ReadClock(line);
    if (Has(line, "ponder")) {
        s.Pondering = 1;
        State = PonderingState;
    }
}

void UCIProtocol::Go() {
    if (SearchRunning) { // a nested search would wreck the running one
        WriteLogFile("Ignored go while a search runs\n");
        return;
    }
    ApplyGoLine(Command);
    if (!Has(Command, "Mimic")) SearchAndReply();
    if (ReadyPending) {
        ReadyPending = 0;
        std::printf("readyok\n");
        std::fflush(stdout);
        WriteLogFile("Sent readyok from inside go return\n");
    }
    // A "ucinewgame" that stopped the search stays to be handled now.
    if (std::strncmp(Command, "ucinewgame", 10) != 0) std::strcpy(Command, "VelkorSearchFinished");
}

void UCIProtocol::BestMoveText(char* out, int size, bool hasMove, u64 from, u64 to, char promote) const {
    if (!hasMove || !from || !to) {
        std::snprintf(out, size_t(size), " 0000");
        return;
    }
    char fromText[8], toText[8];
    SquareText(fromText, SquareOf(from));
    SquareText(toText, SquareOf(to));
    int n = std::snprintf(out, size_t(size), " %s%s%s", fromText, toText, PromotionSuffix(promote));
    if (PonderOption != 1 || Search.PVLength < 2 || n < 0 || n >= size) return;
    // The ponder move is the second of the principal variation.
    int code = Search.PV[0][1].move;
    SquareText(fromText, code / 64);
    SquareText(toText, code % 64);
    std::snprintf(out + n, size_t(size - n), "ponder %s%s", fromText, toText);
}

void UCIProtocol::SearchAndReply() {
    Status& s = MainStatus;
    LogF("MovesPerSession %d TimeLeft %d TimeInc %d \n", s.MovesPerSession, s.TimeLeft, s.TimeInc);
    bool hasMove = HasLegalMove(MainBoard);
    u64 from = 0, to = 0;
    Promotion = NoPromotion;
    SearchRunning = 1;
    int score = Search.ProgressiveDeepening(MainBoard, s.FD, &from, &to, &Promotion);
    SearchRunning = 0;

    char text[64];
    BestMoveText(text, sizeof text, hasMove, from, to, Promotion);
    std::printf("info score cp %d\n", score / 10);
    std::fflush(stdout);
    std::printf("bestmove%s\n", text);
    std::fflush(stdout);
    State = Waiting;
    WriteLogFile("Sent bestmove ");
    WriteLogFile(text);
    WriteLogFile("\n");
}
