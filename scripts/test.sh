#!/usr/bin/env bash
# Sets the machine up, builds, and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --preset release -j "$(nproc)" "$@"
