// Choosing and running the batch job of the command line, first match wins.
#include "frontend/batch/BatchJobs.h"

#include <cstdio>

#include "core/Status.h"
#include "frontend/batch/BatchInput.h"
#include "frontend/batch/Benchmark.h"
#include "frontend/batch/EvalSuite.h"
#include "frontend/batch/TestSuite.h"
#include "movegen/PerfT.h"

std::string SuiteFile;
std::string EvalFile;
bool EvalSuiteRequested = false;
bool BenchSummaryRequested = false;

bool BatchJobRequested() {
    const Status& s = MainStatus;
    return s.PERFT == 1 || EvalSuiteRequested || s.DoTestSuite || s.Mimic == 1 || s.PEV || s.SATrain == 1 ||
           s.BenchNumber == 1 || s.BenchNumber == 2;
}

int RunBatchJob() {
    Status& s = MainStatus;
    ListenForStop();
    if (s.PERFT == 1) {
        PerfT::StopHook = BatchStopRequested;
        PerfT perft(s.getFD()); // the count runs and reports in the constructor
        if (perft.Stopped) EndStoppedBatchJob();
        return 0;
    }
    if (EvalSuiteRequested) return EvalSuite(EvalFile.c_str());
    if (s.Mimic == 1 && !s.DoTestSuite) std::printf("## Mimic == STUDENT\n");
    if (s.DoTestSuite || s.Mimic == 1 || s.PEV) return ParseEPDSuite(SuiteFile.c_str());
    // "-satrain" is benchmark 1; benchmarks 3 to 5 only select a position set for play.
    if (s.SATrain == 1) s.BenchNumber = 1;
    if (s.BenchNumber == 1) {
        const BenchResult r = Bench();
        if (BenchSummaryRequested) std::printf("%lld nodes %lld nps\n", r.nodes, r.nodes * 1000 / r.ms);
    }
    if (s.BenchNumber == 2) Bench2();
    return 0;
}
