#!/bin/sh
# Benchmark 1 at a fixed depth, summed up in one line for scripts:
#   bench: nodes 3366396 ms 1400 nps 2403000
# (total nodes, the engine's own milliseconds and nodes per second).
# Usage: scripts/bench.sh BINARY [DEPTH]   (depth 11 by default)
set -e
binary=$(realpath "${1:?usage: bench.sh BINARY [DEPTH]}")
depth=${2:-11}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" # match.log goes here
"$binary" -bench -fd "$depth" </dev/null |
    awk '/Time +Interior Nodes/ { getline; print "bench: nodes " $4 " ms " $1 " nps " $5; found = 1 }
         END { if (!found) { print "bench: no report" > "/dev/stderr"; exit 1 } }'
