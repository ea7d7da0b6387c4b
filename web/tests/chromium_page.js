// Headless Chromium driven over its DevTools pipe: opens a page, evaluates script in it, and
// collects every uncaught script error and console error. (The virtual time of --dump-dom runs
// ahead while the page compiles its WebAssembly off the main thread, and stops the page's clock.)
'use strict';
const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function openPage(url, { width = 1280, height = 900 } = {}) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'qev-chromium-'));
  const chromium = spawn('chromium', [
    '--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync',
    '--disable-dev-shm-usage', '--hide-scrollbars', `--window-size=${width},${height}`,
    '--user-data-dir=' + profile,
    '--remote-debugging-pipe', 'about:blank',
  ], { stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe'] });
  const exited = new Promise((resolve) => chromium.on('exit', resolve));

  let nextId = 1, buffer = '';
  const waiting = new Map();
  const errors = [];
  chromium.stdio[4].on('data', (chunk) => {
    buffer += chunk.toString();
    let end;
    while ((end = buffer.indexOf('\0')) >= 0) {
      const message = JSON.parse(buffer.slice(0, end));
      buffer = buffer.slice(end + 1);
      if (message.id && waiting.has(message.id)) {
        waiting.get(message.id)(message);
        waiting.delete(message.id);
      } else if (message.method === 'Runtime.exceptionThrown') {
        const d = message.params.exceptionDetails;
        errors.push((d.exception && d.exception.description) || d.text);
      } else if (message.method === 'Runtime.consoleAPICalled' &&
                 message.params.type === 'error') {
        errors.push(message.params.args.map((a) => a.value || a.description).join(' '));
      }
    }
  });
  function send(method, params, sessionId) {
    const id = nextId++;
    chromium.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + '\0');
    return new Promise((resolve, reject) => waiting.set(id, (m) =>
      (m.error ? reject(new Error(method + ': ' + m.error.message)) : resolve(m.result))));
  }

  async function close() {
    await Promise.race([send('Browser.close').catch(() => {}), sleep(5000)]);
    await Promise.race([exited, sleep(5000)]);
    if (chromium.exitCode === null && chromium.signalCode === null) chromium.kill();
    fs.rmSync(profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 200 });
  }

  try {
    let target;
    for (let i = 0; i < 200 && !target; ++i) {
      target = (await send('Target.getTargets')).targetInfos.find((t) => t.type === 'page');
      if (!target) await sleep(100);
    }
    if (!target) throw new Error('chromium opened no page');
    const { sessionId } = await send('Target.attachToTarget', { targetId: target.targetId,
                                                                flatten: true });
    await send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1,
                                                       mobile: false }, sessionId);
    await send('Runtime.enable', {}, sessionId);
    await send('Page.enable', {}, sessionId);
    await send('Page.navigate', { url }, sessionId);

    const evaluate = async (expression) => {
      const r = await send('Runtime.evaluate', { expression, returnByValue: true,
                                                 awaitPromise: true }, sessionId);
      if (r.exceptionDetails) {
        throw new Error((r.exceptionDetails.exception || {}).description ||
                        r.exceptionDetails.text);
      }
      return r.result.value;
    };
    // Waits until the expression is true (polling), at most `seconds`.
    const waitFor = async (expression, seconds = 60) => {
      for (let i = 0; i < seconds * 10; ++i) {
        if (await evaluate(expression).catch(() => false)) return true;
        await sleep(100);
      }
      return false;
    };
    const screenshot = async () =>
      Buffer.from((await send('Page.captureScreenshot', { format: 'png' }, sessionId)).data,
                  'base64');
    return { evaluate, waitFor, screenshot, errors, close };
  } catch (e) {
    await close();
    throw e;
  }
}

module.exports = { openPage, sleep };
