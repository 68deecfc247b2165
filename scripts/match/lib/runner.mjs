// Plays the games of a match or gauntlet: scheduling, clocks, referee, faults.
import { createWriteStream, mkdirSync, mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { EngineFault, EngineProcess, UciDriver, XboardDriver, now } from "./engine.mjs";
import { Chess, DEFAULT_POSITION, playEngineMove, ruleResult, uciOf } from "./referee.mjs";

const COLOR = { w: "White", b: "Black" };

function shuffled(list, seed) {
  // mulberry32: small, seedable, good enough to deal openings.
  let a = seed >>> 0;
  const rnd = () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  const out = list.slice();
  for (let i = out.length - 1; i > 0; i--) {
    const j = Math.floor(rnd() * (i + 1));
    [out[i], out[j]] = [out[j], out[i]];
  }
  return out;
}

// Game schedule: the first engine against each other one, every opening
// twice with the colours swapped.
export function schedule(engineCount, games, openings, seed) {
  const order = seed === undefined ? openings : shuffled(openings, seed);
  const out = [];
  for (let k = 1; k < engineCount; k++) {
    for (let i = 0; i < games; i++) {
      const first = i % 2 === 0;
      out.push({
        round: out.length + 1,
        white: first ? 0 : k,
        black: first ? k : 0,
        opponent: k,
        openingIndex: Math.floor(i / 2) % order.length,
        opening: order[Math.floor(i / 2) % order.length],
      });
    }
  }
  return out;
}

// config: { engines: [{ name, cmd, args, proto, options }], tc: { base, inc } in ms,
//   games, concurrency, openings, seed, maxPlies, margin, grace, startup (ms),
//   logDir, event, site }
// hooks: { onGame(record, match), onPgn(text) }
export class Match {
  constructor(config, hooks = {}) {
    this.config = config;
    this.hooks = hooks;
    this.epoch = now();
    this.aborted = false;
    this.games = schedule(config.engines.length, config.games, config.openings, config.seed);
    this.records = [];
    this.processes = new Set();
    this.stats = config.engines.map((e) => ({
      name: e.name,
      games: 0,
      crashes: 0,
      illegalMoves: 0,
      timeLosses: 0,
      hangs: 0,
      lowestClockMs: null,
    }));
    this.pairs = config.engines.slice(1).map(() => ({ wins: 0, draws: 0, losses: 0 }));
    if (config.logDir) {
      mkdirSync(config.logDir, { recursive: true });
      this.workDir = config.logDir;
    } else {
      this.workDir = mkdtempSync(join(tmpdir(), "velkor-match-"));
      this.tempWorkDir = true;
    }
    this.spawnCount = 0;
  }

  async run() {
    const { concurrency } = this.config;
    let next = 0;
    const slots = [];
    for (let s = 0; s < Math.max(1, concurrency); s++) {
      const slot = { index: s, players: new Map() };
      slots.push(
        (async () => {
          while (!this.aborted && next < this.games.length) {
            const g = this.games[next++];
            const rec = await this.playGame(slot, g);
            if (rec) this.finishGame(g, rec);
          }
        })(),
      );
    }
    try {
      await Promise.all(slots);
    } finally {
      await Promise.all([...this.processes].map((p) => p.driver.quit()));
      for (const p of this.processes) p.closeLog();
      if (this.tempWorkDir) rmSync(this.workDir, { recursive: true, force: true });
    }
    return this.summary();
  }

  // Stops scheduling, kills every engine; games in progress are dropped.
  abort() {
    this.aborted = true;
    for (const p of this.processes) p.proc.kill();
  }

  async player(slot, idx) {
    let p = slot.players.get(idx);
    if (p && (p.proc.dead || (!p.driver.reusable && p.used))) {
      await p.driver.quit();
      p.closeLog();
      this.processes.delete(p);
      p = null;
    }
    if (p) return p;
    const entry = this.config.engines[idx];
    const tag = `${entry.name.replace(/[^\w.-]/g, "_")}-s${slot.index}`;
    const cwd = join(this.workDir, `wd-${tag}`);
    mkdirSync(cwd, { recursive: true });
    let log = null;
    let closeLog = () => {};
    this.spawnCount++;
    if (this.config.logDir) {
      const stream = createWriteStream(join(this.config.logDir, `${tag}-${this.spawnCount}.log`));
      log = (line) => stream.write(`${((now() - this.epoch) / 1000).toFixed(3)} ${line}\n`);
      closeLog = () => stream.end();
    }
    const st = this.stats[idx];
    const proc = new EngineProcess({ ...entry, cwd }, log, () => {
      if (!this.aborted) st.crashes++;
    });
    const driver = entry.proto === "xboard" ? new XboardDriver(proc, entry) : new UciDriver(proc, entry);
    p = { proc, driver, closeLog, used: false };
    this.processes.add(p);
    slot.players.set(idx, p);
    proc.start();
    try {
      await driver.init(this.config.startup);
    } catch (e) {
      proc.kill(); // a silent engine is not left running
      throw e;
    }
    return p;
  }

  async playGame(slot, g) {
    const { tc, margin, grace, startup, maxPlies, engines } = this.config;
    const idx = { w: g.white, b: g.black };
    const chess = new Chess(g.opening.fen);
    const moves = [];
    const sans = [];
    for (const m of g.opening.moves) {
      const mv = playEngineMove(chess, m);
      moves.push(uciOf(mv));
      sans.push(mv.san);
    }
    const ctx = {
      fen: g.opening.fen,
      startFen: DEFAULT_POSITION,
      tc,
      turn: chess.turn(),
      sans,
    };
    const clocks = { w: tc.base, b: tc.base };
    const lowest = { w: null, b: null };
    const players = {};
    const startedAt = new Date();
    let end = null;

    const fault = (side, e) => {
      const name = COLOR[side];
      if (e.kind === "hang") {
        players[side]?.proc.kill();
        this.stats[idx[side]].hangs++;
        return { loser: side, termination: "stalled connection", reason: `${name} hangs: ${e.message}` };
      }
      return { loser: side, termination: "abandoned", reason: `${name}'s engine crashed: ${e.message}` };
    };

    for (const side of ["w", "b"]) {
      try {
        players[side] = await this.player(slot, idx[side]);
        players[side].used = true;
        players[side].proc.log(`# game ${g.round}: ${engines[g.white].name} vs ${engines[g.black].name}, plays ${COLOR[side]}`);
        await players[side].driver.newGame(ctx, startup);
      } catch (e) {
        if (!(e instanceof EngineFault)) throw e;
        if (this.aborted) return null;
        end = fault(side, e);
        break;
      }
    }

    if (!end) end = ruleResult(chess);
    while (!end) {
      if (maxPlies && moves.length >= maxPlies) {
        end = { result: "1/2-1/2", termination: "adjudication", reason: `Draw by adjudication: ${maxPlies} plies` };
        break;
      }
      const side = chess.turn();
      ctx.turn = side;
      const st = this.stats[idx[side]];
      let r;
      try {
        r = await players[side].driver.think(moves, clocks, tc.inc, clocks[side] + margin + grace);
      } catch (e) {
        if (!(e instanceof EngineFault)) throw e;
        if (this.aborted) return null;
        end = fault(side, e);
        break;
      }
      clocks[side] -= r.t1 - r.t0;
      lowest[side] = lowest[side] === null ? clocks[side] : Math.min(lowest[side], clocks[side]);
      st.lowestClockMs = st.lowestClockMs === null ? clocks[side] : Math.min(st.lowestClockMs, clocks[side]);
      if (clocks[side] < -margin) {
        st.timeLosses++;
        end = { loser: side, termination: "time forfeit", reason: `${COLOR[side]} loses on time` };
        break;
      }
      if (r.resign) {
        end = { loser: side, termination: "normal", reason: `${COLOR[side]} resigns` };
        break;
      }
      if (r.refused) {
        st.illegalMoves++;
        end = { loser: side, termination: "illegal move", reason: `${COLOR[side]} refuses a legal move: ${r.refused}` };
        break;
      }
      const mv = playEngineMove(chess, r.text, { queenByDefault: engines[idx[side]].proto === "xboard" });
      if (!mv) {
        st.illegalMoves++;
        end = { loser: side, termination: "illegal move", reason: `${COLOR[side]} makes an illegal move: ${r.text}` };
        break;
      }
      moves.push(uciOf(mv));
      sans.push(mv.san);
      clocks[side] += tc.inc;
      end = ruleResult(chess);
    }
    if (end.loser) end.result = end.loser === "w" ? "0-1" : "1-0";

    for (const side of ["w", "b"]) {
      const p = players[side];
      if (p && !p.proc.dead) p.driver.endGame(end.result, end.reason);
    }

    return {
      round: g.round,
      white: engines[g.white].name,
      black: engines[g.black].name,
      opening: g.opening.text,
      openingIndex: g.openingIndex,
      fen: g.opening.fen,
      date: startedAt,
      result: end.result,
      termination: end.termination,
      reason: end.reason,
      plies: moves.length,
      lowestClockMs: lowest,
      sans,
    };
  }

  finishGame(g, rec) {
    this.records.push(rec);
    this.stats[g.white].games++;
    this.stats[g.black].games++;
    const pair = this.pairs[g.opponent - 1];
    const firstScore = rec.result === "1/2-1/2" ? 0.5 : (rec.result === "1-0") === (g.white === 0) ? 1 : 0;
    if (firstScore === 1) pair.wins++;
    else if (firstScore === 0) pair.losses++;
    else pair.draws++;
    if (this.hooks.onPgn) this.hooks.onPgn(this.pgn(rec));
    if (this.hooks.onGame) this.hooks.onGame(rec, this, g);
  }

  pgn(rec) {
    const { tc } = this.config;
    const d = rec.date;
    const pad = (n) => String(n).padStart(2, "0");
    const tags = [
      ["Event", this.config.event || "Velkor match"],
      ["Site", this.config.site || "?"],
      ["Date", `${d.getFullYear()}.${pad(d.getMonth() + 1)}.${pad(d.getDate())}`],
      ["Round", String(rec.round)],
      ["White", rec.white],
      ["Black", rec.black],
      ["Result", rec.result],
      ["TimeControl", `${tc.base / 1000}+${tc.inc / 1000}`],
      ["Termination", rec.termination],
    ];
    if (rec.fen !== DEFAULT_POSITION) tags.push(["SetUp", "1"], ["FEN", rec.fen]);
    const fields = rec.fen.split(" ");
    let number = Number(fields[5]) || 1;
    let black = fields[1] === "b";
    const words = [];
    rec.sans.forEach((san, i) => {
      // A move number stays on the line of its move.
      if (!black) words.push(`${number}. ${san}`);
      else if (i === 0) words.push(`${number}... ${san}`);
      else words.push(san);
      if (black) number++;
      black = !black;
    });
    words.push(`{${rec.reason}}`, rec.result);
    const lines = [];
    let line = "";
    for (const w of words) {
      if (line && line.length + 1 + w.length > 79) {
        lines.push(line);
        line = w;
      } else line = line ? `${line} ${w}` : w;
    }
    lines.push(line);
    const esc = (v) => v.replace(/\\/g, "\\\\").replace(/"/g, '\\"');
    return `${tags.map(([k, v]) => `[${k} "${esc(v)}"]`).join("\n")}\n\n${lines.join("\n")}\n\n`;
  }

  summary() {
    const n = this.records.length;
    const plies = this.records.reduce((a, r) => a + r.plies, 0);
    const terminations = {};
    for (const r of this.records) terminations[r.reason] = (terminations[r.reason] || 0) + 1;
    return {
      games: n,
      averagePlies: n ? plies / n : 0,
      engines: this.stats,
      pairs: this.pairs.map((p, i) => ({ engine: this.stats[0].name, opponent: this.stats[i + 1].name, ...p })),
      terminations,
    };
  }
}
