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
exit $fail
