// "-eval FILE": the static evaluation of every position of an EPD file,
// for checking and tuning the evaluation.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "board/ChessBoard.h"
#include "board/Fen.h"
#include "eval/PositionEvaluate.h"
#include "frontend/batch/EvalSuite.h"
#include "frontend/shared/EvalTable.h"

void EvalSuite(const char* fileName) {
    std::ifstream in(fileName);
    if (!in) {
        std::printf("ERROR: opening file %s\n", fileName);
        std::exit(1);
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        SetupBoard(line.c_str());
        PrepareForEvaluation(MainBoard);
        int score = PE.PosEval(char(MainBoard.SideToMove), -110000, 110000, &MainBoard);
        std::printf("%d %s\n", score, line.c_str());
    }
    std::fflush(stdout);
}
