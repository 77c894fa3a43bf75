#!/usr/bin/env python3
"""Writes the program's icon: dist/icons/org.tessellor.Tessellor.svg and its
48, 64, 128 and 256 pixel PNGs (rendered with rsvg-convert).

The icon is the start picture in small: a blue frame round a light blue
field of 6 x 6 cells, a dark T in the middle and the four corner cells in
red, yellow, green and magenta, drawn as tiles of a solved crossword.
"""
import pathlib
import subprocess

CELL = 8
FIELD = 8  # the field's top-left corner in a 64 x 64 box
GRID = [
    "R....Y",
    ".DDDD.",
    "..DD..",
    "..DD..",
    "..DD..",
    "G....M",
]
COLOURS = {'R': '#ff0000', 'Y': '#eeee00', 'G': '#00cc00', 'M': '#ff00ff', 'D': '#444444'}

parts = [
    '<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">',
    '  <title>Tessellor</title>',
    '  <rect x="2" y="2" width="60" height="60" rx="10" fill="#3333ff"/>',
    '  <rect x="3.5" y="3.5" width="57" height="57" rx="8.5" fill="none" stroke="#ffffff" stroke-opacity="0.35"/>',
    f'  <rect x="{FIELD}" y="{FIELD}" width="{6 * CELL}" height="{6 * CELL}" rx="2" fill="#66ccff"/>',
]
lines = []
for i in range(1, 6):
    p = FIELD + i * CELL
    lines.append(f'M{p} {FIELD}V{FIELD + 6 * CELL}M{FIELD} {p}H{FIELD + 6 * CELL}')
parts.append(f'  <path d="{"".join(lines)}" stroke="#3399dd" stroke-width="0.6"/>')
for y, row in enumerate(GRID):
    for x, ch in enumerate(row):
        if ch in COLOURS:
            parts.append(f'  <rect x="{FIELD + x * CELL + 0.7}" y="{FIELD + y * CELL + 0.7}" '
                         f'width="{CELL - 1.4}" height="{CELL - 1.4}" rx="1" fill="{COLOURS[ch]}"/>')
parts.append('</svg>')

out = pathlib.Path(__file__).resolve().parent.parent / 'dist' / 'icons'
svg = out / 'org.tessellor.Tessellor.svg'
svg.write_text('\n'.join(parts) + '\n')
for size in (48, 64, 128, 256):
    subprocess.run(['rsvg-convert', '-w', str(size), '-h', str(size), '-o',
                    str(out / f'org.tessellor.Tessellor-{size}.png'), str(svg)], check=True)
