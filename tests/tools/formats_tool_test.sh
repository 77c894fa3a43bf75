#!/bin/sh
# "import" and "export": a pack goes out as .non and XML files and comes back
# as the same pictures; ambiguous and damaged puzzles are refused by name
# while the rest is still written; exit statuses 0, 1 and 2.
set -eu
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TEMP="$work/temp"
fail() { echo "FAIL: $*" >&2; exit 1; }
has() { printf '%s\n' "$2" | grep -qF -- "$1" || fail "lacks $1: $2"; }

mkdir -p "$work/src/Sub"
printf '#####\n#...#\n#.#.#\n#...#\n#####\n' > "$work/src/Ring.txt"
printf '.bb.\nbhhb\n.33.\n.3..\n' > "$work/src/Sub/Flower.txt"
"$tool" build "$work/src" "$work/p.qlp" >/dev/null

# Out and back in: the same pictures under the same titles.
"$tool" export -o "$work/out" "$work/p.qlp" >/dev/null
[ -f "$work/out/Ring.non" ] && [ -f "$work/out/Flower.xml" ] || fail "export wrote: $(ls "$work/out")"
"$tool" import -o "$work/back.qlp" "$work/out/Ring.non" "$work/out/Flower.xml" >/dev/null
"$tool" export -o "$work/again" "$work/back.qlp" >/dev/null
diff -r "$work/out" "$work/again" >&2 || fail "export then import changed a picture"
has 'back\Flower_1_' "$("$tool" list "$work/back.qlp")"
"$tool" import -o "$work/back2.qlp" "$work/out/Ring.non" "$work/out/Flower.xml" >/dev/null
cmp -s "$work/back.qlp" "$work/back2.qlp" || fail "two imports of the same files differ"
"$tool" export --format xml -o "$work/xml" "$work/p.qlp" >/dev/null
[ -f "$work/xml/Ring.xml" ] || fail "--format xml wrote: $(ls "$work/xml")"
set +e
"$tool" export --format non -o "$work/non" "$work/p.qlp" >/dev/null 2>"$work/err"; rc=$?
set -e
[ $rc -eq 1 ] || fail "a colour crossword as .non gave status $rc"
has 'Flower' "$(cat "$work/err")"

# A set written by hand: a colour not in the palette, counts in the default
# colour, a two-solution puzzle, and a puzzle that is not a grid.
cat > "$work/set.xml" <<'XML'
<?xml version="1.0"?>
<puzzleset>
<puzzle type="grid" defaultcolor="black"><title>Orange dot</title>
<color name="orange" char="o">f80</color>
<clues type="columns"><line><count color="orange">1</count></line><line><count>2</count></line></clues>
<clues type="rows"><line><count color="orange">1</count><count>1</count></line><line><count>1</count></line></clues>
</puzzle>
<puzzle><title>Diagonal</title>
<clues type="columns"><line><count>1</count></line><line><count>1</count></line></clues>
<clues type="rows"><line><count>1</count></line><line><count>1</count></line></clues>
</puzzle>
<puzzle type="triddler"><title>Triangles</title></puzzle>
</puzzleset>
XML
printf 'width 3\nheight 1\nrows\n4\ncolumns\n1\n1\n1\n' > "$work/long.non"
set +e
"$tool" import -o "$work/set.qlp" --folder Mine "$work/set.xml" "$work/long.non" >/dev/null 2>"$work/err"; rc=$?
set -e
[ $rc -eq 1 ] || fail "refusals gave status $rc"
err=$(cat "$work/err")
has "set.xml: Diagonal: more than one picture fits its clues" "$err"
has "set.xml: Triangles: puzzles of type" "$err"
has "long.non: row 1: the clues need more than 3 cells" "$err"
list=$("$tool" list "$work/set.qlp")
has 'set\Mine\Orange dot_1_' "$list"
[ "$(printf '%s\n' "$list" | wc -l)" -eq 1 ] || fail "expected one crossword: $list"

# Nothing readable: no pack at all.
mkfifo "$work/fifo.non"
set +e
"$tool" import -o "$work/none.qlp" "$work/missing.non" "$work/fifo.non" >/dev/null 2>"$work/err"; rc=$?
set -e
[ $rc -eq 2 ] || fail "nothing readable gave status $rc"
has "fifo.non: not a regular file" "$(cat "$work/err")"
[ ! -e "$work/none.qlp" ] || fail "a pack was written from nothing"
echo ok
