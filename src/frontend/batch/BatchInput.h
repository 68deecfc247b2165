// A batch job listens to its input while it runs: "quit", or the end of an
// input that was still open when the job began, ends it within a poll.
// Input that had ended before (a job run from </dev/null) is no input.
#pragma once

// Decides, once at the job's start, whether the job listens.
void ListenForStop();
// Reads the whole lines waiting, without blocking: true once "quit" has
// come or the input has ended. Cheap enough to ask for every position.
bool BatchStopRequested();
// Says why the job stopped and ends the process with code 0.
[[noreturn]] void EndStoppedBatchJob();
