#!/bin/bash
# Installs the build into a staging root, checks the layout and the desktop
# files, and starts the staged game from an empty folder with a fresh HOME:
# it must work in ~/.local/share/tessellor, find the shipped packs there and
# write nothing into the folder it was started from or into the install.
# usage: install_test.sh BUILD_DIR
set -u
build=$1
tmp=$(mktemp -d /tmp/tessellor-install-XXXXXX)
game=
xvfb=
cleanup() {
  [ -n "$game" ] && kill "$game" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

stage=$tmp/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null || fail "cmake --install"
id=org.tessellor.Tessellor
for f in bin/tessellor bin/tessellor-tool share/tessellor/data/Starter.qlp \
         share/tessellor/language/english.lng share/tessellor/help/index.html \
         share/tessellor/help/german/index.html share/tessellor/help/russian/index.html \
         share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
         share/icons/hicolor/64x64/apps/$id.png share/icons/hicolor/128x128/apps/$id.png \
         share/icons/hicolor/256x256/apps/$id.png share/man/man6/tessellor.6.gz share/man/man1/tessellor-tool.1.gz; do
  [ -f "$stage/usr/$f" ] || fail "not installed: $f"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$stage/usr/share/applications/$id.desktop" || fail "desktop entry"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$stage/usr/share/metainfo/$id.metainfo.xml" >/dev/null || fail "metainfo"
fi
listing() { find "$stage" -printf '%p %s %T@ %m\n' | sort; }
listing >"$tmp/before"

# Waits up to 10 s for a file to appear.
await() { for _ in $(seq 100); do [ -e "$1" ] && return 0; sleep 0.1; done; return 1; }

export HOME=$tmp/home XDG_DATA_HOME= XDG_RUNTIME_DIR= TEMP=
unset XDG_DATA_HOME TEMP XDG_RUNTIME_DIR
mkdir -p "$HOME" "$tmp/start"
player=$HOME/.local/share/tessellor
cd "$tmp/start" || fail "start folder"

# Offscreen: the game comes up, makes the player's folder owner-only and
# waits in the profile dialog; a termination signal ends it in order.
QT_QPA_PLATFORM=offscreen "$stage/usr/bin/tessellor" >"$tmp/offscreen.log" 2>&1 &
game=$!
await "$player" || fail "no player's folder: $(cat "$tmp/offscreen.log")"
sleep 1
kill -0 "$game" 2>/dev/null || fail "the game ended at start: $(cat "$tmp/offscreen.log")"
[ "$(stat -c %a "$player")" = 700 ] || fail "player's folder not owner-only"
kill -TERM "$game"; wait "$game"; game=

# On a virtual screen a player types a name, opens the first crossword of the
# tree and the game is ended: the profile under HOME names a shipped crossword.
if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
  exec 3>"$tmp/display"
  Xvfb -displayfd 3 -screen 0 1280x900x24 >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
  export DISPLAY=:$(head -n1 "$tmp/display")
  unset QT_QPA_PLATFORM
  "$stage/usr/bin/tessellor" >"$tmp/x.log" 2>&1 &
  game=$!
  sleep 3
  xdotool type --delay 30 Tester; xdotool key Return; sleep 3
  xdotool key Right Right Right Right Right Return; sleep 2
  # INSTALL_TEST_SHOT=FILE.png keeps a screenshot of this moment.
  [ -n "${INSTALL_TEST_SHOT:-}" ] && import -window root "$INSTALL_TEST_SHOT"
  await "$player/Tester.pfl" || fail "no profile in $player: $(cat "$tmp/x.log")"
  kill -TERM "$game"; wait "$game"; game=
  "$stage/usr/bin/tessellor-tool" profile "$player/Tester.pfl" --json | grep -q '"states":\[{"id":"[A-Za-z]' \
    || fail "the profile names no crossword of the shipped packs"
else
  echo "Xvfb or xdotool missing: the played part is left out"
fi

[ -z "$(ls -A "$tmp/start")" ] || fail "written into the start folder: $(ls -A "$tmp/start")"
listing | cmp -s - "$tmp/before" || fail "written into the install"
echo "ok"
