#!/usr/bin/env bash
# Fails when sources in the given folders include each other in a circle. A
# header and the source of the same name count as one (julia.h with
# julia.cpp), so two sources that include each other's headers close a
# circle too. Quoted includes are looked up beside the including file, then
# in the build's include folders.
#   include_cycles.sh SOURCE_DIR FOLDER...
set -euo pipefail
cd "$1"
shift
suchpfad=(app render dialogs resources platform/include platform/src tests bench)
kanten=$(mktemp)
fehler=$(mktemp)
trap 'rm -f "$kanten" "$fehler"' EXIT
while IFS= read -r datei; do
    sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$datei" | while IFS= read -r name; do
        for d in "$(dirname "$datei")" "${suchpfad[@]}"; do
            if [ -f "$d/$name" ]; then
                ziel=$(realpath --relative-to=. "$d/$name")
                echo "${ziel%.*} ${datei%.*}"
                break
            fi
        done
    done
done < <(find "$@" -type f \( -name '*.h' -o -name '*.cpp' \) | sort) > "$kanten"
if ! tsort "$kanten" > /dev/null 2> "$fehler"; then
    echo "include circle through:" >&2
    grep -v 'input contains a loop' "$fehler" | sed 's/^tsort: /  /' | sort -u >&2
    exit 1
fi
echo "no include circle among $(sort -u "$kanten" | wc -l) includes"
