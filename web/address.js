// The page's settings as text: the address after '#' (module=..., then CAPTION=VALUE for every
// setting that differs from its default, input=FROM:TO:STEP for Qev Random, then the view's
// own settings), and the `qevhost run` line that prints the same values.
(function (root) {
  'use strict';

  // The command runs as pasted at the top of a built checkout: each module with the qevhost of
  // its own width (scripts/build), Qev Random the 32-bit one.
  const kCommands = { random: 'build/x86/qevhost run build/x86/QevNorvanePlimbor.so',
                      randomarray: 'build/x64/qevhost run build/x64/QevRandomArrayPlimbor.so' };
  const kDefaultRamp = '0:20:0.125';
  const kSearchKeys = ['want', 'sketch', 'seeds'];

  // The settings a person can change: inputs other than the button and Qev Random's "Input".
  function settable(driver) {
    return driver.params.filter((p) => p.input && p.type !== 7 && p.caption !== 'Input');
  }

  // [[param, value]] for every setting whose value in use differs from its default.
  function changed(driver) {
    return settable(driver)
      .map((p) => [p, driver.value(p.index)])
      .filter(([p, v]) => !Object.is(v, p.defaultValue));
  }

  function encode(text) {
    return encodeURIComponent(text).replace(/[!'()*]/g,
      (c) => '%' + c.charCodeAt(0).toString(16).toUpperCase());
  }

  function plain(text) {
    return encode(text).replace(/%3A/g, ':').replace(/%2C/g, ',');
  }

  // A search: its properties (want=starts=0.2,loops), its sketch (sketch=X:Y,X:Y,...), its seeds
  // (seeds=FROM:TO).
  function searchParts(search) {
    const parts = [];
    if (search.wants) parts.push('want=' + plain(search.wants).replace(/%3D/g, '='));
    if (search.sketch) parts.push('sketch=' + search.sketch.map(([x, y]) => x + ':' + y).join(','));
    parts.push('seeds=' + plain(search.from + ':' + search.to));
    return parts;
  }

  // The search of an address's parts, or null: {wants, sketch, from, to}.
  function searchOf(parts) {
    if (!parts.has('want') && !parts.has('sketch')) return null;
    const sketch = (parts.get('sketch') || '').split(',').filter((p) => p)
      .map((p) => p.split(':').map(Number)).filter((p) => p.length === 2 && p.every(Number.isFinite));
    const [from, to] = (parts.get('seeds') || '0:9999').split(':');
    return { wants: parts.get('want') || '', sketch: sketch.length > 1 ? sketch : null,
             from: from || '0', to: to || '9999' };
  }

  function hashOf(state) {
    const parts = ['module=' + state.module];
    for (const [p, v] of changed(state.driver)) {
      parts.push(encode(p.caption) + '=' + encode(state.driver.format(v)));
    }
    // Colons and commas need no escape after '#': a ramp or a list reads as written.
    if (!state.driver.arrays) parts.push('input=' + plain(state.ramp));
    if (state.search) parts.push(...searchParts(state.search));
    return parts.concat(state.viewParts || []).join('&');
  }

  // {module, ramp, settings: Map(lower-case caption -> text), view: Map(key -> text)} from the
  // address; viewKeys are the keys of the view's own settings.
  function parseHash(hash, viewKeys) {
    const result = { module: null, ramp: null, settings: new Map(), view: new Map(), search: null };
    const searchParts = new Map();
    for (const part of hash.replace(/^#/, '').split('&')) {
      if (!part) continue;
      const equals = part.indexOf('=');
      let key, value;
      try {
        key = decodeURIComponent(equals < 0 ? part : part.slice(0, equals));
        value = equals < 0 ? '' : decodeURIComponent(part.slice(equals + 1));
      } catch (e) {
        continue;  // a broken escape: that pair is left out
      }
      if (key === 'module') result.module = value;
      else if (key === 'input') result.ramp = value;
      else if (kSearchKeys.includes(key)) searchParts.set(key, value);
      else if ((viewKeys || []).includes(key)) result.view.set(key, value);
      else result.settings.set(key.toLowerCase(), value);
    }
    result.search = searchOf(searchParts);
    return result;
  }

  function shellQuote(text) {
    return /^[A-Za-z0-9_.,:=+\/-]+$/.test(text) ? text : "'" + text.replace(/'/g, "'\\''") + "'";
  }

  function commandOf(state) {
    const words = [kCommands[state.module]];
    for (const [p, v] of changed(state.driver)) {
      words.push('--set', shellQuote(p.caption + '=' + state.driver.format(v)));
    }
    // The time view's inputs as a list: its ramp rises per block, not by a step of its own.
    if (!state.driver.arrays) words.push('--input', shellQuote(state.inputList || state.ramp));
    return words.join(' ');
  }

  root.QevAddress = { hashOf, parseHash, commandOf, settable, kDefaultRamp };
})(this);
