# Thin wrapper around CMake. The release build lives in build/, the
# sanitizer build in build-sanitize/.
BUILD    ?= build
SANITIZE ?= build-sanitize
JOBS     ?= $(shell nproc)
DEPTH    ?= 6
BENCH_DEPTH ?= 9
CTEST    := ctest --output-on-failure -j $(JOBS)
# The fuzz run: its length, its seed (the time when none is given) and more driver options.
SECONDS  ?= 120
SEED     ?= $(shell date +%s)
FUZZ_ARGS ?=

.PHONY: all deps build run test sanitize sanitize-build fuzz libfuzzer bench evalbench perft format clean

all: build

deps:
	@scripts/ensure-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/velkor

test: build
	cd $(BUILD) && $(CTEST)

sanitize: sanitize-build
	cd $(SANITIZE) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 $(CTEST)

sanitize-build: deps
	@cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DVELKOR_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE) -j $(JOBS)

# Random and mutated sessions against the sanitizer build for SECONDS;
# failing inputs are kept in build-sanitize/fuzz-failures.
fuzz: sanitize-build
	nice ./$(SANITIZE)/tests/velkor_fuzz --binary $(SANITIZE)/velkor --seconds $(SECONDS) --seed $(SEED) \
	  --keep $(SANITIZE)/fuzz-failures $(FUZZ_ARGS)

# libFuzzer targets for the position reader and the move-text reader (clang).
libfuzzer:
	@scripts/libfuzzer.sh build-libfuzzer

bench: build
	scripts/bench.sh ./$(BUILD)/velkor $(BENCH_DEPTH)

evalbench: build
	./$(BUILD)/velkor_evalbench

perft: build
	scripts/perft.sh ./$(BUILD)/velkor $(DEPTH)

format:
	clang-format -i $$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'tools/*.cpp')

clean:
	rm -rf $(BUILD) $(SANITIZE)
