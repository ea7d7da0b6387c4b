// The time view and the listening settings: Qev Random run as the host runs it ("Process" once
// per block of frames, "Input" fed by a ramp rising by a rate per second from the input range's
// From), and what the sound drives. Keeps its settings in the page's controls and the address.
(function (root) {
  'use strict';

  const kClock = { rate: '1', block: '64', sr: '48000', seconds: '10' };
  const kListen = { target: 'pitch', note: '57', range: '12', tempo: '8' };
  const kTargets = {
    random: [['pitch', 'Pitch of a tone'], ['loudness', 'Loudness of a tone'],
             ['cutoff', 'Cutoff of a low-pass filter']],
    randomarray: [['sequence', 'Float Out as a step sequence, to pitch'],
                  ['wave', 'Float Out as one cycle of a waveform']],
  };
  const $ = (id) => document.getElementById(id);
  const field = (key) => $('time-' + key);

  class TimeView {
    // onChange(): a setting changed (the page reruns and redraws).
    constructor(onChange) {
      this.view = 'plot';
      this.module = 'random';
      $('view').addEventListener('change', () => {
        this.view = $('view').value;
        this.show();
        onChange();
      });
      for (const key of [...Object.keys(kClock), ...Object.keys(kListen)]) {
        field(key).addEventListener('change', onChange);
      }
    }

    get timed() {
      return this.module === 'random' && this.view === 'time';
    }

    // The settings from the address (a Map of its keys), defaults for those not given.
    load(module, given) {
      this.module = module;
      this.view = given.get('view') === 'time' ? 'time' : 'plot';
      const target = field('target');
      target.textContent = '';
      for (const [value, text] of kTargets[module]) {
        const option = document.createElement('option');
        option.value = value;
        option.textContent = text;
        target.append(option);
      }
      for (const [key, fallback] of Object.entries({ ...kClock, ...kListen })) {
        field(key).value = given.has(key) ? given.get(key) : fallback;
      }
      if (field('target').selectedIndex < 0) field('target').selectedIndex = 0;
      this.show();
    }

    show() {
      $('view').value = this.view;
      $('view-row').hidden = this.module !== 'random';
      $('clock').hidden = !this.timed;
      $('listen').hidden = this.module === 'random' && !this.timed;
      for (const key of ['rate', 'block']) field(key).parentElement.hidden = !this.timed;
      // Over time only the input range's From counts: the ramp's start.
      for (const id of ['ramp-to', 'ramp-step']) {
        $(id).hidden = this.timed;
        document.querySelector('label[for=' + id + ']').hidden = this.timed;
      }
      const arrays = this.module !== 'random';
      field('tempo').parentElement.hidden = !arrays;
      field('range').parentElement.hidden = arrays && field('target').value === 'wave';
    }

    resetClock() {
      for (const [key, fallback] of Object.entries(kClock)) field(key).value = fallback;
    }

    number(key) {
      return Number(field(key).value);
    }

    clock() {
      return { sampleRate: this.number('sr'), block: this.number('block'),
               seconds: this.number('seconds') };
    }

    // Runs the module over the clock's blocks; From is the input range's first number.
    run(driver, ramp) {
      if (!Number.isInteger(this.number('block'))) throw new Error('the block size is whole');
      if (!Number.isFinite(this.number('rate'))) throw new Error('the rate is a number');
      const from = driver.parse(String(ramp).split(/[:,]/)[0].trim());
      if (from === null) throw new Error('the input range has no From');
      return driver.runTime(from, this.number('rate'), this.clock());
    }

    // The address's parts: the clock in the time view, the listening settings that differ from
    // their defaults.
    parts() {
      const parts = this.timed ? ['view=time', ...Object.keys(kClock).map((k) =>
        k + '=' + encodeURIComponent(field(k).value.trim()))] : [];
      if (this.module !== 'random') {
        for (const k of ['sr', 'seconds']) {
          if (field(k).value !== kClock[k]) parts.push(k + '=' + encodeURIComponent(field(k).value));
        }
      }
      if (this.module === 'random' && !this.timed) return parts;
      for (const [k, fallback] of Object.entries(kListen)) {
        // Each module's first target is its default: pitch, or sequence for Qev RandomArray.
        const byDefault = k === 'target' ? kTargets[this.module][0][0] : fallback;
        if (field(k).value !== byDefault) parts.push(k + '=' + encodeURIComponent(field(k).value));
      }
      return parts;
    }

    // What Play plays: values are the module's outputs ("Output" per block, or "Float Out"),
    // lo and hi its output range.
    sound(values, lo, hi) {
      const clock = this.clock();
      const plan = { sampleRate: clock.sampleRate, values, lo, hi,
                     frames: Math.max(1, Math.round(clock.seconds * clock.sampleRate)),
                     note: this.number('note'), range: this.number('range'),
                     target: field('target').value };
      if (this.module === 'random') return Object.assign(plan, { hold: clock.block });
      if (plan.target === 'wave') {
        return Object.assign(plan, { cycle: Math.round(clock.sampleRate /
                                                       root.QevAudio.hertz(plan.note)) });
      }
      const tempo = this.number('tempo') > 0 ? this.number('tempo') : 8;
      return Object.assign(plan, { target: 'pitch', hold: Math.max(1, Math.round(clock.sampleRate /
                                                                                 tempo)) });
    }
  }

  TimeView.keys = [...Object.keys(kClock), ...Object.keys(kListen), 'view'];
  root.QevTimeView = TimeView;
})(this);
