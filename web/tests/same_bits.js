// The WebAssembly modules against the x64 plug-ins through qevhost: for a spread of settings of
// both modules (every parameter at its bounds and at random values, extreme inputs included),
// every value must have the same bits and the CSV the same text; and the rounding of "Integer
// Out" against worked examples.
//   node same_bits.js EXPLORER_DIR QEVHOST RANDOM_PLUGIN ARRAY_PLUGIN
'use strict';
const { execFileSync } = require('child_process');
const path = require('path');

const [explorerDir, qevhost, randomPlugin, arrayPlugin] = process.argv.slice(2);
const ModuleDriver = require(path.resolve(explorerDir, 'module_driver.js'));

// A small fixed generator, so a failure repeats.
let state = 0x2545f491;
function random() {
  state ^= state << 13; state >>>= 0;
  state ^= state >>> 17;
  state ^= state << 5; state >>>= 0;
  return state / 4294967296;
}

// Values for one parameter: its bounds, its default, and random values within the bounds (a
// spread of magnitudes where the range is unbounded).
function valuesFor(p) {
  const values = [p.min, p.max];
  for (let i = 0; i < 2; ++i) {
    if (p.max - p.min <= 4096) {
      values.push(Math.fround(p.min + (p.max - p.min) * random()));
    } else {
      const magnitude = Math.pow(10, -3 + 9 * random());
      const v = Math.fround((random() < 0.5 ? -1 : 1) * magnitude);
      values.push(Math.min(p.max, Math.max(p.min, v)));
    }
  }
  return values;
}

function cases(driver) {
  const list = [[]];
  const settable = driver.params.filter((p) => p.input && p.type !== ModuleDriver.types.kButton &&
                                               p.caption !== 'Input');
  for (const p of settable) {
    const values = p.type === ModuleDriver.types.kListBox ? [0, 1] : valuesFor(p);
    for (const v of values) list.push([[p.index, v]]);
  }
  // Every setting at once, at random, a few times over.
  for (let n = 0; n < 12; ++n) {
    list.push(settable.map((p) => [p.index, p.type === ModuleDriver.types.kListBox ? 0 :
                                   valuesFor(p)[2 + (n % 2)]]));
  }
  return list;
}

const ramps = ['-20:20:0.0625', '-3.4028235e+38,-1e20,-997300.5,-1,-0,0,1e-30,0.5,9973,1e20,' +
               '3.4028235e+38', '0:2047:1'];

let failures = 0, values = 0, runs = 0;
function compare(label, driver, args, csvOfHost) {
  const csvOfPage = driver.csv();
  runs += 1;
  const hostRows = csvOfHost.trim().split('\n').map((l) => l.split(','));
  const pageColumns = driver.columns();
  for (let r = 1; r < hostRows.length; ++r) {
    for (let c = 0; c < pageColumns.length; ++c) {
      values += 1;
      const host = new Float32Array([parseFloat(hostRows[r][c].replace('nan', 'NaN'))]);
      const page = new Float32Array([pageColumns[c].values[r - 1]]);
      const same = new Uint32Array(host.buffer)[0] === new Uint32Array(page.buffer)[0] ||
                   (isNaN(host[0]) && isNaN(page[0]));
      if (!same && failures < 20) {
        console.log(`DIFFERENT BITS: ${label} ${args.join(' ')}: row ${r - 1} ` +
                    `${pageColumns[c].name}: qevhost ${hostRows[r][c]}, page ${page[0]}`);
      }
      if (!same) failures += 1;
    }
  }
  if (csvOfPage !== csvOfHost) {
    failures += 1;
    const a = csvOfHost.split('\n'), b = csvOfPage.split('\n');
    const i = a.findIndex((line, k) => line !== b[k]);
    console.log(`DIFFERENT CSV: ${label} ${args.join(' ')}: line ${i}: qevhost "${a[i]}", ` +
                `page "${b[i]}"`);
  }
}

// Inputs of every magnitude, from random bit patterns, and every power of two (where a float's
// neighbours are unevenly far): the "Input" column then checks the number text of any float
// against qevhost's.
function anyFloats(driver, count) {
  const bits = new Uint32Array(1), value = new Float32Array(bits.buffer);
  const list = [];
  for (let k = -149; k <= 127; ++k) list.push(driver.format(Math.pow(2, k)));
  while (list.length < count) {
    bits[0] = Math.floor(random() * 4294967296);
    if (Number.isFinite(value[0])) list.push(driver.format(value[0]));
  }
  return list.join(',');
}

async function check(file, plugin, label) {
  const driver = new ModuleDriver(await require(path.resolve(explorerDir, file))());
  const everyFloat = driver.arrays ? [] : [anyFloats(driver, 4000)];
  for (const [n, settings] of cases(driver).entries()) {
    const sets = settings.flatMap(([i, v]) =>
      ['--set', `${driver.params[i].caption}=${driver.format(v)}`]);
    for (const ramp of driver.arrays ? [null] : n === 0 ? ramps.concat(everyFloat) : ramps) {
      const args = ['run', plugin, ...sets, '--csv', ...(ramp ? ['--input', ramp] : [])];
      const csv = execFileSync(qevhost, args, { encoding: 'utf8',
                                                stdio: ['ignore', 'pipe', 'ignore'] });
      driver.start();
      for (const [i, v] of settings) driver.change(i, v);
      driver.run(ramp, 'auto');
      compare(label, driver, args.slice(2).map((a) => (a.length > 200 ? '...' : a)), csv);
    }
  }
}

// "Integer Out" against answers written out, not against qevhost: with no octaves every element
// is one value. Noise Max 0.095703125 and Output Max 0.5478515625 make it 0.49999999999999994,
// the largest double below one half, which rounds to 0 (its sign kept when negative).
async function checkRounding() {
  const driver = new ModuleDriver(await require(path.resolve(explorerDir,
                                                             'qev-randomarray.js'))());
  const examples = [
    { noiseMax: 1, outputMax: 5, float: 2.5, integer: 3 },
    { noiseMax: 1, outputMax: -5, float: -2.5, integer: -3 },
    { noiseMax: 1, outputMax: -0.8, float: Math.fround(-0.4), integer: -0 },
    { noiseMax: 0.095703125, outputMax: 0.5478515625, float: 0.5, integer: 0 },
    { noiseMax: 0.095703125, outputMax: -0.5478515625, float: -0.5, integer: -0 },
  ];
  for (const e of examples) {
    driver.start();
    for (const [caption, v] of [['Octaves', 0], ['Noise Max', e.noiseMax],
                                ['Output Max', e.outputMax], ['Array Size', 6]]) {
      driver.change(driver.indexOf(caption), v);
    }
    driver.run(null, 'auto');
    const column = (name) => Array.from(driver.columns().find((c) => c.name === name).values);
    const floats = column('Float Out'), integers = column('Integer Out');
    runs += 1;
    values += 12;
    if (integers.length !== 6 || !integers.every((v) => Object.is(v, e.integer)) ||
        !floats.every((v) => Object.is(v, e.float))) {
      failures += 1;
      console.log(`ROUNDING: Noise Max ${e.noiseMax}, Output Max ${e.outputMax}: Float Out ` +
                  `${floats.join(' ')}, Integer Out ${integers.map((v) => (Object.is(v, -0) ?
                    '-0' : v)).join(' ')}; wanted ${e.float} and ` +
                  `${Object.is(e.integer, -0) ? '-0' : e.integer}`);
    }
  }
}

(async () => {
  await check('qev-random.js', randomPlugin, 'Qev Random');
  await check('qev-randomarray.js', arrayPlugin, 'Qev RandomArray');
  await checkRounding();
  console.log(`${runs} runs, ${values} values compared with qevhost: ` +
              (failures ? `${failures} differ` : 'the same bits'));
  process.exit(failures ? 1 : 0);
})().catch((e) => { console.log(e.stack); process.exit(1); });
