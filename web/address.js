// The page's settings as text: the address after '#' (module=..., then CAPTION=VALUE for every
// setting that differs from its default, input=FROM:TO:STEP for Qev Random, then the view's
// own settings), and the `qevhost run` line that prints the same values.
(function (root) {
  'use strict';

  const kPlugins = { random: 'QevNorvanePlimbor.so', randomarray: 'QevRandomArrayPlimbor.so' };
  const kDefaultRamp = '0:20:0.125';

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

  function hashOf(state) {
    const parts = ['module=' + state.module];
    for (const [p, v] of changed(state.driver)) {
      parts.push(encode(p.caption) + '=' + encode(state.driver.format(v)));
    }
    if (!state.driver.arrays) parts.push('input=' + encode(state.ramp).replace(/%3A/g, ':'));
    return parts.concat(state.viewParts || []).join('&');
  }

  // {module, ramp, settings: Map(lower-case caption -> text), view: Map(key -> text)} from the
  // address; viewKeys are the keys of the view's own settings.
  function parseHash(hash, viewKeys) {
    const result = { module: null, ramp: null, settings: new Map(), view: new Map() };
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
      else if ((viewKeys || []).includes(key)) result.view.set(key, value);
      else result.settings.set(key.toLowerCase(), value);
    }
    return result;
  }

  function shellQuote(text) {
    return /^[A-Za-z0-9_.,:=+\/-]+$/.test(text) ? text : "'" + text.replace(/'/g, "'\\''") + "'";
  }

  function commandOf(state) {
    const words = ['qevhost', 'run', kPlugins[state.module]];
    for (const [p, v] of changed(state.driver)) {
      words.push('--set', shellQuote(p.caption + '=' + state.driver.format(v)));
    }
    // The time view's inputs as a list: its ramp rises per block, not by a step of its own.
    if (!state.driver.arrays) words.push('--input', shellQuote(state.inputList || state.ramp));
    return words.join(' ');
  }

  root.QevAddress = { hashOf, parseHash, commandOf, settable, kDefaultRamp };
})(this);
