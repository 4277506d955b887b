#!/usr/bin/env bash
# Builds the Debian package of the build and checks that it names its FLTK
# dependency and holds the installed tree.
#   deb_test.sh BUILD_DIR
set -euo pipefail
build=$1
for tool in dpkg-deb dpkg-shlibdeps cpack; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
deb=$(ls "$out"/quimbar_*.deb)
fail=0
info=$(dpkg-deb --info "$deb")
contents=$(dpkg-deb --contents "$deb")
echo "$info" | grep -E '^ (Package|Version|Architecture|Depends):'
echo "$info" | grep -q '^ Package: quimbar$' || { echo "FAILED: package name" >&2; fail=1; }
echo "$info" | grep -E '^ Depends:' | grep -q 'libfltk1.3' || { echo "FAILED: no FLTK dependency" >&2; fail=1; }
for path in ./usr/bin/quimbar ./usr/share/applications/quimbar.desktop \
            ./usr/share/icons/hicolor/16x16/apps/quimbar.png ./usr/share/icons/hicolor/256x256/apps/quimbar.png \
            ./usr/share/man/man1/quimbar.1; do
    echo "$contents" | grep -q " $path\$" || { echo "FAILED: $path missing" >&2; fail=1; }
done
exit $fail
