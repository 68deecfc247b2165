# Thin wrapper around CMake. The release build lives in build/, the
# sanitizer build in build-sanitize/.
BUILD    ?= build
SANITIZE ?= build-sanitize
JOBS     ?= $(shell nproc)
DEPTH    ?= 6
BENCH_DEPTH ?= 11
CTEST    := ctest --output-on-failure -j $(JOBS)

.PHONY: all deps build run test sanitize bench evalbench perft format clean

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

sanitize: deps
	@cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DVELKOR_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE) -j $(JOBS)
	cd $(SANITIZE) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 $(CTEST)

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
