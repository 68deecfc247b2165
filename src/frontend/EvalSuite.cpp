// Stand-in until the evaluation lands.
#include "frontend/TestSuite.h"

void EvalSuite(const char*) {}
