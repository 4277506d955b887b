#!/usr/bin/env bash
# Installs the build into a staging directory and checks the installed tree:
# the viewer and quimbar-send, the desktop entry and AppStream metadata,
# every icon size, the man pages and the package documents.
#   install_test.sh BUILD_DIR
# Exit 77 (skipped) when a checking tool is missing.
set -euo pipefail
build=$1
for tool in desktop-file-validate appstreamcli man identify; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
root="$stage/usr"
source_dir="$(dirname "$0")/../.."
version=$(sed -n 's/^PRODUCTVERSION *\([0-9]*\),\([0-9]*\),.*/\1.\2/p' "$source_dir/resources/quimbar.rc")
id=invalid.quimbar.quimbar  # the desktop entry's and the metadata's
fail=0
check() { if ! "$@"; then echo "FAILED: $*" >&2; fail=1; fi; }

check test -x "$root/bin/quimbar"
check test -x "$root/bin/quimbar-send"
# quimbar-send's own checks of its argument, before it looks for a display.
check sh -c "DISPLAY= '$root/bin/quimbar-send' 65536 2>/dev/null; test \$? = 2"
check sh -c "DISPLAY= '$root/bin/quimbar-send' 209 2>/dev/null; test \$? = 1"
entry="$root/share/applications/$id.desktop"
# Silent: no error, no warning, no hint (one main category).
check test -z "$(desktop-file-validate "$entry" 2>&1)"
check grep -q '^Icon=quimbar$' "$entry"
check grep -q '^Name\[de\]=\|^GenericName\[de\]=' "$entry"

# Started from a menu the viewer's trace goes nowhere, but the viewer does
# start: run the entry's command line with a stand-in quimbar that writes a
# trace line and leaves a mark.
fake="$stage/fake"
mkdir -p "$fake"
printf '#!/bin/sh\necho farbe=123\ntouch "%s/started"\n' "$fake" >"$fake/quimbar"
chmod +x "$fake/quimbar"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
out=$(cd "$fake" && PATH="$fake:$PATH" eval "$exec_line")
check test -f "$fake/started"
check test -z "$out"

# The software centres' metadata, for the entry, this version and the
# changelog's date: no error or warning from AppStream (--no-net: the
# homepage is the project's placeholder, quimbar.invalid).
meta="$root/share/metainfo/$id.metainfo.xml"
check grep -q "<id>$id</id>" "$meta"
check grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$meta"
date=$(date -u -d "$(sed -n 's/^ -- .*>  //p' "$source_dir/resources/changelog" | head -n 1)" +%F)
check grep -q "<release version=\"$version\" date=\"$date\"/>" "$meta"
report=$(appstreamcli validate-tree --pedantic --no-net "$stage" 2>&1) || { echo "$report"; fail=1; }
echo "$report" | grep -E '^ *[EW]: ' && { echo "FAILED: AppStream errors or warnings" >&2; fail=1; }

for size in 16 24 32 48 64 128 256; do
    icon="$root/share/icons/hicolor/${size}x${size}/apps/quimbar.png"
    check test -f "$icon"
    [ -f "$icon" ] && check test "$(identify -format '%m %wx%h' "$icon")" = "PNG ${size}x${size}"
done
for page in "$root/share/man/man1/quimbar-send.1.gz" "$root/share/man/man1/quimbar.1.gz"; do
    check test -f "$page"
    rendered=$(MANWIDTH=80 man -l "$page" 2>&1 >/dev/null) || true
    check test -z "$rendered"   # no troff warnings
    check sh -c "MANWIDTH=80 man -l '$page' 2>/dev/null | grep -q 'quimbar-send 209'"
done
check sh -c "MANWIDTH=80 man -l '$page' 2>/dev/null | grep -q 'vergrößern'"
check sh -c "MANWIDTH=80 man -l '$page' 2>/dev/null | grep -q 'Keypad +'"

docs="$root/share/doc/quimbar"
check cmp -s "$docs/copyright" "$source_dir/LICENSE"
# The changelog's newest entry is this version.
check sh -c "gzip -dc '$docs/changelog.gz' | head -n 1 | grep -q '^quimbar ($version)'"
exit $fail
