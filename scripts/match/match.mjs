#!/usr/bin/env node
// Refereed engine matches (UCI and xboard), cutechess-style options.
import { accessSync, appendFileSync, constants, writeFileSync } from "node:fs";
import { hostname } from "node:os";
import { delimiter, dirname, join, resolve } from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import { DEFAULT_POSITION, loadOpenings } from "./lib/referee.mjs";
import { Match } from "./lib/runner.mjs";
import { formatElo, formatMargin, matchStats } from "./lib/stats.mjs";

const HERE = dirname(fileURLToPath(import.meta.url));

export const USAGE = `Usage: node scripts/match/match.mjs -engine ENGINE -engine ENGINE [-engine ...] [options]

Plays engines against each other with chess.js as referee. With more than two
engines, the first one plays a gauntlet against each of the others.

  -engine KEY=VALUE...  one engine: name=NAME cmd=PROGRAM [arg=ARG]...
                        proto=uci|xboard [option.NAME=VALUE]... [tc=BASE+INC]
  -each KEY=VALUE...    the same keys, for every engine
  -games N              games per pairing (default 2)
  -concurrency K        games played at once (default 1); one process per
                        engine and slot, reused across games
  -openings FILE|none   one opening a line: a FEN, or SAN/coordinate moves from
                        the initial position; each is played twice with colours
                        swapped (default: openings.txt beside this script)
  -seed S               deal the openings in a shuffled order (default: file order)
  -maxplies N           adjudicate a draw after N plies (default: off)
  -margin MS            time a side may overrun its clock before losing (default 0)
  -grace MS             past its clock plus margin, a silent engine is killed
                        and recorded as hanging (default 5000)
  -startup MS           limit for the handshake and each new game (default 20000)
  -pgnout FILE          append every game as PGN
  -json FILE            write the summary as JSON
  -log DIR              keep each engine process's transcript (timestamped, in
                        seconds since the start) and its working directory
  -event NAME           PGN Event tag
  -quiet                no line per game

The time control is in seconds, e.g. tc=1+0.01 or tc=60. The clock runs from
writing the go or move line to reading the engine's move; the increment is
added after the move. A move with the clock below -margin loses on time.
An illegal or unparsable move, a crash and a hang lose the game and are
counted as faults per engine.`;

function fail(msg) {
  console.error(`match: ${msg}`);
  process.exit(2);
}

// Absolute, since every engine runs in a working directory of its own.
export function findProgram(cmd) {
  if (cmd.includes("/")) return resolve(cmd);
  const dirs = (process.env.PATH || "").split(delimiter).concat(["/usr/games", "/usr/local/games"]);
  for (const d of dirs) {
    if (!d) continue;
    try {
      accessSync(join(d, cmd), constants.X_OK);
      return join(d, cmd);
    } catch {}
  }
  return null;
}

export function parseTc(text) {
  const m = /^(\d+(?:\.\d+)?)(?:\+(\d+(?:\.\d+)?))?$/.exec(text || "");
  if (!m) return null;
  return { base: Math.round(Number(m[1]) * 1000), inc: Math.round(Number(m[2] || 0) * 1000) };
}

function applyKey(target, word) {
  const eq = word.indexOf("=");
  if (eq < 0) fail(`expected KEY=VALUE, got "${word}"`);
  const key = word.slice(0, eq);
  const value = word.slice(eq + 1);
  if (key.startsWith("option.")) target.options.push([key.slice(7), value]);
  else if (key === "arg") target.args.push(value);
  else if (["name", "cmd", "proto", "tc"].includes(key)) target[key] = value;
  else fail(`unknown engine key "${key}"`);
}

export function parseArgs(argv) {
  const cfg = {
    engines: [],
    games: 2,
    concurrency: 1,
    openingsFile: join(HERE, "openings.txt"),
    margin: 0,
    grace: 5000,
    startup: 20000,
    maxPlies: 0,
  };
  const each = { args: [], options: [] };
  const num = (v, name) => {
    const x = Number(v);
    if (v === undefined || !Number.isFinite(x) || x < 0) fail(`${name} needs a non-negative number`);
    return x;
  };
  for (let i = 0; i < argv.length; i++) {
    const a = argv[i];
    const value = () => {
      if (i + 1 >= argv.length) fail(`${a} needs a value`);
      return argv[++i];
    };
    const keys = (target) => {
      while (i + 1 < argv.length && !argv[i + 1].startsWith("-")) applyKey(target, argv[++i]);
    };
    switch (a) {
      case "-h":
      case "-help":
      case "--help":
        console.log(USAGE);
        process.exit(0);
        break;
      case "-engine": {
        const e = { args: [], options: [] };
        keys(e);
        cfg.engines.push(e);
        break;
      }
      case "-each":
        keys(each);
        break;
      case "-games":
        cfg.games = Math.floor(num(value(), a));
        break;
      case "-concurrency":
        cfg.concurrency = Math.max(1, Math.floor(num(value(), a)));
        break;
      case "-openings":
        cfg.openingsFile = value();
        break;
      case "-seed":
        cfg.seed = Math.floor(num(value(), a));
        break;
      case "-maxplies":
        cfg.maxPlies = Math.floor(num(value(), a));
        break;
      case "-margin":
        cfg.margin = num(value(), a);
        break;
      case "-grace":
        cfg.grace = num(value(), a);
        break;
      case "-startup":
        cfg.startup = num(value(), a);
        break;
      case "-pgnout":
        cfg.pgnout = value();
        break;
      case "-json":
        cfg.json = value();
        break;
      case "-log":
        cfg.logDir = resolve(value());
        break;
      case "-event":
        cfg.event = value();
        break;
      case "-quiet":
        cfg.quiet = true;
        break;
      default:
        fail(`unknown option "${a}" (see --help)`);
    }
  }
  if (cfg.engines.length < 2) fail("needs at least two -engine");
  const names = new Set();
  let tcText;
  cfg.engines = cfg.engines.map((e, i) => {
    const m = {
      name: e.name ?? each.name ?? `engine${i + 1}`,
      cmd: e.cmd ?? each.cmd,
      proto: e.proto ?? each.proto ?? "uci",
      tc: e.tc ?? each.tc,
      args: [...each.args, ...e.args],
      // An engine's own option wins over the same one given with -each.
      options: [...each.options.filter(([k]) => !e.options.some(([k2]) => k2 === k)), ...e.options],
    };
    if (names.has(m.name)) fail(`two engines named "${m.name}"`);
    names.add(m.name);
    if (!m.cmd) fail(`engine ${m.name} has no cmd=`);
    const path = findProgram(m.cmd);
    if (!path) fail(`engine ${m.name}: program "${m.cmd}" not found`);
    m.cmd = path;
    if (!["uci", "xboard"].includes(m.proto)) fail(`engine ${m.name}: proto must be uci or xboard`);
    if (!m.tc) fail(`engine ${m.name} has no tc= (give -each tc=BASE+INC)`);
    if (tcText !== undefined && tcText !== m.tc) fail("all engines must share one time control");
    tcText = m.tc;
    return m;
  });
  cfg.tc = parseTc(tcText);
  if (!cfg.tc || cfg.tc.base + cfg.tc.inc <= 0) fail(`bad time control "${tcText}"`);
  try {
    cfg.openings = cfg.openingsFile === "none" ? [{ fen: DEFAULT_POSITION, moves: [], text: "" }] : loadOpenings(cfg.openingsFile);
  } catch (e) {
    fail(e.message);
  }
  return cfg;
}

const pct = (x) => (x === null ? "n/a" : `${(100 * x).toFixed(1)}%`);
const clockText = (ms) => (ms === null ? "n/a" : `${Math.round(ms)} ms`);

export function summaryText(summary, cfg) {
  const out = [];
  out.push("");
  for (const p of summary.pairs) {
    const s = matchStats(p.wins, p.draws, p.losses);
    out.push(`Score of ${p.engine} vs ${p.opponent}: W ${p.wins} D ${p.draws} L ${p.losses}  [${pct(s.score)}] ${s.games} games`);
    out.push(`Elo difference: ${formatElo(s.elo)} +/- ${formatMargin(s.margin)} (95%), LOS ${pct(s.los)}`);
  }
  out.push("");
  out.push("engine                 games crashes illegal timeloss hangs  lowest clock");
  for (const e of summary.engines) {
    out.push(
      `${e.name.padEnd(22)} ${String(e.games).padStart(5)} ${String(e.crashes).padStart(7)} ${String(e.illegalMoves).padStart(7)} ` +
        `${String(e.timeLosses).padStart(8)} ${String(e.hangs).padStart(5)}  ${clockText(e.lowestClockMs).padStart(12)}`,
    );
  }
  out.push("");
  out.push(`Games ${summary.games}, average plies ${summary.averagePlies.toFixed(1)}, tc ${cfg.tc.base / 1000}+${cfg.tc.inc / 1000}`);
  for (const [reason, count] of Object.entries(summary.terminations).sort((a, b) => b[1] - a[1])) out.push(`  ${String(count).padStart(5)}  ${reason}`);
  return out.join("\n");
}

export function summaryJson(summary, cfg, records) {
  return {
    timeControl: `${cfg.tc.base / 1000}+${cfg.tc.inc / 1000}`,
    seed: cfg.seed ?? null,
    concurrency: cfg.concurrency,
    margin: cfg.margin,
    games: summary.games,
    averagePlies: summary.averagePlies,
    pairs: summary.pairs.map((p) => {
      const s = matchStats(p.wins, p.draws, p.losses);
      const fin = (x) => (x === null || !Number.isFinite(x) ? null : x);
      return { ...p, score: s.score, elo: fin(s.elo), eloMargin: fin(s.margin), los: s.los };
    }),
    engines: summary.engines,
    terminations: summary.terminations,
    results: records.map((r) => ({
      round: r.round,
      white: r.white,
      black: r.black,
      opening: r.opening,
      result: r.result,
      termination: r.termination,
      reason: r.reason,
      plies: r.plies,
      lowestClockMs: r.lowestClockMs,
    })),
  };
}

async function main() {
  const cfg = parseArgs(process.argv.slice(2));
  cfg.site = hostname();
  const total = cfg.games * (cfg.engines.length - 1);
  let done = 0;
  if (cfg.pgnout) writeFileSync(cfg.pgnout, "", { flag: "a" });
  const match = new Match(cfg, {
    onPgn: (text) => cfg.pgnout && appendFileSync(cfg.pgnout, text),
    onGame: (rec, m, g) => {
      done++;
      if (cfg.quiet) return;
      const p = m.pairs[g.opponent - 1];
      console.log(
        `Finished game ${rec.round} (${rec.white} vs ${rec.black}): ${rec.result} {${rec.reason}} ${rec.plies} plies; ` +
          `${done}/${total}, ${m.stats[0].name} vs ${m.stats[g.opponent].name} +${p.wins} =${p.draws} -${p.losses}`,
      );
    },
  });
  let interrupted = false;
  process.on("SIGINT", () => {
    if (interrupted) process.exit(130);
    interrupted = true;
    console.error("match: interrupted, stopping the engines");
    match.abort();
  });
  const summary = await match.run();
  console.log(summaryText(summary, cfg));
  if (cfg.json) writeFileSync(cfg.json, JSON.stringify(summaryJson(summary, cfg, match.records), null, 2) + "\n");
  if (interrupted) process.exit(130);
}

if (import.meta.url === pathToFileURL(process.argv[1] || "").href) {
  main().catch((e) => {
    console.error(`match: ${e.stack || e.message}`);
    process.exit(1);
  });
}
