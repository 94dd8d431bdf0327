#!/usr/bin/env python3
"""Measures what a screenshot of the game shows, tolerantly: the e2e scripts' eyes."""
import sys

from PIL import Image, ImageChops, ImageStat


def load(path):
    return Image.open(path).convert("RGB").crop((0, 0, 800, 600))


def rmse(a, b):
    """Root-mean-square difference of two images, 0 (same) to 1."""
    diff = ImageChops.difference(a, b)
    stat = ImageStat.Stat(diff)
    return (sum(v * v for v in stat.rms) / 3) ** 0.5 / 255


def dragon_x(img, top, bottom):
    """Median x of the player's green pixels in a band of rows, or -1. The median, as the edge of an
    enemy crossing the band holds a few such pixels too."""
    xs = []
    px = img.load()
    for y in range(top, bottom):
        for x in range(0, 600):
            r, g, b = px[x, y]
            if g - r > 40 and g - b > 30:
                xs.append(x)
    xs.sort()
    return (xs[(len(xs) - 1) // 2] + xs[len(xs) // 2]) / 2 if len(xs) > 20 else -1


def sky_fraction(img):
    """Share of the play field that is the sky's blue."""
    n = 0
    px = img.load()
    for y in range(0, 600, 4):
        for x in range(0, 600, 4):
            r, g, b = px[x, y]
            if b > 150 and b > r + 40:
                n += 1
    return n / (150 * 150)


def gold_column(img, x0, x1, top, bottom):
    """Share of the shots' gold in a vertical strip (the stream of shots).  Neither the sky nor
    its clouds hold any: their blue is above their red."""
    n = total = 0
    px = img.load()
    for y in range(top, bottom):
        for x in range(x0, x1):
            r, g, b = px[x, y]
            total += 1
            if r > 200 and g > 110 and r - b > 70:
                n += 1
    return n / total


def near_white(img):
    """Share of near-white pixels in the play field: the clouds are toned down so the shots
    and enemies stand out, so almost none."""
    n = 0
    px = img.load()
    for y in range(0, 600, 3):
        for x in range(0, 600, 3):
            if min(px[x, y]) > 215:
                n += 1
    return n / (200 * 200)


def ink(img, box):
    """Share of bright pixels in a box of the panel (text drawn there)."""
    n = total = 0
    px = img.load()
    for y in range(box[1], box[3]):
        for x in range(box[0], box[2]):
            total += 1
            if sum(px[x, y]) > 300:
                n += 1
    return n / total


def warm(img, box):
    """Count of red and orange pixels in a box: the fire-bird enemies, the GAME OVER letters."""
    n = 0
    px = img.load()
    for y in range(box[1], box[3]):
        for x in range(box[0], box[2]):
            r, g, b = px[x, y]
            if r > 100 and r - g > 50 and r - b > 50:
                n += 1
    return n


def main():
    cmd, path = sys.argv[1], sys.argv[2]
    img = load(path)
    if cmd == "rmse":
        print("%.4f" % rmse(img, load(sys.argv[3])))
    elif cmd == "panel-rmse":
        # Only the fixed labels and the version text: the numbers change with play.
        boxes = [(600, 0, 800, 21), (600, 40, 800, 61), (600, 80, 800, 101), (690, 545, 800, 575)]
        ref = load(sys.argv[3])
        worst = max(rmse(img.crop(b), ref.crop(b)) for b in boxes)
        print("%.4f" % worst)
    elif cmd == "dragon-x":
        print("%.1f" % dragon_x(img, int(sys.argv[3]), int(sys.argv[4])))
    elif cmd == "sky":
        print("%.3f" % sky_fraction(img))
    elif cmd == "shots":
        x0, x1, top, bottom = map(int, sys.argv[3:7])
        print("%.3f" % gold_column(img, x0, x1, top, bottom))
    elif cmd == "white":
        print("%.3f" % near_white(img))
    elif cmd == "warm":
        print(warm(img, tuple(map(int, sys.argv[3:7]))))
    elif cmd == "ink":
        print("%.3f" % ink(img, tuple(map(int, sys.argv[3:7]))))
    else:
        sys.exit("unknown check " + cmd)


if __name__ == "__main__":
    main()
