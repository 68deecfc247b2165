#!/bin/sh
# The layering check on a tree of its own: what it lets through, what it
# reports (file and line), and its exit code.
# Usage: check-layers-test.sh PATH/TO/check-layers.sh
check=${1:?usage: check-layers-test.sh CHECK_SCRIPT}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir -p "$dir/src/core" "$dir/src/board" "$dir/src/search" "$dir/src/book" \
         "$dir/src/frontend/shared" "$dir/src/frontend/uci" "$dir/src/frontend/xboard" "$dir/src/frontend/app"
printf '#include <vector>\n#include "core/Types.h"\n' >"$dir/src/board/Board.h"
printf '#include "board/Board.h"\n#include "book/Book.h"\n' >"$dir/src/search/Search.cpp"
printf '#include "search/Search.h"\n#include "frontend/shared/Game.h"\n' >"$dir/src/frontend/uci/Uci.cpp"
printf '#include "frontend/uci/Uci.h"\n#include "frontend/xboard/Xboard.h"\n' >"$dir/src/frontend/app/Main.cpp"
printf '#include "Local.h"\n' >"$dir/src/frontend/xboard/Xboard.cpp"
"$check" "$dir/src" >"$dir/out" || fail "a clean tree was refused: $(cat "$dir/out")"

# Upward, and across the protocols' rooms.
printf '#include "core/Types.h"\n\n#include "search/Search.h"\n' >"$dir/src/board/Up.cpp"
printf '#include "frontend/uci/Uci.h"\n' >"$dir/src/frontend/xboard/Across.cpp"
printf '  #  include "frontend/xboard/Xboard.h"\n' >"$dir/src/frontend/shared/Both.h"
if "$check" "$dir/src" >"$dir/out"; then fail "offending includes were let through"; fi
grep -q "^$dir/src/board/Up.cpp:3: board may not include \"search/Search.h\"" "$dir/out" || fail "no upward report: $(cat "$dir/out")"
grep -q "^$dir/src/frontend/xboard/Across.cpp:1: " "$dir/out" || fail "no report across rooms: $(cat "$dir/out")"
grep -q "^$dir/src/frontend/shared/Both.h:1: " "$dir/out" || fail "no report for shared/: $(cat "$dir/out")"
[ "$(wc -l <"$dir/out")" -eq 3 ] || fail "expected three reports: $(cat "$dir/out")"
echo "check-layers: ok"
