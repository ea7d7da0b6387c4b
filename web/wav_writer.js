// A mono WAV file (16-bit PCM) of samples in -1..1.
(function (root) {
  'use strict';

  function wavBlob(samples, sampleRate) {
    const bytes = new DataView(new ArrayBuffer(44 + samples.length * 2));
    const text = (at, s) => [...s].forEach((c, i) => bytes.setUint8(at + i, c.charCodeAt(0)));
    text(0, 'RIFF');
    bytes.setUint32(4, 36 + samples.length * 2, true);
    text(8, 'WAVE');
    text(12, 'fmt ');
    bytes.setUint32(16, 16, true);
    bytes.setUint16(20, 1, true);  // PCM
    bytes.setUint16(22, 1, true);  // one channel
    bytes.setUint32(24, sampleRate, true);
    bytes.setUint32(28, sampleRate * 2, true);
    bytes.setUint16(32, 2, true);
    bytes.setUint16(34, 16, true);
    text(36, 'data');
    bytes.setUint32(40, samples.length * 2, true);
    for (let i = 0; i < samples.length; ++i) {
      const s = Math.max(-1, Math.min(1, samples[i] || 0));
      bytes.setInt16(44 + i * 2, Math.round(s * 32767), true);
    }
    return new Blob([bytes.buffer], { type: 'audio/wav' });
  }

  root.QevWav = { wavBlob };
})(this);
