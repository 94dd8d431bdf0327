"""The window icon and the desktop icons: the player dragon at a few sizes."""

import struct

from PIL import Image

from . import sprites

SIZES = (64, 48, 32, 16)


def frames():
    """Each size given exactly, so the pixel art is not resampled blurry: the
    16 px frame averages 2 x 2 blocks, the larger ones repeat pixels."""
    base = sprites.player_dragon()
    out = []
    for n in SIZES:
        frame = base.resize((n, n), Image.BOX if n < base.width else Image.NEAREST)
        out.append(frame.convert("RGBA"))
    return out


def _bmp_frame(img):
    """One ICO frame as a 32-bit BMP with alpha: header, BGRA rows bottom-up,
    then the 1-bit mask (set where fully transparent) that older readers use."""
    w, h = img.size
    px = img.load()
    colour = bytearray()
    mask = bytearray()
    mask_row = ((w + 31) // 32) * 4
    for y in range(h - 1, -1, -1):
        bits = bytearray(mask_row)
        for x in range(w):
            r, g, b, a = px[x, y]
            colour += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    # the height counts the colour rows and the mask rows together
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def to_ico(images):
    """An ICO of BMP frames (not PNG ones, which some loaders cannot read).
    The largest comes first: loaders that take one frame take the first."""
    bodies = [_bmp_frame(img) for img in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for img, body in zip(images, bodies):
        w, h = img.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    for body in bodies:
        out += body
    return bytes(out)
