#!/usr/bin/env python3
"""Development aid: a contact sheet of the generated pictures, each at 1:1
and 4x nearest-neighbour on a dark and a light ground."""
import sys
from PIL import Image

sys.dont_write_bytecode = True
sys.path.insert(0, __file__.rsplit("/", 1)[0])
from zgen import sprites  # noqa: E402


def sheet(imgs, out):
    scale = 4
    pad = 8
    cellw = max(i.width for i in imgs) * (scale + 1) + 3 * pad
    cellh = max(i.height for i in imgs) * scale + 2 * pad
    W = cellw * 2
    H = cellh * len(imgs)
    s = Image.new("RGBA", (W, H), (0, 0, 0, 255))
    for r, im in enumerate(imgs):
        for col, bg in enumerate([(24, 20, 40, 255), (200, 220, 240, 255)]):
            x0, y0 = col * cellw, r * cellh
            s.paste(Image.new("RGBA", (cellw, cellh), bg), (x0, y0))
            s.alpha_composite(im, (x0 + pad, y0 + pad))
            big = im.resize((im.width * scale, im.height * scale), Image.NEAREST)
            s.alpha_composite(big, (x0 + 2 * pad + im.width, y0 + pad))
    s.save(out)


if __name__ == "__main__":
    imgs = [sprites.player_dragon(), sprites.phenix(), sprites.gargoyle(), sprites.amphisbaena()]
    sheet(imgs, "/tmp/zsheet_small.png")
    sheet([sprites.boss_dragon(), sprites.boss_final()], "/tmp/zsheet_boss.png")


def screens():
    from zgen import screens as S
    f = Image.new("RGBA", (600, 600), (0, 0, 0, 255))
    f.alpha_composite(S.title().crop((0, 50, 600, 600)), (0, 0))
    f.alpha_composite(S.pointer(), (30, 512))
    for i, (n, xy) in enumerate([("Game_Start.png", (10, 500)), ("Option.png", (200, 500)), ("Game_End.png", (390, 500))]):
        im = S.label(n)
        if i == 0:
            a = __import__("numpy").asarray(im).astype(float)
            a[..., 0] *= 0x80 / 255; a[..., 1] *= 0x80 / 255; a[..., 2] *= 0xC8 / 255
            im = Image.fromarray(a.astype("uint8"), "RGBA")
        f.alpha_composite(im, xy)
    g = S.game_over()
    g.alpha_composite(S.pointer(), (250, 365))
    g.alpha_composite(S.label("Restart.png"), (240, 350))
    g.alpha_composite(S.label("Game_End.png"), (250, 420))
    g2 = S.game_over()
    g2.alpha_composite(S.pointer(), (250, 435))
    g2.alpha_composite(S.label("Restart.png"), (240, 350))
    g2.alpha_composite(S.label("Game_End.png"), (250, 420))
    s = Image.new("RGBA", (1800, 600))
    s.paste(f, (0, 0)); s.paste(g, (600, 0)); s.paste(g2.crop((0, 300, 600, 600)), (1200, 0))
    sk = S.sky()
    for i in range(2):
        for j in range(2):
            s.paste(sk, (1200 + i * 256, 300 + j * 256 - 212))
    s.save("/tmp/zsheet_screens.png")


if __name__ == "__main__":
    screens()
