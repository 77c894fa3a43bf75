#!/bin/bash
# The Debian package made by cpack: section games, Qt's translations
# recommended, the libraries the programs link named as dependencies, and the
# installed layout inside.
# usage: package_test.sh BUILD_DIR
set -u
build=$1
tmp=$(mktemp -d /tmp/tessellor-package-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
command -v dpkg-shlibdeps >/dev/null || { echo "dpkg-shlibdeps missing (dpkg-dev)"; exit 77; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp" >"$tmp/log" 2>&1 || fail "cpack: $(cat "$tmp/log")"
deb=$(ls "$tmp"/tessellor_*.deb 2>/dev/null) || fail "no package"
[ "$(dpkg-deb -f "$deb" Package)" = tessellor ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section"
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-translations-l10n ] || fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libzip4 libstdc++6; do
  [[ $depends == *"$lib "* ]] || fail "$lib not among the dependencies: $depends"
done
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/tessellor ./usr/bin/tessellor-tool ./usr/share/tessellor/data/Starter.qlp \
         ./usr/share/applications/org.tessellor.Tessellor.desktop ./usr/share/man/man6/tessellor.6.gz; do
  grep -qx -- "$f" <<<"$contents" || fail "not in the package: $f"
done
echo ok
