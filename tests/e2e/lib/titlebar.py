#!/usr/bin/env python3
"""Finds the game window in a screenshot of a desktop by its sky and measures the strip just above it,
where a title bar belongs: prints its dark share, its light (title text) share and the dark share of
the desktop above it.  Usage: titlebar.py SCREENSHOT"""
import sys

from PIL import Image


def main():
    img = Image.open(sys.argv[1]).convert("RGB")
    px = img.load()
    w, h = img.size
    top = left = None
    for y in range(h):
        blue = [x for x in range(0, w, 2) if px[x, y][2] > 150 and px[x, y][2] > px[x, y][0] + 40]
        if len(blue) > 250:  # a row of the 600-pixel play field
            top, left = y, blue[0]
            break
    if top is None or top < 24:
        print("no window below room for a title bar")
        return

    def share(y0, y1, x0, x1, test):
        n = total = 0
        for y in range(y0, y1):
            for x in range(max(x0, 0), min(x1, w)):
                total += 1
                n += test(px[x, y])
        return n / max(total, 1)

    dark = lambda p: max(p) < 80
    light = lambda p: min(p) > 200
    bar = share(top - 20, top - 4, left, left + 800, dark)
    text = share(top - 20, top - 4, left + 300, left + 500, light)
    above = share(top - 70, top - 50, left, left + 800, dark) if top >= 70 else -1
    print("window at %d,%d: bar dark %.2f, title text %.3f, desktop above dark %.2f" % (left, top, bar, text, above))


if __name__ == "__main__":
    main()
