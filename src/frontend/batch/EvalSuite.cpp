// "-eval FILE": the static evaluation of every position of an EPD file,
// for checking and tuning the evaluation.
#include <cstdio>
#include <string>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "core/Platform.h"
#include "eval/PositionEvaluate.h"
#include "frontend/batch/BatchInput.h"
#include "frontend/batch/EvalSuite.h"
#include "frontend/shared/EvalTable.h"

namespace {

constexpr size_t EvalLineSize = 4096; // the rest of a longer line is dropped

} // namespace

int EvalSuite(const char* fileName) {
    TextFile in;
    std::string error;
    if (!in.Open(fileName, &error)) {
        std::printf("ERROR: opening file %s: %s\n", fileName, error.c_str());
        return 1;
    }
    std::string line;
    while (in.ReadLine(&line, EvalLineSize)) {
        if (BatchStopRequested()) EndStoppedBatchJob();
        SetupBoard(line.c_str());
        PrepareForEvaluation(MainBoard);
        int score = PE.PosEval(char(MainBoard.SideToMove), -110000, 110000, &MainBoard);
        std::printf("%d %s\n", score, line.c_str());
    }
    std::fflush(stdout);
    if (!in.Failed()) return 0;
    std::printf("ERROR: reading file %s: it failed or grew past %lld bytes\n", fileName, TextFile::MaxBytes);
    return 1;
}
