#!/usr/bin/env bash
# Installs the build into a staging directory and checks the installed tree:
# the binary, the desktop entry, every icon size and the man page.
#   install_test.sh BUILD_DIR
# Exit 77 (skipped) when a checking tool is missing.
set -euo pipefail
build=$1
for tool in desktop-file-validate man identify; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
root="$stage/usr"
fail=0
check() { if ! "$@"; then echo "FAILED: $*" >&2; fail=1; fi; }

check test -x "$root/bin/quimbar"
check desktop-file-validate --no-hints "$root/share/applications/quimbar.desktop"
check grep -q '^Exec=quimbar$' "$root/share/applications/quimbar.desktop"
check grep -q '^Icon=quimbar$' "$root/share/applications/quimbar.desktop"
check grep -q '^Name\[de\]=\|^GenericName\[de\]=' "$root/share/applications/quimbar.desktop"
for size in 16 24 32 48 64 128 256; do
    icon="$root/share/icons/hicolor/${size}x${size}/apps/quimbar.png"
    check test -f "$icon"
    [ -f "$icon" ] && check test "$(identify -format '%m %wx%h' "$icon")" = "PNG ${size}x${size}"
done
page="$root/share/man/man1/quimbar.1"
check test -f "$page"
rendered=$(MANWIDTH=80 man -l "$page" 2>&1 >/dev/null) || true
check test -z "$rendered"   # no troff warnings
check sh -c "MANWIDTH=80 man -l '$page' 2>/dev/null | grep -q 'vergrößern'"
check sh -c "MANWIDTH=80 man -l '$page' 2>/dev/null | grep -q 'Keypad +'"
exit $fail
