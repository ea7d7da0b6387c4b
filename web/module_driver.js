// The page's side of one WebAssembly module: starts it, changes its settings as the host does,
// runs it and reads its columns. Used by the page and by the node test alike.
(function (root) {
  'use strict';

  const kNumberBox = 5, kFader = 6, kButton = 7, kListBox = 8, kDataArray = 10;
  const kPress = { auto: 0, always: 1, never: 2 };

  class ModuleDriver {
    constructor(wasm) {
      this.wasm = wasm;
      this.start();
    }

    // A fresh module object: described, wired with every value at its default, initialised.
    start() {
      const d = JSON.parse(this.text(this.wasm._explorerStart()));
      this.name = d.name;
      this.params = d.params.map((p, index) => ({
        index,
        caption: p.caption,
        type: p.type,
        input: p.input,
        min: p.min === null ? null : Math.fround(p.min),
        max: p.max === null ? null : Math.fround(p.max),
        defaultValue: p.default === null ? 0 : Math.fround(p.default),
        format: p.format,
        items: p.items ? JSON.parse('[' + p.items + ']') : [],
      }));
      this.arrays = this.params.some((p) => !p.input && p.type === kDataArray);
    }

    text(pointer) {
      return this.wasm.UTF8ToString(pointer);
    }

    withString(text, call) {
      const size = this.wasm.lengthBytesUTF8(text) + 1;
      const pointer = this.wasm._malloc(size);
      try {
        this.wasm.stringToUTF8(text, pointer, size);
        return call(pointer);
      } finally {
        this.wasm._free(pointer);
      }
    }

    indexOf(caption) {
      const lower = caption.toLowerCase();
      return this.params.findIndex((p) => p.caption.toLowerCase() === lower);
    }

    value(index) {
      return this.wasm._explorerValue(index);
    }

    // The value, then a CallBack about the parameter, as the host reports a change.
    change(index, value) {
      this.wasm._explorerChange(index, value);
    }

    callBack(index) {
      this.wasm._explorerCallBack(index);
    }

    // Runs the module: a block per input of the ramp (FROM:TO:STEP or A,B,C), or the array
    // outlets as they are (press: 'auto' presses as `qevhost run` does, 'always', 'never').
    // Answers the row count, or throws with the reason the ramp was refused.
    run(ramp, press) {
      let rows;
      if (this.arrays) {
        rows = this.wasm._explorerRunArrays(kPress[press || 'never']);
      } else {
        rows = this.withString(ramp, (p) => this.wasm._explorerRunBlocks(p));
        if (rows < 0) throw new Error(this.text(this.wasm._explorerText()));
      }
      return rows;
    }

    // The time view: a block per block of frames (clock: {sampleRate, block, seconds}), "Input"
    // rising from `from` by `rate` per second; a first column "Seconds". Answers the row count,
    // or throws with the reason the clock or ramp was refused.
    runTime(from, rate, clock) {
      const rows = this.wasm._explorerRunTime(from, rate, clock.block, clock.sampleRate,
                                              clock.seconds);
      if (rows < 0) throw new Error(this.text(this.wasm._explorerText()));
      return rows;
    }

    // The inputs of the last block run as a list for `qevhost run --input`.
    inputList() {
      return this.text(this.wasm._explorerInputList());
    }

    // The current settings run once per seed in a second module object: {inputs, values} per
    // seed (for Qev Random at most `points` of the last run's inputs).
    trial(seeds, points) {
      this.wasm._explorerTrialBegin();
      return seeds.map((seed) => {
        const count = this.wasm._explorerTrialRun(seed, points);
        const at = (pointer) => this.wasm.HEAPF32.slice(pointer >> 2, (pointer >> 2) + count);
        return { seed, inputs: at(this.wasm._explorerTrialInputs()),
                 values: at(this.wasm._explorerTrialValues()) };
      });
    }

    // The seed search's checks and texts, with the search's own code (search_exports.cpp).
    // The count of seeds from `from` to `to`, or throws with the reason.
    searchCount(from, to) {
      const count = this.wasm._searchRange(from, to);
      if (count < 0) throw new Error(this.text(this.wasm._searchText()));
      return count;
    }

    // Properties as the search writes them back ("starts=0.2,loops"), or throws with the reason.
    searchWants(text) {
      this.wasm._searchReset(this.arrays ? 1 : 0);
      if (this.withString(text, (p) => this.wasm._searchWants(p)) < 0) {
        throw new Error(this.text(this.wasm._searchText()));
      }
      return this.text(this.wasm._searchWantsText());
    }

    // A score as qevhost prints it.
    scoreText(score) {
      return this.text(this.wasm._searchScoreText(score));
    }

    // The host calls refused during the last run, a "host error: ..." line each, or ''. Such a
    // run has no values.
    hostError() {
      return this.text(this.wasm._explorerHostError());
    }

    // The columns of the last run: names and float values (copies).
    columns() {
      const columns = [];
      const count = this.wasm._explorerColumnCount();
      for (let c = 0; c < count; ++c) {
        const length = this.wasm._explorerColumnLength(c);
        const at = this.wasm._explorerColumnValues(c) >> 2;
        columns.push({
          name: this.text(this.wasm._explorerColumnName(c)),
          values: this.wasm.HEAPF32.slice(at, at + length),
        });
      }
      return columns;
    }

    // The last run as `qevhost run --csv` writes it.
    csv() {
      return this.text(this.wasm._explorerCsv());
    }

    // A float as qevhost writes it.
    format(value) {
      return this.text(this.wasm._explorerFormat(value));
    }

    // Text as `qevhost run --set` reads a number: the float, or null when it is not a number.
    parse(text) {
      const value = this.withString(String(text), (p) => this.wasm._explorerParse(p));
      return this.wasm._explorerParsed() ? value : null;
    }
  }

  ModuleDriver.types = { kNumberBox, kFader, kButton, kListBox, kDataArray };
  if (typeof module !== 'undefined' && module.exports) module.exports = ModuleDriver;
  else root.ModuleDriver = ModuleDriver;
})(this);
