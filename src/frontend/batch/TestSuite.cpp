// EPD test suites: every position of a file searched ("-ts"), its boards
// listed ("-pev"), or only counted ("-mimicstudent").
#include "frontend/batch/TestSuite.h"

#include <cstdio>
#include <string>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "core/Platform.h"
#include "core/Status.h"
#include "frontend/batch/BatchInput.h"
#include "frontend/shared/Diagram.h"
#include "frontend/shared/PositionInput.h"
#include "movegen/MoveGen.h"
#include "search/SearchRoutines.h"

namespace {

constexpr size_t SuiteLineSize = 255; // the rest of a longer line is dropped

} // namespace

int ParseEPDSuite(const char* fileName) {
    Status& s = MainStatus;
    TextFile f;
    std::string error;
    if (!f.Open(fileName, &error)) {
        std::printf("ERROR: opening file %s: %s\n", fileName, error.c_str());
        return 1;
    }
    std::printf("## file opened %s\n", fileName);
    std::printf("## Entering ParseEPDSuite and Opened data file\n");
    if (s.Mimic == 1) std::printf("In ParseEPDSuite and Mimic == STUDENT \n");

    std::string entry;
    int lines = 0;
    while (f.ReadLine(&entry, SuiteLineSize)) {
        if (BatchStopRequested()) EndStoppedBatchJob();
        const char* line = entry.c_str();
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
    std::printf("%d\n", lines);
    if (!f.Failed()) return 0;
    std::printf("ERROR: reading file %s: it failed or grew past %lld bytes\n", fileName, TextFile::MaxBytes);
    return 1;
}
