#!/usr/bin/env python3
"""Whether a screenshot of a message box shows its text: ink on white where the text goes, as much and
as wide as the face draws that text, and a labelled button in the band below."""
import sys

from PIL import Image, ImageDraw, ImageFont

BAND = 46  # the button band's height


def ink(img, box):
    px = img.load()
    return [(x, y) for y in range(box[1], box[3]) for x in range(box[0], box[2]) if px[x, y] < 128]


def main():
    path, text, font = sys.argv[1:4]
    img = Image.open(path).convert("L")
    w, h = img.size
    drawn = ink(img, (0, 0, w, h - BAND))
    ref = Image.new("L", (w, 64), 255)
    ImageDraw.Draw(ref).text((0, 0), text, font=ImageFont.truetype(font, 15), fill=0)
    want = ink(ref, (0, 0, w, 64))
    button = ink(img, (0, h - BAND, w, h))
    width = max(x for x, _ in drawn) - min(x for x, _ in drawn) + 1 if drawn else 0
    want_width = max(x for x, _ in want) - min(x for x, _ in want) + 1
    print(f"box {w}x{h}: text ink {len(drawn)} px over {width} px (face draws {len(want)} over {want_width}),"
          f" button ink {len(button)} px")
    ok = (0.6 <= len(drawn) / len(want) <= 1.6 and abs(width - want_width) <= max(3, want_width // 5)
          and len(button) > 20)
    if not ok:
        print("FAIL: the box does not show its text")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
