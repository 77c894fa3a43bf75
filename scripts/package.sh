#!/usr/bin/env bash
# Sets the machine up, builds, and makes the Debian package
# build/release/tessellor_VERSION_ARCH.deb (install it with
# "sudo apt install ./build/release/tessellor_*.deb").
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cd build/release
rm -f tessellor_*.deb
cpack -G DEB
ls -1 "$PWD"/tessellor_*.deb
