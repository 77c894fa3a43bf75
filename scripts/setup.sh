#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 (as root), but only
# the packages that are missing, then configures and builds the release tree.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools
          libzip-dev libgtest-dev libgmock-dev libbenchmark-dev
          zip unzip fonts-dejavu-core
          desktop-file-utils appstream xvfb xdotool file dpkg-dev
          qt6-translations-l10n)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# TESSELLOR_WERROR=ON in the environment makes every warning an error.
cmake --preset release ${TESSELLOR_WERROR:+-DTESSELLOR_WERROR=$TESSELLOR_WERROR} >/dev/null
cmake --build --preset release -j "$(nproc)"
