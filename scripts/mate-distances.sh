#!/bin/bash
# Searches every position of a mate set one after another in one UCI
# session (the table kept from position to position, as in a game or an
# analysis), each to depth 2N + 4 for its "dm N", and prints per position
# the expected and the shown distance, then a summary: exact, too long,
# too short, no mate shown, and timed out (a search that has not ended after
# MATE_SECONDS, 300 by default, is stopped and not counted as a distance).
# Usage: scripts/mate-distances.sh BINARY [EPD]   (tests/data/mates.epd by default)
set -e
binary=$(realpath "${1:?usage: mate-distances.sh BINARY [EPD]}")
epd=$(realpath "${2:-$(dirname "$0")/../tests/data/mates.epd}")
limit=${MATE_SECONDS:-300} # the longest wait for one position's search
dir=$(mktemp -d)
cd "$dir" # match.log goes here
coproc engine { exec "$binary" -uci 2>/dev/null; }
trap 'kill "$engine_PID" 2>/dev/null; rm -rf "$dir"' EXIT
in=${engine[1]}
out=${engine[0]}

# Reads engine lines until one starts with $1; the last score line seen is left in $score.
await() {
    local line
    while IFS= read -r -t "$limit" line <&"$out"; do
        case $line in
        "$1"*) return 0 ;;
        *" score "*) score=${line#* score } ;;
        esac
    done
    return 1
}

echo uci >&"$in"
await uciok
echo ucinewgame >&"$in"
echo isready >&"$in"
await readyok

exact=0 long=0 short=0 none=0 late=0
printf '%-24s %5s %5s %6s %8s  %s\n' id depth dm shown ms verdict
while IFS= read -r line; do
    [ -z "$line" ] && continue
    fen=$(echo "$line" | awk '{ print $1, $2, $3, $4 }')
    dm=$(echo "$line" | sed -n 's/.*dm \([0-9]*\);.*/\1/p')
    id=$(echo "$line" | sed -n 's/.*id "\([^"]*\)";.*/\1/p')
    [ -z "$dm" ] && continue
    depth=$((2 * dm + 4))
    score=
    started=$(date +%s%N)
    echo "position fen $fen 0 1" >&"$in"
    echo "go depth $depth" >&"$in"
    stopped=
    if ! await bestmove; then
        stopped=1
        echo stop >&"$in"
        if ! await bestmove; then
            echo "$id: no bestmove even after stop" >&2
            exit 1
        fi
    fi
    ms=$((($(date +%s%N) - started) / 1000000))
    shown=-
    case $score in
    "mate "*) shown=${score#mate } && shown=${shown%% *} ;;
    esac
    if [ -n "$stopped" ]; then
        verdict="timed out, stopped"
        late=$((late + 1))
    elif [ "$shown" = - ] || [ "$shown" -le 0 ]; then
        verdict="no mate shown (${score%% pv*})"
        none=$((none + 1))
    elif [ "$shown" -eq "$dm" ]; then
        verdict=exact
        exact=$((exact + 1))
    elif [ "$shown" -gt "$dm" ]; then
        verdict="too long"
        long=$((long + 1))
    else
        verdict="TOO SHORT"
        short=$((short + 1))
    fi
    printf '%-24s %5d %5d %6s %8d  %s\n' "$id" "$depth" "$dm" "$shown" "$ms" "$verdict"
done <"$epd"
echo quit >&"$in"
echo "positions $((exact + long + short + none + late)): exact $exact, too long $long, too short $short," \
    "no mate shown $none, timed out $late"
