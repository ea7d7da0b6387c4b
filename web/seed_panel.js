// Small multiples: the current settings drawn for a page of twelve seeds, each curve the
// module's own values for its seed (module_driver.js trial); a click on one takes its seed.
(function (root) {
  'use strict';

  const kPage = 12;

  class SeedPanel {
    // grid: the element that holds the twelve small plots; onPick(seed) takes a seed.
    constructor(grid, onPick) {
      this.grid = grid;
      this.onPick = onPick;
      this.first = null;  // the page's first seed; null follows the current seed
      this.found = null;  // a search's best seeds, [[seed, score]], shown instead of a page
      this.curves = [];
      this.cells = [];
      for (let i = 0; i < kPage; ++i) {
        const button = document.createElement('button');
        button.type = 'button';
        button.className = 'seed';
        const canvas = document.createElement('canvas');
        const label = document.createElement('span');
        button.append(canvas, label);
        button.addEventListener('click', () => this.onPick(this.curves[i].seed));
        grid.append(button);
        this.cells.push({ button, canvas, label });
      }
    }

    // Moves a page on (1) or back (-1).
    turn(pages, current) {
      this.found = null;
      this.first = (this.first === null ? Math.trunc(current) : this.first) + pages * kPage;
    }

    seeds(current) {
      if (this.found) return this.found.map(([seed]) => seed);
      const first = this.first === null ? Math.trunc(current) : this.first;
      return Array.from({ length: kPage }, (_, i) => Math.fround(first + i));
    }

    // Runs and draws the page: driver the page module, current its seed, lo and hi the output
    // range (every small plot shares it).
    // scoreText(score) writes a search's score.
    draw(driver, current, lo, hi, format, scoreText) {
      const width = this.cells[0].canvas.clientWidth || 160;
      this.curves = driver.trial(this.seeds(current), 2 * width);
      this.cells.forEach((cell, i) => { cell.button.hidden = i >= this.curves.length; });
      this.curves.forEach((curve, i) => {
        const cell = this.cells[i];
        cell.label.textContent = 'Seed ' + format(curve.seed) +
          (this.found ? ', score ' + scoreText(this.found[i][1]) : '');
        cell.button.setAttribute('aria-pressed', String(curve.seed === current));
        cell.button.setAttribute('aria-label', 'Take seed ' + format(curve.seed));
        plot(cell.canvas, curve.values, Math.min(lo, hi), Math.max(lo, hi));
      });
    }
  }

  function plot(canvas, values, lo, hi) {
    const { g, width, height } = root.QevPlot.blankCanvas(canvas, 160, 70);
    const span = hi - lo;
    const y = (v) => (span > 0 && Number.isFinite(span)
      ? height - 2 - ((v - lo) / span) * (height - 4) : height / 2);
    const x = (i) => (values.length > 1 ? (i / (values.length - 1)) * (width - 2) + 1 : width / 2);
    g.strokeStyle = '#0072b2';
    g.lineWidth = 1;
    g.beginPath();
    values.forEach((v, i) => (i ? g.lineTo(x(i), y(v)) : g.moveTo(x(i), y(v))));
    g.stroke();
  }

  root.QevSeedPanel = SeedPanel;
})(this);
