#!/bin/sh
# Checks that every include in src/ points down the layers, never up:
#   frontend -> search -> book -> eval, movegen -> board -> core
# and that the front end's rooms keep apart: uci/ and xboard/ never include
# each other, shared/ and batch/ include neither, only app/ names both.
# Prints each offending include as FILE:LINE and exits 1 if there is one.
# Usage: scripts/check-layers.sh [SRC_DIR]
src=${1:-src}
find "$src" -name '*.cpp' -o -name '*.h' | sort | while read -r file; do
    grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" /dev/null
done | awk -v src="$src/" '
# The room of a path below src/: its folder, or frontend/<room>.
function room(path,   parts, n) {
    n = split(path, parts, "/")
    if (n == 1) return "main"
    if (parts[1] == "frontend" && n > 2) return "frontend/" parts[2]
    return parts[1]
}
BEGIN {
    allowed["core"] = "core"
    allowed["board"] = "core board"
    allowed["movegen"] = "core board movegen"
    allowed["eval"] = "core board eval"
    allowed["book"] = "core board movegen book"
    allowed["search"] = "core board movegen eval book search"
    lower = "core board movegen eval book search"
    allowed["frontend/shared"] = lower " frontend/shared"
    allowed["frontend/batch"] = lower " frontend/shared frontend/batch"
    allowed["frontend/uci"] = lower " frontend/shared frontend/uci"
    allowed["frontend/xboard"] = lower " frontend/shared frontend/xboard"
    allowed["frontend/app"] = lower " frontend/shared frontend/batch frontend/uci frontend/xboard frontend/app"
    allowed["main"] = allowed["frontend/app"]
    bad = 0
}
{
    # grep -n with two files: FILE:LINE:TEXT
    colon1 = index($0, ":"); file = substr($0, 1, colon1 - 1); rest = substr($0, colon1 + 1)
    colon2 = index(rest, ":"); line = substr(rest, 1, colon2 - 1); text = substr(rest, colon2 + 1)
    match(text, /"[^"]*"/); target = substr(text, RSTART + 1, RLENGTH - 2)
    if (index(target, "/") == 0) next # a header beside the file
    from = room(substr(file, length(src) + 1)); to = room(target)
    if (!(from in allowed)) { printf "%s:%s: %s is in no known layer\n", file, line, file; bad = 1; next }
    if (index(" " allowed[from] " ", " " to " ") == 0) {
        printf "%s:%s: %s may not include \"%s\" (%s may include only: %s)\n", file, line, from, target, from, allowed[from]
        bad = 1
    }
}
END { exit bad }
'
