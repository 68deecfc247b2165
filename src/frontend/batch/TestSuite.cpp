// EPD test suites: every position of a file searched ("-ts"), its boards
// listed ("-pev"), or only counted ("-mimicstudent").
#include "frontend/batch/TestSuite.h"

#include <cstdio>
#include <cstdlib>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "core/Status.h"
#include "frontend/shared/Diagram.h"
#include "frontend/shared/PositionInput.h"
#include "movegen/MoveGen.h"
#include "search/SearchRoutines.h"

namespace {

constexpr int SuiteLineSize = 256;

// Reads one line into buf (at most size - 1 characters; the rest of a
// longer line is dropped). False at the end of the file.
bool ReadSuiteLine(FILE* f, char* buf, int size) {
    int c, n = 0;
    bool any = false;
    while ((c = std::fgetc(f)) != EOF && c != '\n') {
        any = true;
        if (n < size - 1) buf[n++] = char(c);
    }
    if (n > 0 && buf[n - 1] == '\r') --n;
    buf[n] = '\0';
    return any || c == '\n';
}

} // namespace

void ParseEPDSuite(const char* fileName) {
    Status& s = MainStatus;
    FILE* f = std::fopen(fileName, "r");
    if (!f) {
        std::printf("ERROR: opening file %s\n", fileName);
        std::exit(1);
    }
    std::printf("## file opened %s\n", fileName);
    std::printf("## Entering ParseEPDSuite and Opened data file\n");
    if (s.Mimic == 1) std::printf("In ParseEPDSuite and Mimic == STUDENT \n");

    char line[SuiteLineSize];
    int lines = 0;
    while (ReadSuiteLine(f, line, sizeof line)) {
        ++lines;
        SetupBoard(line);
        if (s.Mimic != 1) ShowBoard(MainBoard);
        if (s.DoTestSuite) {
            std::printf("%s\n", line);
            // A line that is no position is not searched: such a board can hold a search forever.
            ChessBoard checked;
            const std::string problem = ReadPosition(line, &checked, true);
            if (!problem.empty()) {
                std::printf("Illegal position: %s\n", problem.c_str());
                continue;
            }
            if (s.FD == 0) s.FD = 3;
            ChessBoard& b = MainBoard;
            Move best{b.BestFrom, b.BestTo, b.BestPromote};
            const int score = Search.ProgressiveDeepening(b, s.FD, &best);
            b.BestFrom = best.from;
            b.BestTo = best.to;
            b.BestPromote = best.promote;
            char text[MoveTextSize];
            fillmovestring(text, 0, char(SquareOf(best.from)), char(SquareOf(best.to)), best.promote, Search.PV[0],
                           Search.PVLength);
            std::printf("%d %d   %s", s.FD, score, text);
        }
        std::fflush(stdout);
    }
    std::fclose(f);
    std::printf("%d\n", lines);
}
