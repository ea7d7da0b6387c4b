// The page's seed search against `qevhost seeds`: under node, the page's worker script searches
// shares of each range and the page merges them; in headless Chromium, the page opened with the
// search in its address runs it in its workers and fills the seed panel. Both rankings, seed and
// score as qevhost writes them, must equal qevhost's --csv. Last, the page's time for the speed
// case (Qev Random, 16 octaves, Fade 1, 1,000 values, 10,000 seeds) is reported, not judged.
//   node search_ranking.js PAGE_DIR QEVHOST RANDOM_PLUGIN ARRAY_PLUGIN
'use strict';
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { openPage } = require('./chromium_page.js');

const [pageDir, qevhost, randomPlugin, arrayPlugin] = process.argv.slice(2);
const page = 'file://' + path.resolve(pageDir, 'index.html');
const { merge, shares } = require(path.resolve(pageDir, 'seed_search.js'));
const QevSearchWorker = require(path.resolve(pageDir, 'qev-search-worker.js'));

// sets: the settings; sketch: [[x, y]]; seeds: FROM:TO.
const cases = [
  { module: 'random', sets: [['Octaves', '3'], ['Fade', '0.6']], input: '0:40:0.25',
    want: 'starts=0.3,loops,calm', seeds: '0:1999' },
  { module: 'random', sets: [['Scale', '0.5'], ['Output Min', '-10'], ['Output Max', '10']],
    input: '-3:12:0.5', sketch: [[-3, 5], [2, -8.5], [7.25, 0], [12, 9]], want: 'seldom-ends',
    seeds: '-700:500' },
  { module: 'randomarray', sets: [['Octaves', '16'], ['Fade', '1'], ['Array Size', '64']],
    sketch: [[0, 0.2], [63, 0.8]], want: 'range,rising', seeds: '16777000:16778000' },
];

function qevhostRanking(c, sketchFile) {
  const args = ['seeds', c.module === 'random' ? randomPlugin : arrayPlugin, '--csv',
                '--seeds', c.seeds, ...c.sets.flatMap(([k, v]) => ['--set', k + '=' + v]),
                ...(c.input ? ['--input', c.input] : []), ...(c.want ? ['--want', c.want] : []),
                ...(sketchFile ? ['--like', sketchFile] : [])];
  return execFileSync(qevhost, args, { encoding: 'utf8' });
}

// The worker script as a worker runs it, under node: answers its final list.
function runWorker(job) {
  return new Promise((resolve, reject) => {
    const scope = { postMessage: (m) => (m.error ? reject(new Error(m.error)) :
                                         m.list ? resolve(m.list) : null) };
    global.self = scope;
    QevSearchWorker();
    scope.onmessage({ data: job });
  });
}

async function nodeRanking(c, wasm, driver) {
  driver.start();
  for (const [caption, value] of c.sets) driver.change(driver.indexOf(caption), driver.parse(value));
  driver.run(c.input || '', 'auto');
  const inputs = driver.arrays ? new Float32Array(0) : driver.columns()[0].values;
  const [from, to] = c.seeds.split(':').map(Number);
  const count = driver.searchCount(from, to);
  const job = {
    array: driver.arrays, best: 12, from, to, wants: driver.searchWants(c.want || ''), inputs,
    settings: driver.params.filter((p) => p.input && p.type !== 7 && p.caption !== 'Input')
      .map((p) => [p.caption, driver.value(p.index)]),
    sketch: c.sketch ? c.sketch.map((p) => p.join(',')).join('\n') : '',
  };
  const lists = [];
  for (const [first, last] of shares(count, 3)) {
    lists.push(await runWorker(Object.assign({}, job, { first, last })));
  }
  return csvOf(merge(lists, 12), driver);
}

function csvOf(list, driver) {
  const seedText = (s) => String(Math.round(s));
  return 'Seed,Score\n' + list.map(([s, v]) => seedText(s) + ',' + driver.scoreText(v) + '\n')
    .join('');
}

function addressOf(c) {
  return '#module=' + c.module +
    c.sets.map(([k, v]) => '&' + encodeURIComponent(k) + '=' + encodeURIComponent(v)).join('') +
    (c.input ? '&input=' + c.input : '') + (c.want ? '&want=' + c.want : '') +
    (c.sketch ? '&sketch=' + c.sketch.map((p) => p.join(':')).join(',') : '') +
    '&seeds=' + c.seeds;
}

async function pageRanking(address, driver) {
  const browser = await openPage(page + address);
  try {
    if (!(await browser.waitFor('document.body.dataset.searchSeconds !== undefined', 120))) {
      throw new Error('the search never finished: ' +
                      await browser.evaluate('document.getElementById("search-status").textContent'));
    }
    const found = await browser.evaluate('qevExplorer.found()');
    const labels = await browser.evaluate(`[...document.querySelectorAll('#seeds .seed span')]
      .filter((s) => !s.parentElement.hidden).map((s) => s.textContent)`);
    const seconds = Number(await browser.evaluate('document.body.dataset.searchSeconds'));
    const hash = await browser.evaluate('location.hash');
    if (browser.errors.length) throw new Error('script errors: ' + browser.errors.join('; '));
    return { csv: csvOf(found, driver), labels, seconds, hash };
  } finally {
    await browser.close();
  }
}

(async () => {
  const ModuleDriver = require(path.resolve(pageDir, 'module_driver.js'));
  const drivers = {
    random: new ModuleDriver(await require(path.resolve(pageDir, 'qev-random.js'))()),
    randomarray: new ModuleDriver(await require(path.resolve(pageDir, 'qev-randomarray.js'))()),
  };
  let failed = 0;
  for (const c of cases) {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'qev-search-'));
    const sketchFile = c.sketch ? path.join(dir, 'sketch.csv') : null;
    if (sketchFile) fs.writeFileSync(sketchFile, 'x,y\n' + c.sketch.map((p) => p.join(',')).join('\n'));
    const expected = qevhostRanking(c, sketchFile);
    fs.rmSync(dir, { recursive: true, force: true });
    const driver = drivers[c.module];
    const problems = [];
    const underNode = await nodeRanking(c, null, driver);
    if (underNode !== expected) problems.push('node:\n' + underNode + 'qevhost:\n' + expected);
    const inPage = await pageRanking(addressOf(c), driver);
    if (inPage.csv !== expected) problems.push('Chromium:\n' + inPage.csv + 'qevhost:\n' + expected);
    const rows = expected.trim().split('\n').slice(1);
    if (inPage.labels.length !== rows.length ||
        inPage.labels.some((l, i) => l !== 'Seed ' + rows[i].replace(',', ', score '))) {
      problems.push('seed panel: ' + inPage.labels.join('; '));
    }
    if (inPage.hash !== addressOf(c)) problems.push('address written back: ' + inPage.hash);
    console.log(`${problems.length ? 'FAILED' : 'ok'}: ${addressOf(c)}`);
    for (const p of problems) console.log('  ' + p);
    failed += problems.length ? 1 : 0;
  }
  // A sketch dragged across the plot: what the page then searches equals qevhost's search with
  // the sketch's points, as the address carries them.
  {
    const browser = await openPage(page + '#module=random&Octaves=2&Fade=1&input=0:16:0.125');
    const problems = [];
    try {
      await browser.waitFor('document.body.dataset.ready === "1"');
      await browser.evaluate(`(() => {
        const canvas = document.getElementById('plot');
        const box = canvas.getBoundingClientRect();
        const at = (type, f, g) => canvas.dispatchEvent(new PointerEvent(type, { pointerId: 7,
          bubbles: true, clientX: box.left + box.width * f, clientY: box.top + box.height * g }));
        at('pointerdown', 0.2, 0.8);
        for (let i = 1; i <= 40; ++i) at('pointermove', 0.2 + 0.6 * i / 40, 0.8 - 0.5 * i / 40);
        at('pointerup', 0.8, 0.3);
        document.getElementById('search-to').value = '999';
        document.getElementById('search-start').click();
      })()`);
      if (!(await browser.waitFor('document.body.dataset.searchSeconds !== undefined', 120))) {
        problems.push('the search never finished');
      }
      await browser.waitFor('location.hash.includes("sketch=")');
      const hash = await browser.evaluate('location.hash');
      const found = await browser.evaluate('qevExplorer.found()');
      const sketch = /sketch=([^&]*)/.exec(hash)[1].split(',').map((p) => p.split(':'));
      if (sketch.length < 10) problems.push('a sketch of ' + sketch.length + ' points: ' + hash);
      const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'qev-search-'));
      const file = path.join(dir, 'sketch.csv');
      fs.writeFileSync(file, sketch.map((p) => p.join(',')).join('\n'));
      const expected = qevhostRanking({ module: 'random', sets: [['Octaves', '2'], ['Fade', '1']],
                                        input: '0:16:0.125', seeds: '0:999' }, file);
      fs.rmSync(dir, { recursive: true, force: true });
      const shown = csvOf(found, drivers.random);
      if (shown !== expected) problems.push('Chromium:\n' + shown + 'qevhost:\n' + expected);
      if (browser.errors.length) problems.push('script errors: ' + browser.errors.join('; '));
    } finally {
      await browser.close();
    }
    console.log(`${problems.length ? 'FAILED' : 'ok'}: a sketch dragged across the plot`);
    for (const p of problems) console.log('  ' + p);
    failed += problems.length ? 1 : 0;
  }
  // The speed case, in the page's workers.
  const speed = await pageRanking('#module=random&Octaves=16&Fade=1&input=0:249.75:0.25' +
                                  '&want=range,calm&seeds=1:10000', drivers.random);
  console.log(`the page searched 10000 seeds of 1000 values (16 octaves, Fade 1) in ` +
              `${speed.seconds.toFixed(2)} s (target 4 s; ${os.cpus().length} cores, ` +
              `${os.cpus()[0].model})`);
  console.log(failed ? `${failed} searches differ from qevhost` :
                       `${cases.length + 1} searches rank as qevhost does, under node and in ` +
                       'Chromium');
  process.exit(failed ? 1 : 0);
})().catch((e) => {
  console.log('search_ranking: ' + e.stack);
  process.exit(1);
});
