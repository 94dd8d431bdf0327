"""The one palette every sprite draws from.

Each material is a ramp of four shades, darkest first.  Keeping all art on
these ramps (and one outline colour) is what makes the sprites look like they
belong to the same game.
"""

OUTLINE = (18, 12, 28)

RAMPS = {
    "green":   ["#1e5a3a", "#2f8a4a", "#52b84f", "#a6e06a"],
    "teal":    ["#1d4d5c", "#2a7a7a", "#47a8a0", "#8fd8c0"],
    "cream":   ["#8a6a3a", "#c8a050", "#ecd27a", "#fff2b8"],
    "red":     ["#5a1426", "#a02a2a", "#e0502a", "#ff9a4a"],
    "fire":    ["#8a2a14", "#d8561e", "#f89a2a", "#ffe27a"],
    "stone":   ["#2e2a44", "#4a4866", "#75768e", "#aeb0c0"],
    "violet":  ["#3a1450", "#6a2a8a", "#a04ac0", "#d890e8"],
    "steel":   ["#4a5670", "#7a8aa8", "#b8c8e0", "#f0f6ff"],
    "ice":     ["#2a4a80", "#3c74b8", "#68a8e0", "#b0e0ff"],
    "gold":    ["#6a4a14", "#a8781e", "#e0b040", "#fff0a0"],
    "night":   ["#1a1028", "#34204a", "#563070", "#8a52a0"],
    "magenta": ["#801050", "#d02878", "#ff60a8", "#ffc0e0"],
    "sky":     ["#3a6ea8", "#5a94cc", "#86bce6", "#c4e4f8"],
    "white":   ["#9aa0b4", "#c8ccd8", "#e8ecf4", "#ffffff"],
}

EYE_YELLOW = (255, 230, 64)
EYE_RED = (255, 48, 48)
EYE_CYAN = (120, 255, 255)


def rgb(hexstr):
    h = hexstr.lstrip("#")
    return tuple(int(h[i:i + 2], 16) for i in (0, 2, 4))


def ramp(name):
    return [rgb(c) for c in RAMPS[name]]
