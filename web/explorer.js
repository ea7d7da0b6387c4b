// The explorer page: a control per setting of the chosen module, the plot (over the input range,
// or over time as the host runs it), the values table, the spread and seed panels, the sound and
// the ways to take a curve away (address, command, CSV, WAV). Every value comes from the module's
// own code in WebAssembly (module_driver.js); this file only moves values between it and the page.
(function () {
  'use strict';

  const { drawPlot } = window.QevPlot;
  const { hashOf, parseHash, commandOf, settable, kDefaultRamp } = window.QevAddress;
  const { kFader, kButton, kListBox } = window.ModuleDriver.types;
  const { showSpread } = window.QevSpread;
  const { SearchRunner } = window.QevSeedSearch;
  const { render, Player } = window.QevAudio;
  const kModules = { random: 'Qev Random', randomarray: 'Qev RandomArray' };
  const kTableRows = 10000;

  const $ = (id) => document.getElementById(id);
  const drivers = {};
  const state = { module: 'random', driver: null, ramp: kDefaultRamp, run: null, held: null,
                  unpressed: false, inputs: null, sketch: null, search: null, spread: null };
  const boxes = new Map();  // parameter index -> {box, slider, select}
  let drawPending = false, laterTimer = 0, ownHash = null, scriptErrors = 0;
  let timeView = null, seedPanel = null, plotFrame = null;
  const searchRunner = new SearchRunner();
  const kSketchPoints = 48;
  const player = new Player();

  function notice(text) {
    $('notice').textContent = text;
  }

  function reportScriptError(text) {
    scriptErrors += 1;
    document.body.dataset.scriptErrors = String(scriptErrors);
    $('errors').textContent += text + '\n';
  }
  window.addEventListener('error', (e) => reportScriptError(String(e.message)));
  window.addEventListener('unhandledrejection', (e) => reportScriptError(String(e.reason)));

  // Runs the module: over the clock's blocks in the time view, else as in ModuleDriver.run.
  function runModule(press) {
    const d = state.driver;
    if (timeView.timed) {
      try {
        return timeView.run(d, state.ramp);
      } catch (e) {
        notice('Time view: ' + e.message + '; back to its defaults');
        timeView.resetClock();
        return timeView.run(d, state.ramp);
      }
    }
    return d.run(state.ramp, press);
  }

  // Runs the module and draws; press as in ModuleDriver.run.
  function redraw(press) {
    const d = state.driver;
    let rows;
    try {
      rows = runModule(press);
    } catch (e) {
      notice('Input range ' + state.ramp + ': ' + e.message + '; back to ' + kDefaultRamp);
      state.ramp = kDefaultRamp;
      showRamp();
      rows = runModule(press);
    }
    // A refused host call: the outlets are not what the settings say, so the page says why
    // instead of drawing them (the run then has no values).
    const hostError = d.hostError();
    $('host-error').textContent = hostError;
    document.body.dataset.hostError = hostError ? '1' : '';
    const columns = d.columns();
    const inputColumn = columns.find((c) => c.name === 'Input');
    state.inputs = inputColumn ? inputColumn.values : null;
    // Over time only "Output" is drawn, each value held for its block.
    const drawn = timeView.timed ? [columns[0], columns[2]] : columns;
    state.run = {
      columns: drawn,
      rows,
      hold: timeView.timed,
      xLabel: drawn[0].name,
      yLabel: drawn.slice(1).map((c) => c.name).join(', '),
    };
    drawRun();
    drawSpread();
    if (player.playing) player.play(sound()).catch((e) => notice('No sound: ' + e));
    clearTimeout(laterTimer);
    laterTimer = setTimeout(updateLater, 120);
  }

  function drawRun() {
    plotFrame = drawPlot($('plot'), state.run, state.held, sketchOnPlot());
  }

  // The sketch is kept along the run's inputs (or element indices), as the search reads it; the
  // time view draws it over seconds.
  function sketchOnPlot() {
    if (!state.sketch) return null;
    if (!timeView.timed) return state.sketch;
    const seconds = state.run.columns[0].values;
    return state.sketch.map(([x, y]) => [along(state.inputs, seconds, x), y])
      .filter(([x]) => Number.isFinite(x));
  }

  // The value of `to` where `from` (monotonic) holds v, by straight lines; NaN outside.
  function along(from, to, v) {
    for (let i = 0; i + 1 < from.length; ++i) {
      const a = from[i], b = from[i + 1];
      if ((v - a) * (v - b) <= 0 && a !== b) return to[i] + ((v - a) / (b - a)) * (to[i + 1] - to[i]);
      if (v === a) return to[i];
    }
    return from.length && v === from[from.length - 1] ? to[to.length - 1] : NaN;
  }

  // A drag across the plot: its points in the plot's units, thinned to at most kSketchPoints
  // (the mean of each stretch of x), then along the inputs, each to five significant digits.
  function takeSketch(points) {
    const xs = points.map((p) => p[0]);
    const lo = Math.min(...xs), hi = Math.max(...xs);
    if (!(hi > lo)) return;
    const bins = Array.from({ length: kSketchPoints }, () => [0, 0, 0]);
    for (const [x, y] of points) {
      const bin = bins[Math.min(kSketchPoints - 1, Math.floor(((x - lo) / (hi - lo)) * kSketchPoints))];
      bin[0] += x;
      bin[1] += y;
      bin[2] += 1;
    }
    const round = (v) => Number(v.toPrecision(5));
    let sketch = bins.filter((b) => b[2]).map(([x, y, n]) => [x / n, y / n]);
    if (timeView.timed) {
      sketch = sketch.map(([x, y]) => [along(state.run.columns[0].values, state.inputs, x), y]);
    }
    sketch = sketch.filter(([x]) => Number.isFinite(x)).map(([x, y]) => [round(x), round(y)])
      .sort((a, b) => a[0] - b[0]);
    if (sketch.length < 2) return;
    state.sketch = sketch;
    $('sketch-clear').disabled = false;
    searchStatus('Sketch taken: press Search to rank the seeds by it.');
    drawRun();
  }

  function wireSketch() {
    const canvas = $('plot');
    let points = null;
    const pointOf = (e) => {
      const f = plotFrame;
      if (!f || !f.xs || !f.ys) return null;
      const box = canvas.getBoundingClientRect();
      const X = e.clientX - box.left, Y = e.clientY - box.top;
      return [f.xs[0] + ((X - f.left) / (f.right - f.left)) * (f.xs[1] - f.xs[0]),
              f.ys[0] + ((f.bottom - Y) / (f.bottom - f.top)) * (f.ys[1] - f.ys[0])];
    };
    canvas.addEventListener('pointerdown', (e) => {
      const p = pointOf(e);
      if (!p) return;
      points = [p];
      try {
        canvas.setPointerCapture(e.pointerId);
      } catch (error) {
        // A pointer the browser does not track (a synthetic event) draws without capture.
      }
      e.preventDefault();
    });
    canvas.addEventListener('pointermove', (e) => {
      const p = points && pointOf(e);
      if (!p) return;
      points.push(p);
      drawPlot(canvas, state.run, state.held, points);
    });
    const end = () => {
      if (!points) return;
      const drawn = points;
      points = null;
      takeSketch(drawn);
      drawRun();
    };
    canvas.addEventListener('pointerup', end);
    canvas.addEventListener('pointercancel', end);
    $('sketch-clear').addEventListener('click', () => {
      state.sketch = null;
      $('sketch-clear').disabled = true;
      drawRun();
    });
  }

  function searchStatus(text) {
    $('search-status').textContent = text;
  }

  // The properties ticked in the form, as the search reads them ("starts=0.2,loops").
  function wantsOfForm() {
    const parts = [];
    for (const end of ['starts', 'ends']) {
      if ($('want-' + end).checked) parts.push(end + '=' + $('want-' + end + '-value').value.trim());
    }
    for (const flag of ['loops', 'range', 'seldom-ends']) {
      if ($('want-' + flag).checked) parts.push(flag);
    }
    if ($('want-motion').value) parts.push($('want-motion').value);
    if (state.driver.arrays && $('want-trend').value) parts.push($('want-trend').value);
    return parts.join(',');
  }

  function showWants(text) {
    const parts = new Map(text.split(',').filter((p) => p).map((p) => {
      const equals = p.indexOf('=');
      return equals < 0 ? [p, ''] : [p.slice(0, equals), p.slice(equals + 1)];
    }));
    for (const end of ['starts', 'ends']) {
      $('want-' + end).checked = parts.has(end);
      $('want-' + end + '-value').value = parts.get(end) || '';
    }
    for (const flag of ['loops', 'range', 'seldom-ends']) $('want-' + flag).checked = parts.has(flag);
    $('want-motion').value = ['calm', 'lively'].find((m) => parts.has(m)) || '';
    $('want-trend').value = ['rising', 'falling'].find((m) => parts.has(m)) || '';
  }

  // Runs the search of the form, the sketch and the seeds' range in the workers; the best twelve
  // fill the seed panel.
  function startSearch() {
    const d = state.driver;
    const fromText = $('search-from').value.trim(), toText = $('search-to').value.trim();
    let wants, count;
    try {
      wants = d.searchWants(wantsOfForm());
      const from = d.parse(fromText), to = d.parse(toText);
      if (from === null || to === null) throw new Error('the seeds run from a number to a number');
      count = d.searchCount(from, to);
      if (!wants && !state.sketch) {
        throw new Error('sketch a curve on the plot or tick a property first');
      }
      state.search = { wants, sketch: state.sketch, from: fromText, to: toText };
      const job = {
        array: d.arrays, best: 12, wants, from, to,
        settings: settable(d).map((p) => [p.caption, d.value(p.index)]),
        inputs: d.arrays ? new Float32Array(0) : Float32Array.from(state.inputs || []),
        sketch: state.sketch ? state.sketch.map((p) => p.join(',')).join('\n') : '',
      };
      const started = performance.now();
      $('search-start').disabled = true;
      $('search-stop').disabled = false;
      $('search-progress').value = 0;
      searchStatus('Searching ' + count + ' seeds...');
      delete document.body.dataset.searchSeconds;
      updateLater();
      searchRunner.start(job, count, (done) => { $('search-progress').value = done / count; })
        .then((list) => {
          const seconds = (performance.now() - started) / 1000;
          $('search-progress').value = 1;
          seedPanel.found = list;
          drawSeeds();
          searchStatus('The best ' + list.length + ' of ' + count + ' seeds from ' + fromText +
                       ' to ' + toText + ', in ' + seconds.toFixed(1) + ' s.');
          document.body.dataset.searchSeconds = String(seconds);
        })
        .catch((e) => searchStatus(e.message === 'stopped' ? 'Stopped.' : 'Search: ' + e.message))
        .finally(() => {
          $('search-start').disabled = false;
          $('search-stop').disabled = true;
        });
    } catch (e) {
      searchStatus('Search: ' + e.message);
    }
  }

  function wireSearch() {
    wireSketch();
    $('search-start').addEventListener('click', startSearch);
    $('search-stop').addEventListener('click', () => searchRunner.stop());
  }

  // "Output Min" and "Output Max": the ends of the noise window in the output.
  function outputRange() {
    const d = state.driver;
    return [d.value(d.indexOf('Output Min')), d.value(d.indexOf('Output Max'))];
  }

  // The values the panels and the sound take: "Output", or "Float Out".
  function shownValues() {
    const column = state.run.columns.find((c) => c.name === 'Output' || c.name === 'Float Out');
    return column ? column.values : new Float32Array(0);
  }

  function drawSpread() {
    const [lo, hi] = outputRange();
    state.spread = showSpread($('spread'), shownValues(), lo, hi, (v) => state.driver.format(v));
  }

  // The seed panel runs the module twelve times over: it follows a slider once it rests.
  function drawSeeds() {
    const d = state.driver;
    const [lo, hi] = outputRange();
    seedPanel.draw(d, d.value(d.indexOf('Random Seed')), lo, hi, (v) => d.format(v),
                   (score) => d.scoreText(score));
  }

  function drawPanels() {
    drawSpread();
    drawSeeds();
  }

  function sound() {
    const [lo, hi] = outputRange();
    return timeView.sound(shownValues(), lo, hi);
  }

  // Coalesces the changes of one display frame into one redraw.
  function redrawSoon() {
    if (drawPending) return;
    drawPending = true;
    requestAnimationFrame(() => {
      drawPending = false;
      redraw('never');
    });
  }

  // In "Update on Click" a change shows only after the button; qevhost presses it anyway.
  function noteChange() {
    const mode = state.driver.indexOf('Mode');
    if (state.driver.arrays && mode >= 0 && state.driver.value(mode) !== 0) state.unpressed = true;
  }

  // The values table, filled only while it is open: writing thousands of numbers as qevhost
  // writes them takes the module's number code a while.
  function showTable() {
    if (!$('values-view').open) return;
    const csv = state.driver.csv().trimEnd().split('\n');
    const head = csv[0].split(',').map((c) => '<th scope="col">' + c + '</th>').join('');
    // A longer table would hold the page up for seconds; the CSV download has every row.
    const rows = csv.slice(1, 1 + kTableRows);
    const body = rows.map((line) => '<tr><td>' + line.split(',').join('</td><td>') +
                                    '</td></tr>').join('');
    const more = csv.length - 1 - rows.length;
    const note = more > 0 ? '<tfoot><tr><td colspan="' + csv[0].split(',').length + '">' + more +
                            ' more rows: "Download CSV" has them all</td></tr></tfoot>' : '';
    $('values').innerHTML = '<thead><tr>' + head + '</tr></thead><tbody>' + body + '</tbody>' +
                            note;
  }

  // The command; over time its input list (one number per block) is written only when copied.
  function showCommand(withList) {
    state.inputList = timeView.timed && withList ? state.driver.inputList() : null;
    $('command').textContent = timeView.timed && !withList ? '' : commandOf(state);
  }

  // The parts that need not follow every slider step: the seed panel, the table, the address,
  // the command.
  function updateLater() {
    drawSeeds();
    state.viewParts = timeView.parts();
    showTable();
    showCommand(false);
    const hash = '#' + hashOf(state);
    if (location.hash !== hash) {
      ownHash = hash;
      try {
        history.replaceState(null, '', hash);
      } catch (e) {
        location.hash = hash;
      }
    }
    document.body.dataset.ready = '1';
  }

  function showValue(p) {
    const v = state.driver.value(p.index);
    const b = boxes.get(p.index);
    if (!b) return;
    if (b.box) b.box.value = state.driver.format(v);
    if (b.slider) b.slider.value = String(v);
    if (b.select) b.select.value = String(v);
  }

  // A setting from text: read as `qevhost run --set` reads it. Text that is no number keeps the
  // value in use; a value outside the declared range is passed on, with qevhost's warning.
  function setFromText(p, text) {
    const d = state.driver;
    let value = d.parse(text.trim());
    if (value === null && p.items.length) {
      const i = p.items.findIndex((item) => item.toLowerCase() === text.trim().toLowerCase());
      if (i >= 0) value = i;
    }
    if (value === null) {
      notice('"' + text + '" is not a number: ' + p.caption + ' stays ' +
             d.format(d.value(p.index)));
      showValue(p);
      return false;
    }
    if ((p.min !== null && value < p.min) || (p.max !== null && value > p.max)) {
      notice('warning: ' + p.caption + ' ' + d.format(value) + ' is outside ' + bound(p.min) +
             ' to ' + bound(p.max) + '; passed on as given');
    } else {
      notice('');
    }
    d.change(p.index, value);
    noteChange();
    showValue(p);
    return true;
  }

  function bound(v) {
    if (v === 3.4028234663852886e38) return 'FLT_MAX';
    if (v === -3.4028234663852886e38) return '-FLT_MAX';
    return state.driver.format(v);
  }

  function element(tag, attributes, text) {
    const e = document.createElement(tag);
    for (const [k, v] of Object.entries(attributes || {})) e.setAttribute(k, v);
    if (text !== undefined) e.textContent = text;
    return e;
  }

  function buildControls() {
    const form = $('settings');
    form.textContent = '';
    boxes.clear();
    for (const p of settable(state.driver)) {
      const id = 'param-' + p.index;
      const row = element('div', { class: 'setting' });
      row.append(element('label', { for: id, id: id + '-label' }, p.caption));
      const b = {};
      if (p.type === kListBox) {
        b.select = element('select', { id });
        p.items.forEach((item, i) =>
          b.select.append(element('option', { value: String(i) }, item)));
        b.select.addEventListener('change', () => {
          setFromText(p, b.select.value);
          redraw('never');
        });
        row.append(b.select);
      } else {
        if (p.type === kFader) {
          b.slider = element('input', {
            type: 'range', min: String(p.min), max: String(p.max),
            step: p.format === '%.0f' ? '1' : String((p.max - p.min) / 1000),
            'aria-labelledby': id + '-label', id: id + '-slider',
          });
          b.slider.addEventListener('input', () => {
            state.driver.change(p.index, Math.fround(b.slider.valueAsNumber));
            noteChange();
            b.box.value = state.driver.format(state.driver.value(p.index));
            notice('');
            redrawSoon();
          });
          row.append(b.slider);
        }
        b.box = element('input', { type: 'text', id, inputmode: 'decimal', spellcheck: 'false' });
        b.box.addEventListener('change', () => {
          if (setFromText(p, b.box.value)) redraw('never');
        });
        row.append(b.box);
      }
      if (p.type !== kListBox) {
        const hint = element('small', { id: id + '-range', class: 'range' },
                             bound(p.min) + ' to ' + bound(p.max) + ', default ' +
                             state.driver.format(p.defaultValue));
        for (const control of [b.box, b.slider]) {
          if (control) control.setAttribute('aria-describedby', id + '-range');
        }
        row.append(hint);
      }
      boxes.set(p.index, b);
      form.append(row);
      if (p.type === kListBox) {
        // The button sits with the mode it belongs to.
        const button = state.driver.params.find((q) => q.input && q.type === kButton);
        if (button) {
          const press = element('button', { type: 'button', id: 'press' }, button.caption);
          press.addEventListener('click', () => {
            state.driver.callBack(button.index);
            state.unpressed = false;
            redraw('never');
          });
          const pressRow = element('div', { class: 'setting' });
          pressRow.append(press);
          form.append(pressRow);
        }
      }
      showValue(p);
    }
    $('ramp').hidden = state.driver.arrays;
  }

  function showRamp() {
    const [from, to, step] = state.ramp.split(':');
    $('ramp-from').value = from || '';
    $('ramp-to').value = to || '';
    $('ramp-step').value = step || '';
  }

  // Chooses the module and applies the address's settings to a fresh module object, in the
  // module's parameter order, as `qevhost run --set` applies them; then runs as qevhost does.
  function load(hash) {
    const wanted = parseHash(hash, window.QevTimeView.keys);
    state.module = kModules[wanted.module] ? wanted.module : 'random';
    timeView.load(state.module, wanted.view);
    seedPanel.first = null;
    seedPanel.found = null;
    searchRunner.stop();
    state.search = null;
    state.sketch = wanted.search ? wanted.search.sketch : null;
    $('sketch-clear').disabled = !state.sketch;
    $('want-trend-row').hidden = state.module !== 'randomarray';
    showWants(wanted.search ? wanted.search.wants : '');
    $('search-from').value = wanted.search ? wanted.search.from : '0';
    $('search-to').value = wanted.search ? wanted.search.to : '9999';
    searchStatus('');
    state.driver = drivers[state.module];
    state.driver.start();
    state.held = null;
    state.unpressed = false;
    $('hold').textContent = 'Hold curve';
    $('module').value = state.module;
    state.ramp = wanted.ramp || kDefaultRamp;
    showRamp();
    buildControls();
    notice('');
    for (const p of settable(state.driver)) {
      const text = wanted.settings.get(p.caption.toLowerCase());
      if (text !== undefined) setFromText(p, text);
    }
    redraw('auto');
    state.unpressed = false;
    // A link with a search runs it again.
    if (wanted.search) startSearch();
  }

  // Takes a seed from the seed panel, keeping its page in place.
  function takeSeed(seed) {
    const d = state.driver;
    const p = d.params[d.indexOf('Random Seed')];
    seedPanel.first = seedPanel.seeds(d.value(p.index))[0];
    d.change(p.index, seed);
    noteChange();
    showValue(p);
    notice('');
    redraw('never');
  }

  function download(blob, name) {
    const a = element('a', { href: URL.createObjectURL(blob), download: name });
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(a.href), 1000);
  }

  function wireSound() {
    $('play').addEventListener('click', () => {
      Promise.resolve().then(() => player.play(sound())).catch((e) => notice('No sound: ' + e));
    });
    $('stop').addEventListener('click', () => player.stop());
    $('download-wav').addEventListener('click', () => {
      const plan = sound();
      render(plan).then((samples) => download(window.QevWav.wavBlob(samples, plan.sampleRate),
                                              state.module + '.wav'))
        .catch((e) => notice('No sound: ' + e));
    });
    const seedOf = () => state.driver.value(state.driver.indexOf('Random Seed'));
    $('seeds-next').addEventListener('click', () => {
      seedPanel.turn(1, seedOf());
      drawSeeds();
    });
    $('seeds-previous').addEventListener('click', () => {
      seedPanel.turn(-1, seedOf());
      drawSeeds();
    });
  }

  function wire() {
    wireSound();
    wireSearch();
    $('module').addEventListener('change', () => load('#module=' + $('module').value));
    for (const id of ['ramp-from', 'ramp-to', 'ramp-step']) {
      $(id).addEventListener('change', () => {
        const parts = [$('ramp-from').value, $('ramp-to').value, $('ramp-step').value]
          .map((s) => s.trim());
        // A list A,B,C (from an address) stays a list while To and Step are empty.
        state.ramp = parts[1] || parts[2] ? parts.join(':') : parts[0];
        notice('');
        redraw('never');
      });
    }
    $('hold').addEventListener('click', () => {
      if (state.held) {
        state.held = null;
        $('hold').textContent = 'Hold curve';
      } else {
        const label = hashOf(state).split('&').slice(1)
          .filter((s) => !s.startsWith('input=')).map(decodeURIComponent).join(', ');
        state.held = Object.assign({}, state.run, { label: label || 'defaults' });
        $('hold').textContent = 'Release held curve';
      }
      drawRun();
    });
    $('copy-command').addEventListener('click', () => {
      updateLater();
      showCommand(true);
      const text = $('command').textContent;
      let after = state.unpressed ? ' (it prints the values after "Calculate Array")' : '';
      // Linux passes at most 128 KiB in one argument.
      if (text.length > 131000) after += ' (its input list is too long for one shell argument: ' +
                                         'show fewer seconds or longer blocks)';
      const shown = text.length > 300 ? text.slice(0, 300) + ' ...' : text;
      const done = () => notice('Command copied' + after + ': ' + shown);
      if (navigator.clipboard && window.isSecureContext) {
        navigator.clipboard.writeText(text).then(done, () => selectCommand(after));
      } else {
        selectCommand(after);
      }
    });
    $('download').addEventListener('click', () => {
      download(new Blob([state.driver.csv()], { type: 'text/csv' }), state.module + '.csv');
    });
    window.addEventListener('hashchange', () => {
      if (location.hash === ownHash) return;
      load(location.hash);
    });
    $('values-view').addEventListener('toggle', showTable);
    window.addEventListener('resize', drawRun);
  }

  function selectCommand(after) {
    const range = document.createRange();
    range.selectNodeContents($('command'));
    const selection = getSelection();
    selection.removeAllRanges();
    selection.addRange(range);
    notice('Command selected' + after + ': copy it with Ctrl+C');
  }

  Promise.all([window.QevRandomWasm(), window.QevRandomArrayWasm()]).then(([random, array]) => {
    drivers.random = new window.ModuleDriver(random);
    drivers.randomarray = new window.ModuleDriver(array);
    timeView = new window.QevTimeView(() => {
      notice('');
      redraw('never');
    });
    seedPanel = new window.QevSeedPanel($('seeds'), takeSeed);
    wire();
    load(location.hash);
    // For the benchmark script: what a slider step does (the change, then the redraw), at once.
    // For the tests: the sound's description, the seed panel's curves, the spread's histogram.
    window.qevExplorer = {
      load,
      move(caption, value) {
        state.driver.change(state.driver.indexOf(caption), value);
        redraw('never');
      },
      drawPanels,
      sound,
      seedCurves: () => seedPanel.curves,
      found: () => seedPanel.found,
      spreadBins: () => ({ bins: Array.from(state.spread.bins), bottom: state.spread.bottom,
                           top: state.spread.top }),
    };
  }).catch((e) => reportScriptError('the modules did not start: ' + e));
})();
