#!/usr/bin/env python3
"""Makes the sound assets of the practice scene: nine background songs and the short
effect sounds (intro jingle, fanfare, praise and comfort chimes, pointer blips).

Everything is synthesised here from notes written in this file: additive synthesis with
soft envelopes for the instruments, a little room reverb from sox, loudness matching in
Python, and MP3 encoding with lame. The output is the same on every run.

    python3 tools/make_scene_sounds.py [output folder]   (default: assets/sounds)

Needs the Debian packages sox and lame; only the Python standard library otherwise.
"""

import math
import os
import pathlib
import random
import re
import subprocess
import sys
import tempfile
import wave
from array import array
from dataclasses import dataclass, field

SR = 22050
SONG_KBPS = 32
CLIP_KBPS = 48
SONG_RMS_DB = -19.0      # every song is scaled to this RMS level
SONG_CEILING_DB = -1.0   # and softly limited below this peak

# ---------------------------------------------------------------------------------------
# Pitches

_PC = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
_NOTE_RE = re.compile(r"^([A-G])([#b]?)(-?\d)$")


def note_number(name):
    """MIDI number of a note name such as C4 (middle C, 60), F#5 or Bb3."""
    m = _NOTE_RE.match(name)
    if not m:
        raise ValueError(f"bad note name {name!r}")
    letter, accidental, octave = m.groups()
    n = _PC[letter] + {"": 0, "#": 1, "b": -1}[accidental]
    return 12 * (int(octave) + 1) + n


def freq_of(midi):
    return 440.0 * 2.0 ** ((midi - 69) / 12.0)


_CHORD_RE = re.compile(r"^([A-G])([#b]?)(.*)$")
_QUALITIES = {
    "": (0, 4, 7), "m": (0, 3, 7), "7": (0, 4, 7, 10), "maj7": (0, 4, 7, 11),
    "m7": (0, 3, 7, 10), "6": (0, 4, 7, 9), "sus4": (0, 5, 7), "add9": (0, 4, 7, 14),
}


def chord_tones(symbol, shift=0):
    """(root pitch class, tuple of intervals) of a chord symbol like 'G7' or 'Bb'."""
    m = _CHORD_RE.match(symbol)
    if not m or m.group(3) not in _QUALITIES:
        raise ValueError(f"bad chord {symbol!r}")
    root = (_PC[m.group(1)] + {"": 0, "#": 1, "b": -1}[m.group(2)] + shift) % 12
    return root, _QUALITIES[m.group(3)]


def place(pc, low):
    """The pitch of pitch class pc in the octave starting at low."""
    return low + (pc - low) % 12


def chord_voicing(symbol, shift, low=55):
    """Close-position chord in the octave above low (G3..F#4 by default)."""
    root, ivs = chord_tones(symbol, shift)
    return sorted(place((root + i) % 12, low) for i in ivs)


# ---------------------------------------------------------------------------------------
# Tunes: bars of melody and chords written as text.
#   melody: "C5 C5 G5/2 | ..."  note name, '/beats' (default 1), R for a rest
#   chords: "C/2 F/2 | G7 | ..." chord symbol, '/beats' (default a whole bar)

def _parse_bars(text, meter, chords):
    bars = []
    for bar_text in text.split("|"):
        tokens = bar_text.split()
        if not tokens:
            continue
        bar = []
        for tok in tokens:
            name, _, dur = tok.partition("/")
            beats = float(dur) if dur else (meter if chords and len(tokens) == 1 else 1.0)
            if chords:
                chord_tones(name)
                bar.append((name, beats))
            else:
                bar.append((None if name == "R" else note_number(name), beats))
        total = sum(b for _, b in bar)
        if abs(total - meter) > 1e-9:
            raise ValueError(f"bar {bar_text!r} has {total} beats, not {meter}")
        bars.append(bar)
    return bars


@dataclass
class Tune:
    meter: int
    tonic: int            # pitch class of the key (major)
    melody: list
    chords: list

    @staticmethod
    def of(meter, tonic, lines):
        """lines: list of (melody text, chord text) pairs, one per phrase."""
        mel, ch = [], []
        for m_text, c_text in lines:
            m_bars = _parse_bars(m_text, meter, False)
            c_bars = _parse_bars(c_text, meter, True)
            if len(m_bars) != len(c_bars):
                raise ValueError(f"phrase {m_text!r}: {len(m_bars)} melody bars, "
                                 f"{len(c_bars)} chord bars")
            mel += m_bars
            ch += c_bars
        return Tune(meter, _PC[tonic[0]] + (tonic[1:] == "#") - (tonic[1:] == "b"), mel, ch)


# ---------------------------------------------------------------------------------------
# Instruments: sums of sine partials, each with its own decay, under a soft envelope.

@dataclass
class Instrument:
    name: str
    partials: list                 # (frequency ratio, amplitude, decay seconds or None)
    attack: float                  # seconds
    release: float                 # seconds after the note's end
    sustained: bool                # True: holds while the note lasts (wind, pad)
    vibrato: tuple = (0.0, 0.0, 0.0)   # rate Hz, depth cents, delay seconds
    detune: tuple = (0.0,)         # cents; several values make a soft chorus
    settle: float = 0.0            # sustained: level falls by this share after the attack
    decay_pitch: float = 0.0       # decays shorten by (f/262)^-decay_pitch
    gain: float = 1.0
    max_ring: float = 4.0          # seconds a struck note may ring at most


INSTRUMENTS = {i.name: i for i in [
    Instrument("flute", [(1, 1.0, None), (2, 0.22, None), (3, 0.07, None), (4, 0.025, None)],
               attack=0.06, release=0.14, sustained=True, vibrato=(5.0, 9.0, 0.25),
               settle=0.2, gain=0.9),
    Instrument("ocarina", [(1, 1.0, None), (2, 0.06, None), (3, 0.035, None)],
               attack=0.05, release=0.12, sustained=True, vibrato=(4.6, 7.0, 0.3),
               settle=0.15, gain=0.95),
    Instrument("reed", [(1, 1.0, None), (2, 0.05, None), (3, 0.22, None), (5, 0.07, None),
                        (7, 0.02, None)],
               attack=0.05, release=0.12, sustained=True, vibrato=(4.8, 6.0, 0.3),
               settle=0.2, gain=0.85),
    Instrument("horn", [(1, 1.0, None), (2, 0.5, None), (3, 0.28, None), (4, 0.13, None),
                        (5, 0.06, None), (6, 0.025, None)],
               attack=0.045, release=0.15, sustained=True, vibrato=(5.2, 6.0, 0.2),
               settle=0.25, gain=0.75),
    Instrument("pad", [(1, 1.0, None), (2, 0.22, None), (3, 0.06, None)],
               attack=0.35, release=0.7, sustained=True, detune=(-7.0, 0.0, 6.0),
               settle=0.1, gain=0.45),
    Instrument("celesta", [(1, 1.0, 1.2), (2, 0.32, 0.35), (3, 0.1, 0.16), (4, 0.04, 0.08)],
               attack=0.004, release=0.45, sustained=False, decay_pitch=0.35, gain=0.9),
    Instrument("glock", [(1, 1.0, 1.1), (2.76, 0.2, 0.25), (5.4, 0.07, 0.09)],
               attack=0.003, release=0.6, sustained=False, decay_pitch=0.3, gain=0.75),
    Instrument("marimba", [(1, 1.0, 0.5), (3.93, 0.16, 0.07), (9.2, 0.03, 0.02)],
               attack=0.004, release=0.15, sustained=False, decay_pitch=0.45, gain=1.0,
               max_ring=1.5),
    Instrument("epiano", [(1, 1.0, 1.5), (2, 0.28, 0.5), (3, 0.07, 0.3), (7, 0.03, 0.03)],
               attack=0.006, release=0.2, sustained=False, decay_pitch=0.3, gain=0.8),
    Instrument("harp", [(1, 1.0, 1.0), (2, 0.42, 0.5), (3, 0.18, 0.3), (4, 0.08, 0.2),
                        (5, 0.04, 0.14)],
               attack=0.004, release=0.3, sustained=False, decay_pitch=0.35, gain=0.8),
    Instrument("bass", [(1, 1.0, 1.3), (2, 0.35, 0.5), (3, 0.1, 0.3)],
               attack=0.012, release=0.1, sustained=False, gain=1.0, max_ring=2.5),
]}


class Synth:
    """Renders notes (cached, since tunes repeat them) and percussion hits."""

    def __init__(self):
        self.cache = {}

    def note(self, inst_name, midi, dur, vel):
        key = (inst_name, midi, round(dur * SR), round(vel * 1000))
        if key not in self.cache:
            self.cache[key] = self._render(INSTRUMENTS[inst_name], freq_of(midi), dur, vel)
        return self.cache[key]

    def _render(self, inst, f0, dur, vel):
        hold = max(dur, 0.02)
        if inst.sustained:
            total = hold + inst.release
        else:
            total = min(hold + inst.release, inst.max_ring)
        n = int(total * SR)
        n_hold = min(int(hold * SR), n - int(inst.release * SR))
        n_att = max(1, int(inst.attack * SR))
        n_rel = max(1, n - n_hold)
        env = array("d", bytes(8 * n))
        for i in range(n):
            a = 0.5 - 0.5 * math.cos(math.pi * i / n_att) if i < n_att else 1.0
            if inst.sustained and inst.settle:
                t = i / SR
                a *= 1.0 - inst.settle + inst.settle * math.exp(-t / 0.35)
            if i >= n_hold:
                x = (i - n_hold) / n_rel
                a *= 0.5 + 0.5 * math.cos(math.pi * x)
            env[i] = a
        out = [0.0] * n
        rate, depth, delay = inst.vibrato
        scale = (f0 / 262.0) ** -inst.decay_pitch if inst.decay_pitch else 1.0
        for ci, cents in enumerate(inst.detune):
            fc = f0 * 2.0 ** (cents / 1200.0)
            for pi_, (ratio, amp, tau) in enumerate(inst.partials):
                f = fc * ratio
                if f >= SR * 0.45:
                    continue
                # High partials of high notes are softened to keep the tone warm.
                amp = amp * min(1.0, (900.0 / f0) ** 0.5) if ratio > 1 else amp
                w = 2.0 * math.pi * f / SR
                ph = 0.7 * ci + 1.3 * pi_
                if depth:
                    # Vibrato fades in after the delay: phase offset of a sine FM.
                    m = f * (2.0 ** (depth / 1200.0) - 1.0) / rate
                    wv = 2.0 * math.pi * rate / SR
                    d0 = int(delay * SR)
                    ramp = max(1, int(0.3 * SR))
                    wave_ = [math.sin(w * i + ph + (0.0 if i < d0 else
                                      m * min(1.0, (i - d0) / ramp) * math.sin(wv * (i - d0))))
                             for i in range(n)]
                else:
                    wave_ = [math.sin(w * i + ph) for i in range(n)]
                if tau:
                    k = -1.0 / (tau * scale * SR)
                    out = [o + amp * math.exp(k * i) * s for i, (o, s) in enumerate(zip(out, wave_))]
                else:
                    out = [o + amp * s for o, s in zip(out, wave_)]
        norm = inst.gain * vel / (len(inst.detune) ** 0.5 * sum(p[1] for p in inst.partials))
        return array("d", [o * e * norm for o, e in zip(out, env)])

    # Percussion: short, soft, deterministic (fixed seeds).
    def perc(self, kind, vel):
        key = ("perc", kind, round(vel * 1000))
        if key in self.cache:
            return self.cache[key]
        rng = random.Random(kind)
        if kind == "shaker":
            n = int(0.09 * SR)
            prev, out = 0.0, []
            for i in range(n):
                x = rng.uniform(-1.0, 1.0)
                hp = x - prev
                prev = x
                t = i / SR
                env = min(1.0, t / 0.012) * math.exp(-t / 0.022)
                out.append(0.25 * hp * env)
        elif kind == "bells":
            n = int(0.35 * SR)
            freqs = [2630.0, 3410.0, 4170.0, 5020.0, 5890.0, 6710.0]
            phases = [rng.uniform(0, 2 * math.pi) for _ in freqs]
            onsets = [0, int(0.018 * SR), int(0.041 * SR)]
            out = [0.0] * n
            for j, on in enumerate(onsets):
                g = (1.0, 0.6, 0.35)[j]
                for f, ph in zip(freqs, phases):
                    w = 2 * math.pi * f / SR
                    for i in range(on, n):
                        t = (i - on) / SR
                        out[i] += g * math.exp(-t / 0.07) * math.sin(w * i + ph) / len(freqs)
            prev = 0.0
            for i in range(int(0.06 * SR)):
                x = rng.uniform(-1.0, 1.0)
                out[i] += 0.12 * (x - prev) * math.exp(-i / SR / 0.02)
                prev = x
        elif kind == "block":
            n = int(0.12 * SR)
            out = []
            for i in range(n):
                t = i / SR
                env = min(1.0, t / 0.0015) * math.exp(-t / 0.022)
                out.append(env * (0.8 * math.sin(2 * math.pi * 880 * t)
                                  + 0.2 * math.sin(2 * math.pi * 2310 * t)))
        else:
            raise ValueError(kind)
        res = array("d", [v * vel for v in out])
        self.cache[key] = res
        return res


class Track:
    """A mono mix buffer."""

    def __init__(self, seconds):
        self.buf = array("d", bytes(8 * int(seconds * SR)))

    def add(self, samples, t, gain=1.0):
        a = int(round(t * SR))
        if a < 0:
            samples, a = samples[-a:], 0
        b = min(len(self.buf), a + len(samples))
        if b <= a:
            return
        seg = self.buf[a:b]
        self.buf[a:b] = array("d", [x + gain * y for x, y in zip(seg, samples)])


# ---------------------------------------------------------------------------------------
# Arrangement

@dataclass
class Section:
    bars: tuple = None            # (first, end) bar indices of the tune; None: all bars
    shift: int = 0                # transposition in semitones
    tempo: float = 100.0          # beats per minute
    lead: str = None              # melody instrument
    lead_vel: float = 0.8
    lead_oct: int = 0             # octave shift of the lead only
    counter: tuple = None         # (kind, instrument, velocity), kinds below
    acc: list = field(default_factory=list)    # (pattern, instrument, velocity)
    bass: tuple = None            # (pattern, velocity)
    perc: list = field(default_factory=list)   # (pattern, kind, velocity)
    replace: dict = field(default_factory=dict)  # bar index -> melody text
    chords_over: str = None       # chord text used instead of the tune's (link bars)
    melody_over: str = None       # melody text used with chords_over
    rit: tuple = None             # (last beats, final tempo factor)
    hold: float = 0.0             # beats the final chord is held after the last bar
    sparkle: str = None           # instrument for a rising arpeggio over the held chord


class Arranger:
    def __init__(self, tune):
        self.tune = tune
        self.events = []          # (time, kind, args)
        self.t = 0.0

    def section(self, s):
        tune = self.tune
        meter = tune.meter
        if s.chords_over:
            chords = _parse_bars(s.chords_over, meter, True)
            melody = (_parse_bars(s.melody_over, meter, False) if s.melody_over
                      else [[(None, meter)] for _ in chords])
        else:
            a, b = s.bars if s.bars else (0, len(tune.melody))
            melody = [(_parse_bars(s.replace[i], meter, False)[0] if i in s.replace
                       else tune.melody[i]) for i in range(a, b)]
            chords = tune.chords[a:b]
        total_beats = len(melody) * meter
        spb = 60.0 / s.tempo
        t0 = self.t

        def when(beat):
            """Seconds from the song's start at a beat of this section (with ritardando)."""
            if not s.rit or beat <= total_beats - s.rit[0]:
                return t0 + beat * spb
            n, r = s.rit
            x = min(beat, total_beats) - (total_beats - n)
            k = (1.0 - r) / n
            extra = max(0.0, beat - total_beats) / r
            return t0 + spb * ((total_beats - n) - math.log(1.0 - k * x) / k + extra)

        def emit(inst, midi, beat, beats, vel):
            start = when(beat)
            self.events.append((start, "note", (inst, midi, when(beat + beats) - start, vel)))

        scale = sorted(p for p in range(24, 109) if (p - tune.tonic - s.shift) % 12
                       in (0, 2, 4, 5, 7, 9, 11))

        # Melody and counter-melody.
        notes = []
        beat = 0.0
        for bar in melody:
            for pitch, beats in bar:
                if pitch is not None:
                    notes.append((pitch + s.shift, beat, beats))
                beat += beats
        if notes and s.hold:
            p, b0, d = notes[-1]
            if b0 >= total_beats - meter:      # the last note reaches into the held chord
                notes[-1] = (p, b0, total_beats - b0 + s.hold)
        if s.lead:
            for p, b0, d in notes:
                emit(s.lead, p + 12 * s.lead_oct, b0, d, s.lead_vel)
        if s.counter:
            kind, inst, vel = s.counter
            chord_at = self._chord_lookup(chords, meter, s.shift)
            for p, b0, d in notes:
                if kind in ("third", "sixth", "tenth"):
                    if p not in scale:
                        continue
                    steps = {"third": 2, "sixth": 5, "tenth": 9}[kind]
                    emit(inst, scale[scale.index(p) - steps], b0, d, vel)
                elif kind in ("octave", "octave_down"):
                    emit(inst, p + (12 if kind == "octave" else -12), b0, d, vel)
                elif kind == "fills" and d >= 2.0 - 1e-9:
                    # Answers a long melody note with rising chord tones in eighths.
                    root, ivs = chord_at(b0)
                    tones = sorted({place((root + i) % 12, p + 1) for i in ivs})
                    count = min(3, int(round((d - 1.0) / 0.5)))
                    for j in range(count):
                        last = j == count - 1
                        emit(inst, tones[j], b0 + 1.0 + 0.5 * j,
                             d - 1.0 - 0.5 * j if last else 0.5, vel)

        # Accompaniment, bass and percussion, chord by chord.
        beat = 0.0
        last_symbol = None
        for bar in chords:
            off = 0.0
            for symbol, beats in bar:
                last_symbol = symbol
                self._accompany(s, emit, symbol, beat + off, beats, off, meter)
                off += beats
            for pat, kind, vel in s.perc:
                for x in self._perc_grid(pat, meter):
                    self.events.append((when(beat + x), "perc", (kind, vel)))
            beat += meter

        if s.hold and last_symbol:
            end = total_beats
            root, _ = chord_tones(last_symbol, s.shift)
            for p in chord_voicing(last_symbol, s.shift):
                emit("pad", p, end, s.hold, 0.35)
            if s.bass:
                emit("bass", place(root, 36), end, s.hold, s.bass[1])
            if s.sparkle:
                voicing = chord_voicing(last_symbol, s.shift, low=72)
                run = voicing + [p + 12 for p in voicing] + [voicing[0] + 24]
                for j, p in enumerate(run):
                    emit(s.sparkle, p, end + 0.5 + 0.25 * j, s.hold, 0.3 + 0.02 * j)
        self.t = when(total_beats + s.hold)

    @staticmethod
    def _chord_lookup(chords, meter, shift):
        spans = []
        beat = 0.0
        for bar in chords:
            for symbol, beats in bar:
                spans.append((beat, beat + beats, symbol))
                beat += beats

        def at(b):
            for a, e, sym in spans:
                if a - 1e-9 <= b < e - 1e-9:
                    return chord_tones(sym, shift)
            return chord_tones(spans[-1][2], shift)
        return at

    @staticmethod
    def _perc_grid(pattern, meter):
        if pattern == "eighths":
            return [0.5 * i for i in range(2 * meter)]
        if pattern == "offbeats":
            return [i + 0.5 for i in range(meter)]
        if pattern == "backbeat":
            return [1.0, 3.0] if meter == 4 else [1.0, 2.0]
        if pattern == "beats":
            return [float(i) for i in range(meter)]
        if pattern == "downbeat":
            return [0.0]
        raise ValueError(pattern)

    @staticmethod
    def _accompany(s, emit, symbol, start, beats, off, meter):
        root, ivs = chord_tones(symbol, s.shift)
        voicing = chord_voicing(symbol, s.shift)
        bass_root = place(root, 36)            # C2..B2
        fifth = place((root + 7) % 12, 36)
        if fifth < bass_root:
            fifth += 12
        for pat, inst, vel in s.acc:
            if pat == "pad":
                for p in voicing:
                    emit(inst, p, start, beats, vel)
            elif pat == "block":
                step = 2.0 if meter == 4 else 3.0
                x = 0.0
                while x < beats - 1e-9:
                    for p in voicing:
                        emit(inst, p, start + x, min(step, beats - x), vel)
                    x += step
            elif pat == "afterbeat":           # chord on the weak beats (oom-pah, waltz)
                for k in range(int(round(beats))):
                    if (off + k) % meter != 0 and (meter != 4 or (off + k) % 2 == 1):
                        for p in voicing:
                            emit(inst, p, start + k, 0.6, vel)
            elif pat == "broken":              # root, fifth, third, fifth in eighths
                low = [place(root, 48), place((root + ivs[2]) % 12, 48),
                       place((root + ivs[1]) % 12, 48) + 12]
                low[1] = low[1] + 12 if low[1] < low[0] else low[1]
                order = [low[0], low[1], low[2], low[1]]
                for k in range(int(round(beats * 2))):
                    emit(inst, order[k % 4], start + 0.5 * k, 0.6, vel * (1.0 if k % 2 == 0 else 0.8))
            elif pat == "arp":                 # rising chord tones over two octaves
                up = chord_voicing(symbol, s.shift, low=60)[:3]
                run = up + [p + 12 for p in up]
                seq = run + run[-2:0:-1]
                for k in range(int(round(beats * 2))):
                    emit(inst, seq[k % len(seq)], start + 0.5 * k, 1.0, vel)
            else:
                raise ValueError(pat)
        if s.bass:
            pat, vel = s.bass
            if pat == "root":
                emit("bass", bass_root, start, min(beats, 2.0), vel)
                if beats >= 4 - 1e-9:
                    emit("bass", bass_root, start + 2.0, 2.0, vel * 0.8)
            elif pat == "walk":                # root and fifth on the strong beats
                step = 2.0 if meter == 4 else 3.0
                x, k = 0.0, 0
                while x < beats - 1e-9:
                    emit("bass", bass_root if k % 2 == 0 else fifth, start + x, 0.9, vel)
                    x += step if meter == 4 else beats
                    k += 1
            elif pat == "waltz":               # root on one (and a fifth every other bar)
                for k in range(int(round(beats))):
                    if (off + k) % meter == 0:
                        emit("bass", bass_root, start + k, 1.5, vel)
            else:
                raise ValueError(pat)

    def render(self, synth):
        length = max(t + (a[2] if k == "note" else 0.5) for t, k, a in self.events) + 3.0
        track = Track(length)
        for t, kind, args in sorted(self.events, key=lambda e: (e[0], e[1], str(e[2]))):
            if kind == "note":
                inst, midi, dur, vel = args
                track.add(synth.note(inst, midi, dur, vel), t)
            else:
                k, vel = args
                track.add(synth.perc(k, vel), t)
        return track.buf


# ---------------------------------------------------------------------------------------
# The tunes.
#
# Traditional (public domain): "Twinkle, Twinkle, Little Star" and its alphabet-song form,
# "Good Morning to All" (1893), "Jingle Bells" (1857) and the counting rhyme
# "One, two, three, four, five, once I caught a fish alive".
# Written for this program: the tunes of "how are you", "I love family",
# "what's this?" and "hello hello".

TWINKLE = Tune.of(4, "C", [
    ("C5 C5 G5 G5 | A5 A5 G5/2", "C | F/2 C/2"),
    ("F5 F5 E5 E5 | D5 D5 C5/2", "F/2 C/2 | G/2 C/2"),
    ("G5 G5 F5 F5 | E5 E5 D5/2", "C/2 F/2 | C/2 G/2"),
    ("G5 G5 F5 F5 | E5 E5 D5/2", "C/2 F/2 | C/2 G/2"),
    ("C5 C5 G5 G5 | A5 A5 G5/2", "C | F/2 C/2"),
    ("F5 F5 E5 E5 | D5 D5 C5/2", "F/2 C/2 | G7/2 C/2"),
])

ALPHABET = Tune.of(4, "C", [
    ("C5 C5 G5 G5 | A5 A5 G5/2", "C | F/2 C/2"),                      # A B C D E F G
    ("F5 F5 E5 E5 | D5/.5 D5/.5 D5/.5 D5/.5 C5/2", "F/2 C/2 | G/2 C/2"),  # H I J K LMNO P
    ("G5 G5 F5/2 | E5 E5 D5/2", "C/2 F/2 | C/2 G/2"),                 # Q R S, T U V
    ("G5/.5 G5/.5 G5 F5/2 | E5 E5 D5/2", "C/2 F/2 | C/2 G/2"),        # W X, Y and Z
    ("C5 C5 G5 G5 | A5 A5 G5/2", "C | F/2 C/2"),
    ("F5 F5 E5 E5 | D5 D5 C5/2", "F/2 C/2 | G7/2 C/2"),
])

GOOD_MORNING = Tune.of(3, "C", [
    ("R/2 G4", "G7"),                                                 # lead-in bar
    ("A4 G4 C5 | B4/2 G4 | A4 G4 D5 | C5/2 G4", "C | G7 | G7 | C"),
    ("G5 E5 C5 | B4 A4 F5 | E5 C5 D5 | C5/2 G4", "C | F | C/2 G7/1 | C"),
])

JINGLE_BELLS = Tune.of(4, "C", [
    # Chorus
    ("E5 E5 E5/2 | E5 E5 E5/2 | E5 G5 C5/1.5 D5/.5 | E5/4", "C | C | C | C"),
    ("F5 F5 F5/1.5 F5/.5 | F5 E5 E5 E5/.5 E5/.5 | E5 D5 D5 E5 | D5/2 G5/2",
     "F | C | D7 | G7"),
    ("E5 E5 E5/2 | E5 E5 E5/2 | E5 G5 C5/1.5 D5/.5 | E5/4", "C | C | C | C"),
    ("F5 F5 F5/1.5 F5/.5 | F5 E5 E5 E5/.5 E5/.5 | G5 G5 F5 D5 | C5/4", "F | C | G7 | C"),
    # Verse
    ("G4 E5 D5 C5 | G4/3 G4/.5 G4/.5 | G4 E5 D5 C5 | A4/4", "C | C | C | F"),
    ("A4 F5 E5 D5 | B4/4 | G5 G5 F5 D5 | E5/4", "F | G | G7 | C"),
    ("G4 E5 D5 C5 | G4/3 G4/.5 G4/.5 | G4 E5 D5 C5 | A4/3 A4", "C | C | C | F"),
    ("A4 F5 E5 D5 | G5 G5 G5 G5 | A5 G5 F5 D5 | C5/2 R/2", "F | G | G7 | C/2 G7/2"),
])

FISH = Tune.of(4, "C", [
    ("C5 D5 E5 F5 | G5/3 R | G5/.5 G5/.5 A5/.5 G5/.5 F5 E5 | D5/3 R", "C | C | C/2 G7/2 | G"),
    ("D5 E5 F5 G5 | A5/3 R | A5/.5 G5/.5 F5/.5 E5/.5 D5 E5 | C5/3 R", "G7 | F | F/2 G7/2 | C"),
    ("E5 E5 F5 G5 | A5/2 G5/2 | G5/.5 G5/.5 F5/.5 E5/.5 F5 E5 | D5/3 R",
     "C | F/2 C/2 | C/2 G7/2 | G"),
    ("E5 E5 F5 G5 | A5/2 G5/2 | A5/.5 G5/.5 F5/.5 E5/.5 D5 E5 | C5/3 R",
     "C | F/2 C/2 | F/2 G7/2 | C"),
])

HOW_ARE_YOU = Tune.of(4, "F", [
    ("F4 A4 C5/2 | D5 C5 A4/2 | Bb4 A4 G4 A4 | F4/2 G4/2", "F | Bb/2 F/2 | Gm/2 C/2 | F/2 C/2"),
    ("A4 C5 F5/2 | E5 D5 C5/2 | D5/.5 C5/.5 Bb4 A4 G4 | F4/3 R", "F | C/2 F/2 | Bb/2 C7/2 | F"),
    ("C5 C5 D5 C5 | A4/2 F4/2 | Bb4 Bb4 C5 Bb4 | G4/3 R", "F/2 Bb/2 | F | Gm/2 C7/2 | C7"),
    ("A4 Bb4 C5 D5 | C5/2 F5/2 | D5 C5 Bb4 G4 | F4/3 R", "F/2 Bb/2 | F/2 Dm/2 | Bb/2 C7/2 | F"),
])

I_LOVE_FAMILY = Tune.of(3, "G", [
    ("B4/2 A4 | G4 B4 D5 | E5/2 D5 | B4/3", "G | G | C | G"),
    ("C5/2 B4 | A4 G4 A4 | B4/2 A4 | D4/3", "C | D | G | D"),
    ("B4/2 A4 | G4 B4 D5 | G5/2 E5 | D5/3", "G | G | C | G"),
    ("C5/2 E5 | D5 B4 G4 | A4/2 F#4 | G4/3", "Am | G | D7 | G"),
])

WHATS_THIS = Tune.of(4, "D", [
    ("D5/.5 E5/.5 F#5 A5/2 | B5 A5 F#5/2 | G5 F#5 E5 D5 | E5/3 R", "D | G/2 D/2 | Em/2 A7/2 | A"),
    ("D5/.5 E5/.5 F#5 A5/2 | B5 A5 D6/2 | B5/.5 A5/.5 G5 F#5 E5 | D5/3 R",
     "D | G/2 D/2 | Em/2 A7/2 | D"),
    ("G5/.5 G5/.5 G5 B5/2 | A5/.5 A5/.5 A5 F#5/2 | G5 F#5 E5 F#5 | A5/2 R/2",
     "G | D | Em/2 D/2 | A7"),
    ("D5/.5 E5/.5 F#5 A5/2 | B5/.5 C#6/.5 D6 A5/2 | B5 G5 E5 C#5 | D5/3 R",
     "D | G/2 D/2 | Em/2 A7/2 | D"),
])

HELLO_HELLO = Tune.of(4, "C", [
    ("G5 E5 G5 E5 | C5 D5 E5/2 | F5 D5 F5 D5 | B4 C5 D5/2", "C | C | G7 | G"),
    ("E5 G5 C6 G5 | A5 G5 E5/2 | F5 E5 D5 G4 | C5/3 R", "C | F/2 C/2 | Dm/2 G7/2 | C"),
    ("A5 A5 G5 E5 | F5 F5 E5/2 | D5 D5 E5 F5 | G5/3 R", "F/2 C/2 | Dm/2 C/2 | Dm | G"),
    ("G5 E5 G5 E5 | A5 G5 F5 E5 | D5 E5 F5 B4 | C5/3 R", "C | F/2 C/2 | Dm/2 G7/2 | C"),
])


# Each song: tune, then its sections. Comments give the arrangement.
def songs():
    S = Section
    return {
        # The alphabet song: bouncy, marimba and glockenspiel, C major then D major.
        "111": (ALPHABET, [
            S(bars=(8, 12), tempo=116, lead="celesta", lead_vel=0.6,
              acc=[("pad", "pad", 0.35)], bass=("root", 0.45)),
            S(tempo=116, lead="marimba", acc=[("afterbeat", "epiano", 0.3)],
              bass=("walk", 0.55), perc=[("eighths", "shaker", 0.5)]),
            S(tempo=116, lead="glock", lead_vel=0.7, counter=("third", "flute", 0.32),
              acc=[("broken", "harp", 0.3), ("pad", "pad", 0.2)], bass=("walk", 0.5),
              perc=[("offbeats", "shaker", 0.45)]),
            S(chords_over="A7", tempo=116, acc=[("afterbeat", "epiano", 0.3)],
              bass=("walk", 0.5), melody_over="R/3 A4",
              lead="marimba"),
            S(shift=2, tempo=116, lead="marimba", counter=("octave", "glock", 0.3),
              acc=[("afterbeat", "epiano", 0.3), ("pad", "pad", 0.2)], bass=("walk", 0.55),
              perc=[("eighths", "shaker", 0.5)], rit=(4, 0.6), hold=4, sparkle="glock"),
        ]),
        # Good Morning to All: a waltz; flute, then celesta with a flute harmony,
        # then up to D major with marimba.
        "222": (GOOD_MORNING, [
            S(bars=(5, 9), tempo=108, lead="celesta", lead_vel=0.6,
              acc=[("pad", "pad", 0.3)], bass=("waltz", 0.45)),
            S(bars=(1, 9), tempo=108, lead="flute", acc=[("afterbeat", "harp", 0.3)],
              bass=("waltz", 0.5)),
            S(bars=(1, 9), tempo=108, lead="celesta", counter=("third", "flute", 0.35),
              acc=[("afterbeat", "epiano", 0.28), ("pad", "pad", 0.2)], bass=("waltz", 0.5),
              replace={8: "C5/3"}),
            S(chords_over="A7", melody_over="R/2 A4", tempo=108, lead="flute",
              acc=[("afterbeat", "harp", 0.3)], bass=("waltz", 0.5)),
            S(bars=(1, 9), shift=2, tempo=108, lead="marimba", counter=("octave_down", "flute", 0.3),
              acc=[("afterbeat", "harp", 0.3), ("pad", "pad", 0.2)], bass=("waltz", 0.5),
              perc=[("downbeat", "shaker", 0.4)]),
            S(bars=(1, 9), shift=2, tempo=108, lead="flute", counter=("third", "celesta", 0.3),
              acc=[("pad", "pad", 0.28), ("afterbeat", "harp", 0.25)], bass=("waltz", 0.5),
              replace={8: "C5/3"}, rit=(6, 0.55), hold=3, sparkle="celesta"),
        ]),
        # How are you: warm reed melody over electric-piano chords, then marimba with
        # flute answers, and a slow last phrase.
        "333": (HOW_ARE_YOU, [
            S(bars=(14, 16), tempo=104, lead="marimba", lead_vel=0.6,
              acc=[("pad", "pad", 0.3)], bass=("root", 0.45)),
            S(tempo=104, lead="reed", acc=[("block", "epiano", 0.3)], bass=("walk", 0.5),
              perc=[("backbeat", "shaker", 0.4)]),
            S(tempo=104, lead="marimba", counter=("fills", "flute", 0.35),
              acc=[("broken", "harp", 0.28), ("pad", "pad", 0.22)], bass=("walk", 0.5),
              perc=[("offbeats", "shaker", 0.4)]),
            S(bars=(12, 16), tempo=104, lead="reed", counter=("sixth", "celesta", 0.3),
              acc=[("pad", "pad", 0.3)], bass=("root", 0.45), rit=(6, 0.55), hold=4,
              sparkle="celesta"),
        ]),
        # I love family: a gentle waltz in G, flute over harp; then in A major with
        # celesta and a low flute harmony.
        "444": (I_LOVE_FAMILY, [
            S(bars=(12, 16), tempo=96, lead="celesta", lead_vel=0.6,
              acc=[("pad", "pad", 0.3)], bass=("waltz", 0.45)),
            S(tempo=96, lead="flute", acc=[("afterbeat", "harp", 0.3), ("pad", "pad", 0.18)],
              bass=("waltz", 0.5)),
            S(chords_over="E7", melody_over="R/3", tempo=96,
              acc=[("afterbeat", "harp", 0.3)], bass=("waltz", 0.5)),
            S(shift=2, tempo=96, lead="celesta", counter=("sixth", "flute", 0.32),
              acc=[("afterbeat", "epiano", 0.26), ("pad", "pad", 0.2)], bass=("waltz", 0.5),
              rit=(6, 0.55), hold=3, sparkle="harp"),
        ]),
        # One, two, three, four, five: lively marimba with shaker; then glockenspiel with a
        # flute harmony over electric piano.
        "555": (FISH, [
            S(chords_over="C | G7", tempo=118, acc=[("afterbeat", "epiano", 0.3)],
              bass=("walk", 0.5), perc=[("eighths", "shaker", 0.45)]),
            S(tempo=118, lead="marimba", acc=[("afterbeat", "epiano", 0.3)],
              bass=("walk", 0.55), perc=[("eighths", "shaker", 0.5)]),
            S(tempo=118, lead="glock", lead_vel=0.7, counter=("third", "flute", 0.34),
              acc=[("block", "epiano", 0.26), ("pad", "pad", 0.18)], bass=("walk", 0.5),
              perc=[("offbeats", "shaker", 0.45)], rit=(4, 0.6), hold=4, sparkle="marimba"),
        ]),
        # What's this?: playful, marimba with wood-block tick-tocks; then flute with
        # glockenspiel answers over broken chords.
        "666": (WHATS_THIS, [
            S(chords_over="D | A7", tempo=110, acc=[("afterbeat", "harp", 0.3)],
              bass=("walk", 0.5), perc=[("backbeat", "block", 0.3)]),
            S(tempo=110, lead="marimba", acc=[("afterbeat", "harp", 0.3)],
              bass=("walk", 0.55), perc=[("backbeat", "block", 0.3)]),
            S(tempo=110, lead="flute", counter=("fills", "glock", 0.3),
              acc=[("broken", "harp", 0.3), ("pad", "pad", 0.18)], bass=("walk", 0.5),
              perc=[("offbeats", "shaker", 0.4)]),
            S(bars=(12, 16), tempo=110, lead="marimba", counter=("octave_down", "flute", 0.3),
              acc=[("pad", "pad", 0.3)], bass=("root", 0.45), rit=(6, 0.55), hold=4,
              sparkle="glock"),
        ]),
        # Little star: a slow lullaby in F, flute over pad and harp arpeggios; then
        # celesta an octave up with a flute harmony.
        "777": (TWINKLE, [
            S(bars=(10, 12), shift=-7, tempo=80, lead="harp", lead_vel=0.55, lead_oct=1,
              acc=[("pad", "pad", 0.3)], bass=("root", 0.4)),
            S(shift=-7, tempo=80, lead="flute", acc=[("arp", "harp", 0.22), ("pad", "pad", 0.25)],
              bass=("root", 0.45)),
            S(shift=-7, tempo=80, lead="celesta", lead_oct=1, lead_vel=0.7,
              counter=("third", "flute", 0.4), acc=[("arp", "harp", 0.2), ("pad", "pad", 0.25)],
              bass=("root", 0.45), rit=(6, 0.55), hold=4, sparkle="celesta"),
        ]),
        # Hello hello: bright celesta over oom-pah chords; then flute with marimba
        # harmony; then the second half a step higher with glockenspiel doubling.
        "888": (HELLO_HELLO, [
            S(chords_over="C | G7", shift=-2, tempo=120, acc=[("afterbeat", "epiano", 0.3)],
              bass=("walk", 0.5), perc=[("offbeats", "shaker", 0.45)]),
            S(shift=-2, tempo=120, lead="celesta", acc=[("afterbeat", "epiano", 0.3)],
              bass=("walk", 0.55), perc=[("offbeats", "shaker", 0.45)]),
            S(shift=-2, tempo=120, lead="flute", counter=("sixth", "marimba", 0.34),
              acc=[("broken", "harp", 0.28), ("pad", "pad", 0.18)], bass=("walk", 0.5),
              perc=[("eighths", "shaker", 0.45)]),
            S(chords_over="G7", tempo=120, acc=[("afterbeat", "epiano", 0.3)],
              bass=("walk", 0.5), perc=[("offbeats", "shaker", 0.45)]),
            S(bars=(8, 16), tempo=120, lead="celesta", counter=("octave", "glock", 0.28),
              acc=[("afterbeat", "epiano", 0.3), ("pad", "pad", 0.2)], bass=("walk", 0.55),
              perc=[("offbeats", "shaker", 0.45)], rit=(4, 0.6), hold=4, sparkle="glock"),
        ]),
        # Jingle bells: sleigh bells throughout; chorus on celesta, verse on flute,
        # chorus again a step up with glockenspiel and a flute harmony.
        "999": (JINGLE_BELLS, [
            S(bars=(12, 16), tempo=126, lead="glock", lead_vel=0.6,
              acc=[("afterbeat", "epiano", 0.28)], bass=("walk", 0.45),
              perc=[("beats", "bells", 0.35)]),
            S(bars=(0, 16), tempo=126, lead="celesta", acc=[("afterbeat", "epiano", 0.3)],
              bass=("walk", 0.55), perc=[("beats", "bells", 0.4)]),
            S(bars=(16, 32), tempo=126, lead="flute", acc=[("broken", "harp", 0.28),
              ("pad", "pad", 0.18)], bass=("walk", 0.5), perc=[("backbeat", "bells", 0.35)]),
            S(chords_over="A7", tempo=126, acc=[("afterbeat", "epiano", 0.3)],
              bass=("walk", 0.5), perc=[("beats", "bells", 0.4)]),
            S(bars=(0, 16), shift=2, tempo=126, lead="glock", lead_vel=0.75,
              counter=("third", "flute", 0.35),
              acc=[("afterbeat", "epiano", 0.3), ("pad", "pad", 0.2)], bass=("walk", 0.55),
              perc=[("beats", "bells", 0.4)], rit=(4, 0.6), hold=4, sparkle="glock"),
        ]),
    }


# ---------------------------------------------------------------------------------------
# Short sounds: the notes of each chime as (time, instrument, midi, seconds, velocity).

def clip_events(name):
    n = note_number
    ev = []

    def chord(t, inst, names, dur, vel):
        for nm in names:
            ev.append((t, inst, n(nm), dur, vel))

    if name == "intro":
        for i, nm in enumerate(["C5", "E5", "G5", "C6"]):
            ev.append((0.09 * i, "glock", n(nm), 0.3, 0.55))
            ev.append((0.09 * i, "celesta", n(nm), 0.3, 0.45))
        chord(0.42, "celesta", ["E5", "G5", "C6"], 1.4, 0.4)
        chord(0.42, "pad", ["C4", "E4", "G4"], 1.2, 0.5)
        ev.append((0.42, "bass", n("C3"), 1.3, 0.5))
        ev.append((0.78, "glock", n("G6"), 0.8, 0.3))
        ev.append((0.9, "glock", n("C7"), 1.0, 0.3))
    elif name == "fanfare":
        line = [("G4", 0.0, 0.14), ("C5", 0.16, 0.14), ("E5", 0.32, 0.14), ("G5", 0.48, 0.42),
                ("E5", 0.94, 0.14), ("G5", 1.1, 1.1)]
        for nm, t, d in line:
            ev.append((t, "horn", n(nm), d, 0.55))
            ev.append((t, "flute", n(nm) + 12, d, 0.25))
        chord(0.48, "pad", ["C4", "E4", "G4"], 0.45, 0.45)
        chord(1.1, "pad", ["C4", "E4", "G4", "C5"], 1.2, 0.5)
        ev.append((0.48, "bass", n("C3"), 0.45, 0.5))
        ev.append((1.1, "bass", n("C3"), 1.2, 0.5))
        for i, nm in enumerate(["C6", "E6", "G6", "C7"]):
            ev.append((1.15 + 0.08 * i, "glock", n(nm), 0.9, 0.3))
    elif name == "praise1":
        for i, nm in enumerate(["C5", "E5", "G5"]):
            ev.append((0.1 * i, "celesta", n(nm), 0.25, 0.6))
        ev.append((0.3, "celesta", n("C6"), 0.7, 0.6))
        ev.append((0.3, "glock", n("C6"), 0.7, 0.25))
    elif name == "praise2":
        chord(0.0, "glock", ["E5", "G5"], 0.3, 0.45)
        chord(0.16, "glock", ["A5", "C6"], 0.3, 0.45)
        chord(0.32, "glock", ["C6", "E6"], 0.8, 0.5)
        ev.append((0.32, "celesta", n("G5"), 0.8, 0.35))
    elif name == "praise3":
        for i, nm in enumerate(["C5", "D5", "E5", "G5", "A5", "C6"]):
            ev.append((0.065 * i, "marimba", n(nm), 0.3, 0.6))
        ev.append((0.39, "glock", n("E6"), 0.7, 0.3))
        ev.append((0.45, "glock", n("G6"), 0.7, 0.3))
    elif name == "comfort1":      # a gentle "hmm?" rising on a soft ocarina
        ev.append((0.0, "ocarina", n("E4"), 0.32, 0.5))
        ev.append((0.34, "ocarina", n("G4"), 0.45, 0.5))
        chord(0.0, "pad", ["C4", "E4", "G4"], 0.75, 0.3)
    elif name == "comfort2":      # a soft low bell with its fifth
        ev.append((0.0, "celesta", n("C4"), 1.0, 0.6))
        ev.append((0.18, "celesta", n("G4"), 0.9, 0.45))
        chord(0.0, "pad", ["C4", "E4"], 0.9, 0.25)
    elif name == "comfort3":      # "it's all right": three soft harp notes, ending up
        for t, nm in [(0.0, "G4"), (0.2, "E4"), (0.4, "A4")]:
            ev.append((t, "harp", n(nm), 0.5, 0.5))
        ev.append((0.4, "pad", n("F4"), 0.6, 0.25))
        ev.append((0.4, "pad", n("C4"), 0.6, 0.25))
    else:
        raise ValueError(name)
    return ev


def blip(kind):
    """The pointer sounds: a tiny sine blip (hover) and a soft pop (press)."""
    out = []
    if kind == "hover":
        n = int(0.1 * SR)
        ph = 0.0
        for i in range(n):
            t = i / SR
            f = 1400.0 + 300.0 * min(1.0, t / 0.03)
            ph += 2 * math.pi * f / SR
            env = min(1.0, t / 0.004) * math.exp(-t / 0.018)
            out.append(env * math.sin(ph))
    else:
        n = int(0.16 * SR)
        ph = 0.0
        for i in range(n):
            t = i / SR
            f = 330.0 + 420.0 * math.exp(-t / 0.018)
            ph += 2 * math.pi * f / SR
            env = min(1.0, t / 0.002) * math.exp(-t / 0.03)
            out.append(env * (math.sin(ph) + 0.15 * math.sin(2 * ph)))
    tail = int(0.01 * SR)
    for i in range(tail):
        out[-1 - i] *= i / tail
    return array("d", out)


# ---------------------------------------------------------------------------------------
# Processing and encoding

def _db(x):
    return 20.0 * math.log10(x) if x > 0 else -200.0


def rms(samples):
    return math.sqrt(sum(x * x for x in samples) / max(1, len(samples)))


def peak(samples):
    return max(abs(x) for x in samples) if samples else 0.0


def reverb(samples, tmp, args):
    """Runs the samples through sox (float in, float out) with the given effects."""
    dry = os.path.join(tmp, "dry.f32")
    wet = os.path.join(tmp, "wet.f32")
    with open(dry, "wb") as f:
        array("f", samples).tofile(f)
    raw = ["-t", "f32", "-r", str(SR), "-c", "1"]
    subprocess.run(["sox", "-R", "-V1", *raw, dry, *raw, wet, *args], check=True)
    out = array("f")
    with open(wet, "rb") as f:
        out.frombytes(f.read())
    return array("d", out)


def trim_tail(samples, floor_db=-60.0, fade=0.3):
    """Cuts the silence after the last audible sample and fades the last moments."""
    limit = 10 ** (floor_db / 20.0) * peak(samples)
    end = len(samples)
    while end > 0 and abs(samples[end - 1]) < limit:
        end -= 1
    end = min(len(samples), end + int(0.05 * SR))
    out = samples[:end]
    nf = min(len(out), int(fade * SR))
    for i in range(nf):
        out[len(out) - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / nf)
    return out


def soft_limit(samples, ceiling):
    """Leaves the signal untouched up to 70% of the ceiling, then bends it smoothly."""
    knee = 0.7 * ceiling
    span = ceiling - knee
    out = array("d", samples)
    for i, x in enumerate(out):
        a = abs(x)
        if a > knee:
            y = knee + span * math.tanh((a - knee) / span)
            out[i] = y if x > 0 else -y
    return out


def write_wav(path, samples):
    ints = array("h", [max(-32767, min(32767, int(round(x * 32767.0)))) for x in samples])
    if sys.byteorder == "big":
        ints.byteswap()
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(SR)
        w.writeframes(ints.tobytes())


def encode(wav, mp3, kbps):
    subprocess.run(["lame", "--quiet", "--noreplaygain", "--nohist", "-m", "m", "--cbr",
                    "-b", str(kbps), "-q", "2", str(wav), str(mp3)], check=True)


def stat(path):
    """(seconds, peak, rms) of a file as sox reads it."""
    res = subprocess.run(["sox", str(path), "-n", "stat"], capture_output=True, text=True,
                         check=True)
    values = {}
    for line in res.stderr.splitlines():
        key, _, val = line.partition(":")
        values[key.strip()] = val.strip()
    return (float(values["Length (seconds)"]), float(values["Maximum amplitude"]),
            float(values["RMS     amplitude"]))


def make_song(name, tune, sections, tmp, out_dir):
    arr = Arranger(tune)
    for s in sections:
        arr.section(s)
    dry = arr.render(Synth())
    dry = array("d", [x * 0.2 for x in dry])
    wet = reverb(dry, tmp, ["highpass", "35", "reverb", "40", "55", "70", "100", "12", "-4"])
    wet = trim_tail(wet, fade=0.6)
    g = 10 ** (SONG_RMS_DB / 20.0) / rms(wet)
    final = soft_limit(array("d", [x * g for x in wet]), 10 ** (SONG_CEILING_DB / 20.0))
    wav = os.path.join(tmp, name + ".wav")
    write_wav(wav, final)
    encode(wav, out_dir / f"{name}.mp3", SONG_KBPS)


# Peak level (dBFS) of each short sound; all stay well under the songs' levels.
CLIP_PEAK_DB = {
    "intro": -11.0, "fanfare": -11.0,
    "praise1": -11.0, "praise2": -11.0, "praise3": -11.0,
    "comfort1": -13.0, "comfort2": -13.0, "comfort3": -13.0,
    "hover": -18.0, "press": -16.0,
}


def make_clip(name, tmp, out_dir):
    if name in ("hover", "press"):
        samples = blip(name)
    else:
        synth = Synth()
        ev = clip_events(name)
        track = Track(max(t + d for t, _, _, d, _ in ev) + 1.5)
        for t, inst, midi, d, vel in ev:
            track.add(synth.note(inst, midi, d, vel), t)
        samples = reverb(array("d", [x * 0.3 for x in track.buf]), tmp,
                         ["highpass", "60", "reverb", "25", "60", "40", "100", "5", "-6"])
        samples = trim_tail(samples, floor_db=-42.0,
                            fade=0.4 if name in ("intro", "fanfare") else 0.25)
        keep = int(CLIP_SECONDS[name] * SR)
        if len(samples) > keep:              # let the ring fade out at the wanted length
            samples = samples[:keep]
            nf = int(0.3 * SR)
            for i in range(nf):
                samples[keep - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / nf)
    g = 10 ** (CLIP_PEAK_DB[name] / 20.0) / peak(samples)
    wav = os.path.join(tmp, name + ".wav")
    write_wav(wav, [x * g for x in samples])
    encode(wav, out_dir / f"{name}.mp3", CLIP_KBPS)


CLIP_SECONDS = {  # longest source length of each chime (the mp3 frames add a little)
    "intro": 2.6, "fanfare": 3.3, "praise1": 1.15, "praise2": 1.15, "praise3": 1.2,
    "comfort1": 1.1, "comfort2": 1.25, "comfort3": 1.15,
}

CLIP_LIMITS = {  # shortest and longest allowed length in seconds (as decoded)
    "intro": (2.0, 3.2), "fanfare": (2.0, 4.0),
    "praise1": (0.6, 1.5), "praise2": (0.6, 1.5), "praise3": (0.6, 1.5),
    "comfort1": (0.6, 1.5), "comfort2": (0.6, 1.5), "comfort3": (0.6, 1.5),
    "hover": (0.0, 0.2), "press": (0.0, 0.3),
}


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    out_dir = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else root / "assets" / "sounds"
    out_dir.mkdir(parents=True, exist_ok=True)
    only = set(os.environ.get("SCENE_SOUNDS_ONLY", "").split()) or None
    with tempfile.TemporaryDirectory() as tmp:
        for name, (tune, sections) in songs().items():
            if only is None or name in only:
                print(f"song {name}", flush=True)
                make_song(name, tune, sections, tmp, out_dir)
        for name in CLIP_PEAK_DB:
            if only is None or name in only:
                print(f"clip {name}", flush=True)
                make_clip(name, tmp, out_dir)

    # Check lengths and levels of what was written, as a player would decode it.
    problems = []
    song_stats = {}
    print(f"{'file':14} {'seconds':>8} {'peak dB':>8} {'rms dB':>8} {'KiB':>6}")
    for path in sorted(out_dir.glob("*.mp3")):
        secs, pk, rm = stat(path)
        print(f"{path.name:14} {secs:8.2f} {_db(pk):8.1f} {_db(rm):8.1f} "
              f"{path.stat().st_size / 1024:6.0f}")
        base = path.stem
        if base.isdigit():
            song_stats[base] = (pk, rm)
            if not 55.0 <= secs <= 180.0:
                problems.append(f"{path.name}: {secs:.1f} s")
        elif base in CLIP_LIMITS:
            lo, hi = CLIP_LIMITS[base]
            if not lo <= secs <= hi:
                problems.append(f"{path.name}: {secs:.2f} s, wanted {lo}..{hi}")
    if song_stats:
        min_peak = min(p for p, _ in song_stats.values())
        min_rms = min(r for _, r in song_stats.values())
        for path in sorted(out_dir.glob("*.mp3")):
            if path.stem in CLIP_LIMITS:
                _, pk, rm = stat(path)
                if _db(pk) > _db(min_peak) - 1.0 or _db(rm) > _db(min_rms) - 1.0:
                    problems.append(f"{path.name} is louder than a song")
    total = sum(p.stat().st_size for p in out_dir.glob("*.mp3"))
    print(f"total {total / 1024 / 1024:.2f} MiB")
    if problems:
        sys.exit("problems:\n  " + "\n  ".join(problems))


if __name__ == "__main__":
    main()
