// The spread of the values shown: a histogram over the output range and the figures a gate or
// threshold is chosen by (count, minimum, maximum, mean, standard deviation, and the share of
// values held at the ends of the noise window, which come out as exactly "Output Min" or
// "Output Max"). Statistics only: the values themselves come from the module.
(function (root) {
  'use strict';

  const kBins = 32;

  // values: floats; lo, hi: "Output Min" and "Output Max" as floats.
  function spreadOf(values, lo, hi) {
    const n = values.length;
    let min = Infinity, max = -Infinity, sum = 0, atEnds = 0;
    for (const v of values) {
      if (v < min) min = v;
      if (v > max) max = v;
      sum += v;
      if (v === lo || v === hi) atEnds += 1;
    }
    const mean = n ? sum / n : NaN;
    let squares = 0;
    for (const v of values) squares += (v - mean) * (v - mean);
    const bottom = Math.min(lo, hi), top = Math.max(lo, hi);
    const bins = new Array(kBins).fill(0);
    const width = (top - bottom) / kBins;
    for (const v of values) {
      const b = width > 0 && Number.isFinite(width) ? Math.floor((v - bottom) / width) : 0;
      bins[Math.max(0, Math.min(kBins - 1, b))] += 1;
    }
    return { count: n, min, max, mean, deviation: n ? Math.sqrt(squares / n) : NaN, atEnds,
             bins, bottom, top };
  }

  // A double as the panel prints it: eight significant digits.
  function figure(x) {
    return Number.isFinite(x) ? String(Number(x.toPrecision(8))) : String(x);
  }

  // The figures as text lines, as the panel shows them (format: a float as qevhost writes it).
  function figuresOf(s, format) {
    const share = s.count ? (100 * s.atEnds / s.count).toFixed(2) : '0.00';
    return [
      ['Count', String(s.count)],
      ['Minimum', s.count ? format(s.min) : '-'],
      ['Maximum', s.count ? format(s.max) : '-'],
      ['Mean', figure(s.mean)],
      ['Standard deviation', figure(s.deviation)],
      ['At Output Min or Max', s.atEnds + ' (' + share + ' %)'],
    ];
  }

  function draw(canvas, s) {
    const { g, width, height } = root.QevPlot.blankCanvas(canvas, 400, 120);
    const peak = Math.max(1, ...s.bins);
    const left = 8, right = width - 8, top = 6, bottom = height - 18;
    const w = (right - left) / s.bins.length;
    g.fillStyle = '#0072b2';
    s.bins.forEach((c, i) => {
      const h = (c / peak) * (bottom - top);
      g.fillRect(left + i * w + 0.5, bottom - h, Math.max(1, w - 1), h);
    });
    g.strokeStyle = '#333';
    g.beginPath(); g.moveTo(left, bottom + 0.5); g.lineTo(right, bottom + 0.5); g.stroke();
    g.fillStyle = '#000';
    g.font = '11px sans-serif';
    g.textAlign = 'left';
    g.fillText(figure(s.bottom), left, height - 4);
    g.textAlign = 'right';
    g.fillText(figure(s.top), right, height - 4);
  }

  // Shows the spread of `values` in the panel element (a canvas and a list of figures).
  function showSpread(panel, values, lo, hi, format) {
    const s = spreadOf(values, lo, hi);
    draw(panel.querySelector('canvas'), s);
    const list = panel.querySelector('dl');
    list.textContent = '';
    for (const [name, value] of figuresOf(s, format)) {
      const dt = document.createElement('dt'), dd = document.createElement('dd');
      dt.textContent = name;
      dd.textContent = value;
      list.append(dt, dd);
    }
    return s;
  }

  const api = { spreadOf, figuresOf, showSpread };
  if (typeof module !== 'undefined' && module.exports) module.exports = api;
  else root.QevSpread = api;
})(this);
