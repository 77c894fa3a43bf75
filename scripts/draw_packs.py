#!/usr/bin/env python3
"""Draws the pictures of the shipped packs as text grids under packs-src/.

The Starter pack's pictures are drawn by hand below; the grids of the other
packs are edited as text files directly (this script leaves them alone). Run
it again after changing a picture, then rebuild the packs
(scripts/build_packs.sh). The text grid format is the one
`tessellor-tool help build` describes.
"""
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
