#!/usr/bin/env python3
"""Regenerate every shipped data file of Zenthar.

    python3 tools/generate_data.py [OUTPUT_ROOT]

OUTPUT_ROOT defaults to data/ beside this directory.  Output is byte-for-byte
reproducible: fixed seeds, no timestamps, PNGs without metadata.
data/Table/ is not made here.
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

try:
    import numpy  # noqa: F401
    import PIL  # noqa: F401
except ImportError:
    # Debian's python3-pil/python3-numpy live under the system interpreter;
    # a pyenv or venv python3 first on PATH does not see them.
    if os.path.exists("/usr/bin/python3") and os.path.realpath(sys.executable) != os.path.realpath("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3", os.path.abspath(__file__)] + sys.argv[1:])
    raise

sys.dont_write_bytecode = True   # keep tools/ free of caches
sys.path.insert(0, HERE)
from zgen import sprites, screens  # noqa: E402


def save_png(img, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    # no pnginfo: nothing but pixels, so the bytes never drift
    img.save(path, format="PNG", optimize=False, compress_level=9)


def main():
    out = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.path.join(os.path.dirname(HERE), "data")
    tex = os.path.join(out, "Texture")
    pictures = {
        "p_dragon.png": sprites.player_dragon(),
        "bullet.png": sprites.bullet(),
        "phenix.png": sprites.phenix(),
        "gargoyle.png": sprites.gargoyle(),
        "amphisbaena.png": sprites.amphisbaena(),
        "boss_dragon.png": sprites.boss_dragon(),
        "boss_final.png": sprites.boss_final(),
        "HP.png": sprites.hp_unit(),
        "sky.png": screens.sky(),
        "title.png": screens.title(),
        "Game_Over.png": screens.game_over(),
        "black.png": screens.black(),
        "Pointer.png": screens.pointer(),
    }
    for name in screens.LABELS:
        pictures[name] = screens.label(name)
    for name, img in pictures.items():
        save_png(img, os.path.join(tex, name))


if __name__ == "__main__":
    main()
