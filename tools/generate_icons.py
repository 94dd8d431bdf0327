#!/usr/bin/env python3
"""Write Zenthar's icons: the window icon data/bin/game.ico (32-bit BMP frames
with alpha at 64, 48, 32 and 16 px) and the same frames as
packaging/icons/zenthar-<size>.png for the desktop's hicolor theme.

    python3 tools/generate_icons.py [OUTPUT_ROOT]

OUTPUT_ROOT defaults to the repository; the files go to its data/bin/ and
packaging/icons/. Byte-for-byte reproducible: the PNGs carry no metadata.
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

try:
    import PIL  # noqa: F401
except ImportError:
    # Debian's python3-pil lives under the system interpreter.
    if os.path.exists("/usr/bin/python3") and os.path.realpath(sys.executable) != os.path.realpath("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3", os.path.abspath(__file__)] + sys.argv[1:])
    raise

sys.dont_write_bytecode = True
sys.path.insert(0, HERE)
from zgen import icon  # noqa: E402


def main():
    root = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else os.path.dirname(HERE)
    frames = icon.frames()
    bin_dir = os.path.join(root, "data", "bin")
    os.makedirs(bin_dir, exist_ok=True)
    with open(os.path.join(bin_dir, "game.ico"), "wb") as f:
        f.write(icon.to_ico(frames))
    out = os.path.join(root, "packaging", "icons")
    os.makedirs(out, exist_ok=True)
    for frame in frames:
        frame.save(os.path.join(out, "zenthar-%d.png" % frame.width), format="PNG", optimize=False, compress_level=9)


if __name__ == "__main__":
    main()
