"""Sky, title and game-over screens, menu labels, pointer and fade plate."""

import numpy as np
from PIL import Image, ImageDraw, ImageFont

from . import palette as P

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
BAYER4 = np.array([[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]) / 16.0


def _periodic_noise(n, seed, octaves):
    """Sum of sines with whole-number frequencies over n pixels: tiles with
    no seam in either direction."""
    rng = np.random.default_rng(seed)
    y, x = np.mgrid[0:n, 0:n] / n * 2 * np.pi
    acc = np.zeros((n, n))
    for freq, amp in octaves:
        for _ in range(4):
            fx, fy = rng.integers(-freq, freq + 1, size=2)
            if fx == 0 and fy == 0:
                fx = freq
            acc += amp * np.sin(fx * x + fy * y + rng.uniform(0, 2 * np.pi))
    return acc


def _posterize(value, colours):
    """value in 0..1 onto a colour ramp with ordered dithering, the way the
    sprites are shaded: flat bands, crisp at 1:1."""
    h, w = value.shape
    k = len(colours) - 1
    thr = np.tile(BAYER4, (h // 4 + 1, w // 4 + 1))[:h, :w]
    idx = np.clip(np.floor(value * k + thr), 0, k).astype(int)
    pal = np.array(colours, dtype=np.uint8)
    return pal[idx]


def sky():
    n = 256
    cloud = _periodic_noise(n, 7, [(2, 1.0), (3, 0.7), (5, 0.45), (9, 0.25), (15, 0.12)])
    cloud = (cloud - cloud.mean()) / cloud.std()
    # mostly open sky, with drifting banks of soft grey-blue cloud: nothing
    # near white, so the gold shots and the enemies stand out from it
    v = np.clip((cloud - 0.35) / 1.6, 0, 1)
    colours = [P.rgb(c) for c in ["#5a94ca", "#6aa2d4", "#80b0da", "#98bede", "#b0cce4"]]
    rgb = _posterize(v ** 0.8, colours)
    a = np.full((n, n, 1), 255, dtype=np.uint8)
    return Image.fromarray(np.concatenate([rgb, a], axis=2), "RGBA")


def _font(name, size):
    return ImageFont.truetype(FONT_DIR + name, size)


def _outlined_text(img, xy, text, font, fill, outline, width, anchor="la"):
    d = ImageDraw.Draw(img)
    d.text(xy, text, font=font, fill=fill, anchor=anchor, stroke_width=width, stroke_fill=outline)


def _hard_alpha(img, cut=128):
    """Threshold antialiased text so labels stay crisp under point filtering."""
    a = np.asarray(img).copy()
    a[..., 3] = np.where(a[..., 3] >= cut, 255, 0)
    a[a[..., 3] == 0] = 0
    return Image.fromarray(a, "RGBA")


def _gradient(h, w, top, bottom):
    t = np.linspace(0, 1, h)[:, None, None]
    g = np.array(top)[None, None, :] * (1 - t) + np.array(bottom)[None, None, :] * t
    return np.repeat(g, w, axis=1)


def _stars(arr, seed, count, y_max):
    rng = np.random.default_rng(seed)
    h, w, _ = arr.shape
    for _ in range(count):
        x, y = rng.integers(0, w), rng.integers(0, y_max)
        b = rng.integers(140, 256)
        arr[y, x, :3] = (b, b, min(255, b + 20))
        if b > 235 and 0 < x < w - 1 and 0 < y < h - 1:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                arr[y + dy, x + dx, :3] = (b // 2, b // 2, b // 2 + 30)


def _logo(size, text, fill_top, fill_bottom, outline):
    font = _font("DejaVuSerif-Bold.ttf", size)
    pad = 12
    box = font.getbbox(text, stroke_width=4)
    w, h = box[2] - box[0] + 2 * pad, box[3] - box[1] + 2 * pad
    mask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(mask).text((pad - box[0], pad - box[1]), text, font=font, fill=255)
    stroke = Image.new("L", (w, h), 0)
    ImageDraw.Draw(stroke).text((pad - box[0], pad - box[1]), text, font=font, fill=255,
                                stroke_width=4, stroke_fill=255)
    m = np.asarray(mask) >= 128
    s = np.asarray(stroke) >= 128
    ys = np.where(m.any(axis=1))[0]
    t = np.clip((np.arange(h) - ys[0]) / max(1, ys[-1] - ys[0]), 0, 1)[:, None]
    grad = np.array(fill_top) * (1 - t[..., None]) + np.array(fill_bottom) * t[..., None]
    out = np.zeros((h, w, 4), dtype=np.uint8)
    out[s, :3] = outline
    out[s, 3] = 255
    # a bright rim on the top edge of each letter, as on the sprites
    rim = m & ~np.roll(m, 2, axis=0)
    body = m & ~rim
    out[body, :3] = np.broadcast_to(grad, (h, w, 3))[body]
    out[body, 3] = 255
    out[rim, :3] = (255, 250, 220)
    out[rim, 3] = 255
    return Image.fromarray(out, "RGBA")


def title():
    """Shown at (0, -50): image rows 50..649 fill the play field, and rows
    550..590 sit behind the menu row, so they hold only quiet cloud."""
    from . import sprites
    W, H = 600, 650
    arr = _gradient(H, W, (10, 8, 34), (64, 40, 96)).astype(np.uint8)
    arr = np.concatenate([arr, np.full((H, W, 1), 255, np.uint8)], axis=2)
    _stars(arr, 11, 260, 420)
    # horizon of cloud tops lit by a low sun
    rng = np.random.default_rng(5)
    x = np.arange(W)
    ridge = 430 + 14 * np.sin(x / 37.0) + 9 * np.sin(x / 13.0 + 1.3) + rng.normal(0, 0.0, W)
    yy = np.arange(H)[:, None]
    below = yy >= ridge[None, :]
    depth = np.clip((yy - ridge[None, :]) / 150.0, 0, 1)
    cols = [P.rgb(c) for c in ["#f0a060", "#c86878", "#7a4a8a", "#3c2c64", "#221a44"]]
    cloud = _posterize(depth, cols)
    arr[below, :3] = cloud[below]
    # a nearer bank in the shade fills the field's bottom edge, under the menu
    near = 602 + 7 * np.sin(x / 29.0 + 0.7) + 4 * np.sin(x / 11.0 + 2.1)
    below = yy >= near[None, :]
    depth = np.clip((yy - near[None, :]) / 45.0, 0, 1)
    cloud = _posterize(depth, [P.rgb(c) for c in ["#b06a86", "#7a4a8a", "#4a3472", "#2c2254"]])
    arr[below, :3] = cloud[below]
    img = Image.fromarray(arr, "RGBA")
    # the hero and a distant foe, silhouetted at 3x so they stay pixel art
    hero = sprites.player_dragon().resize((96, 96), Image.NEAREST)
    img.alpha_composite(hero, (252, 330))
    foe = sprites.boss_dragon()
    sil = np.asarray(foe).copy()
    sil[..., :3] = (40, 28, 70)
    sil[..., 3] = np.where(sil[..., 3] > 0, 255, 0)
    img.alpha_composite(Image.fromarray(sil, "RGBA").resize((192, 192), Image.NEAREST), (380, 70))
    logo = _logo(110, "Zenthar", (255, 214, 90), (214, 84, 40), P.OUTLINE)
    img.alpha_composite(logo, ((W - logo.width) // 2, 170))
    sub = Image.new("RGBA", (W, 40), (0, 0, 0, 0))
    _outlined_text(sub, (W // 2, 20), "WINGS OVER THE BURNING SKY", _font("DejaVuSans-Bold.ttf", 16),
                   (230, 220, 255), P.OUTLINE, 2, anchor="mm")
    img.alpha_composite(_hard_alpha(sub), (0, 290))
    # keep the strip behind the menu calm and dark enough for white labels
    a = np.asarray(img).copy()
    a[545:595, :, :3] = (a[545:595, :, :3] * 0.55).astype(np.uint8)
    return Image.fromarray(a, "RGBA")


def game_over():
    W = H = 600
    arr = _gradient(H, W, (40, 6, 18), (8, 4, 16)).astype(np.uint8)
    arr = np.concatenate([arr, np.full((H, W, 1), 255, np.uint8)], axis=2)
    _stars(arr, 23, 120, 600)
    img = Image.fromarray(arr, "RGBA")
    logo = _logo(72, "GAME OVER", (255, 120, 100), (150, 20, 40), P.OUTLINE)
    img.alpha_composite(logo, ((W - logo.width) // 2, 170))
    # a plate behind the menu at y 350..460
    a = np.asarray(img).copy()
    a[338:472, 180:460, :3] = (a[338:472, 180:460, :3] * 0.5).astype(np.uint8)
    a[338, 180:460, :3] = (120, 40, 60)
    a[471, 180:460, :3] = (120, 40, 60)
    return Image.fromarray(a, "RGBA")


# Text starts right of where the pointer sits over each label (the pointer
# is drawn first, 20 px into the title labels and up to 10 px left of them).
POINTER_W, POINTER_H = 20, 16
LABELS = {
    # file: (text, width, x where the text starts)
    "Game_Start.png": ("GAME START", 180, 44),
    "Option.png": ("OPTION", 180, 20),
    "Game_End.png": ("GAME END", 200, 44),
    "Restart.png": ("RESTART", 200, 34),
}


def label(name):
    text, w, tx = LABELS[name]
    img = Image.new("RGBA", (w, 40), (0, 0, 0, 0))
    _outlined_text(img, (tx, 20), text, _font("DejaVuSansCondensed-Bold.ttf", 20), (255, 255, 255), P.OUTLINE, 2,
                   anchor="lm")
    return _hard_alpha(img)


def pointer():
    """A small flame-arrow in the sprites' palette, pointing at the label."""
    from .pixel import Canvas
    c = Canvas(POINTER_W, POINTER_H)
    c.poly("fire", [(1, 2), (8, 2), (18, 8), (8, 13), (1, 13), (6, 8)])
    c.poly("gold", [(6, 5), (10, 5), (14, 8), (10, 10), (6, 10), (8, 8)])
    return c.render()


def black():
    return Image.new("RGBA", (600, 600), (0, 0, 0, 255))
