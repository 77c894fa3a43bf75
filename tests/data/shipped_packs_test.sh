#!/bin/sh
# The shipped packs: each data/NAME.qlp must be what "build" makes from
# packs-src/NAME (byte-equal, or at least the same members with the same
# bytes in the same order when another zlib compresses differently); list
# must show every crossword and the solver must solve every one.
set -eu
tool="$1"
repo="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TEMP="$work/temp"
mkdir -p "$TEMP"
fail() { echo "FAIL: $*" >&2; exit 1; }

packs=0
sources=0
for src in "$repo"/packs-src/*/; do
    name=$(basename "$src")
    shipped="$repo/data/$name.qlp"
    [ -f "$shipped" ] || fail "packs-src/$name has no data/$name.qlp"
    "$tool" build "$src" "$work/$name.qlp" >/dev/null || fail "packs-src/$name does not build"
    if ! cmp -s "$work/$name.qlp" "$shipped"; then
        unzip -Z1 "$work/$name.qlp" > "$work/fresh.lst"
        unzip -Z1 "$shipped" > "$work/shipped.lst"
        cmp -s "$work/fresh.lst" "$work/shipped.lst" || fail "data/$name.qlp members differ from packs-src/$name (rebuild it)"
        while IFS= read -r m; do
            unzip -p "$work/$name.qlp" "$m" > "$work/a"
            unzip -p "$shipped" "$m" > "$work/b"
            cmp -s "$work/a" "$work/b" || fail "data/$name.qlp: $m differs from its source (rebuild it)"
        done < "$work/fresh.lst"
    fi
    packs=$((packs + 1))
    sources=$((sources + $(find "$src" -name '*.txt' | wc -l)))
done
for shipped in "$repo"/data/*.qlp; do
    [ -d "$repo/packs-src/$(basename "$shipped" .qlp)" ] || fail "$shipped has no sources in packs-src"
done
[ "$packs" -ge 4 ] || fail "only $packs packs"
[ "$sources" -ge 60 ] || fail "only $sources crosswords"

"$tool" list --json "$repo"/data/*.qlp > "$work/list.json"
[ "$(wc -l < "$work/list.json")" -eq "$sources" ] || fail "list shows $(wc -l < "$work/list.json") crosswords, the sources hold $sources"
for level in 0 1 2 3; do
    grep -q "\"level\":$level," "$work/list.json" || fail "no crossword of level $level"
done
grep -q '"color":true' "$work/list.json" || fail "no colour crossword"
grep -q '"color":false' "$work/list.json" || fail "no black-and-white crossword"
grep -q '"width":[1-9][0-9]*,"height":[0-9]*' "$work/list.json"
awk -F'[:,}]' '{ for (i = 1; i < NF; i++) { if ($i == "\"width\"") w = $(i+1); if ($i == "\"height\"") h = $(i+1) }
                 if (w >= 40 && h >= 30) big = 1; if (w < 5 || h < 5) small = 1 }
                 END { exit !(big && !small) }' "$work/list.json" || fail "sizes must run from 5 x 5 to at least 40 x 30"

"$tool" rate --json "$repo"/data/*.qlp > "$work/rate.json"
[ "$(wc -l < "$work/rate.json")" -eq "$sources" ] || fail "rate rated $(wc -l < "$work/rate.json") of $sources crosswords"
if grep -v '"result":"solved"' "$work/rate.json"; then fail "crosswords above are not solved"; fi
# rate and list speak of the same crosswords
sed 's/^{"id":\("[^"]*"\).*/\1/' "$work/list.json" | sort > "$work/ids.list"
sed 's/^{"id":\("[^"]*"\).*/\1/' "$work/rate.json" | sort > "$work/ids.rate"
cmp -s "$work/ids.list" "$work/ids.rate" || fail "rate and list name different crosswords"
echo "$packs packs, $sources crosswords, all solved"
