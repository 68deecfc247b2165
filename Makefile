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
# Warnings as errors (CI builds with WERROR=ON).
WERROR   ?= OFF
# The C++ sources the formatter and the lint look at.
SOURCES   = $$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'tools/*.cpp' 'tools/*.h')
# The fuzz run: its length, its seed (the time when none is given) and more driver options;
# INPROCESS_SECONDS for each in-process target.
SECONDS  ?= 120
INPROCESS_SECONDS ?= 60
SEED     ?= $(shell date +%s)
FUZZ_ARGS ?=

# Testing frameworks (OpenBench among them) run "make EXE=PATH -j", some with
# CXX=... and CXXFLAGS=...: a release build of the engine alone, with that
# compiler and those flags before the project's own, copied to PATH. It has
# a build directory of its own, so the other builds keep their settings, and
# needs no GoogleTest.
EXE       ?=
EXE_BUILD ?= build-exe

# Installation, laid out as Debian's engine packages lay theirs out: the
# binary in games/, the manual in section 6, an engine-list entry where
# xboard looks for them (it reads /usr/share/games/plugins and
# /usr/local/share/games/plugins). The entry names the binary by its full
# path, because xboard looks a bare name up in PATH, and Debian puts
# /usr/local/games only on ordinary users' PATH, not on root's, and no
# other prefix's games/ on anyone's.
PREFIX  ?= /usr/local
DESTDIR ?=
BINDIR   = $(PREFIX)/games
MANDIR   = $(PREFIX)/share/man/man6
ENGDIR   = $(PREFIX)/share/games/plugins/xboard

.PHONY: all deps configure build engine exe run test sanitize sanitize-build fuzz libfuzzer bench evalbench perft pgo \
        format lint clean install uninstall

ifeq ($(EXE),)
all: build
else
all: exe
endif

deps:
	@scripts/ensure-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DVELKOR_ARCH=$(ARCH) -DVELKOR_PGO=off \
	  -DVELKOR_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The engine alone, without the test programs and the evaluation benchmark.
engine: configure
	@cmake --build $(BUILD) -j $(JOBS) --target velkor

exe:
	@test -n "$(EXE)" || { echo "make exe needs EXE=PATH"; exit 1; }
	@scripts/ensure-deps.sh engine
	@cmake -S . -B $(EXE_BUILD) -DCMAKE_BUILD_TYPE=Release -DVELKOR_ARCH=$(ARCH) -DVELKOR_PGO=off -DVELKOR_TESTS=OFF \
	  -DVELKOR_WERROR=$(WERROR) -DCMAKE_CXX_COMPILER="$(CXX)" -DCMAKE_CXX_FLAGS="$(CXXFLAGS)" >/dev/null
	@cmake --build $(EXE_BUILD) -j $(JOBS) --target velkor
	cp $(EXE_BUILD)/velkor "$(EXE)"

run: engine
	./$(BUILD)/velkor

test: build
	cd $(BUILD) && $(CTEST)

sanitize: sanitize-build
	cd $(SANITIZE) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 $(CTEST)

sanitize-build: deps
	@cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DVELKOR_SANITIZE=ON -DVELKOR_WERROR=$(WERROR) >/dev/null
	@cmake --build $(SANITIZE) -j $(JOBS)

# The in-process targets (UCI lines, xboard and console lines, EPD text,
# book bytes) for INPROCESS_SECONDS each, then random and mutated sessions
# against the sanitizer build for SECONDS; failing inputs are kept in
# build-sanitize/fuzz-failures.
fuzz: sanitize-build
	scripts/fuzz-inprocess.sh $(SANITIZE) $(INPROCESS_SECONDS) $(SEED) $(SANITIZE)/fuzz-failures
	nice ./$(SANITIZE)/tools/fuzz/velkor_fuzz --binary $(SANITIZE)/velkor --seconds $(SECONDS) --seed $(SEED) \
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
	@scripts/ensure-deps.sh lint
	clang-format -i $(SOURCES)

# The formatting check (every file as .clang-format has it) and the layering
# check (no include pointing up, no include between the protocols' rooms).
lint:
	@scripts/ensure-deps.sh lint
	@clang-format --dry-run --Werror $(SOURCES)
	@scripts/check-layers.sh src
	@echo "lint: formatting and layers are clean"

# The entry (doc/velkor.eng) holds the header line, the command and the variants played.
install: engine
	install -d $(DESTDIR)$(BINDIR) $(DESTDIR)$(MANDIR) $(DESTDIR)$(ENGDIR)
	install -m 755 $(BUILD)/velkor $(DESTDIR)$(BINDIR)/velkor
	install -m 644 doc/velkor.6 $(DESTDIR)$(MANDIR)/velkor.6
	sed 's|@BINDIR@|$(BINDIR)|' doc/velkor.eng >$(DESTDIR)$(ENGDIR)/velkor.eng
	chmod 644 $(DESTDIR)$(ENGDIR)/velkor.eng

# The three files; the directories are shared with other programs.
uninstall:
	rm -f $(DESTDIR)$(BINDIR)/velkor $(DESTDIR)$(MANDIR)/velkor.6 $(DESTDIR)$(ENGDIR)/velkor.eng
	@# A staged tree (DESTDIR) is left as empty as it was found; a live system keeps its directories.
	@if [ -n "$(DESTDIR)" ]; then \
	  rmdir -p --ignore-fail-on-non-empty $(DESTDIR)$(BINDIR) $(DESTDIR)$(MANDIR) $(DESTDIR)$(ENGDIR) 2>/dev/null || true; fi

clean:
	rm -rf $(BUILD) $(SANITIZE) $(PGO) $(EXE_BUILD)
