// Velkor: a chess engine for the console, xboard and UCI.
#include <pthread.h>

#include "frontend/app/MatchLoop.h"
#include "frontend/app/Startup.h"

namespace {

// Every search node keeps its move list and board copies on the stack and
// a line may reach 200 plies, so the engine runs on a thread with room for that.
constexpr size_t EngineStackBytes = size_t(256) << 20;

struct Arguments {
    int argc;
    char** argv;
    int result;
};

void* RunEngine(void* p) {
    auto* args = static_cast<Arguments*>(p);
    StartUp(args->argc, args->argv);
    args->result = RunMatchLoop();
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    Arguments args{argc, argv, 0};
    pthread_attr_t attr;
    pthread_t engine;
    if (pthread_attr_init(&attr) == 0 && pthread_attr_setstacksize(&attr, EngineStackBytes) == 0 &&
        pthread_create(&engine, &attr, RunEngine, &args) == 0) {
        pthread_join(engine, nullptr);
        return args.result;
    }
    RunEngine(&args); // no thread: run on the main stack
    return args.result;
}
