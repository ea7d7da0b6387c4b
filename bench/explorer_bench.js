// How long the explorer page takes to follow a slider: in headless Chromium, the heaviest cases
// (Qev RandomArray with "Array Size" 2048, Qev Random over 2048 inputs, the time view at 10
// seconds, block 64, 48000 Hz; 16 octaves, Fade 1), each step a change of "Fade" and a full
// redraw (the module's computation, the plot and the spread panel). Then the seed panel alone (twelve
// seeds: each a table rebuilt and its curve computed and drawn). Prints the median and where the
// slowest tenth begins.
//   node bench/explorer_bench.js build/web/explorer [REDRAWS]
'use strict';
const path = require('path');
const { openPage } = require('../web/tests/chromium_page.js');

const page = 'file://' + path.resolve(process.argv[2] || 'build/web/explorer', 'index.html');
const redraws = Math.max(100, Number(process.argv[3] || 200));
const cases = [
  ['Qev RandomArray, Array Size 2048', '#module=randomarray&Octaves=16&Fade=1&Array%20Size=2048'],
  ['Qev Random, 2048 inputs', '#module=random&Octaves=16&Fade=1&input=0:2047:1'],
  ['Qev Random, time view 10 s, block 64, 48000 Hz',
   '#module=random&Octaves=16&Fade=1&view=time&rate=1&block=64&sr=48000&seconds=10'],
];

// Runs in the page: `count` redraws of the seed panel alone.
function measureSeeds(hash, count) {
  window.qevExplorer.load(hash);
  const times = [];
  for (let i = 0; i < count + 10; ++i) {
    const start = performance.now();
    window.qevExplorer.drawPanels();
    const elapsed = performance.now() - start;
    if (i >= 10) times.push(elapsed);
  }
  times.sort((a, b) => a - b);
  return { median: times[times.length >> 1], slow: times[Math.floor(times.length * 0.9)] };
}

// Runs in the page: `count` slider steps between Fade 1 and the float just below it.
function measure(hash, count) {
  window.qevExplorer.load(hash);
  const times = [];
  for (let i = 0; i < count + 10; ++i) {
    const start = performance.now();
    window.qevExplorer.move('Fade', i % 2 ? 0.99999994 : 1);
    const elapsed = performance.now() - start;
    if (i >= 10) times.push(elapsed);  // the first steps warm the engine up
  }
  times.sort((a, b) => a - b);
  return { median: times[times.length >> 1], slow: times[Math.floor(times.length * 0.9)] };
}

(async () => {
  const browser = await openPage(page);
  try {
    if (!(await browser.waitFor('!!window.qevExplorer'))) throw new Error('the page did not start');
    console.log(`explorer redraw (a Fade step: computation, plot, spread), ${redraws} redraws each, ` +
                'headless Chromium:');
    for (const [name, hash] of cases) {
      const r = await browser.evaluate(`(${measure})(${JSON.stringify(hash)}, ${redraws})`);
      console.log(`  ${name}: median ${r.median.toFixed(2)} ms, slowest tenth from ` +
                  `${r.slow.toFixed(2)} ms (one frame: 16 ms)`);
    }
    console.log('seed and spread panels alone (twelve seeds), the heaviest settings:');
    for (const [name, hash] of cases) {
      const r = await browser.evaluate(`(${measureSeeds})(${JSON.stringify(hash)}, ${redraws})`);
      console.log(`  ${name}: median ${r.median.toFixed(2)} ms, slowest tenth from ` +
                  `${r.slow.toFixed(2)} ms (one frame: 16 ms)`);
    }
  } finally {
    await browser.close();
  }
})().catch((e) => {
  console.log('explorer_bench: ' + e.message);
  process.exitCode = 1;
});
