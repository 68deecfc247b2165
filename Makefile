# Thin wrapper around CMake. The release build lives in build/, the
# sanitizer build in build-sanitize/, the profile-guided one in build-pgo/.
BUILD    ?= build
SANITIZE ?= build-sanitize
PGO      ?= build-pgo
# Processor of release builds: native (this machine) or e.g. x86-64 for a portable binary.
ARCH     ?= native
JOBS     ?= $(shell nproc)
DEPTH    ?= 6
BENCH_DEPTH ?= 11
CTEST    := ctest --output-on-failure -j $(JOBS)

.PHONY: all deps build run test sanitize bench evalbench perft pgo format clean

all: build

deps:
	@scripts/ensure-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DVELKOR_ARCH=$(ARCH) -DVELKOR_PGO=off >/dev/null
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

# Instrumented build, the benchmark (and a perft) as the training run, then
# the build again with the profile: $(PGO)/velkor.
pgo: deps
	@cmake -S . -B $(PGO) -DCMAKE_BUILD_TYPE=Release -DVELKOR_ARCH=$(ARCH) -DVELKOR_PGO=generate >/dev/null
	@rm -rf $(PGO)/pgo-profile
	@cmake --build $(PGO) -j $(JOBS) --target velkor
	@dir=$$(mktemp -d) && bin=$$(realpath $(PGO)/velkor) && cd $$dir && \
	  $$bin -bench -fd 10 </dev/null >/dev/null && $$bin -perft -fd 5 </dev/null >/dev/null; \
	  status=$$?; rm -rf $$dir; exit $$status
	@cmake -S . -B $(PGO) -DVELKOR_PGO=use >/dev/null
	@cmake --build $(PGO) -j $(JOBS) --target velkor
	@echo "Profile-guided build: $(PGO)/velkor"

format:
	clang-format -i $$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'tools/*.cpp')

clean:
	rm -rf $(BUILD) $(SANITIZE) $(PGO)
