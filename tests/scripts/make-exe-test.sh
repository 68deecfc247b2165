#!/bin/sh
# "make EXE=PATH -j" as testing frameworks run it: the engine built into PATH
# with the compiler of the command line and the flags of the environment,
# its bench signature unchanged. A release build takes minutes, so CI runs
# this once, outside the test suite.
# Usage: tests/scripts/make-exe-test.sh [CXX]   (g++ by default)
set -e
cd "$(dirname "$0")/../.."
cxx=${1:-g++}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

CXXFLAGS=-DVELKOR_EXE_CHECK nice make EXE="$dir/engine" EXE_BUILD="$dir/build" CXX="$cxx" -j >"$dir/log" 2>&1 ||
    fail "make EXE failed: $(tail -5 "$dir/log")"
[ -x "$dir/engine" ] || fail "no engine at EXE"
grep -q -- "-DVELKOR_EXE_CHECK" "$dir/build/CMakeFiles/velkor.dir/flags.make" || fail "CXXFLAGS not used"
grep -q "^VELKOR_TESTS:BOOL=OFF$" "$dir/build/CMakeCache.txt" || fail "the tests (and GoogleTest) were configured"
id=$("$cxx" --version | head -1)
case "$id" in
*clang*) want=Clang ;;
*) want=GNU ;;
esac
grep -q "CMAKE_CXX_COMPILER_ID \"$want\"" "$dir"/build/CMakeFiles/*/CMakeCXXCompiler.cmake || fail "not built with $cxx"
last=$(cd "$dir" && ./engine bench 8 </dev/null | tail -1)
echo "$last" | grep -Eq '^856025 nodes [0-9]+ nps$' || fail "bench 8 of the EXE build: $last"
echo "make EXE: $cxx, CXXFLAGS from the environment, bench 8: $last"
