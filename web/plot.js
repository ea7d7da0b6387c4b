// Draws the columns of a run on a canvas, as qevhost's pictures draw them: a framed plot with a
// light grid, captions on both axes, one colour per output (the guide's palette), whole-valued
// outputs as steps, and an optional held run drawn faded underneath.
(function (root) {
  'use strict';

  const kColours = ['#0072b2', '#d55e00', '#009e73', '#cc79a7', '#e69f00', '#56b4e9', '#000000'];
  const kLeft = 72, kRight = 24, kTop = 44, kBottom = 56;

  // About five round tick values covering lo..hi.
  function ticks(lo, hi) {
    const span = hi - lo;
    const raw = span / 5;
    const magnitude = Math.pow(10, Math.floor(Math.log10(raw)));
    const step = [1, 2, 2.5, 5, 10].map((m) => m * magnitude).find((s) => s >= raw) ||
                 10 * magnitude;
    const first = Math.ceil(lo / step - 1e-9) * step;
    const list = [];
    for (let t = first; t <= hi + step * 1e-9 && list.length < 20; t += step) list.push(t);
    return list;
  }

  function tickLabel(t) {
    if (t === 0) return '0';
    const a = Math.abs(t);
    if (a >= 1e6 || a < 1e-3) return t.toExponential(2).replace(/\.?0+e/, 'e');
    return String(Number(t.toPrecision(6)));
  }

  function range(values) {
    let lo = Infinity, hi = -Infinity;
    for (const list of values) {
      for (const v of list) {
        if (!Number.isFinite(v)) continue;
        if (v < lo) lo = v;
        if (v > hi) hi = v;
      }
    }
    if (lo > hi) return null;
    if (lo === hi) {
      const pad = lo === 0 ? 1 : Math.abs(lo) * 0.1;
      return [lo - pad, hi + pad];
    }
    return [lo, hi];
  }

  // A little room above and below the values, so the curve does not run along the frame.
  function pad(r) {
    if (!r) return r;
    const room = (r[1] - r[0]) * 0.04;
    return Number.isFinite(room) && Number.isFinite(r[0] - room) && Number.isFinite(r[1] + room)
      ? [r[0] - room, r[1] + room] : r;
  }

  function wholeValued(values) {
    let any = false;
    for (const v of values) {
      if (!Number.isFinite(v)) continue;
      if (v !== Math.round(v)) return false;
      any = true;
    }
    return any;
  }

  function drawSeries(g, x, y, px, py, steps) {
    g.beginPath();
    let started = false, lastX = 0, lastY = 0;
    for (let i = 0; i < y.length; ++i) {
      if (!Number.isFinite(x[i]) || !Number.isFinite(y[i])) {
        started = false;
        continue;
      }
      const X = px(x[i]), Y = py(y[i]);
      if (!started) {
        g.moveTo(X, Y);
        started = true;
      } else if (steps === 'hold') {
        // Each value held from its own point to the next.
        g.lineTo(X, lastY);
        g.lineTo(X, Y);
      } else if (steps) {
        // Steps change value halfway between two points.
        const middle = (lastX + X) / 2;
        g.lineTo(middle, lastY);
        g.lineTo(middle, Y);
        g.lineTo(X, Y);
      } else {
        g.lineTo(X, Y);
      }
      lastX = X;
      lastY = Y;
    }
    g.stroke();
  }

  // Sizes the canvas to its box (or the given size when it has none) at the screen's pixel
  // ratio and clears it: {g, width, height} in box pixels.
  function blankCanvas(canvas, defaultWidth, defaultHeight) {
    const ratio = root.devicePixelRatio || 1;
    const width = canvas.clientWidth || defaultWidth, height = canvas.clientHeight || defaultHeight;
    if (canvas.width !== Math.round(width * ratio)) canvas.width = Math.round(width * ratio);
    if (canvas.height !== Math.round(height * ratio)) canvas.height = Math.round(height * ratio);
    const g = canvas.getContext('2d');
    g.setTransform(ratio, 0, 0, ratio, 0, 0);
    g.clearRect(0, 0, width, height);
    return { g, width, height };
  }

  // run: {columns: [{name, values}], xLabel, yLabel, hold (each value held until the next
  // point)}; held: the same or null; sketch: [[x, y]] in the plot's units, drawn dashed, or null.
  // Answers the frame and the axes' ranges ({left, right, top, bottom, xs, ys}), so that a
  // point on the canvas can be read back in the plot's units.
  function drawPlot(canvas, run, held, sketch) {
    const { g, width, height } = blankCanvas(canvas, 800, 460);
    g.font = '12px sans-serif';

    const runs = held ? [held, run] : [run];
    const xs = range(runs.map((r) => r.columns[0].values));
    const ys = pad(range(runs.flatMap((r) => r.columns.slice(1).map((c) => c.values))));
    const left = kLeft, right = width - kRight, top = kTop, bottom = height - kBottom;
    g.fillStyle = '#fcfcfc';
    g.fillRect(left, top, right - left, bottom - top);
    g.strokeStyle = '#333';
    g.lineWidth = 1;
    g.strokeRect(left + 0.5, top + 0.5, right - left, bottom - top);

    g.fillStyle = '#000';
    g.textAlign = 'center';
    g.font = 'bold 13px sans-serif';
    g.fillText(run.xLabel, (left + right) / 2, height - 14);
    g.save();
    g.translate(20, (top + bottom) / 2);
    g.rotate(-Math.PI / 2);
    g.fillText(run.yLabel, 0, 0);
    g.restore();
    g.font = '12px sans-serif';

    const frame = { left, right, top, bottom, xs, ys };
    if (!xs || !ys) {
      g.fillText('No finite value to draw', (left + right) / 2, (top + bottom) / 2);
      return frame;
    }
    const px = (v) => left + ((v - xs[0]) / (xs[1] - xs[0] || 1)) * (right - left);
    const py = (v) => bottom - ((v - ys[0]) / (ys[1] - ys[0] || 1)) * (bottom - top);
    for (const t of Number.isFinite(xs[1] - xs[0]) ? ticks(xs[0], xs[1]) : xs) {
      const X = Math.round(px(t)) + 0.5;
      g.strokeStyle = '#e4e4e4';
      g.beginPath(); g.moveTo(X, top); g.lineTo(X, bottom); g.stroke();
      g.strokeStyle = '#333';
      g.beginPath(); g.moveTo(X, bottom); g.lineTo(X, bottom + 5); g.stroke();
      g.textAlign = 'center';
      g.fillText(tickLabel(t), X, bottom + 18);
    }
    for (const t of Number.isFinite(ys[1] - ys[0]) ? ticks(ys[0], ys[1]) : ys) {
      const Y = Math.round(py(t)) + 0.5;
      g.strokeStyle = '#e4e4e4';
      g.beginPath(); g.moveTo(left, Y); g.lineTo(right, Y); g.stroke();
      g.strokeStyle = '#333';
      g.beginPath(); g.moveTo(left - 5, Y); g.lineTo(left, Y); g.stroke();
      g.textAlign = 'right';
      g.fillText(tickLabel(t), left - 8, Y + 4);
    }

    g.save();
    g.beginPath();
    g.rect(left, top, right - left, bottom - top);
    g.clip();
    g.lineWidth = 1.6;
    g.lineJoin = 'round';
    runs.forEach((r, n) => {
      g.globalAlpha = held && n === 0 ? 0.3 : 1;
      r.columns.slice(1).forEach((c, i) => {
        g.strokeStyle = kColours[i % kColours.length];
        drawSeries(g, r.columns[0].values, c.values, px, py,
                   r.hold ? 'hold' : wholeValued(c.values));
      });
    });
    if (sketch && sketch.length > 1) {
      g.globalAlpha = 1;
      g.strokeStyle = '#555';
      g.lineWidth = 2.5;
      g.setLineDash([6, 4]);
      drawSeries(g, sketch.map((p) => p[0]), sketch.map((p) => p[1]), px, py, false);
      g.setLineDash([]);
    }
    g.restore();

    // Legend along the top: one entry per output, then the held run.
    let x = left;
    g.textAlign = 'left';
    const entry = (label, colour, alpha) => {
      g.globalAlpha = alpha;
      g.strokeStyle = colour;
      g.lineWidth = 2.5;
      g.beginPath(); g.moveTo(x, top - 16); g.lineTo(x + 22, top - 16); g.stroke();
      g.globalAlpha = 1;
      g.fillStyle = '#000';
      g.fillText(label, x + 28, top - 12);
      x += 40 + g.measureText(label).width;
    };
    run.columns.slice(1).forEach((c, i) => entry(c.name, kColours[i % kColours.length], 1));
    if (held) entry('held: ' + held.label, '#888', 0.5);
    if (sketch && sketch.length > 1) entry('sketch', '#555', 1);
    return frame;
  }

  root.QevPlot = { drawPlot, blankCanvas };
})(this);
