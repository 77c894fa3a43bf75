#!/bin/sh
# "rate" (the rating solver) and "check" (solution count from the clues
# alone) on one pack and on bare files: one JSON object per crossword in
# pack order, honest results for runs that stop and for ambiguous pictures,
# the readable table, and status 1 naming a path that cannot be read while
# the readable ones are still handled. "build" refuses a crossword that other
# pictures also fit, and accepts a unique one the rating solver cannot finish.
set -eu
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TEMP="$work/temp"
fail() { echo "FAIL: $*" >&2; exit 1; }
has() {
    text=$1; shift
    for want; do printf '%s\n' "$text" | grep -qF -- "$want" || fail "lacks $want: $text"; done
}
lacks() { printf '%s\n' "$1" | grep -qF -- "$2" && fail "has $2: $1"; return 0; }
line() { printf '%s\n' "$out" | grep -F "\"id\":\"$1\"" || fail "no line for $1 in: $out"; }

mkdir -p "$work/src/Sub" "$work/two" "$work/one"
printf '#####\n#...#\n#.#.#\n#...#\n#####\n' > "$work/src/ring.txt"
# Two pictures fit these clues: lines decide nothing, one blank guess does.
printf '#.\n.#\n' > "$work/two/diag.txt"
cp "$work/two/diag.txt" "$work/src/Sub/"
# Every row and column has the clue 1: any permutation fits, so the rating
# solver gives up after 100 guesses with cells left open.
awk 'BEGIN { for (i = 0; i < 20; i++) { r = ""; for (j = 0; j < 20; j++) r = r (i == j ? "#" : "."); print r } }' \
    > "$work/src/perm.txt"
# Unique, yet line logic stalls and the rating solver's blank guess ends in
# a contradiction.
printf '#..##...#\n.#....###\n.#.###.#.\n.###.####\n..##..#.#\n.#.#....#\n#..##.##.\n#.##...#.\n.##..#.##\n' \
    > "$work/one/probe.txt"
cp "$work/one/probe.txt" "$work/src/"
"$tool" build --no-solve --level 2 "$work/src" "$work/p.qlp" >/dev/null
ring_cells='"cells":["33333","3...3","3.3.3","3...3","33333"]'

out=$("$tool" rate --json --cells "$work/p.qlp")
# The builder writes members in byte order; ids are JSON strings, their
# backslashes doubled.
order=$(printf '%s\n' "$out" | sed 's/.*"id":"\([^"]*\)".*/\1/' | tr '\n' ' ')
[ "$order" = 'p\\Sub\\diag_0_2 p\\perm_0_2 p\\probe_0_2 p\\ring_0_2 ' ] || fail "member order: $order"
has "$(line 'p\\ring_0_2')" '"width":5,"height":5,"tries":1,' '"decided":25,"undecided":0,"result":"solved"' \
    '"level":0.1' "$ring_cells"
has "$(line 'p\\Sub\\diag_0_2')" '"tries":2,' '"result":"solved"' '"cells":[".3","3."]'
perm=$(line 'p\\perm_0_2')
has "$perm" '"tries":101,' '"result":"stopped"' '?'
lacks "$perm" '"undecided":0,'

out=$("$tool" check --json --cells "$work/p.qlp")
ring=$(line 'p\\ring_0_2')
has "$ring" '"width":5,"height":5,"solutions":1,"line_solvable":true,"stopped":false,' "$ring_cells"
lacks "$ring" '"second"'
diag=$(line 'p\\Sub\\diag_0_2')
has "$diag" '"solutions":2,"line_solvable":false,"stopped":false,'
cells=$(printf '%s\n' "$diag" | sed 's/.*"cells":\(\[[^]]*\]\).*/\1/')
second=$(printf '%s\n' "$diag" | sed 's/.*"second":\(\[[^]]*\]\).*/\1/')
[ "$cells" != "$second" ] || fail "the two solutions are the same: $diag"
for grid in "$cells" "$second"; do
    case "$grid" in '["3.",".3"]'|'[".3","3."]') ;; *) fail "not a solution of the diagonal: $grid" ;; esac
done
probe=$(line 'p\\probe_0_2')
has "$probe" '"solutions":1,"line_solvable":false,' '"cells":["3..33...3",".3....333",'
printf '%s\n' "$probe" | grep -qE '"seconds":[0-9]+\.[0-9]+,' || fail "seconds is not a number: $probe"

# A bare crossword file is named by its path; a missing one is reported on
# stderr and gives status 1 without stopping the others.
unzip -p "$work/p.qlp" ring_0_2.ql > "$work/ring.ql"
for command in rate check; do
    status=0
    out=$("$tool" $command --json "$work/missing.ql" "$work/ring.ql" 2>"$work/err") || status=$?
    [ $status -eq 1 ] || fail "$command: status $status for a missing file"
    grep -qF "$work/missing.ql" "$work/err" || fail "$command: stderr does not name the missing file: $(cat "$work/err")"
    has "$out" "\"id\":\"$work/ring.ql\""
    table=$("$tool" $command "$work/p.qlp")
    lacks "$table" '{'
done
has "$("$tool" rate "$work/p.qlp")" solved stopped contradiction
has "$("$tool" check "$work/p.qlp")" multiple unique

# build: two solutions stop it, naming the file and the first differing cell.
"$tool" build "$work/two" "$work/two.qlp" >/dev/null 2>"$work/err" && fail "build accepted a crossword with two solutions"
has "$(cat "$work/err")" "diag.txt" "column 1, row 1"
[ ! -e "$work/two.qlp" ] || fail "build wrote a pack anyway"
"$tool" build "$work/one" "$work/one.qlp" >/dev/null 2>"$work/err" || fail "build refused a unique crossword: $(cat "$work/err")"
unzip -Z1 "$work/one.qlp" | grep -qx 'probe_0_3.ql' || fail "a crossword the rating solver cannot finish is not level 3"

has "$("$tool" help check)" "--time-limit"
has "$("$tool" help build)" "more than one"
echo "rate and check tools: ok"
