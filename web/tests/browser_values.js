// The page in headless Chromium: opened with settings in its address, its "values" table must
// equal what `qevhost run --csv` prints for the same settings, and no script error may occur.
//   node browser_values.js PAGE_DIR QEVHOST RANDOM_PLUGIN ARRAY_PLUGIN
'use strict';
const { execFileSync } = require('child_process');
const path = require('path');
const { openPage } = require('./chromium_page.js');

const [pageDir, qevhost, randomPlugin, arrayPlugin] = process.argv.slice(2);
const page = 'file://' + path.resolve(pageDir, 'index.html');

// sets: what the address carries; passed: what reaches the module (qevhost's --set).
const cases = [
  { module: 'randomarray', sets: [['Random Seed', '7'], ['Scale', '0.37'], ['Offset', '-1.25'],
    ['Octaves', '3'], ['Fade', '0.4'], ['Noise Bias', '0.3'], ['Noise Gain', '0.7'],
    ['Output Min', '-10'], ['Output Max', '10'], ['Array Size', '8']] },
  { module: 'random', sets: [['Octaves', '16'], ['Fade', '1']], input: '-5:5:0.01' },
  // "Update on Click": the page presses once, as qevhost does when nothing has computed yet.
  { module: 'randomarray', sets: [['Mode', '1'], ['Octaves', '16'], ['Fade', '1'],
    ['Array Size', '2048']] },
  // Text that is no number keeps the default; out of range is passed on.
  { module: 'random', sets: [['Fade', 'abc'], ['Noise Max', '5'], ['Random Seed', '1e20']],
    passed: [['Noise Max', '5'], ['Random Seed', '1e20']], input: '0:20:0.125' },
];

// The values table as CSV: one line per row, cells joined by commas.
const tableCsv = `(() => {
  const rows = [...document.querySelectorAll('#values tr')];
  return rows.map((r) => [...r.cells].map((c) => c.textContent).join(',')).join('\\n') + '\\n';
})()`;

(async () => {
  let failed = 0;
  for (const c of cases) {
    const address = page + '#module=' + c.module +
      c.sets.map(([k, v]) => '&' + encodeURIComponent(k) + '=' + encodeURIComponent(v)).join('') +
      (c.input ? '&input=' + c.input : '');
    const args = ['run', c.module === 'random' ? randomPlugin : arrayPlugin, '--csv',
                  ...(c.passed || c.sets).flatMap(([k, v]) => ['--set', k + '=' + v]),
                  ...(c.input ? ['--input', c.input] : [])];
    const expected = execFileSync(qevhost, args, { encoding: 'utf8',
                                                   stdio: ['ignore', 'pipe', 'ignore'] });
    const browser = await openPage(address);
    const problems = [];
    try {
      if (!(await browser.waitFor('document.body.dataset.ready === "1"'))) {
        problems.push('the page never finished drawing');
      }
      // The table is filled when opened.
      await browser.evaluate('document.querySelector("#values-view summary").click()');
      if (!(await browser.waitFor('document.querySelectorAll("#values tr").length > 0'))) {
        problems.push('the values table stayed empty');
      }
      const shown = await browser.evaluate(tableCsv);
      const reported = await browser.evaluate('document.getElementById("errors").textContent');
      if (reported) browser.errors.push(reported);
      if (browser.errors.length) problems.push('script errors: ' + browser.errors.join('; '));
      if (shown !== expected) {
        const a = expected.split('\n'), b = shown.split('\n');
        const i = a.findIndex((line, k) => line !== b[k]);
        problems.push(`values differ from qevhost at line ${i}: "${a[i]}" against "${b[i]}"`);
      }
    } finally {
      await browser.close();
    }
    const rows = expected.trim().split('\n').length - 1;
    console.log(`${problems.length ? 'FAILED' : 'ok'}: ${address.slice(page.length)} ` +
                `(${rows} rows)`);
    for (const p of problems) console.log('  ' + p);
    failed += problems.length ? 1 : 0;
  }
  console.log(failed ? `${failed} of ${cases.length} pages differ` :
                       `${cases.length} pages show qevhost's values`);
  process.exit(failed ? 1 : 0);
})().catch((e) => {
  console.log('browser_values: ' + e.stack);
  process.exit(1);
});
