#!/usr/bin/env python3
"""Regenerate every shipped data file of Zenthar.

    python3 tools/generate_data.py [OUTPUT_ROOT]

OUTPUT_ROOT defaults to data/ beside this directory.  Output is byte-for-byte
reproducible: fixed seeds, no timestamps, PNGs without metadata.
data/Table/ is not made here; the icons (data/bin/game.ico) come from
tools/generate_icons.py.
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

from zgen import fonts, model, music, screens, sounds, sprites  # noqa: E402


def save_png(img, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    # no pnginfo: nothing but pixels, so the bytes never drift
    img.save(path, format="PNG", optimize=False, compress_level=9)


def save_bytes(data, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


# Button map: logical buttons 0..9 in order; pause (9) shares pad button 6,
# the one the Space key feeds, since no key reaches pad button 9. The controller
# layout of the SDL back end puts a known pad's left shoulder, A (bottom face)
# and Start on pad buttons 0, 2 and 6, beside the keys V, F and Space, so slow,
# fire and pause need no editing for either. Volumes: the music
# renders loud through the soundfont, so it sits a little below full and the effects
# a little under it, keeping held keys and streams of hits clear of clipping.
CONFIG_INI = "0 1 2 3 4 5 6 7 8 6\n5 6\n"
SETTING_INI = "[ウィンドウモード]\nFullScreen=0\n"


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

    save_png(fonts.font_main(), os.path.join(out, "Font", "Font.png"))
    save_png(fonts.font_sample(), os.path.join(out, "Font", "FontSample.png"))

    for name, make in sounds.ALL.items():
        save_bytes(sounds.to_wav(make()), os.path.join(out, "Sound", name))

    with open(os.path.join(HERE, "music", "all.score"), encoding="utf-8") as f:
        midi, _ = music.build(f.read())
    save_bytes(midi, os.path.join(out, "BGM", "all.mid"))

    save_bytes(model.crystal_x("sample.png"), os.path.join(out, "Model", "sample.x"))
    save_png(model.crystal_texture(), os.path.join(out, "Model", "sample.png"))
    with open(os.path.join(HERE, "src", "AnimMesh.fx"), "rb") as f:
        save_bytes(f.read(), os.path.join(out, "Effect", "AnimMesh.fx"))

    save_bytes(CONFIG_INI.encode("ascii"), os.path.join(out, "Config.ini"))
    save_bytes(SETTING_INI.encode("utf-8"), os.path.join(out, "Setting.ini"))


if __name__ == "__main__":
    main()
