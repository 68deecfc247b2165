#!/usr/bin/env python3
"""Plays velkor against itself through UCI at a fast time control, as a GUI
would: one engine process, "position startpos moves ..." and "go wtime ...
btime ... winc ... binc ..." for every move, with the clocks kept here.

Every "bestmove" is checked against a small independent legal-move
generator; a game ends by mate or stalemate (which must come with
"bestmove 0000"), threefold repetition, the fifty-move rule, bare kings or
the ply limit. Fails on an illegal move, a crash, a silent engine or a
flag fall.

Usage: scripts/uci-selfplay.py BINARY [GAMES] [SECONDS] [INC_MS]
"""
import os
import select
import subprocess
import sys
import time

N, S, E, W = 8, -8, 1, -1
KNIGHT = (17, 15, 10, 6, -6, -10, -15, -17)
KING = (9, 8, 7, 1, -1, -7, -8, -9)
DIAG = (9, 7, -7, -9)
LINE = (8, 1, -1, -8)


def file_of(sq):
    return sq % 8


def step_ok(a, b, king_like):
    # A step must not wrap round the board's edge.
    df = abs(file_of(a) - file_of(b))
    return 0 <= b < 64 and df <= (2 if not king_like else 1)


class Board:
    def __init__(self):
        back = "RNBQKBNR"
        self.sq = [None] * 64
        for f in range(8):
            self.sq[f] = back[f]
            self.sq[8 + f] = "P"
            self.sq[48 + f] = "p"
            self.sq[56 + f] = back[f].lower()
        self.white = True
        self.castling = {"K", "Q", "k", "q"}
        self.ep = None  # square passed by the last double step

    def own(self, p, white):
        return p is not None and p.isupper() == white

    def attacked(self, target, by_white):
        for s in range(64):
            p = self.sq[s]
            if p is None or p.isupper() != by_white:
                continue
            k = p.upper()
            if k == "P":
                d = 8 if by_white else -8
                if target in (s + d + 1, s + d - 1) and abs(file_of(target) - file_of(s)) == 1:
                    return True
            elif k == "N":
                if any(s + d == target and step_ok(s, target, False) for d in KNIGHT):
                    return True
            elif k == "K":
                if any(s + d == target and step_ok(s, target, True) for d in KING):
                    return True
            else:
                dirs = (DIAG if k == "B" else LINE if k == "R" else DIAG + LINE)
                for d in dirs:
                    t = s
                    while True:
                        n = t + d
                        if not step_ok(t, n, True):
                            break
                        if n == target:
                            return True
                        if self.sq[n] is not None:
                            break
                        t = n
        return False

    def pseudo(self):
        out = []
        w = self.white
        for s in range(64):
            p = self.sq[s]
            if not self.own(p, w):
                continue
            k = p.upper()
            if k == "P":
                d = 8 if w else -8
                last = (lambda t: t >= 56) if w else (lambda t: t < 8)
                start = (lambda s_: 8 <= s_ < 16) if w else (lambda s_: 48 <= s_ < 56)
                t = s + d
                if 0 <= t < 64 and self.sq[t] is None:
                    out += [(s, t, q) for q in ("qrbn" if last(t) else [None])]
                    if start(s) and self.sq[t + d] is None:
                        out.append((s, t + d, None))
                for c in (d + 1, d - 1):
                    t = s + c
                    if not (0 <= t < 64) or abs(file_of(t) - file_of(s)) != 1:
                        continue
                    if (self.sq[t] is not None and not self.own(self.sq[t], w)) or t == self.ep:
                        out += [(s, t, q) for q in ("qrbn" if last(t) else [None])]
            elif k in "NK":
                for d in KNIGHT if k == "N" else KING:
                    t = s + d
                    if step_ok(s, t, k == "K") and not self.own(self.sq[t], w):
                        out.append((s, t, None))
            else:
                for d in (DIAG if k == "B" else LINE if k == "R" else DIAG + LINE):
                    t = s
                    while True:
                        n = t + d
                        if not step_ok(t, n, True) or self.own(self.sq[n], w):
                            break
                        out.append((s, n, None))
                        if self.sq[n] is not None:
                            break
                        t = n
        home = 4 if w else 60
        if self.sq[home] == ("K" if w else "k") and not self.attacked(home, not w):
            rook = "R" if w else "r"
            if ("K" if w else "k") in self.castling and self.sq[home + 3] == rook and \
                    self.sq[home + 1] is None and self.sq[home + 2] is None and \
                    not self.attacked(home + 1, not w):
                out.append((home, home + 2, None))
            if ("Q" if w else "q") in self.castling and self.sq[home - 4] == rook and \
                    self.sq[home - 1] is None and self.sq[home - 2] is None and \
                    self.sq[home - 3] is None and not self.attacked(home - 1, not w):
                out.append((home, home - 2, None))
        return out

    def play(self, m):
        s, t, q = m
        p = self.sq[s]
        k = p.upper()
        if k == "P" and t == self.ep:
            self.sq[t - 8 if self.white else t + 8] = None
        self.ep = (s + t) // 2 if k == "P" and abs(t - s) == 16 else None
        if k == "K" and abs(t - s) == 2:
            rook_from, rook_to = (s + 3, s + 1) if t > s else (s - 4, s - 1)
            self.sq[rook_to], self.sq[rook_from] = self.sq[rook_from], None
        self.sq[t], self.sq[s] = p, None
        if q:
            self.sq[t] = q.upper() if self.white else q
        for sq_, right in ((4, "KQ"), (60, "kq"), (0, "Q"), (7, "K"), (56, "q"), (63, "k")):
            if s == sq_ or t == sq_:
                self.castling -= set(right)
        self.white = not self.white

    def legal(self):
        result = []
        for m in self.pseudo():
            b = Board.__new__(Board)
            b.sq, b.white, b.castling, b.ep = self.sq[:], self.white, set(self.castling), self.ep
            b.play(m)
            king = b.sq.index("K" if self.white else "k")
            if not b.attacked(king, not self.white):
                result.append(m)
        return result

    def key(self):
        return "".join(p or "." for p in self.sq) + str(self.white) + "".join(sorted(self.castling))


def name(m):
    s, t, q = m
    text = "abcdefgh"[s % 8] + str(s // 8 + 1) + "abcdefgh"[t % 8] + str(t // 8 + 1)
    return text + (q or "")


class Engine:
    def __init__(self, binary):
        self.p = subprocess.Popen([binary], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
        self.pending = b""

    def send(self, line):
        self.p.stdin.write(line + "\n")
        self.p.stdin.flush()

    def expect(self, prefix, timeout):
        deadline = time.time() + timeout
        fd = self.p.stdout.fileno()
        while True:
            while b"\n" in self.pending:
                line, self.pending = self.pending.split(b"\n", 1)
                if line.startswith(prefix.encode()):
                    return line.decode()
            left = deadline - time.time()
            if left <= 0 or not select.select([fd], [], [], left)[0]:
                raise RuntimeError("no '%s' within %.1f s" % (prefix, timeout))
            chunk = os.read(fd, 65536)
            if not chunk:
                raise RuntimeError("engine ended (exit %s)" % self.p.poll())
            self.pending += chunk


def play_game(binary, seconds, inc_ms, max_plies=400):
    engine = Engine(binary)
    engine.send("uci")
    engine.expect("uciok", 5)
    engine.send("ucinewgame")
    engine.send("isready")
    engine.expect("readyok", 5)
    board, moves, seen, quiet = Board(), [], {}, 0
    clock = [seconds * 1000, seconds * 1000]
    for ply in range(max_plies):
        seen[board.key()] = seen.get(board.key(), 0) + 1
        if seen[board.key()] == 3:
            result = "draw by repetition"
            break
        if quiet >= 100:
            result = "draw by fifty moves"
            break
        if all(p is None or p.upper() == "K" for p in board.sq):
            result = "draw, bare kings"
            break
        engine.send("position startpos" + (" moves " + " ".join(moves) if moves else ""))
        side = 0 if board.white else 1
        engine.send("go wtime %d btime %d winc %d binc %d" % (clock[0], clock[1], inc_ms, inc_ms))
        start = time.time()
        line = engine.expect("bestmove", clock[side] / 1000 + 5)
        used = int((time.time() - start) * 1000)
        clock[side] += inc_ms - used
        if clock[side] < 0:
            raise RuntimeError("flag fall at ply %d (%d ms)" % (ply, clock[side]))
        text = line.split()[1]
        legal = board.legal()
        if text == "0000":
            if legal:
                raise RuntimeError("bestmove 0000 with legal moves at ply %d" % ply)
            in_check = board.attacked(board.sq.index("K" if board.white else "k"), not board.white)
            result = ("0-1" if board.white else "1-0") + " mate" if in_check else "stalemate"
            break
        match = [m for m in legal if name(m) == text]
        if not match:
            raise RuntimeError("illegal move %s at ply %d after: %s" % (text, ply, " ".join(moves)))
        m = match[0]
        quiet = 0 if board.sq[m[0]].upper() == "P" or board.sq[m[1]] is not None else quiet + 1
        board.play(m)
        moves.append(text)
    else:
        result = "ply limit"
    engine.send("quit")
    engine.p.wait(timeout=5)
    return result, len(moves), engine.p.returncode


def main():
    binary = sys.argv[1]
    games = int(sys.argv[2]) if len(sys.argv) > 2 else 2
    seconds = float(sys.argv[3]) if len(sys.argv) > 3 else 10
    inc_ms = int(sys.argv[4]) if len(sys.argv) > 4 else 100
    for g in range(games):
        result, plies, code = play_game(binary, seconds, inc_ms)
        print("game %d: %s after %d plies, exit code %d" % (g + 1, result, plies, code))
        if code != 0:
            sys.exit(1)


if __name__ == "__main__":
    main()
