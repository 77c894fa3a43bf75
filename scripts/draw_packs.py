#!/usr/bin/env python3
"""Draws the pictures of the shipped packs as text grids under packs-src/.

Small pictures are drawn by hand below; bigger ones are
composed from simple shapes. Run it again after changing a picture, then
rebuild the packs (scripts/build_packs.sh). The text grid format is the one
`tessellor-tool help build` describes.
"""
import math
import os
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "packs-src")

# Palette letters used below (written into each file's "colours:" header).
COLOURS = {"K": 3, "W": 1, "G": 2, "C": 4, "B": 5, "N": 6, "L": 7, "E": 8, "D": 9,
           "P": 10, "R": 11, "M": 12, "I": 13, "F": 14, "V": 15, "Q": 16, "Y": 17, "O": 18}

PICTURES = []


def put(pack, folder, name, rows):
    rows = [r for r in rows]
    width = len(rows[0])
    for r in rows:
        if len(r) != width:
            sys.exit(f"{pack}/{folder}/{name}: ragged row {r!r}")
    PICTURES.append((pack, folder, name, rows))


def grid(w, h, c="."):
    return [[c] * w for _ in range(h)]


def rows_of(g):
    return ["".join(r) for r in g]


def hand(text):
    return [line for line in text.strip("\n").split("\n")]


# ---------------------------------------------------------------- Starter
# Small pictures every line of which gives way to line reasoning alone.
put("Starter", "Animals", "bird", hand("""
......###....
.....#####...
.....##.#####
..########...
##########...
.########....
..######.....
....#..#.....
...##.##.....
"""))
put("Starter", "Animals", "butterfly", hand("""
...#...#...
##..#.#..##
####.#.####
#####.#####
.####.####.
..###.###..
.####.####.
####.#.####
###.....###
"""))
put("Starter", "Animals", "cat", hand("""
#.......#
##.....##
#########
#.##.##.#
#########
###...###
.###.###.
..#####..
"""))
put("Starter", "Animals", "duck", hand("""
...###......
..#####.....
..##.##.....
###########.
..#####.....
...#####..##
..##########
..##########
...########.
....######..
"""))
put("Starter", "Animals", "fish", hand("""
....#####.....
..#########..#
.##.########.#
#############.
.###########.#
..#########..#
....#####.....
"""))
put("Starter", "Animals", "rabbit", hand("""
.#...#....
.##..##...
.##..##...
.##..##...
.#######..
##.###.##.
#########.
###...###.
.#######..
..#####...
.#######..
##########
"""))
put("Starter", "Animals", "snail", hand("""
...#####....#.#
.###...###..#.#
.##.###.##..#.#
##.##.##.##.###
##.#..#.##.####
##.##..##..####
.##.####...####
###############
.#############.
"""))
put("Starter", "Animals", "tortoise", hand("""
....######....
...########...
..##.####.##..
.############.
##############
.##.......##.#
.##.......##..
"""))
put("Starter", "Animals", "whale", hand("""
.#.#..........
..#...........
...######...##
.#########.###
############..
#.##########..
###########...
.########.....
"""))
put("Starter", "Shapes", "arrow", hand("""
....#...
....##..
########
########
....##..
....#...
"""))
put("Starter", "Shapes", "heart", hand("""
.##.##.
#######
#######
.#####.
..###..
...#...
"""))
put("Starter", "Shapes", "note", hand("""
...######
...######
...#....#
...#....#
...#....#
.###..###
####.####
####.####
.##...##.
"""))
put("Starter", "Shapes", "plus", hand("""
..#..
..#..
#####
..#..
..#..
"""))
put("Starter", "Shapes", "smiley", hand("""
...####...
.########.
##########
##..##..##
##..##..##
##########
##.####.##
###....###
.########.
...####...
"""))
put("Starter", "Shapes", "star", hand("""
....#....
...###...
...###...
#########
.#######.
..#####..
.###.###.
.##...##.
##.....##
"""))
put("Starter", "Things", "anchor", hand("""
....###....
...##.##...
....###....
.#########.
....###....
....###....
##..###..##
##..###..##
###.###.###
.#########.
...#####...
"""))
put("Starter", "Things", "bell", hand("""
....#....
...###...
..#####..
..#####..
..#####..
.#######.
#########
.........
....#....
"""))
put("Starter", "Things", "car", hand("""
...#######....
..##..#..##...
.##...#...##..
##############
##############
###..####..###
..##......##..
"""))
put("Starter", "Things", "cup", hand("""
.#..#..#...
..#..#..#..
.#..#..#...
...........
########...
##########.
########.##
########..#
########.##
##########.
.########..
"""))
put("Starter", "Things", "house", hand("""
.....#..##.
....###.##.
...#######.
..########.
.#########.
###########
.#########.
.##..######
.##..##..##
.######..##
.######..##
"""))
put("Starter", "Things", "key", hand("""
.####.........
##..##........
#....#########
#....#########
##..##...#.#.#
.####....#.#.#
"""))
put("Starter", "Things", "light_bulb", hand("""
..#####..
.###.###.
##.######
#.#######
#########
.#######.
..#####..
...###...
..#####..
...###...
..#####..
"""))
put("Starter", "Things", "moon", hand("""
..#####...
.#####....
#####...#.
####...###
####....#.
####......
####......
#####.....
.######...
..#######.
...#####..
"""))
put("Starter", "Things", "mushroom", hand("""
....#####....
..#########..
.##..####.##.
###..####.###
#############
#############
....#####....
....#####....
....#####....
...#######...
"""))
put("Starter", "Things", "sailboat", hand("""
.....#......
.....##.....
...#.###....
..##.####...
.###.#####..
####.######.
.....#......
############
.##########.
..########..
"""))
put("Starter", "Things", "tree", hand("""
.....#.....
....###....
...#####...
....###....
..#######..
.#########.
...#####...
.#########.
###########
....###....
....###....
"""))
put("Starter", "Things", "umbrella", hand("""
.....#.....
...#####...
.#########.
###########
###########
##..###..##
.....#.....
.....#.....
.....#.....
..#..#.....
..####.....
"""))

# ---------------------------------------------------------------- Colour
def disc(g, cx, cy, r, c):
    for y in range(len(g)):
        for x in range(len(g[0])):
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                g[y][x] = c


def rect(g, x0, y0, x1, y1, c):
    for y in range(max(0, y0), min(len(g), y1 + 1)):
        for x in range(max(0, x0), min(len(g[0]), x1 + 1)):
            g[y][x] = c


put("Colour", "Fruit", "cherry", hand("""
.....DD.
....D.D.
...D..D.
..D...D.
RR....RR
RRR..RRR
RRR..RRR
.R....R.
"""))
put("Colour", "Fruit", "apple", hand("""
.....K....
....KDD...
.RRRKRRR..
RRRRRRRRR.
RRPRRRRRR.
RRPRRRRRR.
RRRRRRRRR.
.RRRRRRR..
..RR.RR...
"""))
put("Colour", "Fruit", "pear", hand("""
....K...
....KD..
...EE...
...EE...
..EEEE..
.EEEEEE.
EEEEEEEE
EEEEEEEE
.EEEEEE.
..EEEE..
"""))
put("Colour", "Nature", "flower", hand("""
..FF.FF..
.FFFFFFF.
..FFYFF..
.FFFFFFF.
..FF.FF..
....D....
..D.D....
...DD.D..
....DD...
....D....
"""))
put("Colour", "Nature", "mushroom", hand("""
...RRRRRR...
..RRWRRRRR..
.RRWWRRRWRR.
RRRRRRRWWWRR
RRRRRRRRRRRR
....WWWW....
....WWWW....
....WWWW....
...WWWWWW...
"""))
put("Colour", "Nature", "tree", hand("""
....DDD....
...DDDDD...
..DDDRDDD..
.DDDDDDDDD.
DDRDDDDDRDD
.DDDDDDDDD.
....OOO....
....OOO....
....OOO....
..OOOOOOO..
"""))
put("Colour", "Animals", "ladybird", hand("""
....KK....
...KKKK...
..RRKKRR..
.RKRKKRKR.
.RRRKKRRR.
.RKRKKRKR.
.RRRKKRRR.
..RRKKRR..
...RKKR...
"""))
put("Colour", "Animals", "chick", hand("""
...YYY....
..YYYYY...
..YKYYYO..
..YYYYYOO.
...YYY....
.YYYYYYY..
YYYYYYYYY.
YYYYYYYYY.
.YYYYYYY..
...O..O...
..OO.OO...
"""))
put("Colour", "Animals", "goldfish", hand("""
.....OOOO.......
...OOOOOOOO...OO
..OOKOOOOOOO.OOO
.OOOOOOOOOOOOOO.
..OOOOOOOOOOO.OO
...OOOOOOOO...OO
.....OOOO.......
"""))
put("Colour", "Things", "boat", hand("""
.....R.......
.....RR......
.....RRR.....
.....RRRR....
.....RRRRR...
.....K.......
OOOOOOOOOOOOO
.OOOOOOOOOOO.
..OOOOOOOOO..
CCCCCCCCCCCCC
"""))
put("Colour", "Things", "pencil", hand("""
..................
.RRRRRRRRRRRRQQ...
MYYYYYYYYYYYYQQQK.
MYYYYYYYYYYYYQQQKK
MYYYYYYYYYYYYQQQK.
.RRRRRRRRRRRRQQ...
"""))


put("Colour", "Fruit", "strawberry", hand("""
..D.D.D..
...DDD...
.RRRRRRR.
RRYRRRYRR
RRRRYRRRR
.RYRRRYR.
.RRRYRRR.
..RRRRR..
...RYR...
....R....
"""))
put("Colour", "Things", "traffic_light", hand("""
KKKKK
KRRRK
KRRRK
KKKKK
KYYYK
KYYYK
KKKKK
KEEEK
KEEEK
KKKKK
..K..
"""))
put("Colour", "Things", "candle", hand("""
...Y...
..YOY..
..YOY..
...Y...
..WWW..
..WWW..
..WWW..
..WWW..
..WWW..
.QQQQQ.
QQQQQQQ
"""))
put("Colour", "Things", "ice_cream", hand("""
..PPPP..
.PPPPPP.
.PPIPPP.
..FFFF..
.FFFFFF.
.FFFFFF.
OOOOOOOO
.OOOOOO.
.OOOOOO.
..OOOO..
..OOOO..
...OO...
"""))

# ---------------------------------------------------------------- Big
def landscape():
    w, h = 40, 30
    g = grid(w, h, "C")
    disc(g, 31, 6, 4, "Y")
    for x in range(w):
        top = int(17 + 3 * math.sin(x / 6.0))
        for y in range(top, h):
            g[y][x] = "E"
    rect(g, 6, 16, 15, 24, "W")
    for k in range(6):
        rect(g, 5 + k, 15 - k, 16 - k, 15 - k, "R")
    rect(g, 9, 20, 11, 24, "O")
    rect(g, 13, 18, 14, 19, "B")
    disc(g, 25, 18, 3, "D")
    rect(g, 25, 21, 25, 25, "O")
    for x in range(w):
        g[h - 1][x] = "D"
    for (cx, cy) in [(4, 4), (12, 6)]:
        rect(g, cx, cy, cx + 5, cy + 1, ".")
        rect(g, cx + 1, cy - 1, cx + 3, cy - 1, ".")
    return rows_of(g)


def mountains():
    w, h = 40, 30
    g = grid(w, h)
    peaks = [(8, 8, 1.0), (22, 4, 1.2), (34, 10, 0.9)]
    for x in range(w):
        top = h
        for px, py, s in peaks:
            top = min(top, int(py + abs(x - px) * s))
        for y in range(max(top, 0), h):
            g[y][x] = "#"
    disc(g, 34, 3, 2, "#")
    # snow caps left blank
    for px, py, s in peaks:
        for y in range(py + 1, py + 3):
            for x in range(w):
                if abs(x - px) * s < (y - py) and abs(x - px) * s >= (y - py) - 1:
                    g[y][x] = "."
    return rows_of(g)


def rocket():
    w, h = 30, 40
    g = grid(w, h)
    for y in range(2, 12):
        half = (y - 1) // 2
        rect(g, 15 - half, y, 14 + half, y, "R")
    rect(g, 10, 12, 19, 30, "W")
    disc(g, 14.5, 17, 2.5, "C")
    rect(g, 5, 26, 9, 32, "R")
    rect(g, 20, 26, 24, 32, "R")
    rect(g, 11, 31, 18, 32, "K")
    rect(g, 12, 33, 17, 35, "O")
    rect(g, 13, 36, 16, 37, "Y")
    return rows_of(g)


def owl():
    w, h = 30, 30
    g = grid(w, h)
    rect(g, 7, 5, 22, 24, "O")
    for k in range(3):
        rect(g, 7 + k, 2 + k, 8 + k, 4, "O")
        rect(g, 21 - k, 2 + k, 22 - k, 4, "O")
    disc(g, 11, 11, 3, "W")
    disc(g, 18, 11, 3, "W")
    disc(g, 11, 11, 1, "K")
    disc(g, 18, 11, 1, "K")
    rect(g, 14, 14, 15, 16, "Y")
    rect(g, 10, 18, 19, 23, "Q")
    rect(g, 3, 25, 26, 26, "M")
    rect(g, 10, 25, 12, 25, "Y")
    rect(g, 17, 25, 19, 25, "Y")
    return rows_of(g)


def castle():
    w, h = 40, 30
    g = grid(w, h)
    rect(g, 4, 10, 35, 28, "#")
    for x in range(4, 36, 4):
        rect(g, x, 8, x + 1, 9, "#")
    rect(g, 0, 4, 7, 28, "#")
    rect(g, 32, 4, 39, 28, "#")
    for x in (0, 3, 6, 32, 35, 38):
        rect(g, x, 2, x + 1, 3, "#")
    rect(g, 16, 18, 23, 28, ".")
    rect(g, 17, 17, 22, 17, ".")
    rect(g, 3, 9, 4, 12, ".")
    rect(g, 35, 9, 36, 12, ".")
    rect(g, 11, 13, 12, 15, ".")
    rect(g, 27, 13, 28, 15, ".")
    rect(g, 0, 29, 39, 29, "#")
    return rows_of(g)


def cat_big():
    w, h = 32, 30
    g = grid(w, h)
    disc(g, 15.5, 12, 9, "#")
    for k in range(6):
        rect(g, 7 + k // 2, 1 + k, 8 + k, 1 + k, "#")
        rect(g, 23 - k, 1 + k, 24 - k // 2, 1 + k, "#")
    rect(g, 10, 20, 21, 28, "#")
    disc(g, 12, 10, 1.5, ".")
    disc(g, 19, 10, 1.5, ".")
    rect(g, 15, 14, 16, 14, ".")
    for x in range(22, 30):
        y = int(26 - 6 * math.sin((x - 22) / 8 * math.pi / 2))
        rect(g, x, y, x, y + 1, "#")
    return rows_of(g)


put("Big", "Scenes", "landscape", landscape())
put("Big", "Scenes", "mountains", mountains())
put("Big", "Scenes", "castle", castle())
put("Big", "Figures", "rocket", rocket())
put("Big", "Figures", "owl", owl())
put("Big", "Figures", "cat", cat_big())


def main():
    keep = set()
    for pack, folder, name, rows in PICTURES:
        d = os.path.join(ROOT, pack, folder)
        os.makedirs(d, exist_ok=True)
        # The file name is the title the crossword tree shows.
        title = name[0].upper() + name[1:].replace("_", " ")
        path = os.path.join(d, title + ".txt")
        used = sorted({c for r in rows for c in r} & set(COLOURS))
        head = ""
        if used:
            head = "colours: " + " ".join(f"{c}={COLOURS[c]}" for c in used) + "\n"
        with open(path, "w", newline="\n") as f:
            f.write(head + "\n".join(rows) + "\n")
        keep.add(os.path.normpath(path))
    # pictures dropped from this script leave the sources too; packs it does
    # not draw (their grids are edited by hand) are left alone
    for dirpath, _, files in (w for pack in sorted({p[0] for p in PICTURES})
                              for w in os.walk(os.path.join(ROOT, pack))):
        for fn in files:
            p = os.path.normpath(os.path.join(dirpath, fn))
            if fn.endswith(".txt") and p not in keep:
                os.remove(p)
    print(f"{len(PICTURES)} pictures written below {os.path.normpath(ROOT)}")


if __name__ == "__main__":
    main()
