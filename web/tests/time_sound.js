// The time view in headless Chromium: its control signal, rendered by an OfflineAudioContext,
// holds for each block of frames exactly the "Output" that `qevhost run` prints for the page's
// "Copy as command" line (float32 bits). Each target, rendered with the control held at "Output
// Min" and then at "Output Max", makes the difference it promises: the pitch moves by the range
// in semitones, the loudness and the filter's high frequencies rise; the wavetable's samples are
// qevhost's values mapped to -1..1 at half level. The WAV file holds its header and the render's
// samples. The seed panel's curves are qevhost's values for their seeds; the spread panel's
// figures and histogram are those worked out here from qevhost's values.
//   node time_sound.js PAGE_DIR QEVHOST RANDOM_PLUGIN ARRAY_PLUGIN
'use strict';
const { execFileSync } = require('child_process');
const path = require('path');
const { openPage } = require('./chromium_page.js');

const [pageDir, qevhost, randomPlugin, arrayPlugin] = process.argv.slice(2);
const page = 'file://' + path.resolve(pageDir, 'index.html');

const cases = [
  { hash: '#module=random&Octaves=16&Fade=1&input=-2:20:0.125&view=time&rate=3.7&block=100' +
          '&sr=44100&seconds=1.5', targets: ['pitch', 'loudness', 'cutoff'], wav: true },
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

const hertz = (note) => 440 * Math.pow(2, (note - 69) / 12);

// The frequency of a tone from its rising zero crossings (placed between samples by linear
// interpolation).
function frequencyOf(samples, rate) {
  const crossings = [];
  for (let i = 1; i < samples.length; ++i) {
    if (samples[i - 1] < 0 && samples[i] >= 0) {
      crossings.push(i - 1 + samples[i - 1] / (samples[i - 1] - samples[i]));
    }
  }
  if (crossings.length < 3) return 0;
  return (crossings.length - 1) * rate / (crossings[crossings.length - 1] - crossings[0]);
}
const rms = (samples) => Math.sqrt(samples.reduce((sum, s) => sum + s * s, 0) / samples.length);
// The energy of the first difference: mostly that of the high frequencies.
const highEnergy = (samples) =>
  samples.reduce((sum, s, i) => (i ? sum + (s - samples[i - 1]) ** 2 : sum), 0);

// The target chosen in the page's menu, rendered with the control held at "Output Min" and at
// "Output Max": the frames between 0.1 and 0.6 s, past the fade-in.
async function renderEnds(browser, target) {
  return browser.evaluate(`(async () => {
    const t = document.getElementById('time-target');
    t.value = ${JSON.stringify(target)};
    t.dispatchEvent(new Event('change'));
    const plan = qevExplorer.sound();
    const held = async (value) => {
      const samples = await QevAudio.render(Object.assign({}, plan, { values: [value] }));
      return Array.from(samples.subarray(Math.round(0.1 * plan.sampleRate),
                                         Math.round(0.6 * plan.sampleRate)));
    };
    return { plan: Object.assign({}, plan, { values: Array.from(plan.values) }),
             low: await held(plan.lo), high: await held(plan.hi) };
  })()`);
}

async function checkTarget(browser, target, values) {
  const { plan, low, high } = await renderEnds(browser, target);
  const problems = [];
  // The step sequence drives the pitch of a tone.
  const kind = target === 'sequence' ? 'pitch' : target;
  if (plan.target !== kind) problems.push(`${target}: the sound plays ${plan.target}`);
  if (kind === 'pitch') {
    // The range is swept from half of it below the note to half of it above.
    for (const [samples, semitones] of [[low, -plan.range / 2], [high, plan.range / 2]]) {
      const want = hertz(plan.note + semitones), got = frequencyOf(samples, plan.sampleRate);
      if (!(Math.abs(got / want - 1) < 1e-4)) {
        problems.push(`pitch: ${got.toFixed(2)} Hz, not ${want.toFixed(2)} Hz ` +
                      `(${semitones} semitones from note ${plan.note})`);
      }
    }
  } else if (kind === 'loudness') {
    if (!(rms(high) > 0.1 && rms(high) > 10 * rms(low))) {
      problems.push(`loudness: RMS ${rms(low).toFixed(4)} at the low end, ` +
                    `${rms(high).toFixed(4)} at the high end`);
    }
  } else if (kind === 'cutoff') {
    if (!(highEnergy(high) > 1.5 * highEnergy(low)) || !(rms(low) > 0.01)) {
      problems.push(`cutoff: high-frequency energy ${highEnergy(low).toFixed(3)} at the low ` +
                    `end, ${highEnergy(high).toFixed(3)} at the high end`);
    }
  } else if (kind === 'wave') {
    // One cycle of the note holds every value in turn, mapped from the output range to -1..1,
    // at half level: frames 0.1 to 0.6 s of the sound itself.
    const samples = await browser.evaluate(`(async () => {
      const plan = qevExplorer.sound();
      const samples = await QevAudio.render(plan);
      return Array.from(samples.subarray(Math.round(0.1 * plan.sampleRate),
                                         Math.round(0.6 * plan.sampleRate)));
    })()`);
    const cycle = Math.round(plan.sampleRate / hertz(plan.note));
    const first = Math.round(0.1 * plan.sampleRate);
    const wrong = samples.findIndex((s, k) => {
      const v = values[Math.floor(((first + k) % cycle) * values.length / cycle)];
      const unit = Math.max(-1, Math.min(1, (2 * v - plan.hi - plan.lo) / (plan.hi - plan.lo)));
      return !(Math.abs(s - 0.5 * unit) < 1e-5);
    });
    if (values.length !== plan.values.length) problems.push("wave: not qevhost's values");
    if (wrong >= 0) problems.push(`wave: frame ${first + wrong} is ${samples[wrong]}`);
  }
  return problems;
}

// The WAV file of the sound: a 16-bit mono PCM header, then the render's samples.
async function checkWav(browser) {
  const r = await browser.evaluate(`(async () => {
    const plan = qevExplorer.sound();
    const samples = await QevAudio.render(plan);
    const bytes = new Uint8Array(await QevWav.wavBlob(samples, plan.sampleRate).arrayBuffer());
    return { rate: plan.sampleRate, samples: Array.from(samples), bytes: Array.from(bytes) };
  })()`);
  const view = new DataView(Uint8Array.from(r.bytes).buffer);
  const text = (at) => String.fromCharCode(...r.bytes.slice(at, at + 4));
  const n = r.samples.length;
  const fields = [
    [text(0), 'RIFF'], [view.getUint32(4, true), 36 + 2 * n], [text(8), 'WAVE'],
    [text(12), 'fmt '], [view.getUint32(16, true), 16], [view.getUint16(20, true), 1],
    [view.getUint16(22, true), 1], [view.getUint32(24, true), r.rate],
    [view.getUint32(28, true), 2 * r.rate], [view.getUint16(32, true), 2],
    [view.getUint16(34, true), 16], [text(36), 'data'], [view.getUint32(40, true), 2 * n],
    [r.bytes.length, 44 + 2 * n],
  ];
  const problems = [];
  const bad = fields.findIndex(([got, want]) => got !== want);
  if (bad >= 0) problems.push(`WAV header field ${bad}: ${fields[bad][0]}, not ${fields[bad][1]}`);
  // Each sample the nearest of the 16-bit steps of 1/32767.
  const wrong = r.samples.findIndex((s, i) => r.bytes.length < 46 + 2 * i ||
    !(Math.abs(view.getInt16(44 + 2 * i, true) / 32767 - Math.max(-1, Math.min(1, s))) <=
      0.5 / 32767 + 1e-9));
  if (wrong >= 0) problems.push(`WAV sample ${wrong} is not the render's ${r.samples[wrong]}`);
  if (!r.samples.some((s) => Math.abs(s) > 0.01)) problems.push('WAV: the render is silent');
  return problems;
}

// A figure as the panel prints it: eight significant digits.
const figure = (x) => (Number.isFinite(x) ? String(Number(x.toPrecision(8))) : String(x));

// The spread panel against the figures and histogram worked out here from qevhost's values.
async function checkSpread(browser, c, values, texts) {
  const setting = (name, fallback) => {
    const m = new RegExp('&' + encodeURIComponent(name) + '=([^&]*)').exec(c.hash);
    return Math.fround(m ? Number(m[1]) : fallback);
  };
  const lo = setting('Output Min', 0), hi = setting('Output Max', 1);
  const n = values.length;
  const sorted = [...values].sort((a, b) => a - b);
  const mean = values.reduce((a, v) => a + v, 0) / n;
  const deviation = Math.sqrt(values.reduce((a, v) => a + (v - mean) ** 2, 0) / n);
  const atEnds = values.filter((v) => v === lo || v === hi).length;
  const text = (v) => texts[values.indexOf(v)];
  const expected = [String(n), text(sorted[0]), text(sorted[n - 1]), figure(mean),
                    figure(deviation), `${atEnds} (${(100 * atEnds / n).toFixed(2)} %)`];
  const shown = await browser.evaluate(`[...document.querySelectorAll('#spread dd')]
    .map((d) => d.textContent)`);
  const problems = [];
  if (shown.join('|') !== expected.join('|')) {
    problems.push(`spread: page ${shown.join(', ')}; from qevhost ${expected.join(', ')}`);
  }
  // 32 equal bins from the lower end of the output range to the upper; values at the top end
  // (and any outside the range) go to the last or first bin.
  const { bins, bottom, top } = await browser.evaluate('qevExplorer.spreadBins()');
  const wanted = new Array(32).fill(0);
  for (const v of values) {
    let k = 0;
    while (k < 31 && v >= bottom + (top - bottom) * (k + 1) / 32) ++k;
    wanted[k] += 1;
  }
  if (bottom !== Math.min(lo, hi) || top !== Math.max(lo, hi)) {
    problems.push(`spread: histogram from ${bottom} to ${top}`);
  }
  if (bins.reduce((a, b) => a + b, 0) !== n || bins.join(' ') !== wanted.join(' ')) {
    problems.push(`spread: bins ${bins.join(' ')}; from qevhost ${wanted.join(' ')}`);
  }
  return problems;
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
  for (const target of c.targets) problems.push(...(await checkTarget(browser, target, values)));
  if (c.wav) problems.push(...(await checkWav(browser)));
  problems.push(...(await checkSpread(browser, c, values, texts)));
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
