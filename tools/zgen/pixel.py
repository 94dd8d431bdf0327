"""A tiny pixel-art canvas: shapes fill material ids, then one pass shades
and outlines them from the shared palette."""

import numpy as np
from PIL import Image, ImageDraw

from . import palette


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.mat = np.zeros((h, w), dtype=np.int16)   # 0 = empty
        self.names = [None]
        self.details = []                             # (x, y, rgb) painted last

    def _id(self, name):
        if name not in self.names:
            self.names.append(name)
        return self.names.index(name)

    def _stamp(self, name, drawfn, mirror):
        mask = Image.new("L", (self.w, self.h), 0)
        drawfn(ImageDraw.Draw(mask))
        m = np.asarray(mask) > 0
        if mirror:
            m = m | m[:, ::-1]
        self.mat[m] = self._id(name)

    def poly(self, name, pts, mirror=False):
        self._stamp(name, lambda d: d.polygon([tuple(p) for p in pts], fill=255), mirror)

    def ellipse(self, name, cx, cy, rx, ry, mirror=False):
        box = [cx - rx, cy - ry, cx + rx, cy + ry]
        self._stamp(name, lambda d: d.ellipse(box, fill=255), mirror)

    def line(self, name, pts, width=1, mirror=False):
        self._stamp(name, lambda d: d.line([tuple(p) for p in pts], fill=255, width=width), mirror)

    def rect(self, name, x0, y0, x1, y1, mirror=False):
        self._stamp(name, lambda d: d.rectangle([x0, y0, x1, y1], fill=255), mirror)

    def erase(self, pts, mirror=False):
        mask = Image.new("L", (self.w, self.h), 0)
        ImageDraw.Draw(mask).polygon([tuple(p) for p in pts], fill=255)
        m = np.asarray(mask) > 0
        if mirror:
            m = m | m[:, ::-1]
        self.mat[m] = 0

    def dot(self, x, y, colour, mirror=False):
        self.details.append((x, y, colour))
        if mirror:
            self.details.append((self.w - 1 - x, y, colour))

    def flip_v(self):
        """Turn the drawing upside down before shading, so the light still
        comes from the top-left."""
        self.mat = self.mat[::-1].copy()
        self.details = [(x, self.h - 1 - y, c) for x, y, c in self.details]

    def render(self, rim=1, outline=True):
        """Light comes from the top-left: edges facing it take the light
        shade, edges facing away the dark ones.  rim widens the bands for the
        big sprites so the shading still reads at 96 px."""
        h, w = self.h, self.w
        out = np.zeros((h, w, 4), dtype=np.uint8)
        filled = self.mat > 0

        def shifted(a, dy, dx):
            r = np.zeros_like(a)
            ys, yd = (slice(0, h - dy), slice(dy, h)) if dy >= 0 else (slice(-dy, h), slice(0, h + dy))
            xs, xd = (slice(0, w - dx), slice(dx, w)) if dx >= 0 else (slice(-dx, w), slice(0, w + dx))
            r[yd, xd] = a[ys, xs]
            return r

        for mid in range(1, len(self.names)):
            region = self.mat == mid
            if not region.any():
                continue
            shades = palette.ramp(self.names[mid])
            level = np.full((h, w), 2, dtype=np.int8)
            for k in range(rim, 0, -1):
                # neighbour k up-left missing -> facing the light
                lit = region & ~shifted(region, k, k)
                level[lit] = 3
            for k in range(2 * rim, 0, -1):
                dark = region & ~shifted(region, -k, -k)
                level[dark] = 1 if k > rim else 1
            deep = region & ~shifted(region, -1, -1) & ~shifted(region, -1, 0)
            level[deep] = 0
            for lv in range(4):
                sel = region & (level == lv)
                out[sel, :3] = shades[lv]
                out[sel, 3] = 255
        if outline:
            edge = ~filled & (shifted(filled, 1, 0) | shifted(filled, -1, 0) |
                              shifted(filled, 0, 1) | shifted(filled, 0, -1))
            out[edge, :3] = palette.OUTLINE
            out[edge, 3] = 255
        for x, y, c in self.details:
            out[y, x, :3] = c
            out[y, x, 3] = 255
        return Image.fromarray(out, "RGBA")
