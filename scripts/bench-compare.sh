#!/bin/bash
# Runs benchmark 1 with two binaries in turn (A B A B ...), so that the
# load of a shared machine falls on both alike, and prints every run and
# the ratios B/A of the median times: the wall time of the whole process
# (start-up included) and its processor time (user + system).
# Fails when the node totals differ.
# Usage: scripts/bench-compare.sh A B [DEPTH] [RUNS]   (depth 11, 3 runs each)
set -e
a=$(realpath "${1:?usage: bench-compare.sh A B [DEPTH] [RUNS]}")
b=$(realpath "${2:?usage: bench-compare.sh A B [DEPTH] [RUNS]}")
depth=${3:-11}
runs=${4:-3}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"

# One run: prints "nodes wall_ms cpu_ms engine_ms".
run() {
    local TIMEFORMAT='%3R %3U %3S'
    { time "$1" -bench -fd "$depth" </dev/null >report 2>/dev/null; } 2>times
    read -r real user sys <times
    awk -v real="$real" -v cpu="$user + $sys" '/Time +Interior Nodes/ {
        split(cpu, t, " [+] "); getline; printf "%s %d %d %s\n", $4, real * 1000, (t[1] + t[2]) * 1000, $1 }' report
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf '%-2s %3s %10s %8s %8s %10s\n' "" run nodes wall_ms cpu_ms engine_ms
for i in $(seq 1 "$runs"); do
    for side in A B; do
        bin=$a
        [ "$side" = B ] && bin=$b
        set -- $(run "$bin")
        printf '%-2s %3d %10s %8s %8s %10s\n' "$side" "$i" "$1" "$2" "$3" "$4"
        echo "$1 $2 $3 $4" >>"$side"
    done
done

nodesA=$(cut -d' ' -f1 A | sort -u)
nodesB=$(cut -d' ' -f1 B | sort -u)
for col in 2 3 4; do
    eval "mA$col=$(cut -d' ' -f$col A | median)"
    eval "mB$col=$(cut -d' ' -f$col B | median)"
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b / a }'; }
echo "median wall ms: A $mA2  B $mB2  ratio B/A $(ratio "$mA2" "$mB2")"
echo "median cpu ms:  A $mA3  B $mB3  ratio B/A $(ratio "$mA3" "$mB3")"
echo "median engine ms (search only): A $mA4  B $mB4  ratio B/A $(ratio "$mA4" "$mB4")"
if [ "$nodesA" != "$nodesB" ]; then
    echo "node totals differ: A $nodesA, B $nodesB" >&2
    exit 1
fi
echo "node totals equal: $nodesA"
