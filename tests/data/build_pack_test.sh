#!/bin/sh
# Builds a pack twice from text grids: the bytes must match, the standard unzip
# must accept it, and list must decode the colour flag and level.
set -e
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src/Folder"
printf 'level: 1\n.##.\n#..#\n' > "$work/src/Folder/heart.txt"
printf 'level: 3\n.1.\n121\n' > "$work/src/dot.txt"
"$tool" build "$work/src" "$work/a.qlp" >/dev/null
sleep 1
"$tool" build "$work/src" "$work/b.qlp" >/dev/null
cmp "$work/a.qlp" "$work/b.qlp"
unzip -tq "$work/a.qlp"
out=$("$tool" list --json "$work/a.qlp")
printf "%s\n" "$out" | grep -qF '"id":"a\\Folder\\heart_0_1","name":"heart_0","level":1,"color":false,"width":4,"height":2'
printf "%s\n" "$out" | grep -qF '"id":"a\\dot_1_3","name":"dot_1","level":3,"color":true,"width":3,"height":2'
printf 'level: 1\n.#\n#\n' > "$work/src/bad.txt"
if "$tool" build "$work/src" "$work/c.qlp" 2>/dev/null; then exit 1; fi
