import assert from "node:assert/strict";
import { dirname, join } from "node:path";
import { test } from "node:test";
import { fileURLToPath } from "node:url";
import { Chess, DEFAULT_POSITION, loadOpenings, parseOpening, playEngineMove } from "../lib/referee.mjs";
import { Match, schedule } from "../lib/runner.mjs";
import { summaryJson, summaryText } from "../match.mjs";
import { eloFromScore, matchStats } from "../lib/stats.mjs";

const HERE = dirname(fileURLToPath(import.meta.url));
const START = { fen: DEFAULT_POSITION, moves: [], text: "" };

test("Elo and its 95% margin from W/D/L", () => {
  assert.equal(eloFromScore(0.5), 0);
  assert.ok(Math.abs(eloFromScore(0.75) - 190.85) < 0.01);
  assert.ok(Math.abs(eloFromScore(0.25) + eloFromScore(0.75)) < 1e-9);
  // s = 0.7, per-game variance 0.16: the score interval is 0.7 +/- 1.96 * 0.04,
  // 86.2 to 218.2 Elo. At 50% with no draws: 0.5 +/- 0.098, +/- 69.0 Elo.
  const s = matchStats(60, 20, 20);
  assert.ok(Math.abs(s.score - 0.7) < 1e-12);
  assert.ok(Math.abs(s.elo - 147.19) < 0.01);
  assert.ok(Math.abs(s.margin - 66.01) < 0.01, `margin ${s.margin}`);
  // Draws instead of decisive games at the same score narrow the margin.
  assert.ok(matchStats(25, 50, 25).margin < matchStats(50, 0, 50).margin);
  assert.equal(matchStats(50, 0, 50).elo, 0);
  assert.ok(Math.abs(matchStats(50, 0, 50).margin - 68.99) < 0.01);
  assert.equal(matchStats(4, 0, 0).elo, Infinity);
  assert.equal(matchStats(4, 0, 0).margin, Infinity);
  assert.equal(matchStats(0, 0, 0).score, null);
  assert.equal(matchStats(10, 0, 0).los > 0.99, true);
});

test("engine moves are refereed strictly, openings validated", () => {
  const promo = "8/4P3/8/8/8/8/k7/6K1 w - - 0 1";
  assert.equal(playEngineMove(new Chess(promo), "e7e8"), null, "a promotion needs its piece");
  assert.equal(playEngineMove(new Chess(promo), "e7e8", { queenByDefault: true }).san, "e8=Q", "as xboard reads it");
  assert.equal(playEngineMove(new Chess(), "e2e4", { queenByDefault: true }).san, "e4");
  assert.equal(playEngineMove(new Chess(promo), "e7e8q").san, "e8=Q");
  assert.equal(playEngineMove(new Chess(promo), "e7e8N").san, "e8=N");
  assert.equal(playEngineMove(new Chess(), "Nf3").san, "Nf3");
  assert.equal(playEngineMove(new Chess("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"), "0-0-0").san, "O-O-O");
  for (const bad of ["e2e5", "e7e5", "e2e4q", "a1h8", "", "bestmove", "Ke2", "x".repeat(100)]) assert.equal(playEngineMove(new Chess(), bad), null, bad);

  const book = loadOpenings(join(HERE, "..", "openings.txt"));
  assert.ok(book.length >= 45);
  for (const o of book) assert.ok(o.moves.length >= 6 && o.moves.length <= 10, o.text);
  assert.equal(new Set(book.map((o) => o.moves.join())).size, book.length, "no duplicates");
  assert.deepEqual(parseOpening("1. e4 e5 2. Nf3").moves, ["e2e4", "e7e5", "g1f3"]);
  assert.equal(parseOpening("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1").fen, "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1");
  assert.throws(() => parseOpening("4k3/8/8/8/8/8/8/4K3 w - - 0 1"), /already decided/);
  assert.throws(() => parseOpening("e4 e5 Ke3"), /illegal move "Ke3" after 2 plies/);
  assert.throws(() => parseOpening("f3 e5 g4 Qh4"), /ends the game/);
});

const fake = (name, ...args) => ({ name, cmd: process.execPath, args: [join(HERE, "..", "testing", "fake-engine.mjs"), ...args], proto: args.includes("xboard") ? "xboard" : "uci", options: [] });

async function play(engines, more = {}) {
  const pgn = [];
  const m = new Match(
    { engines, games: 1, concurrency: 1, openings: [START], margin: 0, grace: 5000, startup: 5000, maxPlies: 0, ...more },
    { onPgn: (t) => pgn.push(t) },
  );
  const summary = await m.run();
  return { summary, records: m.records, pgn, stats: Object.fromEntries(summary.engines.map((e) => [e.name, e])) };
}

test("clock: measured per move, lowest before the increment, flag fall loses", async () => {
  // With a 500 ms increment the lowest clock is the first move's, 1000 - 100 less
  // the runner's and the fake's overhead; counted after the increment it would be 1400.
  const { stats, records } = await play([fake("slow", "--sleep", "100"), fake("quick")], { tc: { base: 1000, inc: 500 }, maxPlies: 8 });
  assert.equal(records[0].termination, "adjudication");
  assert.ok(stats.slow.lowestClockMs <= 900 && stats.slow.lowestClockMs > 800, `slow ${stats.slow.lowestClockMs}`);
  assert.ok(stats.quick.lowestClockMs < 1000 && stats.quick.lowestClockMs > 900, `quick ${stats.quick.lowestClockMs}`);

  const late = await play([fake("late", "--sleep", "400"), fake("quick")], { tc: { base: 300, inc: 0 } });
  assert.equal(late.records[0].reason, "White loses on time");
  assert.equal(late.records[0].result, "0-1");
  assert.equal(late.stats.late.timeLosses, 1);
  assert.ok(late.stats.late.lowestClockMs < -50);
  assert.match(late.pgn[0], /\[Termination "time forfeit"\]/);

  // The margin forgives the same overrun.
  const forgiven = await play([fake("late", "--sleep", "400"), fake("quick")], { tc: { base: 300, inc: 0 }, margin: 300, maxPlies: 1 });
  assert.equal(forgiven.stats.late.timeLosses, 0);
});

test("faults: crash (and restart), hang, illegal move", async () => {
  // Crashes on its second search in every process: the second game shows it was restarted.
  const crash = await play([fake("crasher", "--crash-at", "2"), fake("quick")], { tc: { base: 5000, inc: 0 }, games: 2 });
  assert.equal(crash.stats.crasher.crashes, 2);
  assert.deepEqual(crash.records.map((r) => [r.result, r.plies]), [["0-1", 2], ["1-0", 3]]);
  assert.match(crash.records[0].reason, /White's engine crashed: .*exit code 3/);

  const t0 = Date.now();
  // The killed process must not be handed to the next game.
  const hang = await play([fake("quick"), fake("sleeper", "--hang-at", "1")], { tc: { base: 200, inc: 0 }, grace: 300, games: 2 });
  assert.equal(hang.stats.sleeper.hangs, 2);
  assert.equal(hang.stats.sleeper.crashes, 0, "a kill is not a crash");
  assert.deepEqual(hang.records.map((r) => r.termination), ["stalled connection", "stalled connection"]);
  assert.ok(Date.now() - t0 < 5000);

  const bad = await play([fake("quick"), fake("liar", "--illegal-at", "3")], { tc: { base: 5000, inc: 0 } });
  assert.equal(bad.records[0].reason, "Black makes an illegal move: a1h8");
  assert.equal(bad.records[0].plies, 5);
  assert.equal(bad.stats.liar.illegalMoves, 1);
});

test("xboard: features, setboard, usermove, old-style moves", async () => {
  const fen = "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3";
  const { records, pgn, stats } = await play([fake("xa", "--proto", "xboard"), fake("xb", "--proto", "xboard", "--old-style")], {
    tc: { base: 5000, inc: 100 },
    openings: [{ fen, moves: [], text: fen }],
    maxPlies: 12,
    games: 2,
  });
  assert.deepEqual(records.map((r) => r.termination), ["adjudication", "adjudication"]);
  assert.equal(stats.xa.illegalMoves + stats.xb.illegalMoves + stats.xa.hangs + stats.xb.hangs, 0);
  assert.match(pgn[0], /\[FEN "r1bqkbnr\/pppp1ppp\/2n5\/4p3\/4P3\/5N2\/PPPP1PPP\/RNBQKB1R w KQkq - 2 3"\]\n\n3\. /);
  assert.ok(stats.xa.lowestClockMs > 4000, "the features arrive at once: no two-second wait");

  const tc = { base: 5000, inc: 0 };
  const resign = await play([fake("xa", "--proto", "xboard", "--resign-at", "3"), fake("xb", "--proto", "xboard")], { tc });
  assert.deepEqual([resign.records[0].result, resign.records[0].reason, resign.records[0].plies], ["0-1", "White resigns", 4]);
  const refuse = await play([fake("xa", "--proto", "xboard"), fake("xb", "--proto", "xboard", "--refuse-at", "2")], { tc });
  assert.match(refuse.records[0].reason, /^Black refuses a legal move: Illegal move: /);
  assert.equal(refuse.stats.xb.illegalMoves, 1);
});

test("schedule: gauntlet pairings, each opening twice with colours swapped", () => {
  const book = ["a", "b", "c"].map((text) => ({ ...START, text }));
  const games = schedule(3, 4, book);
  assert.deepEqual(
    games.map((g) => [g.white, g.black, g.opening.text]),
    [[0, 1, "a"], [1, 0, "a"], [0, 1, "b"], [1, 0, "b"], [0, 2, "a"], [2, 0, "a"], [0, 2, "b"], [2, 0, "b"]],
  );
  const dealt = (seed) => schedule(2, 6, book, seed).map((g) => g.opening.text).join("");
  assert.equal(dealt(9), dealt(9));
  assert.deepEqual([...new Set(dealt(9))].sort(), ["a", "b", "c"]);
});

test("concurrency: processes reused per slot, every game counted, summary and PGN", async () => {
  const fen = "4k3/8/8/8/8/8/4P3/4K3 b - - 0 40";
  const m = new Match({
    engines: [fake("one"), fake("two")],
    tc: { base: 5000, inc: 0 },
    games: 4,
    concurrency: 2,
    openings: [{ fen, moves: [], text: fen }],
    margin: 0,
    grace: 5000,
    startup: 5000,
    maxPlies: 6,
  });
  const summary = await m.run();
  assert.equal(m.spawnCount, 4, "one process per engine and slot");
  assert.deepEqual(m.records.map((r) => r.round).sort(), [1, 2, 3, 4]);
  assert.equal(summary.averagePlies, 6);
  const p = summary.pairs[0];
  assert.equal(p.wins + p.draws + p.losses, 4);
  const json = summaryJson(summary, { tc: { base: 5000, inc: 0 }, concurrency: 2, margin: 0 }, m.records);
  assert.equal(json.pairs[0].elo, 0);
  assert.equal(json.results.length, 4);
  assert.match(summaryText(summary, { tc: { base: 5000, inc: 0 } }), /Score of one vs two: W 0 D 4 L 0 {2}\[50\.0%\] 4 games/);
  const pgn = m.pgn(m.records[0]);
  assert.match(pgn, /\[SetUp "1"\]\n\[FEN "4k3\/8\/8\/8\/8\/8\/4P3\/4K3 b - - 0 40"\]\n\n40\.\.\. \S+ 41\. /);
  assert.match(pgn, /\{Draw by adjudication: 6 plies\} 1\/2-1\/2\n/);
});
