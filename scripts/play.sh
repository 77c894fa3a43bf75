#!/usr/bin/env bash
# Sets the machine up, builds, and starts the game with the repository folder
# as its working folder (packs in data/, languages in language/, profiles here).
# Every argument is passed to the game, for example /solve.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found (DISPLAY is not set); start the game from a desktop session." >&2
  exit 1
fi
exec ./build/release/src/app/tessellor "$@"
