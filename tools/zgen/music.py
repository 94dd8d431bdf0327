"""Turns tools/music/all.score into a General MIDI file.

The score holds the chords, the lead line and a style per section; bass,
pads, arpeggios and drums are written out from the chords here, so the
source stays short enough to edit by hand.
"""

import struct

PPQ = 480
EIGHTH = PPQ // 2
BAR = PPQ * 4

NOTE = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}

# channel: (track name, GM program, volume, pan)
LEAD, BASS, PAD, ARP, DOUBLE, DRUMS = 0, 1, 2, 3, 4, 9
CHANNELS = {
    LEAD: ("Lead", 80, 100, 64),     # square lead
    BASS: ("Bass", 38, 110, 64),     # synth bass 1
    PAD: ("Strings", 48, 72, 44),    # string ensemble
    ARP: ("Arp", 81, 58, 88),        # saw lead, quiet
    DOUBLE: ("Brass", 61, 64, 76),   # brass section under the chorus
    DRUMS: ("Drums", 0, 100, 64),
}
KICK, SNARE, HAT, OPEN_HAT, CRASH, RIDE, TOM_HI, TOM_LO = 36, 38, 42, 46, 49, 51, 50, 45


def note_number(tok):
    name, octave = tok[0], tok[1:]
    n = NOTE[name]
    if octave.startswith("#"):
        n, octave = n + 1, octave[1:]
    elif octave.startswith("b"):
        n, octave = n - 1, octave[1:]
    return 12 * (int(octave) + 1) + n


def chord_tones(sym):
    root = NOTE[sym[0]]
    rest = sym[1:]
    if rest.startswith("#"):
        root, rest = root + 1, rest[1:]
    elif rest.startswith("b"):
        root, rest = root - 1, rest[1:]
    third = 3 if rest == "m" else 4
    return root % 12, [0, third, 7]


def parse(text):
    tempo, sections, order, cur = 120, {}, [], None
    for raw in text.splitlines():
        line = raw.strip()
        if not line or line.startswith("#"):   # whole-line comments: "#" also means sharp
            continue
        key, _, val = line.partition(" ")
        if key == "tempo":
            tempo = int(val)
        elif key == "section":
            cur = sections[val.strip()] = {"chords": [], "lead": [], "style": {}}
        elif key == "chords":
            cur["chords"] = val.split()
        elif key == "lead":
            cur["lead"] = [bar.split() for bar in val.split("|")]
        elif key == "style":
            cur["style"] = dict(kv.split("=") for kv in val.split())
        elif key == "play":
            order = val.split()
        else:
            raise ValueError("unknown score line: " + raw)
    for name, s in sections.items():
        if len(s["lead"]) != len(s["chords"]):
            raise ValueError(f"section {name}: {len(s['lead'])} lead bars for {len(s['chords'])} chords")
        for i, bar in enumerate(s["lead"]):
            if sum(int(t.split(":")[1]) for t in bar) != 8:
                raise ValueError(f"section {name} bar {i + 1} is not 8 eighths long")
    return tempo, sections, order


def arrange(tempo, sections, order):
    ev = []   # (tick, channel, note, velocity, length)

    def add(t, ch, n, v, ln):
        ev.append((t, ch, n, v, ln))

    t0 = 0
    for si, name in enumerate(order):
        s = sections[name]
        st = s["style"]
        for b, (sym, bar) in enumerate(zip(s["chords"], s["lead"])):
            bt = t0 + b * BAR
            root, ivs = chord_tones(sym)
            last_bar = b == len(s["chords"]) - 1
            # lead, and an octave-lower brass double in the big sections
            t = bt
            for tok in bar:
                n, ln = tok.split(":")
                ln = int(ln) * EIGHTH
                if n != "r":
                    k = note_number(n)
                    accent = 100 if (t - bt) % PPQ == 0 else 90
                    add(t, LEAD, k, accent, ln - 20)
                    if st.get("double") == "on":
                        add(t, DOUBLE, k - 12, 72, ln - 30)
                t += ln
            # bass
            bass_root = 36 + root if root < 7 else 24 + root
            if st.get("bass") == "drive":
                for e in range(8):
                    k = bass_root + (12 if e in (3, 7) else 0)
                    add(bt + e * EIGHTH, BASS, k, 104 if e % 2 == 0 else 88, EIGHTH - 40)
            elif st.get("bass") == "half":
                add(bt, BASS, bass_root, 96, 2 * PPQ - 40)
                add(bt + 2 * PPQ, BASS, bass_root + 7, 88, 2 * PPQ - 40)
            # pad: close triad around middle C
            if st.get("pad") == "on":
                for iv in ivs:
                    k = 60 + (root + iv) % 12
                    if k > 67:
                        k -= 12
                    add(bt, PAD, k, 64, BAR - 10)
            # arpeggio in sixteenths, up and back down the chord
            if st.get("arp") == "on":
                tones = [72 + root + iv for iv in ivs] + [84 + root]
                if tones[0] > 79:
                    tones = [k - 12 for k in tones]
                seq = tones + tones[-2:0:-1]
                for e in range(16):
                    add(bt + e * (PPQ // 4), ARP, seq[e % len(seq)], 70 if e % 4 == 0 else 54, PPQ // 4 - 20)
            # drums
            d = st.get("drums", "none")
            if d != "none" and b == 0:
                add(bt, DRUMS, CRASH, 100, PPQ)
            if d == "light":
                for e in range(8):
                    add(bt + e * EIGHTH, DRUMS, HAT, 70 if e % 2 == 0 else 50, 60)
                add(bt, DRUMS, KICK, 100, 60)
                add(bt + 2 * PPQ, DRUMS, KICK, 90, 60)
            elif d == "full":
                for e in range(8):
                    add(bt + e * EIGHTH, DRUMS, OPEN_HAT if e == 7 and b % 2 else HAT, 80 if e % 2 == 0 else 60, 60)
                for e in (0, 3, 4):
                    add(bt + e * EIGHTH, DRUMS, KICK, 110, 60)
                fill = last_bar and si + 1 < len(order)
                for q in (1, 3) if not fill else (1,):
                    add(bt + q * PPQ, DRUMS, SNARE, 108, 60)
                if fill:
                    for i, k in enumerate([SNARE, SNARE, TOM_HI, TOM_HI, TOM_LO, TOM_LO, SNARE, SNARE]):
                        add(bt + 2 * PPQ + i * (PPQ // 4), DRUMS, k, 80 + 4 * i, 60)
            elif d == "half":
                for e in range(4):
                    add(bt + e * PPQ, DRUMS, RIDE, 76, 60)
                add(bt, DRUMS, KICK, 104, 60)
                add(bt + 2 * PPQ, DRUMS, SNARE, 100, 60)
        t0 += len(s["chords"]) * BAR
    # the closing chord rings out on its own
    root = 9
    for k in (45, 57, 64, 69, 72):
        add(t0, PAD if k > 50 else BASS, k, 90, BAR * 2)
    add(t0, LEAD, 81, 96, BAR * 2)
    add(t0, DRUMS, CRASH, 110, PPQ)
    add(t0, DRUMS, KICK, 110, 60)
    return ev, t0 + BAR * 2


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
    ev, end = arrange(tempo, sections, order)
    tracks = []
    us = 60_000_000 // tempo
    meta = [(0, 0, b"\xff\x03" + _vlq(7) + b"Zenthar"),
            (0, 0, b"\xff\x58\x04\x04\x02\x18\x08"),
            (0, 0, b"\xff\x51\x03" + us.to_bytes(3, "big")),
            (end, 0, b"")]
    tracks.append(_track([m for m in meta if m[2]] + [(end, 9, b"\xff\x01\x00")]))
    for ch, (name, prog, vol, pan) in CHANNELS.items():
        evs = [(0, 0, b"\xff\x03" + _vlq(len(name)) + name.encode()),
               (0, 1, bytes([0xB0 | ch, 7, vol])),
               (0, 1, bytes([0xB0 | ch, 10, pan])),
               (0, 1, bytes([0xB0 | ch, 91, 40]))]
        if ch != DRUMS:
            evs.append((0, 2, bytes([0xC0 | ch, prog])))
        for t, c, n, v, ln in ev:
            if c != ch:
                continue
            evs.append((t, 4, bytes([0x90 | ch, n, v])))
            evs.append((t + max(ln, 30), 3, bytes([0x80 | ch, n, 0])))
        tracks.append(_track(evs))
    head = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), PPQ)
    return head + b"".join(tracks), end / PPQ * 60 / tempo
