#!/usr/bin/env python3
"""Renders every shipped picture with its id, size and level into one PNG per
pack, for looking over the whole set at once.

usage: scripts/contact_sheet.py [OUT_DIR]     (default build/contact)

The catalogue (ids, sizes, levels as built) comes from
`tessellor-tool list --json data/*.qlp`; the pictures come from the sources in
packs-src, which the pack test keeps identical to the built packs. Needs
ImageMagick's montage.
"""
import glob
import json
import os
import shutil
import subprocess
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
TOOL = os.path.join(ROOT, "build", "release", "tools", "tessellor-tool")
TILE = 150  # pixels the longer side of a picture is scaled up to (at least 2 per cell)

PALETTE = [0xFFFFFF, 0xCCCCCC, 0x999999, 0x444444, 0x66CCFF, 0x3333FF, 0x0000CC,
           0xCCFFCC, 0x00FF00, 0x00CC00, 0xFF9999, 0xFF0000, 0xCC0000, 0xFF99FF,
           0xFF00FF, 0xCC00CC, 0xFFFF99, 0xEEEE00, 0xCC9933]
LEVELS = ["easy", "medium", "difficult", "very difficult"]


def read_grid(path):
    """Palette indices of a text grid, row by row (the format of `help build`)."""
    letters, rows = {}, []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if not line.strip():
                continue
            key, sep, value = line.partition(":")
            if sep and not rows:
                if key.strip() == "colours":
                    for pair in value.split():
                        k, _, v = pair.partition("=")
                        letters[k] = int(v)
                continue
            rows.append(line)

    def index(c):
        if c == ".":
            return 0
        if c == "#":
            return 3
        if c.isdigit():
            return int(c)
        if "a" <= c <= "i":
            return 10 + ord(c) - ord("a")
        return letters[c]

    return [[index(c) for c in r] for r in rows]


def write_ppm(grid, path):
    h, w = len(grid), len(grid[0])
    s = max(2, TILE // max(w, h))
    out = bytearray()
    for row in grid:
        line = bytearray()
        for v in row:
            rgb = PALETTE[v]
            line += bytes((rgb >> 16, (rgb >> 8) & 255, rgb & 255)) * s
        out += bytes(line) * s
    with open(path, "wb") as f:
        f.write(b"P6 %d %d 255\n" % (w * s, h * s) + bytes(out))


def source_of(crossword_id):
    """packs-src/PACK/FOLDERS/TITLE.* for the id PACK\\FOLDERS\\TITLE_C_L."""
    stem = os.path.join(ROOT, "packs-src", *crossword_id[:-4].split("\\"))
    found = [p for p in glob.glob(glob.escape(stem) + ".*")
             if p.lower().endswith((".txt", ".png", ".bmp"))]
    return found[0] if found else None


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "contact")
    if not os.path.exists(TOOL):
        sys.exit(f"{TOOL} is missing: build it first (cmake --build --preset release --target tessellor-tool)")
    if not shutil.which("montage"):
        sys.exit("ImageMagick's montage is missing (apt-get install imagemagick)")
    packs = sorted(glob.glob(os.path.join(ROOT, "data", "*.qlp")))
    listing = subprocess.run([TOOL, "list", "--json", *packs], capture_output=True,
                             text=True, check=True).stdout
    entries = [json.loads(line) for line in listing.splitlines() if line.strip()]
    tiles = os.path.join(out_dir, "tiles")
    os.makedirs(tiles, exist_ok=True)
    by_pack = {}
    for e in entries:
        by_pack.setdefault(e["id"].split("\\")[0], []).append(e)
    for pack, items in by_pack.items():
        args = []
        for n, e in enumerate(items):
            src = source_of(e["id"])
            if src is None:
                sys.exit(f"no source in packs-src for {e['id']}")
            if src.lower().endswith(".txt"):
                picture = os.path.join(tiles, f"{pack}_{n}.ppm")
                write_ppm(read_grid(src), picture)
            else:
                picture = src
            label = "%s\n%dx%d  level %d (%s)" % (e["id"], e["width"], e["height"],
                                                 e["level"], LEVELS[e["level"]])
            # montage reads % and \ in a label as escapes
            args += ["-label", label.replace("%", "%%").replace("\\", "\\\\"), picture]
        sheet = os.path.join(out_dir, f"{pack}.png")
        subprocess.run(["montage", "-background", "#dddddd", "-fill", "black", "-pointsize", "11",
                        "-filter", "point", "-geometry", f"{TILE}x{TILE}>+8+8", "-tile", "8x",
                        "-title", f"{pack}: {len(items)} crosswords", *args, sheet], check=True)
        print(f"{sheet}: {len(items)} crosswords")
    shutil.rmtree(tiles)


if __name__ == "__main__":
    main()
