#!/usr/bin/env python3
"""Writes resources/logo.bmp (32 x 32, 24-bit) from the picture in resources/logo.txt.

Each letter is one palette colour, so the picture turns into exactly the
crossword we mean when the program maps its pixels to palette entries.
"""
import pathlib
import struct

COLOURS = {
    '.': 0xFFFFFF,  # white, background
    'B': 0x3333FF,  # blue
    'L': 0x66CCFF,  # light blue
    'D': 0x444444,  # dark grey
    'R': 0xFF0000,  # red
    'Y': 0xEEEE00,  # yellow
    'G': 0x00CC00,  # dark green
    'M': 0xFF00FF,  # magenta
}

here = pathlib.Path(__file__).resolve().parent.parent / 'resources'
rows = (here / 'logo.txt').read_text().split()
assert len(rows) == 32 and all(len(r) == 32 for r in rows)
pixels = bytearray()
for row in reversed(rows):  # BMP rows run bottom-up
    for ch in row:
        c = COLOURS[ch]
        pixels += bytes([c & 255, (c >> 8) & 255, (c >> 16) & 255])
header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
info = struct.pack('<IiiHHIIiiII', 40, 32, 32, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
(here / 'logo.bmp').write_bytes(header + info + bytes(pixels))
