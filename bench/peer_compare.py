#!/usr/bin/env python3
"""Side-by-side benchmark of "tessellor-tool check" against the peer solver.

Generates fixed-seed sets of random crosswords (black-and-white 25 x 25 and
30 x 30 at densities 0.50 to 0.65, colour 20 x 20 with three colours, hard
unique 25 x 25 and 30 x 30 ones, and a few large ambiguous 40 x 40+ ones), writes each both as a crossword file for our tool
and as webpbn XML for the peer, runs both on the same puzzles in this one run
and prints the verdicts and times side by side, with totals and the ratio.

Puzzles drawn by people can be added with --corpus DIR (*.non and webpbn
*.xml files): their goal picture, or else the peer's first solution, gives
our crossword file; the peer reads the original file.

Our own packs can be added with --packs data/*.qlp.

  python3 bench/peer_compare.py [--tool PATH] [--peer PATH] [--corpus DIR] [--packs QLP...]
      [--sets bw25,bw30,colour20,hard,large] [--count N] [--peer-timeout S]
      [--time-limit S] [--keep DIR]
"""
import argparse
import json
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# Palette entries our files use for colours 1, 2, 3...; the first is the dark
# grey of black-and-white crosswords.
PALETTE = [3, 11, 5, 8, 17, 14, 2, 6, 9, 12, 15, 18, 1, 4, 7, 10, 13, 16]
XML_CHARS = "XABCDEFGHIJKLMNOPQ"


def runs(line):
    """Blocks of a line of colour numbers (0 background): [(colour, length)]."""
    out = []
    prev = 0
    for v in line:
        if v and v != prev:
            out.append([v, 0])
        if v:
            out[-1][1] += 1
        prev = v
    return [tuple(b) for b in out]


def clues_of(grid):
    h, w = len(grid), len(grid[0])
    return ([runs(r) for r in grid], [runs([grid[y][x] for y in range(h)]) for x in range(w)])


def write_crossword(path, grid, name):
    h, w = len(grid), len(grid[0])
    data = b"QL" + struct.pack(">H", len(name)) + name.encode() + struct.pack(">HH", w, h)
    data += bytes(PALETTE[v - 1] if v else 0 for row in grid for v in row)
    with open(path, "wb") as f:
        f.write(data)


def write_xml(path, grid):
    rows, cols = clues_of(grid)
    colours = sorted({v for r in grid for v in r if v})
    out = ['<?xml version="1.0"?>', "<puzzleset>", '<puzzle type="grid" defaultcolor="c1">',
           '<color name="white" char=".">FFFFFF</color>']
    for c in colours:
        out.append('<color name="c%d" char="%s">%02X%02X%02X</color>' % (c, XML_CHARS[c - 1], c * 40 % 256, c * 90 % 256, c * 20 % 256))
    for kind, lines in (("columns", cols), ("rows", rows)):
        out.append('<clues type="%s">' % kind)
        for line in lines:
            out.append("<line>" + "".join('<count color="c%d">%d</count>' % (c, n) for c, n in line) + "</line>")
        out.append("</clues>")
    out += ["</puzzle>", "</puzzleset>", ""]
    with open(path, "w") as f:
        f.write("\n".join(out))


def random_grid(rng, w, h, density, colours):
    return [[(1 + rng.randrange(colours)) if rng.random() < density else 0 for _ in range(w)] for _ in range(h)]


def hard_unique(rng, tool, count):
    """Random 25 x 25 and 30 x 30 pictures that have one solution which line
    logic alone does not reach: drawn until `count` are found (our tool only
    sorts the candidates; both solvers are timed on them later)."""
    found = []
    work = tempfile.mkdtemp(prefix="tessellor-hard-")
    batch = 0
    while len(found) < count and batch < 40:
        grids = {}
        for i in range(100):
            size = rng.choice([25, 30])
            grid = random_grid(rng, size, size, rng.choice([0.50, 0.52, 0.55]), 1)
            path = os.path.join(work, "h%d-%d.ql" % (batch, i))
            write_crossword(path, grid, "h")
            grids[path] = grid
        for r in run_ours(tool, list(grids), 10).values():
            if r["solutions"] == 1 and not r["line_solvable"] and not r["stopped"] and len(found) < count:
                g = grids[r["id"]]
                found.append(("hard%d-%d" % (len(g), len(found)), g))
        batch += 1
    shutil.rmtree(work, ignore_errors=True)
    return found


def generated_sets(seed, count, names, tool):
    rng = random.Random(seed)
    sets = []
    densities = [0.50, 0.55, 0.60, 0.65]
    if "bw25" in names:
        sets.append(("bw25", [("bw25-%.2f-%d" % (d, i), random_grid(rng, 25, 25, d, 1))
                              for d in densities for i in range(count)]))
    if "bw30" in names:
        sets.append(("bw30", [("bw30-%.2f-%d" % (d, i), random_grid(rng, 30, 30, d, 1))
                              for d in densities for i in range(count)]))
    if "colour20" in names:
        # Denser pictures too: three colours at 0.5 are nearly always ambiguous.
        sets.append(("colour20", [("col20-%.2f-%d" % (d, i), random_grid(rng, 20, 20, d, 3))
                                  for d in densities + [0.75, 0.85] for i in range(count)]))
    if "hard" in names:
        sets.append(("hard", hard_unique(rng, tool, 4 * count)))
    if "large" in names:
        # Ambiguous 40 x 40 to 50 x 50 at density 0.5: the search has to work
        # hard for the first two solutions.
        sets.append(("large", [("large-%d-%.2f-%d" % (s, d, i), random_grid(rng, s, s, d, 1))
                               for s, d in ((40, 0.5), (45, 0.5), (50, 0.5)) for i in range(2)]))
    return sets


# ---- puzzles drawn by people -------------------------------------------------

def parse_non(text):
    w = h = None
    rows, cols, goal = [], [], None
    section = None
    for raw in text.splitlines():
        line = raw.strip()
        m = re.match(r"(width|height)\s+(\d+)", line)
        if m:
            if m.group(1) == "width":
                w = int(m.group(2))
            else:
                h = int(m.group(2))
            section = None
            continue
        if line in ("rows", "columns"):
            section = line
            continue
        m = re.match(r'goal\s+"?([01]+)"?', line)
        if m:
            goal = m.group(1)
            section = None
            continue
        if section and re.match(r"^[\d, ]*$", line):
            nums = [int(n) for n in re.split(r"[ ,]+", line) if n and n != "0"]
            (rows if section == "rows" else cols).append([(1, n) for n in nums])
            if (section == "rows" and len(rows) == h) or (section == "columns" and len(cols) == w):
                section = None
        elif section and line:
            section = None
    grid = None
    if goal and w and h and len(goal) == w * h:
        grid = [[int(goal[y * w + x]) for x in range(w)] for y in range(h)]
    return w, h, rows, cols, grid


def parse_xml(path):
    root = ET.parse(path).getroot()
    puzzle = root.find("puzzle") if root.tag == "puzzleset" else root
    names = {}
    default = puzzle.get("defaultcolor", "black")
    background = puzzle.get("backgroundcolor", "white")
    colours = [c.get("name") for c in puzzle.findall("color") if c.get("name") != background]
    if default not in colours:
        colours.insert(0, default)
    for i, c in enumerate(colours):
        names[c] = i + 1
    chars = {c.get("char"): c.get("name") for c in puzzle.findall("color") if c.get("char")}
    rows, cols = [], []
    for clues in puzzle.findall("clues"):
        lines = [[(names[cnt.get("color", default)], int(cnt.text)) for cnt in line.findall("count")]
                 for line in clues.findall("line")]
        if clues.get("type") == "rows":
            rows = lines
        else:
            cols = lines
    grid = None
    for sol in puzzle.findall("solution"):
        if sol.get("type", "goal") != "goal":
            continue
        image = sol.find("image")
        if image is None or not image.text:
            continue
        lines = [l.strip().strip("|") for l in image.text.strip().splitlines() if l.strip()]
        grid = []
        for l in lines:
            grid.append([0 if chars.get(ch, background) == background else names.get(chars.get(ch), 0) for ch in l])
        break
    return len(cols), len(rows), rows, cols, grid, {names[n]: ch for ch, n in chars.items() if n in names}


def peer_solution(peer, path, timeout, charmap):
    try:
        out = subprocess.run([peer, path], capture_output=True, text=True, timeout=timeout).stdout
    except subprocess.TimeoutExpired:
        return None
    lines = out.splitlines()
    for i, l in enumerate(lines):
        if "SOLUTION" in l:
            grid = []
            back = {ch: n for n, ch in charmap.items()} if charmap else {"X": 1}
            for row in lines[i + 1:]:
                if not row or "SOLUTION" in row or " " in row:
                    break
                grid.append([back.get(ch, 0) for ch in row])
            return grid
    return None


def corpus_puzzles(folder, peer, timeout):
    found = []
    for dirpath, _, files in os.walk(folder):
        for f in sorted(files):
            path = os.path.join(dirpath, f)
            try:
                if f.endswith(".non"):
                    w, h, rows, cols, grid = parse_non(open(path).read())
                    charmap = None
                elif f.endswith(".xml"):
                    w, h, rows, cols, grid, charmap = parse_xml(path)
                else:
                    continue
            except Exception as e:  # a damaged corpus file is skipped, not fatal
                print("skipped %s: %s" % (path, e), file=sys.stderr)
                continue
            if grid is None:
                grid = peer_solution(peer, path, timeout, charmap)
            if not grid or len(grid) != h or any(len(r) != w for r in grid):
                print("skipped %s: no picture to derive a crossword from" % path, file=sys.stderr)
                continue
            r, c = clues_of(grid)
            if rows and (r != [tuple(map(tuple, x)) for x in rows] and r != rows):
                if [list(map(tuple, x)) for x in r] != [list(map(tuple, x)) for x in rows]:
                    print("skipped %s: its picture does not give its clues" % path, file=sys.stderr)
                    continue
            found.append((os.path.relpath(path, folder), grid, path))
    return found


def pack_puzzles(paths):
    """Every crossword of our own packs, as colour numbers 1.. by palette order."""
    import zipfile
    found = []
    for path in paths:
        with zipfile.ZipFile(path) as z:
            for member in z.namelist():
                if not member.endswith(".ql"):
                    continue
                data = z.read(member)
                n = struct.unpack(">H", data[2:4])[0]
                w, h = struct.unpack(">HH", data[4 + n:8 + n])
                cells = data[8 + n:8 + n + w * h]
                values = sorted({v for v in cells if 0 < v < 128})
                dense = {v: i + 1 for i, v in enumerate(values)}
                grid = [[dense.get(cells[y * w + x], 0) for x in range(w)] for y in range(h)]
                found.append((os.path.basename(path)[:-4] + "/" + member[:-3], grid))
    return found


# ---- running both ------------------------------------------------------------

def run_peer(peer, path, timeout):
    start = time.monotonic()
    try:
        p = subprocess.run([peer, "-b", "-u", "-t", path], capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        return "timeout", float(timeout), True
    wall = time.monotonic() - start
    # The verdict is the line just before "Cells Solved": a file with a title
    # gets the title printed on a line of its own ahead of it.
    lines = p.stdout.splitlines()
    at = next((i for i, l in enumerate(lines) if l.startswith("Cells Solved")), 1)
    words = lines[at - 1].split() if 0 < at <= len(lines) else []
    verdict = "unique" if "unique" in words else "multiple" if "multiple" in words else \
        "none" if "contradiction" in words else "?" + " ".join(words)
    m = re.search(r"Processing Time:\s*([\d.]+)", p.stdout)
    return verdict, float(m.group(1)) if m else wall, False


def run_ours(tool, paths, time_limit):
    results = {}
    env = dict(os.environ, TEMP=tempfile.mkdtemp(prefix="tessellor-bench-"))
    out = subprocess.run([tool, "check", "--json", "--cells", "--time-limit", str(time_limit)] + paths,
                         capture_output=True, text=True, env=env, check=False).stdout
    for line in out.splitlines():
        r = json.loads(line)
        results[r["id"]] = r
    shutil.rmtree(env["TEMP"], ignore_errors=True)
    return results


def verdict_of(r):
    if r["solutions"] >= 2:
        return "multiple"
    if r["stopped"]:
        return "stopped"
    return "unique" if r["solutions"] == 1 else "none"


def fits(cells, grid):
    """Whether a printed solution has the puzzle's clues (colours up to renaming)."""
    def norm(lines):
        return [[n for _, n in l] for l in lines], [[c for c, _ in l] for l in lines]
    sol = [[0 if ch == "." else ch for ch in row] for row in cells]
    a, b = clues_of(sol), clues_of(grid)
    if norm(a[0])[0] != norm(b[0])[0] or norm(a[1])[0] != norm(b[1])[0]:
        return False
    mapping = {}
    for la, lb in zip(a[0] + a[1], b[0] + b[1]):
        for (ca, _), (cb, _) in zip(la, lb):
            if mapping.setdefault(ca, cb) != cb:
                return False
    return True


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--tool", default=os.path.join(ROOT, "build/release/tools/tessellor-tool"))
    ap.add_argument("--peer", default="/tmp/pbnsolve/src/pbnsolve")
    ap.add_argument("--seed", type=int, default=2026)
    ap.add_argument("--count", type=int, default=5, help="puzzles per size and density")
    ap.add_argument("--sets", default="bw25,bw30,colour20,hard,large")
    ap.add_argument("--corpus", help="folder of .non / webpbn .xml puzzles drawn by people")
    ap.add_argument("--packs", nargs="*", default=[], help="our own packs (.qlp) to add as a set")
    ap.add_argument("--peer-timeout", type=float, default=60)
    ap.add_argument("--time-limit", type=float, default=60)
    ap.add_argument("--keep", help="write the puzzles here instead of a temporary folder")
    args = ap.parse_args()
    if not os.path.exists(args.peer):
        sys.exit("peer solver not found at %s (see DESIGN.md, Peers for measurement)" % args.peer)

    work = args.keep or tempfile.mkdtemp(prefix="tessellor-bench-")
    os.makedirs(work, exist_ok=True)
    sets = generated_sets(args.seed, args.count, set(args.sets.split(",")) if args.sets else set(), args.tool)
    if args.packs:
        sets.append(("packs", pack_puzzles(args.packs)))
    if args.corpus:
        sets.append(("people", [(n, g, src) for n, g, src in corpus_puzzles(args.corpus, args.peer, args.peer_timeout)]))

    grand = {"ours": 0.0, "peer": 0.0, "n": 0, "agree": 0, "peer_timeouts": 0, "settled_past_peer": 0,
             "past_peer_seconds": 0.0, "bad": 0}
    for set_name, puzzles in sets:
        folder = os.path.join(work, set_name)
        os.makedirs(folder, exist_ok=True)
        paths, peer_inputs = [], []
        for entry in puzzles:
            name, grid = entry[0], entry[1]
            safe = re.sub(r"[^A-Za-z0-9_.-]", "_", name)
            ql = os.path.join(folder, safe + ".ql")
            write_crossword(ql, grid, safe)
            paths.append(ql)
            if len(entry) > 2:
                peer_inputs.append(entry[2])
            else:
                xml = os.path.join(folder, safe + ".xml")
                write_xml(xml, grid)
                peer_inputs.append(xml)
        ours = run_ours(args.tool, paths, args.time_limit)
        print("\n== %s (%d puzzles)" % (set_name, len(paths)))
        print("%-34s %7s  %-9s %10s  %-9s %10s  %s" % ("puzzle", "size", "ours", "seconds", "peer", "seconds", ""))
        total_ours = total_peer = 0.0
        for (entry, ql, peer_in) in zip(puzzles, paths, peer_inputs):
            grid = entry[1]
            r = ours.get(ql)
            peer_verdict, peer_seconds, timed_out = run_peer(args.peer, peer_in, args.peer_timeout)
            if r is None:
                mine, secs = "error", 0.0
            else:
                mine, secs = verdict_of(r), r["seconds"]
                ok = "cells" in r and fits(r["cells"], grid) and \
                    (r["solutions"] < 2 or (fits(r["second"], grid) and r["second"] != r["cells"]))
                if not ok and r["solutions"] >= 1:
                    mine += "!"
                    grand["bad"] += 1
            note = ""
            if timed_out:
                grand["peer_timeouts"] += 1
                if mine in ("unique", "multiple"):
                    grand["settled_past_peer"] += 1
                    grand["past_peer_seconds"] += secs
                note = "peer gave up"
            elif mine != peer_verdict:
                note = "DIFFERENT"
            else:
                grand["agree"] += 1
            total_ours += secs
            total_peer += peer_seconds
            print("%-34s %3dx%-3d  %-9s %10.4f  %-9s %10.4f%s  %s" % (
                entry[0][:34], len(grid[0]), len(grid), mine, secs, peer_verdict, peer_seconds,
                "+" if timed_out else " ", note))
            grand["n"] += 1
        grand["ours"] += total_ours
        grand["peer"] += total_peer
        print("%-34s %7s  %-9s %10.4f  %-9s %10.4f   ratio %.3f" % (
            "total " + set_name, "", "", total_ours, "", total_peer, total_ours / total_peer if total_peer else 0))
    print("\n== all: %d puzzles, same verdict on %d, peer gave up on %d (we settled %d of those in %.3f s), "
          "solutions not fitting: %d" % (grand["n"], grand["agree"], grand["peer_timeouts"],
                                         grand["settled_past_peer"], grand["past_peer_seconds"], grand["bad"]))
    print("   ours %.3f s, peer %.3f s%s, ratio %.3f" % (
        grand["ours"], grand["peer"], " (its give-ups counted at the timeout)" if grand["peer_timeouts"] else "",
        grand["ours"] / grand["peer"] if grand["peer"] else 0))
    if not args.keep:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
