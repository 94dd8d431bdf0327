"""Player, enemies, bosses, shots and the energy-bar unit.

The player faces up the screen; every enemy and boss faces down, towards the
player.  Shapes are drawn on the left half and mirrored where the creature is
symmetric.
"""

import numpy as np
from PIL import Image

from . import palette as P
from .pixel import Canvas


def player_dragon():
    c = Canvas(32, 32)
    # wings: membrane first, the arm bone on top of it
    c.poly("teal", [(13, 12), (7, 7), (2, 6), (1, 10), (2, 16), (4, 20), (7, 18), (10, 20), (13, 18)], mirror=True)
    c.line("green", [(13, 12), (7, 8), (2, 7)], width=2, mirror=True)
    c.line("green", [(7, 8), (4, 19)], width=1, mirror=True)
    # tail, tapering to a barbed tip
    c.poly("green", [(13, 20), (15, 30), (16, 30), (18, 20)])
    c.poly("green", [(13, 27), (15, 25), (16, 25), (18, 27), (16, 30), (15, 30)])
    # body and head
    c.ellipse("green", 15.5, 15, 4, 7)
    c.ellipse("green", 15.5, 6, 3, 3.5)
    c.poly("green", [(14, 2), (15, 1), (16, 1), (17, 2), (17, 5), (14, 5)])
    c.line("cream", [(15, 12), (15, 20)], width=1, mirror=True)
    # horns
    c.line("cream", [(13, 5), (12, 3)], width=1, mirror=True)
    c.dot(14, 5, P.EYE_YELLOW, mirror=True)
    return c.render()


def phenix():
    c = Canvas(32, 32)
    # tail plumes trail upwards: the bird dives down the screen
    c.poly("fire", [(14, 14), (10, 2), (13, 6), (15, 1), (16, 6)], mirror=True)
    # wings swept back
    c.poly("red", [(13, 14), (8, 10), (2, 4), (1, 9), (3, 14), (6, 19), (10, 20), (14, 21)], mirror=True)
    c.poly("fire", [(4, 9), (6, 15), (10, 18), (13, 17), (9, 13)], mirror=True)
    c.ellipse("red", 15.5, 18, 3.5, 6)
    c.ellipse("fire", 15.5, 24, 2.5, 3)
    c.poly("gold", [(15, 27), (16, 27), (16, 30), (15, 30)])
    c.dot(14, 25, P.OUTLINE, mirror=True)
    return c.render()


def gargoyle():
    c = Canvas(32, 32)
    # bat wings with a scalloped trailing edge
    c.poly("stone", [(13, 12), (9, 8), (3, 5), (1, 8), (1, 18), (3, 15), (5, 18), (7, 15), (9, 19), (11, 16), (13, 20)], mirror=True)
    c.line("night", [(13, 12), (8, 8), (2, 6)], width=1, mirror=True)
    c.line("night", [(8, 8), (5, 17)], width=1, mirror=True)
    c.line("night", [(8, 8), (9, 18)], width=1, mirror=True)
    c.ellipse("stone", 15.5, 15, 4.5, 6)
    # arms with claws reaching forward (down)
    c.line("stone", [(12, 18), (10, 24)], width=2, mirror=True)
    c.dot(9, 25, P.rgb("#aeb0c0"), mirror=True)
    # head low, horns curling back up
    c.ellipse("stone", 15.5, 23, 3, 3)
    c.poly("stone", [(14, 25), (15, 28), (16, 28), (17, 25)])
    c.line("cream", [(13, 21), (11, 19), (10, 15)], width=2, mirror=True)
    c.dot(14, 24, P.EYE_RED, mirror=True)
    c.dot(15, 26, P.OUTLINE, mirror=True)
    return c.render()


def amphisbaena():
    c = Canvas(32, 32)
    # an S-shaped serpent with a head at each end; the lower one leads
    t = np.linspace(0, 1, 60)
    xs = 16 + 6 * np.sin(t * 2 * np.pi)
    ys = 6 + t * 20
    # small leathery wings at the middle of the coil
    c.poly("magenta", [(15, 15), (9, 9), (4, 8), (3, 12), (6, 13), (5, 17), (10, 16)])
    c.poly("magenta", [(16, 16), (22, 22), (27, 23), (28, 19), (25, 18), (26, 14), (21, 15)])
    for x, y, tt in zip(xs, ys, t):
        r = 2.0 + 0.6 * np.cos(tt * 2 * np.pi) ** 2
        c.ellipse("violet", x, y, r, r)
    c.ellipse("violet", 16, 27, 3.5, 3)
    c.ellipse("violet", 16, 4.5, 3, 2.5)
    for x, y in zip(xs[8:-8:6], ys[8:-8:6]):
        c.dot(int(round(x)), int(round(y)), P.rgb("#e0b040"))
    c.dot(14, 28, P.EYE_YELLOW)
    c.dot(18, 28, P.EYE_YELLOW)
    c.dot(14, 4, P.EYE_YELLOW)
    c.dot(18, 4, P.EYE_YELLOW)
    return c.render()


def boss_dragon():
    """A pale frost dragon: the second boss is this sprite tinted red, so the
    art is kept light enough that the tint makes a convincing red dragon."""
    c = Canvas(96, 96)
    # great wings
    c.poly("ice", [(40, 34), (28, 20), (14, 12), (3, 14), (2, 30), (6, 44), (10, 40), (16, 50),
                   (22, 46), (28, 56), (34, 50), (42, 52)], mirror=True)
    c.line("steel", [(40, 34), (26, 20), (12, 13), (3, 15)], width=3, mirror=True)
    for tip in [(7, 42), (16, 48), (28, 54)]:
        c.line("steel", [(24, 20), tip], width=1, mirror=True)
    # tail up the screen behind it
    c.poly("steel", [(42, 54), (44, 76), (47, 92), (48, 92), (51, 76), (53, 54)], mirror=True)
    c.poly("steel", [(42, 84), (47, 80), (48, 80), (53, 84), (48, 92), (47, 92)], mirror=True)
    # body
    c.ellipse("steel", 47.5, 44, 12, 18)
    c.rect("cream", 45, 32, 47, 58, mirror=True)
    for y in range(34, 58, 4):
        c.line("steel", [(45, y), (50, y)], width=1)
    # neck and head, facing down
    c.poly("steel", [(41, 28), (43, 16), (52, 16), (54, 28)], mirror=True)
    c.ellipse("steel", 47.5, 12, 8, 7)
    c.poly("steel", [(42, 12), (44, 3), (47, 1), (48, 1), (51, 3), (53, 12)], mirror=True)
    # horns sweep back (up-screen)
    c.poly("cream", [(40, 14), (34, 22), (33, 28), (37, 22), (42, 18)], mirror=True)
    c.poly("ice", [(36, 36), (32, 42), (36, 41)], mirror=True)
    c.dot(43, 9, P.EYE_CYAN, mirror=True)
    c.dot(43, 10, P.EYE_CYAN, mirror=True)
    c.dot(44, 9, P.EYE_CYAN, mirror=True)
    c.dot(46, 2, P.OUTLINE, mirror=True)
    c.flip_v()   # drawn head-up; it flies down at the player
    return c.render(rim=2)


def boss_final():
    """A three-headed shadow hydra around a glowing crystal core."""
    c = Canvas(96, 96)
    # tail up the screen, with gold spikes
    c.poly("night", [(42, 32), (45, 10), (47, 2), (48, 2), (50, 10), (53, 32)])
    for y in (12, 22):
        c.poly("gold", [(44, y + 4), (47, y - 3), (48, y - 3), (51, y + 4), (48, y + 1), (47, y + 1)])
    # wings
    c.poly("night", [(38, 36), (24, 16), (8, 6), (2, 16), (4, 30), (9, 27), (12, 40), (19, 35), (24, 48),
                     (31, 42), (38, 50)], mirror=True)
    c.line("violet", [(38, 36), (22, 17), (7, 7)], width=2, mirror=True)
    for tip in [(9, 27), (19, 35), (31, 42)]:
        c.line("violet", [(22, 17), tip], width=1, mirror=True)
    # armoured body
    c.ellipse("night", 47.5, 44, 14, 17)
    c.poly("gold", [(36, 54), (47, 60), (48, 60), (59, 54), (57, 51), (48, 56), (47, 56), (38, 51)])
    # three necks, three heads, all looking down at the player
    c.line("night", [(41, 54), (30, 66), (24, 76)], width=7)
    c.line("night", [(54, 54), (65, 66), (71, 76)], width=7)
    c.line("night", [(47.5, 58), (47.5, 78)], width=8)
    for hx, hy in [(24, 81), (71, 81), (47.5, 85)]:
        c.ellipse("violet", hx, hy, 6, 5.5)
        c.poly("violet", [(hx - 3, hy + 3), (hx, hy + 9), (hx + 1, hy + 9), (hx + 4, hy + 3)])
        c.poly("gold", [(hx - 5, hy - 3), (hx - 9, hy - 11), (hx - 2, hy - 5)])
        c.poly("gold", [(hx + 6, hy - 3), (hx + 10, hy - 11), (hx + 3, hy - 5)])
        c.dot(int(hx - 3), int(hy + 1), P.EYE_RED)
        c.dot(int(hx + 3), int(hy + 1), P.EYE_RED)
    # the core
    c.poly("magenta", [(47, 30), (41, 41), (47, 52), (48, 52), (54, 41), (48, 30)])
    c.dot(46, 36, (255, 255, 255))
    c.dot(46, 37, (255, 255, 255))
    return c.render(rim=2)


def bullet():
    """A gold orb, white-hot at the centre.  The player's shots draw it as it
    is, so they read warm against the blue sky and pale clouds; enemy shots
    tint it blue (red dropped, green nearly), which keeps only the blue
    channel: the hot centre carries plenty of blue and the gold body little,
    so the same picture turns into a bright blue core in a dark navy shell
    for them."""
    n = 16
    img = np.zeros((n, n, 4), dtype=np.uint8)
    for y in range(n):
        for x in range(n):
            d = np.hypot(x - 7.5, y - 7.5)
            if np.hypot(x - 7.0, y - 7.0) < 2.8:
                img[y, x] = (255, 252, 232, 255)
            elif d <= 4.2:
                img[y, x] = (255, 216, 120, 255)
            elif d <= 5.6:
                img[y, x] = (232, 140, 32, 255)
            elif d <= 7.0:
                img[y, x] = (255, 176, 48, 110)
            elif d <= 7.9:
                img[y, x] = (255, 176, 48, 45)
    return Image.fromarray(img, "RGBA")


def hp_unit():
    """One unit of an energy bar: a single white pixel, tinted green when
    drawn.  Bars are drawn over the sprite's top edge and repeat the unit
    once per point (the player's 50, a boss's hp / 3), so it stays one
    pixel wide to keep a boss bar inside the field and one pixel high so
    the player's 5x-stretched bar leaves the dragon visible."""
    img = np.zeros((1, 1, 4), dtype=np.uint8)
    img[0, 0] = (255, 255, 255, 255)
    return Image.fromarray(img, "RGBA")
