// Sound from the module's values: the values held for whole frames as a control signal (never
// scheduled by times, which do not fall on whole frames), driving one target: the pitch of a
// tone, its loudness, the cutoff of a low-pass filter on a rich tone, or the signal itself as a
// waveform. The control is brought to -1..1 from the output range and clamped there, so no
// setting can make the sound louder than its target's level (peaks stay below 1).
(function (root) {
  'use strict';

  const kFade = 0.02;  // seconds of fade at Play, Stop and every change while playing

  // plan: {sampleRate, values, frames, hold (frames per value, the values repeating) or cycle
  // (frames of one pass over all values)}.
  function controlSignal(plan) {
    const out = new Float32Array(plan.frames);
    const n = plan.values.length;
    if (!n) return out;
    if (plan.cycle) {
      const cycle = Math.max(1, plan.cycle);
      for (let f = 0; f < out.length; ++f) out[f] = plan.values[Math.floor((f % cycle) * n / cycle)];
      return out;
    }
    for (let f = 0, i = 0; f < out.length; f += plan.hold, ++i) {
      out.fill(plan.values[i % n], f, Math.min(out.length, f + plan.hold));
    }
    return out;
  }

  function hertz(note) {
    return 440 * Math.pow(2, (note - 69) / 12);
  }

  function controlSource(context, plan) {
    const buffer = context.createBuffer(1, plan.frames, plan.sampleRate);
    buffer.getChannelData(0).set(controlSignal(plan));
    const source = context.createBufferSource();
    source.buffer = buffer;
    return source;
  }

  // The control mapped from lo..hi (the output range) to -1..1 and clamped there.
  function unitControl(context, source, lo, hi) {
    let scale = 2 / (hi - lo), offset = -(hi + lo) / (hi - lo);
    if (!Number.isFinite(scale) || !Number.isFinite(offset)) scale = offset = 0;
    const gain = new GainNode(context, { gain: scale });
    const shift = new ConstantSourceNode(context, { offset });
    const clamp = new WaveShaperNode(context, { curve: new Float32Array([-1, 1]) });
    source.connect(gain).connect(clamp);
    shift.connect(clamp);
    return { node: clamp, sources: [shift] };
  }

  // One voice: {output, start(when, offset), stop(when)}. plan adds target, lo, hi, note,
  // range (semitones swept by pitch and cutoff).
  function voice(context, plan) {
    const control = controlSource(context, plan);
    const unit = unitControl(context, control, plan.lo, plan.hi);
    const output = new GainNode(context, { gain: 0 });
    const sources = [control, ...unit.sources];
    const sweep = (param, cents) => unit.node.connect(new GainNode(context, { gain: cents }))
      .connect(param);
    if (plan.target === 'wave') {
      unit.node.connect(new GainNode(context, { gain: 0.5 })).connect(output);
    } else {
      const tone = new OscillatorNode(context, {
        type: plan.target === 'cutoff' ? 'sawtooth' : 'triangle', frequency: hertz(plan.note) });
      sources.push(tone);
      if (plan.target === 'pitch') {
        sweep(tone.detune, plan.range * 50);
        tone.connect(new GainNode(context, { gain: 0.5 })).connect(output);
      } else if (plan.target === 'loudness') {
        const level = new GainNode(context, { gain: 0.25 });
        unit.node.connect(new GainNode(context, { gain: 0.25 })).connect(level.gain);
        tone.connect(level).connect(output);
      } else {
        // Cutoff around three octaves above the tone, swept by the range.
        const filter = new BiquadFilterNode(context, { type: 'lowpass', Q: 0,
                                                       frequency: hertz(plan.note + 36) });
        sweep(filter.detune, plan.range * 50);
        tone.connect(new GainNode(context, { gain: 0.3 })).connect(filter).connect(output);
      }
    }
    return {
      output,
      start(when, offset) {
        control.loop = true;
        for (const s of sources) s === control ? s.start(when, offset || 0) : s.start(when);
        output.gain.setValueAtTime(0, when);
        output.gain.linearRampToValueAtTime(1, when + kFade);
      },
      stop(when) {
        output.gain.cancelScheduledValues(when);
        output.gain.setValueAtTime(output.gain.value, when);
        output.gain.linearRampToValueAtTime(0, when + kFade);
        for (const s of sources) s.stop(when + kFade + 0.01);
      },
    };
  }

  // The sound of plan for its frames, as Play plays it from its start (fading in and out).
  async function render(plan) {
    const context = new OfflineAudioContext(1, plan.frames, plan.sampleRate);
    const v = voice(context, plan);
    v.output.connect(context.destination);
    v.start(0, 0);
    v.stop(Math.max(0, plan.frames / plan.sampleRate - kFade - 0.01));
    return (await context.startRendering()).getChannelData(0);
  }

  // The control signal alone, rendered through the audio graph: what the targets receive.
  async function renderControl(plan) {
    const context = new OfflineAudioContext(1, plan.frames, plan.sampleRate);
    const source = controlSource(context, plan);
    source.connect(context.destination);
    source.start(0);
    return (await context.startRendering()).getChannelData(0);
  }

  // Play and Stop: the sound loops over the frames; play() again while playing crossfades to
  // the new plan at the same place in the loop.
  class Player {
    constructor() {
      this.context = null;
      this.current = null;
      this.started = 0;
      this.length = 1;
    }

    get playing() {
      return !!this.current;
    }

    play(plan) {
      if (this.context && this.context.sampleRate !== plan.sampleRate) this.close();
      if (!this.context) {
        try {
          this.context = new AudioContext({ sampleRate: plan.sampleRate });
        } catch (e) {
          this.context = new AudioContext();  // the control is resampled by the source
        }
      }
      const now = this.context.currentTime + 0.01;
      let offset = 0;
      if (this.current) {
        offset = (now - this.started) % this.length;
        this.current.stop(now);
      }
      this.length = plan.frames / plan.sampleRate;
      offset %= this.length;
      this.started = now - offset;
      this.current = voice(this.context, plan);
      this.current.output.connect(this.context.destination);
      this.current.start(now, offset);
      // A context closed meanwhile (a new sample rate) leaves its resume unfinished: no matter.
      const context = this.context;
      return context.resume().catch((e) => {
        if (context.state !== 'closed') throw e;
      });
    }

    stop() {
      if (!this.current) return;
      this.current.stop(this.context.currentTime);
      this.current = null;
    }

    close() {
      this.stop();
      if (this.context) this.context.close();
      this.context = null;
    }
  }

  root.QevAudio = { controlSignal, render, renderControl, Player, hertz };
})(this);
