#!/bin/sh
# "check" counts solutions from the clues alone; "build" refuses a crossword
# that other pictures also fit, and accepts a unique one the rating solver
# cannot finish.
set -eu
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TEMP="$work/temp"
fail() { echo "FAIL: $*" >&2; exit 1; }
has() { printf '%s\n' "$2" | grep -qF -- "$1" || fail "lacks $1: $2"; }

mkdir -p "$work/src/Sub" "$work/two"
printf '#####\n#...#\n#.#.#\n#...#\n#####\n' > "$work/src/ring.txt"
printf '#.\n.#\n' > "$work/two/diag.txt"
cp "$work/two/diag.txt" "$work/src/Sub/diag.txt"
# Unique, yet line logic stalls and the rating solver's blank guess ends in
# a contradiction.
printf '#..##...#\n.#....###\n.#.###.#.\n.###.####\n..##..#.#\n.#.#....#\n#..##.##.\n#.##...#.\n.##..#.##\n' \
    > "$work/src/probe.txt"
"$tool" build --no-solve --level 2 "$work/src" "$work/p.qlp" >/dev/null

out=$("$tool" check --json --cells "$work/p.qlp")
[ "$(printf '%s\n' "$out" | wc -l)" -eq 3 ] || fail "expected three lines: $out"
line() { printf '%s\n' "$out" | grep -F "\"id\":\"$1\"" || fail "no line for $1 in: $out"; }
ring=$(line 'p\\ring_0_2')
has '"width":5,"height":5,"solutions":1,"line_solvable":true,"stopped":false,' "$ring"
has '"cells":["33333","3...3","3.3.3","3...3","33333"]' "$ring"
printf '%s\n' "$ring" | grep -qF '"second"' && fail "a unique crossword has a second solution: $ring"
diag=$(line 'p\\Sub\\diag_0_2')
has '"solutions":2,"line_solvable":false,"stopped":false,' "$diag"
cells=$(printf '%s\n' "$diag" | sed 's/.*"cells":\(\[[^]]*\]\).*/\1/')
second=$(printf '%s\n' "$diag" | sed 's/.*"second":\(\[[^]]*\]\).*/\1/')
[ "$cells" != "$second" ] || fail "the two solutions are the same: $diag"
for grid in "$cells" "$second"; do
    case "$grid" in '["3.",".3"]'|'[".3","3."]') ;; *) fail "not a solution of the diagonal: $grid" ;; esac
done
probe=$(line 'p\\probe_0_2')
has '"solutions":1,"line_solvable":false,' "$probe"
has '"cells":["3..33...3",".3....333",' "$probe"
printf '%s\n' "$probe" | grep -qE '"seconds":[0-9]+\.[0-9]+,' || fail "seconds is not a number: $probe"

# Unreadable input: status 1, named on stderr, the rest still checked.
set +e
bare=$("$tool" check --json "$work/missing.ql" "$work/p.qlp" 2>"$work/err")
status=$?
set -e
[ $status -eq 1 ] || fail "status $status for a missing file"
grep -qF "$work/missing.ql" "$work/err" || fail "stderr does not name the missing file: $(cat "$work/err")"
[ "$(printf '%s\n' "$bare" | wc -l)" -eq 3 ] || fail "the readable pack was not checked: $bare"
table=$("$tool" check "$work/p.qlp")
has 'multiple' "$table"
has 'unique' "$table"
printf '%s\n' "$table" | grep -qF '{' && fail "the table is JSON: $table"

# build: two solutions stop it, naming the file and the first differing cell.
set +e
"$tool" build "$work/two" "$work/two.qlp" >/dev/null 2>"$work/err"
status=$?
set -e
[ $status -ne 0 ] || fail "build accepted a crossword with two solutions"
grep -qF "diag.txt" "$work/err" || fail "build does not name the crossword: $(cat "$work/err")"
grep -qF "column 1, row 1" "$work/err" || fail "build does not name the first differing cell: $(cat "$work/err")"
[ ! -e "$work/two.qlp" ] || fail "build wrote a pack anyway"
mkdir "$work/one"
cp "$work/src/probe.txt" "$work/one/"
"$tool" build "$work/one" "$work/one.qlp" >/dev/null 2>"$work/err" || fail "build refused a unique crossword: $(cat "$work/err")"
unzip -Z1 "$work/one.qlp" | grep -qx 'probe_0_3.ql' || fail "a crossword the rating solver cannot finish is not level 3"

"$tool" help check | grep -qF -- "--time-limit" || fail "help check does not explain --time-limit"
"$tool" help build | grep -qF "more than one" || fail "help build does not say it refuses ambiguity"
echo "check tool: ok"
