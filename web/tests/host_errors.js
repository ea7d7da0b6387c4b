// The page's host keeps qevhost's array rules: a module that asks for a negative length is
// refused, and the run has no values but the host error; Qev RandomArray itself gives an empty
// array for a negative "Array Size", with no host error, as qevhost prints it.
//   node host_errors.js EXPLORER_DIR FLAWED_SCRIPT QEVHOST ARRAY_PLUGIN
'use strict';
const assert = require('assert');
const { execFileSync } = require('child_process');
const path = require('path');

const [explorerDir, flawedScript, qevhost, arrayPlugin] = process.argv.slice(2);
const ModuleDriver = require(path.resolve(explorerDir, 'module_driver.js'));

async function main() {
  const flawed = new ModuleDriver(await require(path.resolve(flawedScript))());
  flawed.change(flawed.indexOf('Array Size'), -3);
  assert.strictEqual(flawed.run('', 'always'), 0);
  assert.match(flawed.hostError(), /^host error: setEventSize\(-3\) on parameter 4: size refused/);
  assert.strictEqual(flawed.csv(), 'Index,Values\n');
  flawed.change(flawed.indexOf('Array Size'), 3);
  assert.strictEqual(flawed.run('', 'always'), 3);
  assert.strictEqual(flawed.hostError(), '');

  const array = new ModuleDriver(
    await require(path.resolve(explorerDir, 'qev-randomarray.js'))());
  for (const size of ['-3', '-5504']) {
    array.change(array.indexOf('Array Size'), Number(size));
    assert.strictEqual(array.run('', 'never'), 0, size);
    assert.strictEqual(array.hostError(), '', size);
    const host = execFileSync(qevhost, ['run', arrayPlugin, '--csv', '--set', 'Array Size=' + size],
                              { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] });
    assert.strictEqual(array.csv(), host, size);
  }
  console.log('host errors: the page refuses a negative length and shows it; ' +
              'a negative Array Size gives empty arrays');
}

main().catch((e) => {
  console.error('host errors: ' + e.message);
  process.exit(1);
});
