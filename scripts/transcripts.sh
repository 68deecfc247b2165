#!/bin/bash
# Writes the deterministic outputs of a binary into a directory, with the
# clock columns blanked, so that two builds can be compared with diff -r.
# Usage: scripts/transcripts.sh BINARY OUTDIR
set -e
bin=$(realpath "$1")
out=$(realpath -m "$2")
data=$(realpath "$(dirname "$0")/../tests/data")
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Time and speed columns: the bench report row, perft NPS, UCI time/nps, xboard times.
clocks() {
    sed -E -e 's/^ *[0-9]+( +[0-9]+ +[0-9]+ +[0-9]+) +[0-9]+$/T\1 NPS/' \
        -e 's/^[0-9]+ NPS$/N NPS/' \
        -e 's/ time [0-9]+/ time T/g; s/ nps [0-9]+/ nps N/g; s/ hashfull [0-9]+/ hashfull H/g'
}

"$bin" -bench -fd 8 </dev/null | clocks >"$out/bench8"
"$bin" -bench2 -fd 7 </dev/null | clocks >"$out/bench2-7"
"$bin" -perft -fd 5 </dev/null | clocks >"$out/perft5"
"$bin" -perft -fd 2 -trace </dev/null | clocks >"$out/perft2-trace"
printf '%s\n' 'r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -' >kiwi.epd
"$bin" -perft -fd 4 -lpf kiwi.epd </dev/null | clocks >"$out/perft4-kiwi"
cat >suite.epd <<'SUITE'
r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -
6k1/8/8/8/8/2n5/8/R2QK3 w - -
8/4P1k1/8/8/8/8/8/K7 w - -
7k/5Q2/6K1/8/8/8/8/8 b - -
r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -
8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -
SUITE
"$bin" -ts suite.epd -fd 5 </dev/null | clocks >"$out/suite5"
"$bin" -eval "$data/eval_reference.epd" >"$out/eval-reference"
printf '%s\n' uci isready 'position startpos moves e2e4 e7e5 g1f3' 'go depth 7' \
    'position fen 6k1/p4ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1' 'go depth 5' \
    'position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1' 'go depth 3' ucinewgame \
    'position startpos moves d2d4 d7d5 c2c4' 'go depth 8' 'position startpos' 'go depth 2 searchmoves e2e4' quit |
    "$bin" | clocks >"$out/uci"
printf '%s\n' xboard 'protover 2' new 'sd 5' post e2e4 d2d4 force g8f6 \
    'setboard 6k1/p4ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1' go quit |
    "$bin" | clocks >"$out/xboard"
"$bin" -fd 3 -sp </dev/null 2>&1 | clocks >"$out/selfplay"
printf '%s\n' help e2e4 e9e5 'sd 2' go undo remove displayboard 'st 1' 'level 40 5 0' bogus quit |
    "$bin" -fd 2 2>&1 | clocks >"$out/console"
"$bin" -pev suite.epd </dev/null | clocks >"$out/pev"
"$bin" -mimicstudent suite.epd </dev/null | clocks >"$out/mimic"
"$bin" -h </dev/null >"$out/help"
printf '%s\n' uci 'setoption name Hash value 16' 'setoption name Nonsense value 1' 'setoption name BookSeed value x' \
    'position fen 8/8/8/8/8/8/8/k1K5 w - - 0 1' 'go depth 3' 'position fen 8/8/8 w' 'position startpos moves e2e4 e7e6 x1' \
    'go depth 1' quit | "$bin" | clocks >"$out/uci-options"
printf '%s\n' xboard 'protover 2' 'ping 7' new force e2e4 'edit' '#' 'Ke1' 'Kh8' 'Qd1' '.' 'usermove d1d8' undo remove \
    'setboard 8/8/8' 'result 1-0 {x}' 'ping 8' quit | "$bin" | clocks >"$out/xboard-commands"
