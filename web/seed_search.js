// The page's seed search: the range split among workers (qev-search-worker.js), each running the
// search qevhost runs on its share, their lists merged in the search's own order. Also used by
// the node test, which merges the same way.
(function (root) {
  'use strict';

  // Lower score first, NaN last, equal scores by the lower seed: the order of the search.
  function rankedBefore(a, b) {
    const aNan = Number.isNaN(a[1]), bNan = Number.isNaN(b[1]);
    if (aNan !== bNan) return bNan;
    if (!aNan && a[1] !== b[1]) return a[1] < b[1];
    return a[0] < b[0];
  }

  // The best `best` of several lists of [seed, score].
  function merge(lists, best) {
    return [].concat(...lists).sort((a, b) => (rankedBefore(a, b) ? -1 : 1)).slice(0, best);
  }

  // [first, last) of each of `parts` shares of `count` seeds, none empty.
  function shares(count, parts) {
    const n = Math.max(1, Math.min(parts, Math.ceil(count / 500)));
    return Array.from({ length: n }, (_, i) => [Math.floor((count * i) / n),
                                                Math.floor((count * (i + 1)) / n)]);
  }

  class SearchRunner {
    constructor() {
      this.workers = [];
      this.reject = null;
    }

    get running() {
      return this.workers.length > 0;
    }

    // Runs job ({array, settings, inputs, wants, sketch, from, to, best}) over its `count`
    // seeds; onProgress(done) after each slice. Resolves with the best [seed, score] pairs.
    start(job, count, onProgress) {
      this.stop();
      const source = '(' + root.QevSearchWorker.toString() + ')()';
      const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
      this.url = url;
      const parts = shares(count, Math.min(8, navigator.hardwareConcurrency || 2));
      return new Promise((resolve, reject) => {
        this.reject = reject;
        const done = parts.map(() => 0);
        const lists = [];
        parts.forEach(([first, last], i) => {
          const worker = new Worker(url);
          this.workers.push(worker);
          worker.onmessage = (event) => {
            const m = event.data;
            if (m.error) {
              this.stop();
              reject(new Error(m.error));
            } else if (m.list) {
              lists.push(m.list);
              if (lists.length === parts.length) {
                this.finish();
                resolve(merge(lists, job.best));
              }
            } else {
              done[i] = m.done;
              onProgress(done.reduce((a, b) => a + b, 0));
            }
          };
          worker.onerror = (e) => {
            this.stop();
            reject(new Error(e.message || 'the search worker failed'));
          };
          worker.postMessage(Object.assign({}, job, { first, last }));
        });
      });
    }

    finish() {
      for (const worker of this.workers) worker.terminate();
      this.workers = [];
      this.reject = null;
      if (this.url) URL.revokeObjectURL(this.url);
      this.url = null;
    }

    // Ends a running search; its promise rejects with "stopped".
    stop() {
      const reject = this.reject;
      const wasRunning = this.running;
      this.finish();
      if (reject && wasRunning) reject(new Error('stopped'));
    }
  }

  const api = { rankedBefore, merge, shares, SearchRunner };
  if (typeof module !== 'undefined' && module.exports) module.exports = api;
  else root.QevSeedSearch = api;
})(this);
