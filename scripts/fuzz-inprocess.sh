#!/bin/sh
# Runs each in-process fuzz target of a build for SECONDS from the seeds in
# tools/fuzz/corpus, and prints its runs a second. A target that dies (a
# crash, a sanitizer report, a run over ten seconds) leaves its input in
# KEEP/<target>-<seed>.input and fails the run.
# Usage: scripts/fuzz-inprocess.sh BUILD_DIR SECONDS SEED KEEP
set -u
build=${1:?usage: fuzz-inprocess.sh BUILD_DIR SECONDS SEED KEEP}
seconds=${2:-30}
seed=${3:-1}
keep=${4:-$build/fuzz-failures}
root=$(dirname "$0")/..
work=$(mktemp -d -p "$( [ -d /dev/shm ] && echo /dev/shm || echo /tmp )" velkor-inprocess-XXXXXX)
trap 'rm -rf "$work"' EXIT
failed=0
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
for target in uci xboard epd book; do
  if ! nice "$build/tools/fuzz/velkor_fuzz_inprocess" --target "$target" --corpus "$root/tools/fuzz/corpus/$target" \
       --seconds "$seconds" --seed "$seed" --work "$work" 2>"$work/$target.err"; then
    mkdir -p "$keep"
    cp "$work/current-$target" "$keep/$target-$seed.input" 2>/dev/null
    tail -n 40 "$work/$target.err"
    echo "fuzz-inprocess: $target FAILED; its input is kept in $keep/$target-$seed.input"
    failed=1
  else
    tail -n 1 "$work/$target.err"
  fi
done
exit $failed
