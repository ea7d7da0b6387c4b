// How long the explorer page takes to follow a slider: in headless Chromium, the heaviest cases
// (Qev RandomArray with "Array Size" 2048, Qev Random over 2048 inputs; 16 octaves, Fade 1), each
// step a change of "Fade" and a full redraw (the module's computation and the plot). Prints the
// median and the slowest tenth over the runs. Chromium is driven over its DevTools pipe, since
// the virtual time of --dump-dom stops the page's clock.
//   node bench/explorer_bench.js build/web/explorer [REDRAWS]
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const page = 'file://' + path.resolve(process.argv[2] || 'build/web/explorer', 'index.html');
const redraws = Math.max(100, Number(process.argv[3] || 200));
const cases = [
  ['Qev RandomArray, Array Size 2048', '#module=randomarray&Octaves=16&Fade=1&Array%20Size=2048'],
  ['Qev Random, 2048 inputs', '#module=random&Octaves=16&Fade=1&input=0:2047:1'],
];

// Runs in the page: `redraws` slider steps between Fade 1 and the float just below it.
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

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'qev-bench-'));
const chromium = spawn('chromium', [
  '--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--user-data-dir=' + profile, '--remote-debugging-pipe', page,
], { stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe'] });

let nextId = 1, buffer = '';
const waiting = new Map();
chromium.stdio[4].on('data', (chunk) => {
  buffer += chunk.toString();
  let end;
  while ((end = buffer.indexOf('\0')) >= 0) {
    const message = JSON.parse(buffer.slice(0, end));
    buffer = buffer.slice(end + 1);
    if (message.id && waiting.has(message.id)) {
      waiting.get(message.id)(message);
      waiting.delete(message.id);
    }
  }
});
function send(method, params, sessionId) {
  const id = nextId++;
  chromium.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + '\0');
  return new Promise((resolve, reject) => waiting.set(id, (m) =>
    (m.error ? reject(new Error(method + ': ' + m.error.message)) : resolve(m.result))));
}
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

(async () => {
  let target;
  for (let i = 0; i < 100 && !target; ++i, await sleep(100)) {
    target = (await send('Target.getTargets')).targetInfos.find((t) => t.type === 'page');
  }
  const { sessionId } = await send('Target.attachToTarget', { targetId: target.targetId,
                                                              flatten: true });
  const evaluate = async (expression) => {
    const r = await send('Runtime.evaluate', { expression, returnByValue: true,
                                               awaitPromise: true }, sessionId);
    if (r.exceptionDetails) throw new Error(r.exceptionDetails.exception.description);
    return r.result.value;
  };
  for (let i = 0; i < 200 && !(await evaluate('!!window.qevExplorer')); ++i) await sleep(100);
  console.log(`explorer redraw (a Fade step: computation and plot), ${redraws} redraws each, ` +
              'headless Chromium:');
  for (const [name, hash] of cases) {
    const r = await evaluate(`(${measure})(${JSON.stringify(hash)}, ${redraws})`);
    console.log(`  ${name}: median ${r.median.toFixed(2)} ms, slowest tenth from ` +
                `${r.slow.toFixed(2)} ms (one frame: 16 ms)`);
  }
})().catch((e) => {
  console.log('explorer_bench: ' + e.message);
  process.exitCode = 1;
}).finally(async () => {
  const exited = new Promise((resolve) => chromium.on('exit', resolve));
  await Promise.race([send('Browser.close').catch(() => {}), sleep(5000)]);
  await Promise.race([exited, sleep(5000)]);
  if (chromium.exitCode === null) chromium.kill();
  fs.rmSync(profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 200 });
});
