#!/usr/bin/env python3
"""Write the desktop icons of Zenthar: the frames of the shipped window icon
data/bin/game.ico as packaging/icons/zenthar-<size>.png (16, 32, 48, 64).

    python3 tools/generate_icons.py

Byte-for-byte reproducible: the frames are copied, not resampled, and the PNGs
carry no metadata.
"""

import os
import sys

try:
    from PIL import Image
except ImportError:
    # Debian's python3-pil lives under the system interpreter.
    if os.path.exists("/usr/bin/python3") and os.path.realpath(sys.executable) != os.path.realpath("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3", os.path.abspath(__file__)] + sys.argv[1:])
    raise

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SIZES = (16, 32, 48, 64)


def main():
    ico = Image.open(os.path.join(ROOT, "data", "bin", "game.ico"))
    out = os.path.join(ROOT, "packaging", "icons")
    os.makedirs(out, exist_ok=True)
    for n in SIZES:
        frame = ico.ico.getimage((n, n)).convert("RGBA")
        assert frame.size == (n, n), frame.size
        frame.save(os.path.join(out, "zenthar-%d.png" % n), format="PNG", optimize=False, compress_level=9)


if __name__ == "__main__":
    main()
