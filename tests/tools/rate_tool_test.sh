#!/bin/sh
# "rate" on a small pack and on bare files: one JSON object per crossword with
# the solver's figures, an honest result for a run that had to stop, the
# readable table, and exit status 1 naming a path that cannot be read while
# the readable ones are still rated.
set -eu
tool="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TEMP="$work/temp"
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work/src/Sub"
printf '#####\n#...#\n#.#.#\n#...#\n#####\n' > "$work/src/ring.txt"
# Two pictures fit these clues: lines decide nothing, one blank guess does.
printf '#.\n.#\n' > "$work/src/Sub/diag.txt"
# Every row and column has the clue 1: any permutation fits, so the search
# gives up after 100 guesses with cells left open.
perm=""
i=0
while [ $i -lt 20 ]; do
    j=0; row=""
    while [ $j -lt 20 ]; do
        if [ $i = $j ]; then row="$row#"; else row="$row."; fi
        j=$((j + 1))
    done
    perm="$perm$row\n"
    i=$((i + 1))
done
printf "$perm" > "$work/src/perm.txt"
"$tool" build --no-solve --level 2 "$work/src" "$work/p.qlp" >/dev/null

out=$("$tool" rate --json --cells "$work/p.qlp")
[ "$(printf '%s\n' "$out" | wc -l)" -eq 3 ] || fail "expected three lines: $out"
line() { printf '%s\n' "$out" | grep -F "\"id\":\"$1\"" || fail "no line for $1 in: $out"; }
has() { printf '%s\n' "$2" | grep -qF "$1" || fail "lacks $1: $2"; }
ring=$(line 'p\\ring_0_2')
has '"width":5,"height":5,"tries":1,' "$ring"
has '"decided":25,"undecided":0,"result":"solved"' "$ring"
has '"level":0.1' "$ring"
has '"cells":["33333","3...3","3.3.3","3...3","33333"]' "$ring"
diag=$(line 'p\\Sub\\diag_0_2')
has '"tries":2,' "$diag"
has '"result":"solved"' "$diag"
has '"cells":[".3","3."]' "$diag"
perm=$(line 'p\\perm_0_2')
has '"tries":101,' "$perm"
has '"result":"stopped"' "$perm"
printf '%s\n' "$perm" | grep -qF '"undecided":0,' && fail "a stopped run claims every cell: $perm"
printf '%s\n' "$perm" | grep -qF '?' || fail "stopped run shows no open cell: $perm"
# Members come in pack order (the builder writes them in byte order); ids
# are JSON strings, their backslashes doubled.
order=$(printf '%s\n' "$out" | sed 's/.*"id":"\([^"]*\)".*/\1/' | tr '\n' ' ')
[ "$order" = 'p\\Sub\\diag_0_2 p\\perm_0_2 p\\ring_0_2 ' ] || fail "member order: $order"

# A bare crossword file is named by its path; a missing one is reported on
# stderr and gives status 1 without stopping the others.
unzip -p "$work/p.qlp" ring_0_2.ql > "$work/ring.ql"
set +e
bare=$("$tool" rate --json "$work/missing.ql" "$work/ring.ql" 2>"$work/err")
status=$?
set -e
[ $status -eq 1 ] || fail "status $status for a missing file"
grep -qF "$work/missing.ql" "$work/err" || fail "stderr does not name the missing file: $(cat "$work/err")"
has "\"id\":\"$work/ring.ql\"" "$bare"
has '"result":"solved"' "$bare"

table=$("$tool" rate "$work/p.qlp")
has 'solved' "$table"
has 'stopped' "$table"
printf '%s\n' "$table" | grep -qF '{' && fail "the table is JSON: $table"
echo "rate tool: ok"
