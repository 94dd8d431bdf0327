#!/usr/bin/env python3
"""Writes the two spawn tables, data/Table/table1.txt and table2.txt.

The tables have no comment syntax, so the stage design lives here. A row is
    type frame hp x y speedX speedY duration pattern
type 0 zako (never fires), 1 shot (sprays while it hovers), 2 strong (spreads
every 20 updates), 100 / 200 the stage bosses. x, y is the sprite's centre;
frames are updates at 60 a second and must rise strictly within a table.

Stage 1 (about two minutes): single files falling straight teach aiming, then
V-shaped dives, weaving lines and the first hovering shooter; from the second
half strong enemies cross diagonally and hold as turrets, sweeps come in from
the sides, and the last minute mixes all three kinds. Ten quiet seconds, then
the dragon.

Stage 2 (about two and a half minutes): the same vocabulary, faster, tougher
and denser, with curved retreats and turret pairs; the red dragon ends it.
Ordinary enemies' shots only live while a boss licence is held, so in the
second stage the danger before the boss is contact: the waves crowd the field.

Run from the repository root: python3 tools/tables/make_tables.py
"""
import os

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


class Table:
    def __init__(self):
        self.rows = []

    def add(self, type_, frame, hp, x, y, sx, sy, d, pattern):
        self.rows.append((type_, frame, hp, float(x), float(y), float(sx), float(sy), d, pattern))

    def write(self, name):
        self.rows.sort(key=lambda r: r[1])
        last = -1
        lines = []
        for r in self.rows:
            frame = max(r[1], last + 1)  # frames rise strictly: a clash moves a row one update later
            last = frame
            lines.append("%d %d %d %.1f %.1f %.1f %.1f %d %d" % ((r[0], frame) + r[2:]))
        path = os.path.join(ROOT, "data", "Table", name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", newline="\n") as f:
            f.write("\n".join(lines) + "\n")
        return len(lines), last


def column(t, frame, x, n, gap, hp, speed, kind=0):
    for i in range(n):
        t.add(kind, frame + i * gap, hp, x, -16, 0, speed, 0, 0)


def vee(t, frame, centre, hp, speed, d, pattern):
    for i, dx in enumerate((0, -40, 40, -80, 80)):
        t.add(0, frame + i * 6, hp, centre + dx, -16, speed, speed, d, pattern)


def weave(t, frame, x, n, hp, sx, sy):
    for i in range(n):
        t.add(0, frame + i * 12, hp, x, -16, sx, sy, 0, 8)


def sweep(t, frame, from_left, y, n, hp, speed, d):
    for i in range(n):
        if from_left:
            t.add(0, frame + i * 10, hp, -16, y, speed, 0.5, d, 9)
        else:
            t.add(0, frame + i * 10, hp, 600, y, speed, 0.5, d, 10)


def stage1():
    t = Table()
    # 0:00 single files, straight down
    column(t, 60, 150, 5, 20, 1, 2.0)
    column(t, 240, 450, 5, 20, 1, 2.0)
    column(t, 420, 300, 6, 15, 2, 2.5)
    # 0:10 dives that pull away sideways
    vee(t, 600, 200, 2, 2.0, 60, 4)
    vee(t, 780, 400, 2, 2.0, 60, 5)
    # 0:17 the first hovering shooter, flanked by weaving lines
    t.add(1, 960, 9, 300, -16, 0, 2.0, 200, 1)
    weave(t, 1000, 120, 5, 2, 2.0, 2.0)
    weave(t, 1150, 480, 5, 2, 2.0, 2.0)
    # 0:25 sweeps from the sides
    sweep(t, 1400, True, 250, 6, 2, 3.0, 260)
    sweep(t, 1560, False, 320, 6, 2, 3.0, 260)
    # 0:30 strong enemies cross diagonally and spread
    t.add(2, 1800, 12, 60, -16, 1.2, 1.5, 0, 14)
    t.add(2, 1830, 12, 540, -16, 1.2, 1.5, 0, 15)
    column(t, 1880, 300, 6, 18, 2, 3.0)
    # 0:35 shooters leaving down-left and down-right
    t.add(1, 2100, 9, 180, -16, 1.5, 2.0, 240, 2)
    t.add(1, 2160, 9, 420, -16, 1.5, 2.0, 240, 3)
    vee(t, 2300, 300, 2, 2.5, 50, 4)
    # 0:42 the first turret
    t.add(2, 2520, 24, 300, -16, 0, 1.5, 90, 11)
    weave(t, 2600, 100, 6, 2, 2.5, 2.0)
    weave(t, 2600 + 6, 500, 6, 2, -2.5, 2.0)
    # 0:50 climbing flankers that settle
    t.add(0, 2950, 4, -16, 420, 3.0, 1.0, 200, 12)
    t.add(0, 2980, 4, 600, 420, 3.0, 1.0, 200, 13)
    sweep(t, 3100, True, 220, 8, 2, 3.5, 220)
    # 0:55 curved retreats
    for i, x in enumerate((120, 240, 360, 480)):
        t.add(0, 3350 + i * 20, 3, x, -16, 1.5, 2.0, 70, 6 if x < 300 else 7)
    t.add(1, 3450, 12, 150, -16, 0, 2.0, 180, 1)
    t.add(1, 3470, 12, 450, -16, 0, 2.0, 180, 1)
    # 1:00 second half: strong pairs and dense files
    t.add(2, 3750, 15, 80, -16, 1.0, 1.2, 0, 14)
    t.add(2, 3760, 15, 520, -16, 1.0, 1.2, 0, 15)
    column(t, 3800, 200, 8, 12, 2, 3.0)
    column(t, 3806, 400, 8, 12, 2, 3.0)
    vee(t, 4050, 150, 3, 2.5, 45, 5)
    vee(t, 4150, 450, 3, 2.5, 45, 4)
    # 1:12 a turret pair while sweeps cross
    t.add(2, 4400, 24, 170, -16, 0, 1.5, 80, 11)
    t.add(2, 4430, 24, 430, -16, 0, 1.5, 80, 11)
    sweep(t, 4600, False, 260, 8, 2, 3.5, 220)
    sweep(t, 4760, True, 330, 8, 2, 3.5, 220)
    # 1:23 everything at once
    t.add(1, 5000, 12, 300, -16, 1.5, 2.5, 200, 3)
    weave(t, 5050, 140, 6, 3, 3.0, 2.5)
    weave(t, 5056, 460, 6, 3, -3.0, 2.5)
    t.add(2, 5300, 18, 40, -16, 1.4, 1.6, 0, 14)
    t.add(2, 5340, 18, 560, -16, 1.4, 1.6, 0, 15)
    for i, x in enumerate((100, 200, 300, 400, 500)):
        t.add(0, 5500 + i * 15, 3, x, -16, 2.0, 2.5, 60, 7 if i % 2 else 6)
    column(t, 5700, 120, 6, 14, 3, 3.5)
    column(t, 5707, 480, 6, 14, 3, 3.5)
    t.add(1, 5900, 15, 200, -16, 1.5, 2.0, 200, 2)
    t.add(1, 5930, 15, 400, -16, 1.5, 2.0, 200, 3)
    # 1:45 quiet, then the dragon
    t.add(100, 6900, 1400, 300, 0, 0.6, 1.0, 260, 0)
    return t


def stage2():
    t = Table()
    # 0:00 faster files open the stage
    column(t, 60, 200, 6, 14, 2, 3.0)
    column(t, 200, 400, 6, 14, 2, 3.0)
    vee(t, 360, 300, 3, 3.0, 45, 4)
    vee(t, 480, 160, 3, 3.0, 45, 5)
    vee(t, 560, 440, 3, 3.0, 45, 4)
    # 0:12 weaving curtains across the width
    for k, x in enumerate((80, 220, 380, 520)):
        weave(t, 760 + k * 8, x, 6, 3, 3.0 if k % 2 else -3.0, 2.5)
    # 0:20 shooters and strong crossings
    t.add(1, 1200, 15, 150, -16, 1.5, 2.0, 200, 2)
    t.add(1, 1230, 15, 450, -16, 1.5, 2.0, 200, 3)
    t.add(2, 1320, 20, 50, -16, 1.4, 1.6, 0, 14)
    t.add(2, 1340, 20, 550, -16, 1.4, 1.6, 0, 15)
    sweep(t, 1450, True, 240, 10, 3, 4.0, 200)
    sweep(t, 1560, False, 360, 10, 3, 4.0, 200)
    # 0:30 climbing flankers and turrets
    t.add(0, 1800, 6, -16, 400, 3.5, 1.2, 200, 12)
    t.add(0, 1815, 6, 600, 400, 3.5, 1.2, 200, 13)
    t.add(2, 1900, 30, 150, -16, 0, 2.0, 70, 11)
    t.add(2, 1930, 30, 450, -16, 0, 2.0, 70, 11)
    column(t, 2000, 300, 10, 10, 3, 3.5)
    # 0:38 curved retreats in waves
    for rep in range(3):
        for i, x in enumerate((90, 210, 390, 510)):
            t.add(0, 2300 + rep * 150 + i * 12, 4, x, -16, 2.0, 2.5, 55, 6 if x < 300 else 7)
    # 0:47 heavy diagonals with dense files between
    for rep in range(3):
        t.add(2, 2800 + rep * 120, 22, 40, -16, 1.6, 1.8, 0, 14)
        t.add(2, 2820 + rep * 120, 22, 560, -16, 1.6, 1.8, 0, 15)
    column(t, 2850, 250, 8, 12, 3, 4.0)
    column(t, 2856, 350, 8, 12, 3, 4.0)
    # 1:00 sweeps both ways, twice
    for rep in range(2):
        sweep(t, 3300 + rep * 300, True, 220 + rep * 60, 10, 3, 4.0, 200)
        sweep(t, 3450 + rep * 300, False, 280 + rep * 60, 10, 3, 4.0, 200)
    # 1:10 hovering shooters in a row
    for i, x in enumerate((100, 230, 370, 500)):
        t.add(1, 4000 + i * 25, 18, x, -16, 0, 2.5, 160, 1)
    vee(t, 4200, 300, 4, 3.0, 40, 5)
    # 1:15 dives from both sides at once
    vee(t, 4450, 150, 4, 3.5, 40, 5)
    vee(t, 4453, 450, 4, 3.5, 40, 4)
    weave(t, 4600, 300, 8, 4, 3.5, 3.0)
    # 1:22 turret wall
    for i, x in enumerate((100, 300, 500)):
        t.add(2, 4900 + i * 30, 30, x, -16, 0, 2.0, 60, 11)
    sweep(t, 5100, True, 350, 12, 3, 4.5, 180)
    sweep(t, 5160, False, 400, 12, 3, 4.5, 180)
    # 1:30 last rush: everything, faster
    for rep in range(4):
        column(t, 5500 + rep * 160, 120 + rep * 120, 6, 10, 4, 4.0)
        t.add(2, 5540 + rep * 160, 24, 40 if rep % 2 == 0 else 560, -16, 1.6, 1.8, 0, 14 if rep % 2 == 0 else 15)
    for k, x in enumerate((100, 250, 350, 500)):
        weave(t, 6200 + k * 7, x, 6, 4, -3.0 if k % 2 else 3.0, 3.0)
    t.add(1, 6500, 20, 200, -16, 1.5, 2.5, 200, 2)
    t.add(1, 6520, 20, 400, -16, 1.5, 2.5, 200, 3)
    t.add(0, 6700, 8, -16, 420, 3.5, 1.2, 200, 12)
    t.add(0, 6715, 8, 600, 420, 3.5, 1.2, 200, 13)
    vee(t, 6900, 300, 5, 3.5, 40, 4)
    # 2:00 quiet, then the red dragon
    # Hit points stay under 1800 so the boss bar (hp / 3 units of one pixel) fits the 600-pixel field.
    t.add(200, 7800, 1770, 300, 0, 0.0, 1.0, 200, 0)
    return t


if __name__ == "__main__":
    for name, stage in (("table1.txt", stage1()), ("table2.txt", stage2())):
        rows, last = stage.write(name)
        print("%s: %d rows, boss at frame %d (%.1f s)" % (name, rows, last, last / 60.0))
