#!/bin/sh
# Builds packs with "build" and reads them back with "list": the same sources
# give the same bytes, the standard unzip accepts the pack, member names carry
# the colour flag and the level (given or rated by the solver), pictures go
# through the palette, and bad sources stop the build without a pack.
set -eu
tool="$1"
fixtures="$2"
pictures="$3" # 1 when the tool reads PNG and BMP
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TEMP="$work/temp"
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work/src/Folder"
printf 'level: 1\n.##.\n#..#\n' > "$work/src/Folder/heart.txt"
printf 'level: 3\n.1.\n121\n' > "$work/src/dot.txt"
printf 'note: drawn with letters\ncolours: R=11 Y=17\n\nRRR\nR.Y\nRYY\n' > "$work/src/Folder/corner.txt"
printf '#####\n#...#\n#.#.#\n#...#\n#####\n' > "$work/src/ring.txt"
if [ "$pictures" = 1 ]; then
    mkdir -p "$work/src/Pictures"
    cp "$fixtures/picture_frame.png" "$fixtures/picture_plus.bmp" "$work/src/Pictures/"
fi
"$tool" build "$work/src" "$work/a.qlp" >/dev/null
sleep 1
touch "$work/src/dot.txt"
"$tool" build "$work/src" "$work/b.qlp" >/dev/null
cmp "$work/a.qlp" "$work/b.qlp" || fail "a rebuild gives other bytes"
unzip -tq "$work/a.qlp" >/dev/null || fail "unzip does not accept the pack"
out=$("$tool" list --json "$work/a.qlp")
has() { printf "%s\n" "$out" | grep -qF "$1" || fail "list lacks $1"; }
has '"id":"a\\Folder\\heart_0_1","name":"heart_0","level":1,"color":false,"width":4,"height":2'
has '"id":"a\\dot_1_3","name":"dot_1","level":3,"color":true,"width":3,"height":2'
has '"id":"a\\Folder\\corner_1_'
has '"id":"a\\ring_0_0","name":"ring_0","level":0,"color":false,"width":5,"height":5'
if [ "$pictures" = 1 ]; then
    has '"id":"a\\Pictures\\picture_frame_1_1","name":"picture_frame_1","level":1,"color":true,"width":6,"height":5'
    has '"id":"a\\Pictures\\picture_plus_0_1","name":"picture_plus_0","level":1,"color":false,"width":5,"height":5'
    cells=$("$tool" rate --json --cells "$work/a.qlp" | grep picture_frame)
    printf "%s\n" "$cells" | grep -qF '"cells":["bbbbb.","b33.b.","b3..b.","bbbbb.","......"]' \
        || fail "the PNG picture did not map to red and dark grey: $cells"
fi
# "colours:" letters are the palette entries they name
"$tool" rate --json --cells "$work/a.qlp" | grep corner | grep -qF '"cells":["bbb","b.h","bhh"]' \
    || fail "colour letters did not map to entries 11 and 17"

# A pack from the standard zip program, with a folder entry, a member outside
# the level digits and one too short for the naming scheme.
mkdir -p "$work/z/Sub"
unzip -p "$work/a.qlp" dot_1_3.ql > "$work/z/Sub/odd_1_9.ql"
cp "$work/z/Sub/odd_1_9.ql" "$work/z/ab"
(cd "$work/z" && zip -q -r "$work/z.qlp" Sub ab)
zout=$("$tool" list --json "$work/z.qlp")
[ "$zout" = '{"id":"z\\Sub\\odd_1_9","name":"odd_1","level":255,"color":true,"width":3,"height":2}' ] \
    || fail "zip-made pack listed as: $zout"

refused() { # SOURCE_FILE_CONTENT REASON [OPTIONS]
    rm -rf "$work/bad" "$work/c.qlp"
    mkdir -p "$work/bad"
    printf "$1" > "$work/bad/x.txt"
    if "$tool" build ${3-} "$work/bad" "$work/c.qlp" >/dev/null 2>&1; then fail "built although $2"; fi
    [ ! -e "$work/c.qlp" ] || fail "a pack was left although $2"
}
refused '.#\n#\n' "rows differ in length"
refused '#.\n.#\n' "two pictures share the clues"
refused 'level: 4\n#\n' "the level is 4"
refused 'colours: R=19\nR\n' "the colour index is 19"
refused 'colours: r=11\nr\n' "a colour letter is lower case"
refused '#?\n' "a cell character is unknown"
refused '#\n' "no level is given and the solver is not asked" --no-solve
# names the game could not open or whose progress the profile could not keep
long=$(printf '%0250d' 0)
for name in 'back\slash' "$(printf 'bad\377byte')" 'semi;colon' "$long"; do
    rm -rf "$work/bad" "$work/c.qlp"
    mkdir -p "$work/bad"
    printf 'level: 1\n#\n' > "$work/bad/$name.txt"
    if "$tool" build "$work/bad" "$work/c.qlp" >/dev/null 2>"$work/err"; then fail "built the name $name"; fi
    grep -qF "$name.txt" "$work/err" || fail "the message does not name $name: $(cat "$work/err")"
done
# a failed build keeps the pack that was there
cp "$work/a.qlp" "$work/c.qlp"
printf '#.\n.#\n' > "$work/bad/x.txt"
"$tool" build "$work/bad" "$work/c.qlp" >/dev/null 2>&1 && fail "built an ambiguous picture"
cmp -s "$work/a.qlp" "$work/c.qlp" || fail "a failed build damaged the old pack"
exit 0
