'use strict';
// Timing shared by the peers: wall time with process.hrtime.bigint(), one
// warm-up run so that the JIT has compiled the hot path, then the median.
function medianMs(runs, work) {
  work();
  const samples = [];
  for (let i = 0; i < runs; i++) {
    const start = process.hrtime.bigint();
    work();
    samples.push(Number(process.hrtime.bigint() - start) / 1e6);
  }
  samples.sort((a, b) => a - b);
  return samples[Math.floor((samples.length - 1) / 2)];
}

// The peer's package, or a line telling why it is skipped.
function requirePeer(name) {
  try {
    return { module: require(name), version: require(`${name}/package.json`).version };
  } catch (error) {
    console.log(JSON.stringify({ peer: name, skipped: `not installed (${error.code || error.message})` }));
    process.exit(0);
  }
}

module.exports = { medianMs, requirePeer };
