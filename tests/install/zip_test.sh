#!/usr/bin/env bash
# Builds the ZIP of the Windows build and checks it holds exactly the program,
# the licence and the README for Windows users, the texts with CRLF line
# ends, and that quimbar.exe carries its version resource.
#   zip_test.sh BUILD_DIR
set -euo pipefail
build=$1
command -v wrestool >/dev/null || { echo "skipped: wrestool (icoutils) is missing"; exit 77; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G ZIP --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
zip=$(ls "$out"/quimbar-*-win64.zip)
fail=0
check() { if ! "$@"; then echo "FAILED: $*" >&2; fail=1; fi; }

listing=$(cd "$out" && cmake -E tar tf "$zip" | LC_ALL=C sort)
echo "$listing"
top=$(basename "$zip" .zip)
check test "$listing" = "$(printf '%s\n' "$top/LICENSE.txt" "$top/README.txt" "$top/quimbar.exe")"

(cd "$out" && cmake -E tar xf "$zip")
for text in README.txt LICENSE.txt; do
    # Every line ends in CR LF: as many CRs as LFs, and no bare LF.
    lf=$(tr -cd '\n' <"$out/$top/$text" | wc -c)
    cr=$(tr -cd '\r' <"$out/$top/$text" | wc -c)
    check test "$lf" -gt 0
    check test "$cr" -eq "$lf"
done
check grep -q 'Bearbeiten (Edit)' "$out/$top/README.txt"

# The version resource: fixed file and product version 1.2.0.0 after the
# VS_FIXEDFILEINFO signature, and the strings Windows shows.
fixed=$(wrestool -x --raw --type=16 "$out/$top/quimbar.exe" | od -An -tx1 -v | tr -s ' \n' ' ' | grep -o 'bd 04 ef fe .\{60\}' || true)
check test "$fixed" = "bd 04 ef fe 00 00 01 00 02 00 01 00 00 00 00 00 02 00 01 00 00 00 00 00 "
# Keys and values are NUL-terminated UTF-16 strings, padded with NULs.
strings=$(wrestool -x --raw --type=16 "$out/$top/quimbar.exe" | iconv -c -f UTF-16LE -t UTF-8 | tr '\000' ' ')
for pair in 'ProductName *Quimbar ' 'FileVersion *1\.2\.0\.0 ' 'ProductVersion *1\.2\.0\.0 ' \
            'FileDescription *Quimbar – Betrachter für'; do
    grep -a -q "$pair" <<<"$strings" || { echo "FAILED: no '$pair' in the version resource" >&2; fail=1; }
done
exit $fail
