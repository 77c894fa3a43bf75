#!/usr/bin/env bash
# Rebuilds the shipped packs data/NAME.qlp from their text grids in
# packs-src/NAME with tessellor-tool build (which solves and rates each
# crossword). Run after changing a picture; commit sources and packs together.
set -euo pipefail
cd "$(dirname "$0")/.."
tool=build/release/tools/tessellor-tool
cmake --build build/release -j2 --target tessellor-tool >/dev/null
mkdir -p data
for src in packs-src/*/; do
  name=$(basename "$src")
  "$tool" build "$src" "data/$name.qlp"
done
