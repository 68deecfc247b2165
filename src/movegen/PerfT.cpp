// Stand-in until move generation lands.
#include "movegen/PerfT.h"

PerfT::PerfT(int) : TotalNodes(0), LeafNodes(0) {}

void PerfT::PerformanceTest(char, int, ChessBoard, char) {}
