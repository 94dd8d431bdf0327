"""Synthesised sound effects: 44.1 kHz, 16-bit mono PCM.

The shot sounds are retriggered every frame (60 a second) and overlap, so
they are kept under 70 ms and near -22 dBFS: a held trigger must hum, not
clip.
"""

import io
import wave

import numpy as np

RATE = 44100


def _t(seconds):
    return np.arange(int(round(seconds * RATE))) / RATE


def _env(n, attack, release_shape=4.0):
    """Short linear attack, exponential-ish decay to exactly zero: no clicks."""
    a = max(1, int(attack * RATE))
    e = np.ones(n)
    e[:a] = np.linspace(0, 1, a)
    tail = np.linspace(0, 1, n - a)
    e[a:] = (1 - tail) ** release_shape
    return e


def _chirp(f0, f1, seconds, curve=2.0):
    t = _t(seconds)
    f = f1 + (f0 - f1) * (1 - t / seconds) ** curve
    return np.sin(2 * np.pi * np.cumsum(f) / RATE)


def _lowpass(x, cutoff):
    # one-pole smoother; enough to take the fizz off noise
    k = np.exp(-2 * np.pi * cutoff / RATE)
    y = np.empty_like(x)
    acc = 0.0
    for i, v in enumerate(x):
        acc = (1 - k) * v + k * acc
        y[i] = acc
    return y


def _norm(x, dbfs):
    return x / np.max(np.abs(x)) * 10 ** (dbfs / 20)


def _square(f, t, duty=0.5):
    return np.where((t * f) % 1.0 < duty, 1.0, -1.0)


def bullet():
    d = 0.045
    x = _chirp(2400, 900, d, 1.5) + 0.3 * _chirp(4800, 1800, d, 1.5)
    return _norm(x * _env(len(x), 0.002, 3.0), -22)


def ebullet():
    d = 0.06
    # lower and rounder than the player's shot, so the two never blur
    x = _chirp(900, 380, d, 1.2) + 0.35 * _chirp(1800, 760, d, 1.2)
    return _norm(x * _env(len(x), 0.003, 2.5), -21)


def select():
    t1, t2 = _t(0.035), _t(0.05)
    a = _square(1318.5, t1, 0.25) * _env(len(t1), 0.001, 1.5)
    b = _square(1760.0, t2, 0.25) * _env(len(t2), 0.001, 2.5)
    x = _lowpass(np.concatenate([a, b]), 6000)
    return _norm(x, -9)


def decide():
    # Replayed every frame the button stays down, so it is one short, soft rising pair:
    # a held key stacks a handful of copies, never a roar.
    notes = [1568.0, 2093.0]
    parts = []
    for i, f in enumerate(notes):
        t = _t(0.03 if i == 0 else 0.05)
        tone = 0.6 * _square(f, t, 0.5) + 0.4 * np.sin(2 * np.pi * f * t)
        parts.append(tone * _env(len(t), 0.001, 1.2 if i == 0 else 3.0))
    x = _lowpass(np.concatenate(parts), 7000)
    return _norm(x, -16)


def hit():
    # Up to ~67 hits a second land on a boss. A long noise burst stacks into a hiss there, so
    # this is a short pitched knock with a steep decay: each copy has died away before most of
    # the next ones start, and the stream stays a run of distinct impacts.
    rng = np.random.default_rng(3)
    d = 0.035
    t = _t(d)
    n = len(t)
    body = np.tanh(1.5 * _chirp(360, 160, d, 1.5)) * np.exp(-t / 0.007)
    tick = np.sin(2 * np.pi * 2000 * t) * np.exp(-t / 0.0015)
    click = _lowpass(rng.uniform(-1, 1, n), 5000) * np.exp(-t / 0.0008)
    shape = np.ones(n)
    a, f = int(0.0008 * RATE), int(0.006 * RATE)
    shape[:a] = np.linspace(0, 1, a)
    shape[-f:] = 0.5 + 0.5 * np.cos(np.linspace(0, np.pi, f))   # lands on exactly zero
    x = (body + 0.9 * tick + 0.15 * click / np.max(np.abs(click))) * shape
    return _norm(x, -20)


def sample():
    """A short chime: the reference sound the game loads at start-up."""
    d = 0.6
    t = _t(d)
    x = np.zeros_like(t)
    for f, start in ((880.0, 0.0), (1318.5, 0.08), (1760.0, 0.16)):
        tt = np.clip(t - start, 0, None)
        on = t >= start
        x += on * (np.sin(2 * np.pi * f * tt) + 0.3 * np.sin(2 * np.pi * 2 * f * tt)) * np.exp(-tt * 7)
    return _norm(x * _env(len(t), 0.002, 1.0), -6)


def to_wav(x):
    pcm = np.clip(np.round(x * 32767), -32768, 32767).astype("<i2")
    buf = io.BytesIO()
    with wave.open(buf, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())
    return buf.getvalue()


ALL = {
    "sample.wav": sample,
    "select.wav": select,
    "decide.wav": decide,
    "bullet.wav": bullet,
    "ebullet.wav": ebullet,
    "hit.wav": hit,
}
