"""Turns tools/music/all.score into a General MIDI file.

The score holds, per section, the chords, the lead line, the instruments and
a style; bass, pads, arpeggios, harmony and drums are written out from the
chords here, so the source stays short enough to edit by hand.  The running
order can vary a section where it is played again (another octave, a
harmony line, ornaments, other instruments, another key), which is how one
file carries a whole session without sounding like a loop.
"""

import struct

PPQ = 480
EIGHTH = PPQ // 2
SIXTEENTH = PPQ // 4

NOTE = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
MODES = {"major": [0, 2, 4, 5, 7, 9, 11], "minor": [0, 2, 3, 5, 7, 8, 10], "harmonic": [0, 2, 3, 5, 7, 8, 11]}
QUALITIES = {"": [0, 4, 7], "m": [0, 3, 7], "7": [0, 4, 7, 10], "m7": [0, 3, 7, 10], "M7": [0, 4, 7, 11],
             "sus4": [0, 5, 7], "sus2": [0, 2, 7], "dim": [0, 3, 6], "aug": [0, 4, 8]}

# channel: (track name, default GM program, volume, pan)
LEAD, BASS, PAD, ARP, DOUBLE, DRUMS = 0, 1, 2, 3, 4, 9
VOICES = {"lead": LEAD, "bass": BASS, "pad": PAD, "arp": ARP, "double": DOUBLE}
CHANNELS = {
    LEAD: ("Lead", 80, 96, 64),
    BASS: ("Bass", 38, 100, 64),
    PAD: ("Pad", 48, 64, 44),
    ARP: ("Arp", 46, 62, 88),
    DOUBLE: ("Harmony", 61, 62, 76),
    DRUMS: ("Drums", 0, 92, 64),
}
# TimGM6mb renders hot: every channel volume is scaled by this so the densest
# passages stay below full scale at the game's default music volume.
MASTER = 0.8

KICK, SIDE, SNARE, CLAP, HAT, PEDAL, OPEN_HAT, CRASH, RIDE = 36, 37, 38, 39, 42, 44, 46, 49, 51
TOM_FLOOR, TOM_LO, TOM_MID, TOM_HI, TAMB = 41, 45, 47, 50, 54

# One bar of each drum style on a sixteenth grid (twelve steps for 3/4):
# X accent, x normal, o ghost.
DRUM_STYLES = {
    "light": {HAT: "x.o.x.o.x.o.x.o.", KICK: "x.......x......."},
    "soft": {RIDE: "o...o...o...o...", SIDE: "....o.......o...", KICK: "x.........x....."},
    "full": {HAT: "x.o.x.o.x.o.x.o.", KICK: "X..x..x.X..x....", SNARE: "....X.......X..."},
    "half": {RIDE: "x...x...x...x...", KICK: "X.........x.....", SNARE: "........X......."},
    "drive": {KICK: "X...X...X...X...", SNARE: "....X.......X...", OPEN_HAT: "..x...x...x...x.",
              HAT: "o.......o.......", CLAP: "............o..."},
    "boss": {KICK: "X.xxX.x.X.xxX.x.", SNARE: "....X.......X..o", HAT: "xoxoxoxoxoxoxoxo"},
    "march": {SNARE: "x.ox..x.x.oxx.xo", KICK: "X.......X.......", TAMB: "..x...x...x...x."},
    "toms": {TOM_LO: "X..x..X...x.x...", TOM_HI: "......x.....x.xx", KICK: "X.......X......."},
    "waltz": {KICK: "x...........", HAT: "....o...o...", RIDE: "x..........."},
}
VELOCITY = {"X": 112, "x": 90, "o": 58}
FILL = [SNARE, SNARE, TOM_HI, TOM_HI, TOM_MID, TOM_MID, TOM_LO, TOM_FLOOR]


def note_number(tok):
    name, octave = tok[0], tok[1:]
    n = NOTE[name]
    if octave.startswith("#"):
        n, octave = n + 1, octave[1:]
    elif octave.startswith("b"):
        n, octave = n - 1, octave[1:]
    return 12 * (int(octave) + 1) + n


def chord_tones(sym):
    """Root pitch class and the intervals above it."""
    root = NOTE[sym[0]]
    rest = sym[1:]
    if rest.startswith("#"):
        root, rest = root + 1, rest[1:]
    elif rest.startswith("b"):
        root, rest = root - 1, rest[1:]
    if rest not in QUALITIES:
        raise ValueError("unknown chord " + sym)
    return root % 12, QUALITIES[rest]


def parse(text):
    tempo, sections, order, cur = 120, {}, [], None
    for raw in text.splitlines():
        line = raw.strip()
        if not line or line.startswith("#"):   # whole-line comments: "#" also means sharp
            continue
        key, _, val = line.partition(" ")
        if key == "play":
            order += val.split()
        elif key == "section":
            cur = sections[val.strip()] = {"chords": [], "lead": [], "style": {}, "voices": {}, "mix": {},
                                           "tempo": tempo, "meter": 4, "scale": None}
        elif key == "tempo" and cur is None:
            tempo = int(val)
        elif key in ("tempo", "meter"):
            cur[key] = int(val)
        elif key == "scale":
            tonic, mode = val.split()
            cur["scale"] = (chord_tones(tonic)[0], MODES[mode])
        elif key == "chords":
            cur["chords"] += val.split()
        elif key == "lead":
            cur["lead"] += [bar.split() for bar in val.split("|")]
        elif key in ("style", "voices", "mix"):
            cur[key].update(dict(kv.split("=") for kv in val.split()))
        else:
            raise ValueError("unknown score line: " + raw)
    for name, s in sections.items():
        if len(s["lead"]) != len(s["chords"]):
            raise ValueError(f"section {name}: {len(s['lead'])} lead bars for {len(s['chords'])} chords")
        for i, bar in enumerate(s["lead"]):
            if abs(sum(float(t.split(":")[1]) for t in bar) - 2 * s["meter"]) > 1e-9:
                raise ValueError(f"section {name} bar {i + 1} is not {2 * s['meter']} eighths long")
        if s["scale"] is None:
            root, ivs = chord_tones(s["chords"][0].split(",")[0])
            s["scale"] = (root, MODES["minor" if ivs[1] == 3 else "major"])
    for item in order:
        if item.split("+")[0] not in sections:
            raise ValueError("play: no section " + item)
    return tempo, sections, order


def _scale_step(scale, k, steps):
    """The note `steps` scale degrees above (or below) k, k itself snapped to the scale."""
    root, mode = scale
    pcs = sorted((root + m) % 12 for m in mode)
    octave, pc = divmod(k, 12)
    idx = max(i for i, p in enumerate(pcs) if p <= pc) if pc >= pcs[0] else -1
    if idx < 0:
        octave, idx = octave - 1, len(pcs) - 1
    idx += steps
    octave += idx // len(pcs)
    return octave * 12 + pcs[idx % len(pcs)]


def _lead_notes(bars, meter, shift):
    """(start in eighths from the section start, length in eighths, note or None); ties merged."""
    out = []
    t = 0.0
    for bar in bars:
        for tok in bar:
            n, ln = tok.split(":")
            ln = float(ln)
            if n == "~" and out and out[-1][2] is not None:
                out[-1] = (out[-1][0], out[-1][1] + ln, out[-1][2])
            else:
                out.append((t, ln, None if n in ("r", "~") else note_number(n) + shift))
            t += ln
    return out


def _ornament(notes, scale):
    """Turns on long notes and passing notes across leaps, so a repeat is not a copy."""
    out = []
    for i, (t, ln, k) in enumerate(notes):
        nxt = notes[i + 1][2] if i + 1 < len(notes) else None
        if k is not None and ln >= 4:
            up = _scale_step(scale, k, 1)
            out += [(t, ln - 1.5, k), (t + ln - 1.5, 0.5, up), (t + ln - 1, 0.5, k),
                    (t + ln - 0.5, 0.5, _scale_step(scale, k, -1))]
        elif k is not None and nxt is not None and ln >= 2 and abs(nxt - k) >= 5:
            step = 1 if nxt > k else -1
            out += [(t, ln - 1, k), (t + ln - 1, 0.5, _scale_step(scale, k, step)),
                    (t + ln - 0.5, 0.5, _scale_step(scale, k, 2 * step))]
        else:
            out.append((t, ln, k))
    return out


def _harmony(k, ln, chord, scale):
    """A second voice under the lead: on held notes the closest chord tone a third to a sixth
    below, so it agrees with the chord; on quick notes the scale's third below, so runs move
    in parallel."""
    if ln >= 2:
        root, ivs = chord
        below = [k - d for d in (3, 4, 8, 9, 5) if (k - d - root) % 12 in [i % 12 for i in ivs]]
        if below:
            return below[0]
    return _scale_step(scale, k, -2)


def _segments(sym, bar_ticks):
    """A bar's chords: "F,G" splits the bar evenly."""
    parts = sym.split(",")
    ln = bar_ticks // len(parts)
    return [(i * ln, ln) + chord_tones(p) for i, p in enumerate(parts)]


def _near(pc, low):
    """Pitch class pc in the octave starting at low."""
    return low + (pc - low) % 12


def arrange(tempo, sections, order):
    ev = []       # (tick, channel, note, velocity, length)
    ctl = []      # (tick, channel, bytes) program and volume changes
    tempos = []   # (tick, bpm)

    def add(t, ch, n, v, ln):
        if n is not None:
            ev.append((int(t), ch, int(n), int(max(1, min(127, v))), int(ln)))

    t0 = 0
    programs = {}
    for si, item in enumerate(order):
        name, *mods = item.split("+")
        s = sections[name]
        st = dict(s["style"])
        voices = {k: int(v) for k, v in s["voices"].items()}
        mix = {k: int(v) for k, v in s["mix"].items()}
        shift, octave, harm, orn, bpm = 0, 0, False, False, s["tempo"]
        for m in mods:
            if m == "up":
                octave = 12
            elif m == "down":
                octave = -12
            elif m == "harm":
                harm = True
            elif m == "orn":
                orn = True
            elif m.startswith("key="):
                shift = int(m[4:])
            elif m.startswith("tempo="):
                bpm = int(m[6:])
            elif m.startswith("@"):
                k, v = m[1:].split("=")
                voices[k] = int(v)
            else:
                k, v = m.split("=")
                st[k] = v
        scale = ((s["scale"][0] + shift) % 12, s["scale"][1])
        meter = s["meter"]
        bar_ticks = meter * PPQ
        steps = meter * 4
        tempos.append((t0, bpm))
        for vname, ch in VOICES.items():
            prog = voices.get(vname, CHANNELS[ch][1])
            if programs.get(ch) != prog:
                programs[ch] = prog
                ctl.append((t0, ch, bytes([0xC0 | ch, prog])))
            ctl.append((t0, ch, bytes([0xB0 | ch, 7, round(MASTER * mix.get(vname, CHANNELS[ch][2]))])))
        ctl.append((t0, DRUMS, bytes([0xB0 | DRUMS, 7, round(MASTER * mix.get("drums", CHANNELS[DRUMS][2]))])))

        # lead, with an optional harmony a third below and a brass double an octave down
        notes = _lead_notes(s["lead"], meter, shift + octave)
        if orn:
            notes = _ornament(notes, scale)
        for t, ln, k in notes:
            if k is None:
                continue
            tick = t0 + t * EIGHTH
            on_beat = abs(t * EIGHTH % PPQ) < 1
            add(tick, LEAD, k, 100 if on_beat else 88, ln * EIGHTH - 20)
            if harm:
                bar = s["chords"][min(int(t // (2 * meter)), len(s["chords"]) - 1)].split(",")
                part = bar[min(int(t % (2 * meter) / (2 * meter) * len(bar)), len(bar) - 1)]
                root, ivs = chord_tones(part)
                add(tick, DOUBLE, _harmony(k, ln, ((root + shift) % 12, ivs), scale), 70, ln * EIGHTH - 30)
            elif st.get("double") == "on":
                add(tick, DOUBLE, k - 12, 70, ln * EIGHTH - 30)

        nbars = len(s["chords"])
        for b, sym in enumerate(s["chords"]):
            bt = t0 + b * bar_ticks
            last_bar = b == nbars - 1
            segs = [(o, ln, (r + shift) % 12, ivs) for o, ln, r, ivs in _segments(sym, bar_ticks)]
            nxt_root = (_segments(s["chords"][(b + 1) % nbars], bar_ticks)[0][2] + shift) % 12
            for si_, (off, ln, root, ivs) in enumerate(segs):
                st_ = bt + off
                br = _near(root, 28)   # bass root E1..D#2
                bass = st.get("bass", "none")
                if bass == "pedal":
                    add(st_, BASS, br, 92, ln - 30)
                elif bass == "half":
                    half = ln // 2
                    add(st_, BASS, br, 96, half - 30)
                    add(st_ + half, BASS, br + (7 if len(segs) == 1 else 12), 86, half - 30)
                elif bass == "drive":
                    for e in range(ln // EIGHTH):
                        add(st_ + e * EIGHTH, BASS, br + (12 if e % 4 == 3 else 0), 100 if e % 2 == 0 else 84, EIGHTH - 40)
                elif bass == "gallop":
                    for q in range(ln // PPQ):
                        add(st_ + q * PPQ, BASS, br, 104, EIGHTH - 30)
                        add(st_ + q * PPQ + EIGHTH, BASS, br + (12 if q % 2 else 0), 84, SIXTEENTH - 20)
                        add(st_ + q * PPQ + EIGHTH + SIXTEENTH, BASS, br, 88, SIXTEENTH - 20)
                elif bass == "synco":
                    for e, k in zip("x..x..x...x.x..x", range(16)):
                        if e == "x" and k * SIXTEENTH < ln:
                            add(st_ + k * SIXTEENTH, BASS, br + (12 if k in (6, 12) else 0), 100 if k % 4 == 0 else 86,
                                SIXTEENTH * 2 - 20)
                elif bass == "walk":
                    beats = ln // PPQ
                    line = [br, br + ivs[1], br + 7, br + 9][:beats]
                    if beats >= 2 and si_ == len(segs) - 1:
                        target = _near(nxt_root, 28)
                        line[-1] = target - 1 if target - 1 > br else target + 1
                    for q, k in enumerate(line):
                        add(st_ + q * PPQ, BASS, k, 96 if q == 0 else 84, PPQ - 40)
                elif bass == "waltz":
                    add(st_, BASS, br, 92, PPQ * 2 - 30)
                    add(st_ + 2 * PPQ, BASS, br + 7, 78, PPQ - 30)
                # pad: the chord as a close voicing around middle C
                if st.get("pad", "off") == "on":
                    for iv in ivs:
                        add(st_, PAD, _near((root + iv) % 12, 55), 62, ln - 10)
                # arpeggios and accompaniment figures
                arp = st.get("arp", "off")
                tones = sorted(_near((root + iv) % 12, 67 if arp in ("up16", "ostinato") else 60) for iv in ivs[:3])
                if arp == "up16":
                    seq = tones + [tones[0] + 12] + [tones[2], tones[1]]
                    for e in range(ln // SIXTEENTH):
                        add(st_ + e * SIXTEENTH, ARP, seq[e % len(seq)], 70 if e % 4 == 0 else 54, SIXTEENTH - 20)
                elif arp == "up8":
                    seq = [tones[0] - 12, tones[1] - 12, tones[2] - 12, tones[0], tones[1], tones[2], tones[0] + 12, tones[2]]
                    for e in range(ln // EIGHTH):
                        add(st_ + e * EIGHTH, ARP, seq[e % len(seq)], 72 if e % 4 == 0 else 60, EIGHTH * 2)
                elif arp == "alberti":
                    seq = [tones[0], tones[2], tones[1], tones[2]]
                    for e in range(ln // EIGHTH):
                        add(st_ + e * EIGHTH, ARP, seq[e % 4], 66 if e % 2 == 0 else 54, EIGHTH - 20)
                elif arp == "ostinato":
                    r = tones[0] - 12
                    seq = [r, r, r + 7, r, r + 12, r, r + 7, r]
                    for e in range(ln // SIXTEENTH):
                        add(st_ + e * SIXTEENTH, ARP, seq[e % 8], 78 if e % 4 == 0 else 60, SIXTEENTH - 30)
                elif arp == "stab":
                    for q in range(ln // PPQ):
                        for k in tones:
                            add(st_ + q * PPQ + EIGHTH, ARP, k, 70, EIGHTH - 40)
                elif arp == "waltz":
                    for q in (1, 2):
                        if q * PPQ < ln:
                            for k in tones:
                                add(st_ + q * PPQ, ARP, k, 56, PPQ - 40)
                elif arp == "bell":
                    seq = [tones[2] + 12, tones[1] + 12, tones[0] + 12, tones[1] + 12]
                    for q in range(ln // PPQ):
                        add(st_ + q * PPQ, ARP, seq[q % 4], 60, PPQ)
            # drums
            d = st.get("drums", "none")
            if d == "none":
                continue
            if b == 0 and d not in ("soft", "waltz"):
                add(bt, DRUMS, CRASH, 96, PPQ)
            fill = last_bar and si + 1 < len(order) and d in ("full", "drive", "boss", "march")
            for note, pat in DRUM_STYLES[d].items():
                for k, c in enumerate(pat[:steps]):
                    if c != "." and not (fill and k >= steps // 2 and note in (SNARE, KICK, CLAP)):
                        add(bt + k * SIXTEENTH, DRUMS, note, VELOCITY[c], 60)
            if fill:
                for i, k in enumerate(FILL):
                    add(bt + bar_ticks // 2 + i * (bar_ticks // 16), DRUMS, k, 76 + 5 * i, 60)
        t0 += nbars * bar_ticks
    # the closing chord rings out on the last section's tonic
    root, mode = scale
    minor = mode[2] == 3
    for k in (_near(root, 33), _near(root, 45)):
        add(t0, BASS, k, 90, PPQ * 8)
    for iv in (0, 3 if minor else 4, 7, 12):
        add(t0, PAD, _near(root, 57) + iv, 84, PPQ * 8)
    add(t0, LEAD, _near(root, 69), 90, PPQ * 8)
    add(t0, DRUMS, CRASH, 100, PPQ)
    add(t0, DRUMS, KICK, 100, 60)
    tempos.append((t0, tempos[-1][1]))
    return ev, ctl, tempos, t0 + PPQ * 8


def seconds_at(tempos, tick):
    """Tempo map (tick, bpm) sorted by tick -> seconds at tick."""
    sec, last_t, bpm = 0.0, 0, tempos[0][1]
    for t, b in tempos:
        if t > tick:
            break
        sec += (t - last_t) / PPQ * 60 / bpm
        last_t, bpm = t, b
    return sec + (tick - last_t) / PPQ * 60 / bpm


def longest_gap(ev, tempos, end):
    """Longest stretch in seconds with no note sounding."""
    spans = sorted((seconds_at(tempos, t), seconds_at(tempos, t + max(ln, 30))) for t, _, _, _, ln in ev)
    gap, covered = spans[0][0], spans[0][1]
    for a, b in spans:
        gap = max(gap, a - covered)
        covered = max(covered, b)
    return max(gap, seconds_at(tempos, end) - covered)


def _vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append(0x80 | (n & 0x7F))
        n >>= 7
    return bytes(reversed(out))


def _track(events):
    """events: (tick, order, bytes); order keeps note-offs before note-ons
    on the same tick."""
    data = b""
    last = 0
    for tick, _, msg in sorted(events, key=lambda e: (e[0], e[1])):
        data += _vlq(tick - last) + msg
        last = tick
    data += _vlq(0) + b"\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(data)) + data


def build(text):
    tempo, sections, order = parse(text)
    ev, ctl, tempos, end = arrange(tempo, sections, order)
    gap = longest_gap(ev, tempos, end)
    if gap > 3.0:
        raise ValueError(f"the music falls silent for {gap:.1f} s")
    meta = [(0, 0, b"\xff\x03" + _vlq(7) + b"Zenthar"), (0, 0, b"\xff\x58\x04\x04\x02\x18\x08")]
    last_bpm = None
    for t, bpm in tempos:
        if bpm != last_bpm:
            meta.append((t, 1, b"\xff\x51\x03" + (60_000_000 // bpm).to_bytes(3, "big")))
            last_bpm = bpm
    tracks = [_track(meta + [(end, 9, b"\xff\x01\x00")])]
    for ch, (name, prog, vol, pan) in CHANNELS.items():
        evs = [(0, 0, b"\xff\x03" + _vlq(len(name)) + name.encode()),
               (0, 1, bytes([0xB0 | ch, 10, pan])),
               (0, 1, bytes([0xB0 | ch, 91, 48]))]
        evs += [(t, 2, msg) for t, c, msg in ctl if c == ch]
        for t, c, n, v, ln in ev:
            if c != ch:
                continue
            evs.append((t, 4, bytes([0x90 | ch, n, v])))
            evs.append((t + max(ln, 30), 3, bytes([0x80 | ch, n, 0])))
        tracks.append(_track(evs))
    head = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), PPQ)
    return head + b"".join(tracks), seconds_at(tempos, end)
