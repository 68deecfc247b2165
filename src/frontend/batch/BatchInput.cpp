// The batch jobs' ear on standard input.
#include "frontend/batch/BatchInput.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/Log.h"
#include "core/Platform.h"

namespace {

constexpr i32 LookIntervalMs = 5; // at most this long between two looks at the input
bool listening = false;
const char* reason = nullptr; // why the job stops, once it must
i32 lastLook = -LookIntervalMs;

} // namespace

void ListenForStop() { listening = !InputEndedNow(); }

bool BatchStopRequested() {
    if (reason) return true;
    if (!listening) return false;
    const i32 now = ClockMs();
    if (now - lastLook < LookIntervalMs) return false;
    lastLook = now;
    while (LineWaiting()) {
        std::string line, word;
        if (!ReadLine(&line, 4096)) {
            reason = "the end of input";
            return true;
        }
        std::istringstream(line) >> word;
        if (word == "quit") {
            reason = "quit";
            return true;
        }
    }
    return false;
}

void EndStoppedBatchJob() {
    std::printf("Stopped before the end: %s\n", reason ? reason : "quit");
    std::fflush(stdout);
    CloseLogFile();
    std::exit(0);
}
