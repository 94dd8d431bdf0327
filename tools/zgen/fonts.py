"""Bitmap font pictures: white glyphs on transparent, tinted when drawn."""

import numpy as np
from PIL import Image, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"

# Cell order the game's charset strings expect.  The apostrophe stands where
# the grave accent would be, so it appears twice.
MAIN_CHARSET = ("".join(chr(c) for c in range(0x21, 0x30)) + " " +
                "".join(chr(c) for c in range(0x30, 0x60)) + "'" +
                "".join(chr(c) for c in range(0x61, 0x7F)))
SAMPLE_CHARSET = "_|0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ=+-*/!?"


def _sheet(charset, font, cw, ch, cols, size, baseline):
    w, h = size
    img = Image.new("L", (w, h), 0)
    d = ImageDraw.Draw(img)
    for i, c in enumerate(charset):
        if c == " ":
            continue
        x0, y0 = (i % cols) * cw, (i // cols) * ch
        cell = Image.new("L", (cw, ch), 0)
        cd = ImageDraw.Draw(cell)
        adv = font.getlength(c)
        cd.text(((cw - adv) / 2, baseline), c, font=font, fill=255, anchor="ls")
        img.paste(cell, (x0, y0))
    a = np.asarray(img)
    out = np.zeros((h, w, 4), dtype=np.uint8)
    out[..., :3] = 255
    out[..., 3] = a
    out[a == 0] = 0
    return Image.fromarray(out, "RGBA")


def font_main():
    f = ImageFont.truetype(FONT_DIR + "DejaVuSansMono-Bold.ttf", 17)
    return _sheet(MAIN_CHARSET, f, 13, 21, 16, (208, 126), 16)


def font_sample():
    f = ImageFont.truetype(FONT_DIR + "DejaVuSans-Bold.ttf", 14)
    return _sheet(SAMPLE_CHARSET, f, 16, 16, 16, (256, 256), 13)
