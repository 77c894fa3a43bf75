#!/usr/bin/env python3
"""Draws the crossword tree's small bitmaps into resources/tree/*.bmp.

24-bit pictures; magenta (FF00FF) is the transparent colour. Folders are
little boxes, crosswords a tiny grid, solved ones carry a green tick, levels
are bars of one to four segments.
"""
import pathlib
import struct

OUT = pathlib.Path(__file__).resolve().parent.parent / 'resources' / 'tree'
T = (255, 0, 255)


def write(name, rows):
    h = len(rows)
    w = len(rows[0])
    pad = (4 - (w * 3) % 4) % 4
    data = bytearray()
    for row in reversed(rows):
        for (r, g, b) in row:
            data += bytes([b, g, r])
        data += b'\0' * pad
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    (OUT / (name + '.bmp')).write_bytes(header + info + bytes(data))


def canvas(w=16, h=16):
    return [[T] * w for _ in range(h)]


def rect(c, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            c[y][x] = colour


def frame(c, x0, y0, x1, y1, colour):
    for x in range(x0, x1 + 1):
        c[y0][x] = c[y1][x] = colour
    for y in range(y0, y1 + 1):
        c[y][x0] = c[y][x1] = colour


def tick(c):
    green = (0, 150, 0)
    for (x, y) in [(8, 11), (9, 12), (10, 13), (11, 12), (12, 11), (13, 10), (14, 9), (15, 8),
                   (8, 12), (9, 13), (10, 14), (11, 13), (12, 12), (13, 11), (14, 10), (15, 9)]:
        c[y][x] = green


def folder(open_, solved):
    c = canvas()
    body = (230, 190, 90)
    edge = (130, 90, 20)
    rect(c, 1, 3, 6, 4, body)
    frame(c, 1, 3, 6, 4, edge)
    if open_:
        rect(c, 1, 5, 13, 13, body)
        frame(c, 1, 5, 13, 13, edge)
        rect(c, 3, 8, 15, 13, (250, 220, 130))
        frame(c, 3, 8, 15, 13, edge)
    else:
        rect(c, 1, 5, 14, 13, body)
        frame(c, 1, 5, 14, 13, edge)
    if solved:
        tick(c)
    return c


def crossword(colour, solved):
    c = canvas()
    rect(c, 3, 2, 13, 13, (255, 255, 255))
    fills = [(255, 0, 0), (51, 51, 255), (0, 204, 0), (238, 238, 0)] if colour else [(68, 68, 68)] * 4
    cells = [(0, 0), (1, 1), (2, 0), (0, 2), (2, 2), (1, 3)]
    for i, (cx, cy) in enumerate(cells):
        x = 4 + cx * 3
        y = 3 + cy * 3 - (1 if cy == 3 else 0)
        rect(c, x, y, x + 1, y + 1, fills[i % 4])
    frame(c, 3, 2, 13, 13, (40, 40, 40))
    if solved:
        tick(c)
    return c


def sep(kind):
    c = canvas()
    grey = (128, 128, 128)
    if kind in (0, 2):
        for y in range(0, 16, 2):
            c[y][7] = grey
    if kind == 1:
        for y in range(0, 8, 2):
            c[y][7] = grey
    if kind in (0, 1):
        for x in range(7, 16, 2):
            c[8][x] = grey
    return c


def level(n):
    c = canvas(4, 16)
    colours = [(0, 170, 0), (230, 200, 0), (240, 120, 0), (210, 0, 0)]
    for k in range(n + 1):
        y1 = 14 - k * 3
        rect(c, 0, y1 - 1, 2, y1, colours[n])
    return c


OUT.mkdir(parents=True, exist_ok=True)
write('TVDN1', folder(False, False))
write('TVDN2', folder(True, False))
write('TVDS1', folder(False, True))
write('TVDS2', folder(True, True))
write('TVCN', crossword(True, False))
write('TVCN_M', crossword(False, False))
write('TVCS', crossword(True, True))
write('TVCS_M', crossword(False, True))
for k in range(3):
    write('TVSEP%d' % k, sep(k))
for n in range(4):
    write('TVLEVEL%d' % n, level(n))
