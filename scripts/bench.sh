#!/bin/sh
# Runs both benchmarks at a fixed depth and prints their reports.
# Usage: scripts/bench.sh path/to/velkor [depth]
set -e
binary=$(realpath "$1")
depth=${2:-9}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
"$binary" -bench -fd "$depth" </dev/null | sed -n '/^Running benchmark/,$p'
"$binary" -bench2 -fd "$depth" </dev/null | sed -n '/^Running benchmark/,$p'
