// The time view in headless Chromium: its control signal, rendered by an OfflineAudioContext,
// holds for each block of frames exactly the "Output" that `qevhost run` prints for the page's
// "Copy as command" line (float32 bits); the sound of every target is finite and peaks at most 1;
// the seed panel's curves are qevhost's values for their seeds; the spread panel's figures are
// those of qevhost's values.
//   node time_sound.js PAGE_DIR QEVHOST RANDOM_PLUGIN ARRAY_PLUGIN
'use strict';
const { execFileSync } = require('child_process');
const path = require('path');
const { openPage } = require('./chromium_page.js');

const [pageDir, qevhost, randomPlugin, arrayPlugin] = process.argv.slice(2);
const page = 'file://' + path.resolve(pageDir, 'index.html');
const { spreadOf, figuresOf } = require(path.resolve(pageDir, 'spread_panel.js'));

const cases = [
  { hash: '#module=random&Octaves=16&Fade=1&input=-2:20:0.125&view=time&rate=3.7&block=100' +
          '&sr=44100&seconds=1.5', targets: ['pitch', 'loudness', 'cutoff'] },
  { hash: '#module=random&Random%20Seed=7&Noise%20Max=0.2&Output%20Min=-10&Output%20Max=10' +
          '&input=0:1:1&view=time&rate=1&block=4096&sr=96000&seconds=2', targets: ['pitch'] },
  { hash: '#module=randomarray&Octaves=3&Fade=0.6&Array%20Size=24&seconds=1',
    targets: ['sequence', 'wave'] },
];

const bits = (v) => new Uint32Array(new Float32Array([v]).buffer)[0];
// `qevhost run` of a command line of the page, as CSV rows of text.
function run(command) {
  const line = command.replace(/^\S*qevhost run (\S+)/, (_, plugin) =>
    `'${qevhost}' run '${plugin.includes('QevNorvane') ? randomPlugin : arrayPlugin}'`);
  const csv = execFileSync('bash', ['-c', line + ' --csv'], { encoding: 'utf8',
                                                             stdio: ['ignore', 'pipe', 'ignore'] });
  return csv.trim().split('\n').map((l) => l.split(','));
}
function quote(text) {
  return "'" + text.replace(/'/g, "'\\''") + "'";
}

async function check(browser, c) {
  const problems = [];
  // Over time the command's input list is written when "Copy as command" is pressed.
  await browser.evaluate('document.getElementById("copy-command").click()');
  const command = await browser.evaluate('document.getElementById("command").textContent');
  const rows = run(command);
  const outputColumn = rows[0].findIndex((h) => h === 'Output' || h === 'Float Out');
  const texts = rows.slice(1).map((r) => r[outputColumn]);
  const values = texts.map((t) => Math.fround(parseFloat(t)));
  if (!c.hash.includes('randomarray')) {
    // The values table: one row per block, Input and Output as qevhost writes them.
    await browser.evaluate('document.querySelector("#values-view summary").click()');
    await browser.waitFor('document.querySelectorAll("#values tbody tr").length > 0');
    const table = await browser.evaluate(`[...document.querySelectorAll('#values tbody tr')]
      .map((r) => [...r.cells].slice(1).map((c) => c.textContent).join(','))`);
    const printed = rows.slice(1).map((r) => r.join(','));
    if (table.join('\n') !== printed.join('\n')) {
      problems.push(`values table: ${table.length} rows, qevhost ${printed.length}; first ` +
                    `"${table[0]}" against "${printed[0]}"`);
    }
    // The inputs: block k gets From + k × rate × block / sample rate, in double, then float.
    const clock = Object.fromEntries(['rate', 'block', 'sr'].map((k) =>
      [k, Number(new RegExp('&' + k + '=([^&]*)').exec(c.hash)[1])]));
    const from = Number(/&input=([^:,&]*)/.exec(c.hash)[1]);
    const wrongInput = rows.slice(1).findIndex((r, k) =>
      bits(parseFloat(r[0])) !== bits(from + k * clock.rate * clock.block / clock.sr));
    if (wrongInput >= 0) problems.push(`block ${wrongInput}: Input ${rows[wrongInput + 1][0]}`);
    // The control signal: every frame holds its block's value, bit for bit.
    const r = await browser.evaluate(`(async () => {
      const plan = qevExplorer.sound();
      const signal = await QevAudio.renderControl(plan);
      return { hold: plan.hold, frames: plan.frames, rate: plan.sampleRate,
               signal: Array.from(signal) };
    })()`);
    const seconds = Number(/seconds=([0-9.]+)/.exec(c.hash)[1]);
    if (r.signal.length !== Math.round(seconds * r.rate)) problems.push('wrong frame count');
    if (Math.ceil(r.signal.length / r.hold) !== values.length) {
      problems.push(`${values.length} blocks from qevhost for ${r.signal.length} frames`);
    }
    const wrong = r.signal.findIndex((v, f) => bits(v) !== bits(values[Math.floor(f / r.hold)]));
    if (wrong >= 0) {
      problems.push(`frame ${wrong} (block ${Math.floor(wrong / r.hold)}) holds ` +
                    `${r.signal[wrong]}, qevhost ${texts[Math.floor(wrong / r.hold)]}`);
    }
  }
  for (const target of c.targets) {
    const peak = await browser.evaluate(`(async () => {
      const t = document.getElementById('time-target');
      t.value = ${JSON.stringify(target)};
      t.dispatchEvent(new Event('change'));
      const samples = await QevAudio.render(qevExplorer.sound());
      let peak = 0;
      for (const s of samples) peak = Number.isFinite(s) ? Math.max(peak, Math.abs(s)) : Infinity;
      return peak;
    })()`);
    if (!(peak <= 1) || peak === 0) problems.push(`${target}: peak ${peak}`);
  }
  // The spread panel against the same figures of qevhost's values.
  const shown = await browser.evaluate(`[...document.querySelectorAll('#spread dd')]
    .map((d) => d.textContent)`);
  const settings = (name, fallback) => {
    const m = new RegExp('&' + encodeURIComponent(name) + '=([^&]*)').exec(c.hash);
    return Math.fround(m ? Number(m[1]) : fallback);
  };
  const text = new Map(values.map((v, i) => [v, texts[i]]));
  const expected = figuresOf(spreadOf(values, settings('Output Min', 0), settings('Output Max', 1)),
                             (v) => text.get(v)).map(([, v]) => v);
  if (shown.join('|') !== expected.join('|')) {
    problems.push(`spread: page ${shown.join(', ')}; qevhost ${expected.join(', ')}`);
  }
  // The seed panel: each curve is qevhost's values for its seed at its inputs.
  const curves = await browser.evaluate(`qevExplorer.seedCurves().map((c) =>
    ({ seed: c.seed, inputs: Array.from(c.inputs), values: Array.from(c.values) }))`);
  if (curves.length !== 12) problems.push(`${curves.length} seeds in the panel`);
  const base = command.replace(/ --input \S+$/, '').replace(/ --set 'Random Seed=[^']*'/, '');
  for (const curve of curves.filter((_, i) => i % 4 === 1)) {
    let line = base + ' --set ' + quote('Random Seed=' + curve.seed);
    if (!c.hash.includes('randomarray')) line += ' --input ' + curve.inputs.join(',');
    const seedRows = run(line).slice(1);
    const differs = curve.values.findIndex((v, i) =>
      bits(v) !== bits(Math.fround(parseFloat(seedRows[i][outputColumn]))));
    if (seedRows.length !== curve.values.length || differs >= 0) {
      problems.push(`seed ${curve.seed}: point ${differs} differs from qevhost`);
    }
  }
  return problems;
}

(async () => {
  let failed = 0;
  for (const c of cases) {
    const browser = await openPage(page + c.hash);
    let problems = [];
    try {
      if (!(await browser.waitFor('document.body.dataset.ready === "1"'))) {
        problems.push('the page never finished drawing');
      } else {
        problems = await check(browser, c);
      }
      const reported = await browser.evaluate('document.getElementById("errors").textContent');
      if (reported) browser.errors.push(reported);
      if (browser.errors.length) problems.push('script errors: ' + browser.errors.join('; '));
    } finally {
      await browser.close();
    }
    console.log(`${problems.length ? 'FAILED' : 'ok'}: ${c.hash}`);
    for (const p of problems) console.log('  ' + p);
    failed += problems.length ? 1 : 0;
  }
  console.log(failed ? `${failed} of ${cases.length} time views differ` :
                       `${cases.length} time views: sound, seeds and spread as qevhost gives them`);
  process.exit(failed ? 1 : 0);
})().catch((e) => {
  console.log('time_sound: ' + e.stack);
  process.exit(1);
});
