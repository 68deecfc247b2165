#!/usr/bin/env node
// Measures Velkor's playing levels against a reference of known strength.
import { execFileSync, spawn } from "node:child_process";
import { appendFileSync, mkdirSync, writeFileSync } from "node:fs";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { findProgram, parseTc } from "./match/match.mjs";
import { DEFAULT_POSITION, loadOpenings } from "./match/lib/referee.mjs";
import { Match } from "./match/lib/runner.mjs";
import { formatElo, formatMargin, matchStats } from "./match/lib/stats.mjs";

const HERE = dirname(fileURLToPath(import.meta.url));

const USAGE = `Usage: node scripts/calibrate-levels.mjs [options]

Plays the engine at each level against a reference and prints, per level:
games, W/D/L, score, Elo difference and the measured Elo (reference Elo plus
the difference), both with their 95% margins. Writes the table as TSV and
the curve (measured Elo against the set level, with the ideal y = x) as PNG.

  --engine PATH        engine under test (default: build/velkor)
  --args "ARGS"        its arguments (default: -uci)
  --proto uci|xboard   its protocol (default: uci)
  --name NAME          its name in the table and PGN (default: Velkor)
  --levels L1,L2,...   the levels to measure (default: 1400,1700,2000)
  --options "N=V ..."  options set per level, {level} replaced by the level
                       (default: "UCI_LimitStrength=true UCI_Elo={level}";
                       "" plays at full strength)
  --reference REF      stockfish (default): stockfish with UCI_LimitStrength
                       and UCI_Elo = the level, clamped to the range its uci
                       output states; or "CMD PROTO ELO [option.N=V]..." for a
                       fixed reference, e.g. "fairymax xboard 1700"
  --stockfish PATH     the stockfish program (default: stockfish on PATH or in
                       /usr/games)
  --games N            games per level (default: 20)
  --tc BASE+INC        time control in seconds (default: 10+0.1)
  --concurrency K      games at once (default: 1)
  --openings FILE      opening lines, or none (default: match/openings.txt)
  --seed S             shuffle the openings
  --maxplies N         adjudicate a draw after N plies (default: off)
  --margin MS          clock overrun tolerated (default: 0)
  --out DIR            levels.tsv, levels.png, one PGN per level
                       (default: calibration)`;

function fail(msg) {
  console.error(`calibrate-levels: ${msg}`);
  process.exit(2);
}

function parseArgs(argv) {
  const o = {
    engine: join(HERE, "..", "build", "velkor"),
    args: "-uci",
    proto: "uci",
    name: "Velkor",
    levels: "1400,1700,2000",
    options: "UCI_LimitStrength=true UCI_Elo={level}",
    reference: "stockfish",
    stockfish: "stockfish",
    games: "20",
    tc: "10+0.1",
    concurrency: "1",
    openings: join(HERE, "match", "openings.txt"),
    maxplies: "0",
    margin: "0",
    out: "calibration",
  };
  for (let i = 0; i < argv.length; i++) {
    const a = argv[i];
    if (a === "-h" || a === "--help") {
      console.log(USAGE);
      process.exit(0);
    }
    const key = a.replace(/^--/, "");
    if (!a.startsWith("--") || !(key in o || key === "seed")) fail(`unknown option "${a}" (see --help)`);
    if (i + 1 >= argv.length) fail(`${a} needs a value`);
    o[key] = argv[++i];
  }
  return o;
}

const words = (s) => s.split(/\s+/).filter(Boolean);

function optionPairs(text, level) {
  return words(text.replaceAll("{level}", String(level))).map((w) => {
    const eq = w.indexOf("=");
    if (eq < 1) fail(`option "${w}" is not NAME=VALUE`);
    return [w.slice(0, eq), w.slice(eq + 1)];
  });
}

// The UCI_Elo range a stockfish states in its uci answer.
function stockfishRange(path) {
  return new Promise((res, rej) => {
    const p = spawn(path, [], { stdio: ["pipe", "pipe", "ignore"] });
    let out = "";
    const timer = setTimeout(() => p.kill("SIGKILL"), 10000);
    p.stdout.on("data", (d) => {
      out += d;
      if (/^uciok/m.test(out)) p.stdin.end("quit\n");
    });
    p.on("error", rej);
    p.on("exit", () => {
      clearTimeout(timer);
      const m = /option name UCI_Elo type spin default \d+ min (\d+) max (\d+)/.exec(out);
      if (!m) rej(new Error(`${path} states no UCI_Elo range`));
      else res({ min: Number(m[1]), max: Number(m[2]) });
    });
    p.stdin.write("uci\n");
  });
}

async function main() {
  const o = parseArgs(process.argv.slice(2));
  const levels = o.levels.split(",").map(Number);
  if (levels.some((l) => !Number.isFinite(l))) fail(`bad level list "${o.levels}"`);
  const tc = parseTc(o.tc);
  if (!tc) fail(`bad time control "${o.tc}"`);
  const engineCmd = findProgram(o.engine);
  if (!engineCmd) fail(`engine "${o.engine}" not found`);
  const openings = o.openings === "none" ? [{ fen: DEFAULT_POSITION, moves: [], text: "" }] : loadOpenings(o.openings);

  let reference;
  if (o.reference === "stockfish") {
    const sf = findProgram(o.stockfish);
    if (!sf) fail(`stockfish "${o.stockfish}" not found`);
    const range = await stockfishRange(sf);
    reference = (level) => {
      const elo = Math.min(range.max, Math.max(range.min, level));
      return {
        elo,
        label: `stockfish UCI_Elo ${elo}`,
        entry: {
          name: `stockfish-${elo}`,
          cmd: sf,
          args: [],
          proto: "uci",
          options: [
            ["UCI_LimitStrength", "true"],
            ["UCI_Elo", String(elo)],
          ],
        },
      };
    };
    console.log(`stockfish ${sf}: UCI_Elo from ${range.min} to ${range.max}`);
  } else {
    const [cmd, proto, eloText, ...rest] = words(o.reference);
    const elo = Number(eloText);
    const path = cmd && findProgram(cmd);
    if (!path || !["uci", "xboard"].includes(proto) || !Number.isFinite(elo)) fail(`bad reference "${o.reference}"`);
    const options = rest.map((w) => {
      const m = /^option\.([^=]+)=(.*)$/.exec(w);
      if (!m) fail(`reference word "${w}" is not option.NAME=VALUE`);
      return [m[1], m[2]];
    });
    const base = cmd.split("/").pop();
    reference = () => ({ elo, label: `${base} (${elo})`, entry: { name: `${base}-${elo}`, cmd: path, args: [], proto, options } });
  }

  const out = resolve(o.out);
  mkdirSync(out, { recursive: true });
  const header = ["level", "reference", "ref_elo", "games", "wins", "draws", "losses", "score_pct", "elo_diff", "elo_margin", "measured_elo", "faults"];
  const rows = [];
  console.log(`${o.name} at ${levels.join(", ")}; ${o.games} games a level at ${o.tc}\n`);
  console.log("level  reference                  games   W/D/L       score   Elo diff          measured Elo      faults");
  for (const level of levels) {
    const ref = reference(level);
    const cand = { name: `${o.name}-${level}`, cmd: engineCmd, args: words(o.args), proto: o.proto, options: optionPairs(o.options, level) };
    const pgnFile = join(out, `level-${level}.pgn`);
    writeFileSync(pgnFile, "");
    const match = new Match(
      {
        engines: [cand, ref.entry],
        tc,
        games: Number(o.games),
        concurrency: Number(o.concurrency),
        openings,
        seed: o.seed === undefined ? undefined : Number(o.seed),
        maxPlies: Number(o.maxplies),
        margin: Number(o.margin),
        grace: 5000,
        startup: 20000,
        event: `${o.name} level ${level}`,
      },
      { onPgn: (t) => appendFileSync(pgnFile, t) },
    );
    const summary = await match.run();
    const p = summary.pairs[0];
    const s = matchStats(p.wins, p.draws, p.losses);
    const e = summary.engines[0];
    const faults = e.crashes + e.illegalMoves + e.timeLosses + e.hangs;
    const row = { level, ref, p, s, measured: ref.elo + s.elo, faults };
    rows.push(row);
    console.log(
      `${String(level).padEnd(6)} ${ref.label.padEnd(26)} ${String(s.games).padStart(5)}   ${`${p.wins}/${p.draws}/${p.losses}`.padEnd(10)} ` +
        `${(100 * s.score).toFixed(1).padStart(5)}%  ${`${formatElo(s.elo)} ± ${formatMargin(s.margin)}`.padEnd(17)} ` +
        `${`${formatElo(row.measured, 0).replace("+", "")} ± ${formatMargin(s.margin, 0)}`.padEnd(17)} ${faults}`,
    );
  }

  const num = (x, d) => (Number.isFinite(x) ? x.toFixed(d) : x > 0 ? "inf" : "-inf");
  const tsv = [header.join("\t")].concat(
    rows.map((r) =>
      [r.level, r.ref.label, r.ref.elo, r.s.games, r.p.wins, r.p.draws, r.p.losses, (100 * r.s.score).toFixed(1), num(r.s.elo, 1), num(r.s.margin, 1), num(r.measured, 0), r.faults].join("\t"),
    ),
  );
  writeFileSync(join(out, "levels.tsv"), tsv.join("\n") + "\n");

  // gnuplot cannot draw an infinite point: a level won or lost outright is
  // left out of the curve and named in the table only.
  const finite = rows.filter((r) => Number.isFinite(r.measured) && Number.isFinite(r.s.margin));
  writeFileSync(join(out, "levels.dat"), finite.map((r) => `${r.level} ${r.measured.toFixed(1)} ${r.s.margin.toFixed(1)}`).join("\n") + "\n");
  const skipped = rows.length - finite.length;
  const lo = Math.min(...levels, ...finite.map((r) => r.measured - r.s.margin)) - 100;
  const hi = Math.max(...levels, ...finite.map((r) => r.measured + r.s.margin)) + 100;
  const plot = [
    "set terminal pngcairo size 900,650 font 'sans,11'",
    `set output '${join(out, "levels.png")}'`,
    `set title "${o.name}: measured Elo against set level (95% error bars), ${o.games} games a level at ${o.tc}${skipped ? `; ${skipped} level(s) with a 0% or 100% score not drawn` : ""}"`,
    "set xlabel 'set level'",
    "set ylabel 'measured Elo'",
    `set xrange [${Math.min(...levels) - 100}:${Math.max(...levels) + 100}]`,
    `set yrange [${Math.floor(lo)}:${Math.ceil(hi)}]`,
    "set grid",
    "set key top left",
    finite.length
      ? `plot '${join(out, "levels.dat")}' using 1:2:3 with yerrorbars pt 7 lc rgb '#1f5fa8' title 'measured', x with lines dt 2 lc rgb '#888888' title 'ideal (y = x)'`
      : "plot x with lines dt 2 lc rgb '#888888' title 'ideal (y = x)'",
  ];
  writeFileSync(join(out, "levels.gp"), plot.join("\n") + "\n");
  try {
    execFileSync("gnuplot", [join(out, "levels.gp")], { stdio: ["ignore", "inherit", "inherit"] });
    console.log(`\nTable: ${join(out, "levels.tsv")}\nCurve: ${join(out, "levels.png")}`);
  } catch (e) {
    console.log(`\nTable: ${join(out, "levels.tsv")}\ngnuplot failed (${e.message}); install gnuplot-nox for the curve`);
  }
}

main().catch((e) => {
  console.error(`calibrate-levels: ${e.stack || e.message}`);
  process.exit(1);
});
