#!/usr/bin/env python3
# SPDX-FileCopyrightText: MOXAN
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the program's icons: cz.moxan.zevra.svg (the scalable icon, also
drawn at 64, 128 and 256 px), a simpler mark for 32 and 48 px ("ZEVRA" alone)
and one for 16 and 24 px (a "Z"). The letters are strokes of our own on a
grid, so no font is needed to show them. The PNGs are committed; rerun this
only when the design changes (needs python3 and rsvg-convert from
librsvg2-bin):  python3 src/app/icons/make_icons.py
"""
import os
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
MAROON, WHITE, YELLOW = "#800000", "#ffffff", "#ffffb0"

# Each letter on a box 5 wide and 7 high, as strokes (SVG path data).
LETTERS = {
    "Z": "M0 0H5L0 7H5",
    "E": "M5 0H0V7H5M0 3.5H4",
    "V": "M0 0L2.5 7L5 0",
    "R": "M0 7V0H3.2C5.6 0 5.6 3.6 3.2 3.6H0M2.8 3.6L5 7",
    "A": "M0 7L2.5 0L5 7M0.9 4.6H4.1",
    "M": "M0 7V0L2.5 4.2L5 0V7",
    "O": "M1.8 0H3.2C4.4 0 5 0.8 5 2V5C5 6.2 4.4 7 3.2 7H1.8C0.6 7 0 6.2 0 5V2C0 0.8 0.6 0 1.8 0Z",
    "X": "M0 0L5 7M5 0L0 7",
    "N": "M0 7V0L5 7V0",
}


def word(text, x, y, width, gap, stroke, colour):
    """The letters of text, each width wide (height 7/5 of it), from (x, y)."""
    scale = width / 5.0
    out = []
    for i, letter in enumerate(text):
        left = x + i * (width + gap)
        out.append(f'<path transform="translate({left:g} {y:g}) scale({scale:g})" d="{LETTERS[letter]}" '
                   f'fill="none" stroke="{colour}" stroke-width="{stroke / scale:g}" '
                   'stroke-linejoin="round" stroke-linecap="butt"/>')
    return "\n  ".join(out)


def svg(size, radius, body):
    return (f'<?xml version="1.0" encoding="UTF-8"?>\n'
            '<!-- SPDX-FileCopyrightText: MOXAN -->\n<!-- SPDX-License-Identifier: GPL-3.0-or-later -->\n'
            '<!-- Drawn by make_icons.py beside this file. -->\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 {size} {size}">\n'
            f'  <rect width="{size}" height="{size}" rx="{radius}" fill="{MAROON}"/>\n  {body}\n</svg>\n')


FULL = svg(128, 16, "\n  ".join([
    word("ZEVRA", 14, 30, 16, 5, 5, WHITE),
    f'<rect x="14" y="68" width="100" height="5" fill="{YELLOW}"/>',
    word("MOXAN", 18, 82, 14, 5.5, 4.2, YELLOW)]))
MEDIUM = svg(48, 6, "\n  ".join([
    word("ZEVRA", 4, 15, 6.4, 2, 2.6, WHITE),
    f'<rect x="4" y="32" width="40" height="3" fill="{YELLOW}"/>']))
SMALL = svg(16, 2, "\n  ".join([
    '<path d="M4 3.5H12L4 10.5H12" fill="none" stroke="#ffffff" stroke-width="2" stroke-linejoin="round"/>',
    f'<rect x="3" y="12.5" width="10" height="1.5" fill="{YELLOW}"/>']))

DESIGNS = {"full": (FULL, [64, 128, 256]), "medium": (MEDIUM, [32, 48]), "small": (SMALL, [16, 24])}

for name, (text, sizes) in DESIGNS.items():
    source = os.path.join(HERE, "cz.moxan.zevra.svg" if name == "full" else f"zevra-{name}.svg")
    with open(source, "w", encoding="utf-8") as f:
        f.write(text)
    for size in sizes:
        subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), "-o",
                        os.path.join(HERE, f"cz.moxan.zevra-{size}.png"), source], check=True)
