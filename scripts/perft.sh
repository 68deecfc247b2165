#!/bin/sh
# Perft from the initial position: prints the engine's report and checks
# the leaf count against the published figure for that depth.
# Usage: scripts/perft.sh BINARY DEPTH
set -e
binary=${1:?usage: perft.sh BINARY DEPTH}
depth=${2:?usage: perft.sh BINARY DEPTH}

case $depth in
  1) expected=20 ;;
  2) expected=400 ;;
  3) expected=8902 ;;
  4) expected=197281 ;;
  5) expected=4865609 ;;
  6) expected=119060324 ;;
  7) expected=3195901860 ;;
  *) expected="" ;;
esac

start=$(date +%s%N)
report=$("$binary" -perft -fd "$depth")
end=$(date +%s%N)
printf '%s\n' "$report"
echo "Wall time: $(( (end - start) / 1000000 )) ms"

leaves=$(printf '%s\n' "$report" | sed -n 's/^\([0-9]*\) Leaf Nodes at Depth = .*/\1/p')
if [ -z "$expected" ]; then
  echo "No reference count for depth $depth"
elif [ "$leaves" = "$expected" ]; then
  echo "Leaf count matches the reference ($expected)"
else
  echo "Leaf count $leaves differs from the reference $expected" >&2
  exit 1
fi
