// A seed search worker: takes a job ({array, settings: [[caption, value]], inputs, wants,
// sketch, from, to, best, first, last}), searches the seeds numbered first to last - 1 of the
// range in slices, posting {done} after each slice and {list: [[seed, score]]} at the end, or
// {error}. Runs inside QevSearchWorker (qev-search-worker.js), after the search's script.
/* global QevSearchWasm */
(function () {
  'use strict';

  const kSlice = 100;
  const ready = QevSearchWasm();

  function withString(wasm, text, call) {
    const size = wasm.lengthBytesUTF8(text) + 1;
    const pointer = wasm._malloc(size);
    try {
      wasm.stringToUTF8(text, pointer, size);
      return call(pointer);
    } finally {
      wasm._free(pointer);
    }
  }

  function describe(wasm, job) {
    wasm._searchReset(job.array ? 1 : 0);
    for (const [caption, value] of job.settings) {
      withString(wasm, caption, (p) => wasm._searchSet(p, value));
    }
    if (!job.array) {
      const pointer = wasm._malloc(job.inputs.length * 4 || 4);
      wasm.HEAPF32.set(job.inputs, pointer >> 2);
      wasm._searchInputs(pointer, job.inputs.length);
      wasm._free(pointer);
    }
    const fail = () => { throw new Error(wasm.UTF8ToString(wasm._searchText())); };
    if (job.wants && withString(wasm, job.wants, (p) => wasm._searchWants(p)) < 0) fail();
    if (job.sketch && withString(wasm, job.sketch, (p) => wasm._searchSketch(p)) < 0) fail();
    if (wasm._searchRange(job.from, job.to) < 0) fail();
    if (wasm._searchBegin(job.best) < 0) fail();
  }

  self.onmessage = (event) => {
    const job = event.data;
    ready.then((wasm) => {
      describe(wasm, job);
      for (let k = job.first; k < job.last; k += kSlice) {
        wasm._searchRun(k, Math.min(job.last, k + kSlice));
        self.postMessage({ done: Math.min(job.last, k + kSlice) - job.first });
      }
      const list = [];
      for (let i = 0; i < wasm._searchCount(); ++i) {
        list.push([wasm._searchSeed(i), wasm._searchScore(i)]);
      }
      self.postMessage({ list });
    }).catch((e) => self.postMessage({ error: String(e && e.message || e) }));
  };
})();
