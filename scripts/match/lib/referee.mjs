// The rules are chess.js's; this file only adapts what engines write.
import { readFileSync } from "node:fs";
import { Chess, DEFAULT_POSITION } from "chess.js";

export { Chess, DEFAULT_POSITION };

const COORD = /^([a-h][1-8])([a-h][1-8])=?([qrbnQRBN])?$/;

// Plays `text` on `chess` if it is a legal move, else returns null and leaves
// the board alone. Coordinate moves are matched exactly: chess.js's lenient
// parser would turn a promotion without its letter into some promotion. With
// `queenByDefault` a promotion without its letter is a queen, as xboard takes
// an xboard engine's move. No
// verbose move list here: it builds two FENs a move and costs milliseconds,
// which would stall the clocks of the other games in the process.
export function playEngineMove(chess, text, { queenByDefault = false } = {}) {
  if (typeof text !== "string" || text.length === 0 || text.length > 16) return null;
  const m = COORD.exec(text);
  if (m) {
    const piece = chess.get(m[1]);
    const promotes = piece && piece.type === "p" && (m[2][1] === "8" || m[2][1] === "1");
    const letter = m[3] ? m[3].toLowerCase() : promotes && queenByDefault ? "q" : undefined;
    if (!piece || piece.color !== chess.turn() || promotes !== Boolean(letter)) return null;
    try {
      return chess.move({ from: m[1], to: m[2], promotion: letter });
    } catch {
      return null;
    }
  }
  const san = text.replace(/^0-0-0/, "O-O-O").replace(/^0-0/, "O-O");
  try {
    return chess.move(san, { strict: false });
  } catch {
    return null;
  }
}

export function uciOf(move) {
  return move.from + move.to + (move.promotion || "");
}

// The game's end by the rules alone, or null while it goes on.
export function ruleResult(chess) {
  if (chess.isCheckmate()) {
    const white = chess.turn() === "b";
    return { result: white ? "1-0" : "0-1", reason: white ? "White mates" : "Black mates", termination: "normal" };
  }
  const draw = (reason) => ({ result: "1/2-1/2", reason, termination: "normal" });
  if (chess.isStalemate()) return draw("Draw by stalemate");
  if (chess.isInsufficientMaterial()) return draw("Draw by insufficient mating material");
  if (chess.isThreefoldRepetition()) return draw("Draw by 3-fold repetition");
  if (chess.isDrawByFiftyMoves()) return draw("Draw by fifty moves rule");
  return null;
}

// One opening a line: a FEN, or moves (SAN or coordinates, move numbers
// allowed) from the initial position. '#' starts a comment.
export function parseOpening(line) {
  const text = line.replace(/#.*/, "").trim();
  if (!text) return null;
  if (text.split(/\s+/)[0].split("/").length === 8) {
    const chess = new Chess();
    try {
      chess.load(text);
    } catch (e) {
      throw new Error(`bad FEN: ${e.message}`);
    }
    if (ruleResult(chess)) throw new Error("the position is already decided");
    return { fen: chess.fen(), moves: [], text };
  }
  const chess = new Chess();
  const moves = [];
  for (const tok of text.split(/\s+/)) {
    const word = tok.replace(/^\d+\.+/, "");
    if (!word || /^\d+\.*$/.test(word)) continue;
    const mv = playEngineMove(chess, word);
    if (!mv) throw new Error(`illegal move "${word}" after ${moves.length} plies`);
    moves.push(uciOf(mv));
  }
  if (ruleResult(chess)) throw new Error("the line ends the game");
  return { fen: DEFAULT_POSITION, moves, text };
}

export function loadOpenings(file) {
  const out = [];
  readFileSync(file, "utf8")
    .split(/\r?\n/)
    .forEach((line, i) => {
      let o;
      try {
        o = parseOpening(line);
      } catch (e) {
        throw new Error(`${file}:${i + 1}: ${e.message}`);
      }
      if (o) out.push(o);
    });
  if (out.length === 0) throw new Error(`${file}: no openings`);
  return out;
}
