#!/usr/bin/env node
// A scripted engine for the runner's tests: plays the first legal move,
// optionally late, wrong, or not at all.
//   --proto uci|xboard   --sleep MS   --crash-at N   --hang-at N   --illegal-at N
//   --old-style (xboard: "N. ... move" instead of "move move")
//   --resign-at N, --refuse-at N (xboard: resign, or call the Nth move it is given illegal)
import { createInterface } from "node:readline";
import { Chess } from "chess.js";

const argv = process.argv.slice(2);
const opt = (name, dflt) => {
  const i = argv.indexOf(name);
  return i < 0 ? dflt : argv[i + 1] === undefined || argv[i + 1].startsWith("--") ? true : argv[i + 1];
};
const proto = opt("--proto", "uci");
const sleep = Number(opt("--sleep", 0));
const crashAt = Number(opt("--crash-at", 0));
const hangAt = Number(opt("--hang-at", 0));
const illegalAt = Number(opt("--illegal-at", 0));
const oldStyle = opt("--old-style", false);
const resignAt = Number(opt("--resign-at", 0));
const refuseAt = Number(opt("--refuse-at", 0));
let given = 0;

let chess = new Chess();
let searches = 0;
const say = (s) => process.stdout.write(s + "\n");
const uciMove = (m) => m.from + m.to + (m.promotion || "");
const play = (text) => chess.move(chess.moves({ verbose: true }).find((m) => uciMove(m) === text));

// Resolves with the move text, after the scripted misbehaviour.
async function search() {
  searches++;
  if (searches === crashAt) process.exit(3);
  if (searches === hangAt) return new Promise(() => {});
  if (sleep) await new Promise((r) => setTimeout(r, sleep));
  if (searches === illegalAt) return "a1h8";
  const m = chess.moves({ verbose: true })[0];
  return m ? uciMove(m) : "0000";
}

const rl = createInterface({ input: process.stdin });
let forced = true;
rl.on("line", async (line) => {
  const [cmd, ...rest] = line.trim().split(/\s+/);
  if (proto === "uci") {
    if (cmd === "uci") say("id name Fake\nuciok");
    else if (cmd === "isready") say("readyok");
    else if (cmd === "position") {
      const i = rest.indexOf("moves");
      const head = i < 0 ? rest : rest.slice(0, i);
      chess = head[0] === "fen" ? new Chess(head.slice(1).join(" ")) : new Chess();
      if (i >= 0) rest.slice(i + 1).forEach(play);
    } else if (cmd === "go") say(`bestmove ${await search()}`);
    else if (cmd === "quit") process.exit(0);
    return;
  }
  const answer = async () => {
    if (searches + 1 === resignAt) return say("resign");
    const mv = await search();
    if (mv !== "a1h8") play(mv);
    say(oldStyle ? `${chess.moveNumber()}. ... ${mv}` : `move ${mv}`);
  };
  if (cmd === "protover") say("feature ping=1 setboard=1 usermove=1 done=0\nfeature myname=\"Fake\" done=1");
  else if (cmd === "new") (chess = new Chess()), (forced = false);
  else if (cmd === "force") forced = true;
  else if (cmd === "setboard") chess = new Chess(rest.join(" "));
  else if (cmd === "ping") say(`pong ${rest[0]}`);
  else if (cmd === "go") (forced = false), await answer();
  else if (cmd === "usermove") {
    if (++given === refuseAt) return say(`Illegal move: ${rest[0]}`);
    play(rest[0]);
    if (!forced) await answer();
  } else if (cmd === "quit") process.exit(0);
  else if (!["xboard", "accepted", "easy", "post", "level", "time", "otim", "result"].includes(cmd)) say(`Error (unknown command): ${cmd}`);
});
