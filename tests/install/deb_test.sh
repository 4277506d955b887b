#!/usr/bin/env bash
# Builds the Debian package of the build and checks what a distribution
# checks: lintian finds no error or warning, the package names its FLTK and
# font dependencies and holds the installed tree with its documents and
# AppStream metadata.
#   deb_test.sh BUILD_DIR
set -euo pipefail
build=$1
for tool in dpkg-deb dpkg-shlibdeps cpack file lintian; do
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
depends=$(echo "$info" | grep -E '^ Depends:' || true)
echo "$depends" | grep -q 'libfltk1.3' || { echo "FAILED: no FLTK dependency" >&2; fail=1; }
# The dialogs are laid out for Nimbus Sans; without it text is clipped.
echo "$depends" | grep -q 'fonts-urw-base35' || { echo "FAILED: no dependency on the dialog font" >&2; fail=1; }
for path in ./usr/bin/quimbar ./usr/bin/quimbar-send ./usr/share/man/man1/quimbar-send.1.gz \
            ./usr/share/applications/invalid.quimbar.quimbar.desktop \
            ./usr/share/metainfo/invalid.quimbar.quimbar.metainfo.xml \
            ./usr/share/icons/hicolor/16x16/apps/quimbar.png ./usr/share/icons/hicolor/256x256/apps/quimbar.png \
            ./usr/share/man/man1/quimbar.1.gz ./usr/share/doc/quimbar/copyright ./usr/share/doc/quimbar/changelog.gz; do
    echo "$contents" | grep -q " $path\$" || { echo "FAILED: $path missing" >&2; fail=1; }
done
# Errors and warnings fail; informational tags are only shown.
report=$(lintian --allow-root --tag-display-limit 0 "$deb" 2>&1 || true)
[ -n "$report" ] && echo "$report"
if echo "$report" | grep -qE '^[EW]: '; then
    echo "FAILED: lintian reports errors or warnings" >&2
    fail=1
fi
exit $fail
