#!/usr/bin/env python3
"""The first search of fresh processes, as a match runner sees it.

Each start sends uci and isready, waits for uciok and readyok, then sends
"go depth DEPTH" from the initial position and times it from writing go to
reading bestmove. Prints every start, then the median and the worst.

Usage: scripts/first-search.py BINARY [STARTS] [DEPTH]   (20 starts, depth 6)
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time


def expect(proc, word):
    """Reads lines until one starts with word; the time it came."""
    while True:
        line = proc.stdout.readline()
        if not line:
            sys.exit(f"first-search: the engine ended before '{word}'")
        if line.startswith(word):
            return time.monotonic()


def one_start(binary, depth, workdir):
    proc = subprocess.Popen([binary], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1, cwd=workdir)
    try:
        sent = time.monotonic()
        proc.stdin.write("uci\n")
        proc.stdin.flush()
        uciok = expect(proc, "uciok") - sent
        sent = time.monotonic()
        proc.stdin.write("isready\n")
        proc.stdin.flush()
        readyok = expect(proc, "readyok") - sent
        proc.stdin.write("position startpos\n")
        sent = time.monotonic()
        proc.stdin.write(f"go depth {depth}\n")
        proc.stdin.flush()
        search = expect(proc, "bestmove") - sent
        proc.stdin.write("quit\n")
        proc.stdin.flush()
        proc.wait(timeout=10)
        return uciok * 1000, readyok * 1000, search * 1000
    finally:
        if proc.poll() is None:
            proc.kill()


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    binary = os.path.realpath(sys.argv[1])
    starts = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    depth = int(sys.argv[3]) if len(sys.argv) > 3 else 6
    searches = []
    with tempfile.TemporaryDirectory() as workdir:  # match.log goes there
        for i in range(starts):
            uciok, readyok, search = one_start(binary, depth, workdir)
            searches.append(search)
            print(f"start {i + 1:2}: uciok {uciok:7.1f} ms  readyok {readyok:7.1f} ms  go depth {depth} {search:7.1f} ms")
    print(f"first search: median {statistics.median(searches):.1f} ms, worst {max(searches):.1f} ms over {starts} starts")


if __name__ == "__main__":
    main()
