// Engine processes and the two protocols, as a GUI speaks them.
import { spawn } from "node:child_process";

export const now = () => Number(process.hrtime.bigint()) / 1e6; // ms

// Why a wait ended without the line it wanted.
export class EngineFault extends Error {
  constructor(kind, message) {
    super(message);
    this.kind = kind; // "crash" | "hang"
  }
}

export class EngineProcess {
  // entry: { name, cmd, args, cwd }; log: null or a function(line) for the transcript.
  constructor(entry, log, onCrash) {
    this.entry = entry;
    this.log = log || (() => {});
    this.onCrash = onCrash || (() => {});
    this.dead = false;
    this.exitInfo = null;
    this.expectingExit = false;
    this.waiter = null;
    this.queue = [];
    this.partial = "";
  }

  start() {
    const { cmd, args, cwd } = this.entry;
    this.log(`# start ${[cmd, ...args].join(" ")} in ${cwd} at ${new Date().toISOString()}`);
    try {
      this.child = spawn(cmd, args, { cwd, stdio: ["pipe", "pipe", "pipe"] });
    } catch (e) {
      this.markDead(`cannot start: ${e.message}`);
      return;
    }
    this.child.on("error", (e) => this.markDead(`process error: ${e.message}`));
    this.child.on("exit", (code, signal) => this.markDead(signal ? `killed by ${signal}` : `exit code ${code}`));
    this.child.stdin.on("error", () => {}); // EPIPE: the exit event tells the story
    this.child.stdout.on("data", (chunk) => this.onData(chunk, now()));
    let errPartial = "";
    this.child.stderr.on("data", (chunk) => {
      const lines = (errPartial + chunk.toString()).split(/\r?\n/);
      errPartial = lines.pop();
      for (const l of lines) this.log(`! ${l}`);
    });
  }

  onData(chunk, t) {
    const lines = (this.partial + chunk.toString()).split(/\r?\n/);
    this.partial = lines.pop();
    if (this.partial.length > 1 << 20) this.partial = ""; // a runaway line is no move
    for (const raw of lines) {
      this.log(`< ${raw}`);
      this.queue.push({ line: raw.trim(), t });
    }
    if (this.queue.length > 10000) this.queue.splice(0, this.queue.length - 10000);
    this.pump();
  }

  // Lines wait in the queue until a wait consumes them: a burst often holds
  // several answers, and the next wait is set only after the first is read.
  pump() {
    while (this.waiter && this.queue.length) {
      const item = this.queue.shift();
      const w = this.waiter;
      if (w.match(item.line)) {
        this.waiter = null;
        clearTimeout(w.timer);
        w.resolve(item);
      }
    }
  }

  // Forgets what the engine said before, e.g. at the start of a game.
  flush() {
    this.queue.length = 0;
  }

  markDead(why) {
    if (this.dead) return;
    this.dead = true;
    this.exitInfo = why;
    this.log(`# ${why}`);
    if (!this.expectingExit) this.onCrash(why);
    const w = this.waiter;
    if (w) {
      this.waiter = null;
      clearTimeout(w.timer);
      w.reject(new EngineFault("crash", `engine died (${why})`));
    }
  }

  send(text) {
    if (this.dead) throw new EngineFault("crash", `engine is dead (${this.exitInfo})`);
    for (const l of text.split("\n")) this.log(`> ${l}`);
    const t = now();
    this.child.stdin.write(text + "\n");
    return t;
  }

  // Resolves with the first line that `match` accepts; a fault when the
  // engine dies or stays silent for `timeoutMs`.
  waitFor(match, timeoutMs, what) {
    if (this.dead) return Promise.reject(new EngineFault("crash", `engine is dead (${this.exitInfo})`));
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => {
        this.waiter = null;
        this.log(`# no ${what} within ${Math.round(timeoutMs)} ms`);
        reject(new EngineFault("hang", `no ${what} within ${Math.round(timeoutMs)} ms`));
      }, Math.max(0, timeoutMs));
      this.waiter = { match, resolve, reject, timer };
      this.pump();
    });
  }

  // Dead at once, not when the exit event comes: the next game must not
  // pick up a process that is about to vanish.
  kill() {
    this.expectingExit = true;
    if (!this.dead && this.child) this.child.kill("SIGKILL");
    this.markDead("killed by the runner");
  }

  // Asks politely, then kills after a grace period.
  async quit(text, graceMs = 1000) {
    this.expectingExit = true;
    if (this.dead || !this.child) return;
    const exited = new Promise((r) => this.child.once("exit", r));
    try {
      this.send(text);
    } catch {}
    const timer = setTimeout(() => this.kill(), graceMs);
    await exited;
    clearTimeout(timer);
  }
}

// Some engines read a zero clock as "no clock given".
const atLeast1 = (x) => Math.max(1, Math.round(x));

export class UciDriver {
  constructor(proc, entry) {
    this.proc = proc;
    this.entry = entry;
    this.reusable = true;
  }

  async init(timeoutMs) {
    this.proc.send("uci");
    await this.proc.waitFor((l) => l === "uciok", timeoutMs, "uciok");
    for (const [name, value] of this.entry.options) this.proc.send(`setoption name ${name} value ${value}`);
    await this.sync(timeoutMs);
  }

  async sync(timeoutMs) {
    this.proc.send("isready");
    await this.proc.waitFor((l) => l === "readyok", timeoutMs, "readyok");
  }

  async newGame(game, timeoutMs) {
    this.game = game;
    this.proc.flush();
    this.proc.send("ucinewgame");
    await this.sync(timeoutMs);
  }

  // Returns { text, t0, t1 } with the move as the engine wrote it.
  async think(moves, clocks, inc, timeoutMs) {
    const pos = this.game.fen === this.game.startFen ? "startpos" : `fen ${this.game.fen}`;
    const line = moves.length ? `position ${pos} moves ${moves.join(" ")}` : `position ${pos}`;
    const t0 = this.proc.send(
      `${line}\ngo wtime ${atLeast1(clocks.w)} btime ${atLeast1(clocks.b)} winc ${Math.round(inc)} binc ${Math.round(inc)}`,
    );
    const { line: reply, t } = await this.proc.waitFor((l) => /^bestmove(\s|$)/.test(l), timeoutMs, "bestmove");
    return { text: reply.split(/\s+/)[1] || "", t0, t1: t };
  }

  endGame() {}

  quit() {
    return this.proc.quit("quit");
  }
}

// Splits `feature a=1 b="x y" c=2` into pairs.
export function parseFeatures(line) {
  const out = [];
  const re = /(\w+)=("([^"]*)"|\S+)/g;
  let m;
  while ((m = re.exec(line.slice(7))) !== null) out.push([m[1], m[3] !== undefined ? m[3] : m[2]]);
  return out;
}

const XB_MOVE = /^move\s+(\S+)/;
const XB_OLD_MOVE = /^\d+\s*\.\s*\.\.\.\s*(\S+)/;
const XB_RESULT = /^(1-0|0-1|1\/2-1\/2)(\s|$)/;

export class XboardDriver {
  constructor(proc, entry) {
    this.proc = proc;
    this.entry = entry;
    // The protocol's defaults for an engine that says nothing.
    this.features = { ping: "0", setboard: "0", usermove: "0", time: "1", san: "0", reuse: "1", done: "" };
    this.pingId = 0;
  }

  get reusable() {
    return this.features.reuse !== "0";
  }

  async init(timeoutMs) {
    this.proc.send("xboard\nprotover 2");
    // Without done=0 an engine gets the two seconds xboard gives it; done=0
    // asks for as long as it needs, up to the start-up limit.
    const t0 = now();
    let waitedLong = false;
    for (;;) {
      const limit = waitedLong ? timeoutMs : 2000;
      const left = limit - (now() - t0);
      if (left <= 0) break;
      let line;
      try {
        ({ line } = await this.proc.waitFor((l) => l.startsWith("feature "), left, "done=1"));
      } catch (e) {
        if (e.kind === "hang") break;
        throw e;
      }
      const replies = [];
      for (const [k, v] of parseFeatures(line)) {
        this.features[k] = v;
        if (k !== "done") replies.push(`accepted ${k}`);
        if (k === "done" && v === "0") waitedLong = true;
      }
      if (replies.length) this.proc.send(replies.join("\n"));
      if (this.features.done === "1") break;
    }
    for (const [name, value] of this.entry.options) this.proc.send(`option ${name}=${value}`);
    await this.sync(timeoutMs);
  }

  async sync(timeoutMs) {
    if (this.features.ping !== "1") return;
    const id = ++this.pingId;
    this.proc.send(`ping ${id}`);
    await this.proc.waitFor((l) => l === `pong ${id}`, timeoutMs, `pong ${id}`);
  }

  async newGame(game, timeoutMs) {
    this.game = game;
    this.proc.flush();
    this.sent = 0;
    this.started = false;
    const base = game.tc.base / 1000;
    const min = Math.floor(base / 60);
    // A base under a second still needs a non-zero level; time/otim carry the truth.
    const sec = Math.max(min ? 0 : 1, Math.round(base - min * 60));
    const level = `level 0 ${sec ? `${min}:${String(sec).padStart(2, "0")}` : min} ${+(game.tc.inc / 1000).toFixed(3)}`;
    const cmds = ["new", "force", "easy", "post", level];
    if (game.startFen !== game.fen) {
      if (this.features.setboard !== "1") throw new Error(`${this.entry.name} cannot set up a FEN (no setboard feature)`);
      cmds.push(`setboard ${game.fen}`);
    }
    this.proc.send(cmds.join("\n"));
    await this.sync(timeoutMs);
  }

  // Moves the engine has not seen yet, in its notation (SAN when it asks).
  pendingMoves(moves) {
    const sans = this.features.san === "1" ? this.game.sans : null;
    return moves.slice(this.sent).map((uci, i) => {
      const text = sans ? sans[this.sent + i] : uci;
      return this.features.usermove === "1" ? `usermove ${text}` : text;
    });
  }

  async think(moves, clocks, inc, timeoutMs) {
    const mine = this.game.turn === "w" ? clocks.w : clocks.b;
    const theirs = this.game.turn === "w" ? clocks.b : clocks.w;
    const times = this.features.time === "1" ? [`time ${atLeast1(mine / 10)}`, `otim ${atLeast1(theirs / 10)}`] : [];
    const pending = this.pendingMoves(moves);
    let t0;
    if (!this.started) {
      // Still in force mode: catch up on the moves, then go.
      if (pending.length) this.proc.send(pending.join("\n"));
      t0 = this.proc.send([...times, "go"].join("\n"));
      this.started = true;
    } else {
      if (pending.length > 1) this.proc.send(pending.slice(0, -1).join("\n"));
      t0 = this.proc.send([...times, pending[pending.length - 1]].join("\n"));
    }
    const { line, t } = await this.proc.waitFor(
      (l) => XB_MOVE.test(l) || XB_OLD_MOVE.test(l) || /^illegal move/i.test(l) || l === "resign" || XB_RESULT.test(l),
      timeoutMs,
      "move",
    );
    this.sent = moves.length + 1;
    const m = XB_MOVE.exec(line) || XB_OLD_MOVE.exec(line);
    if (m) return { text: m[1], t0, t1: t };
    if (/^illegal move/i.test(line)) return { refused: line, t0, t1: t };
    if (line === "resign") return { resign: line, t0, t1: t };
    // A result claim on its own move: a claim of its own loss is a
    // resignation; other claims wait for the referee, so keep listening.
    const claim = XB_RESULT.exec(line)[1];
    const ownLoss = (claim === "1-0" && this.game.turn === "b") || (claim === "0-1" && this.game.turn === "w");
    if (ownLoss) return { resign: line, t0, t1: t };
    const left = timeoutMs - (t - t0);
    const next = await this.proc.waitFor((l) => XB_MOVE.test(l) || XB_OLD_MOVE.test(l), left, `move after "${line}"`);
    const m2 = XB_MOVE.exec(next.line) || XB_OLD_MOVE.exec(next.line);
    return { text: m2[1], t0, t1: next.t };
  }

  endGame(result, reason) {
    if (!this.proc.dead) this.proc.send(`result ${result} {${reason}}`);
  }

  quit() {
    return this.proc.quit("quit");
  }
}
