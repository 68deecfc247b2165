// Score, Elo difference and its error margin from a W/D/L count.
//
// Logistic model: a score s corresponds to an Elo difference of
// -400 log10(1/s - 1). The error comes from the trinomial distribution of
// one game's outcome (1, 1/2, 0), so draws narrow the margin as they should.

const Z95 = 1.959963984540054;

export function eloFromScore(s) {
  if (s <= 0) return -Infinity;
  if (s >= 1) return Infinity;
  return 400 * Math.log10(s / (1 - s));
}

// Every figure is from the side whose wins are counted in `w`.
export function matchStats(w, d, l) {
  const n = w + d + l;
  if (n === 0) return { games: 0, score: null, elo: null, margin: null, los: null };
  const s = (w + d / 2) / n;
  const variance = (w * (1 - s) ** 2 + d * (0.5 - s) ** 2 + l * s ** 2) / n;
  const dev = Z95 * Math.sqrt(variance / n);
  // Half the width of the interval mapped through the Elo curve: it is not
  // symmetric around the point estimate, so take the mean of both sides.
  const margin = s <= 0 || s >= 1 ? Infinity : (eloFromScore(s + dev) - eloFromScore(s - dev)) / 2;
  return { games: n, score: s, elo: eloFromScore(s), margin, los: likelihoodOfSuperiority(w, l) };
}

// Probability that the side is the stronger one; draws carry no information.
export function likelihoodOfSuperiority(w, l) {
  if (w + l === 0) return 0.5;
  return 0.5 * (1 + erf((w - l) / Math.sqrt(2 * (w + l))));
}

// Abramowitz and Stegun 7.1.26, good to 1.5e-7, plenty for a percentage.
function erf(x) {
  const sign = x < 0 ? -1 : 1;
  const a = Math.abs(x);
  const t = 1 / (1 + 0.3275911 * a);
  const y =
    1 - ((((1.061405429 * t - 1.453152027) * t + 1.421413741) * t - 0.284496736) * t + 0.254829592) * t * Math.exp(-a * a);
  return sign * y;
}

export function formatElo(x, digits = 1) {
  if (x === null || x === undefined || Number.isNaN(x)) return "n/a";
  if (!Number.isFinite(x)) return x > 0 ? "+inf" : "-inf";
  return (x >= 0 ? "+" : "") + x.toFixed(digits);
}

export function formatMargin(x, digits = 1) {
  if (x === null || x === undefined || Number.isNaN(x)) return "n/a";
  if (!Number.isFinite(x)) return "inf";
  return x.toFixed(digits);
}
