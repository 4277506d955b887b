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
search_path=(app render dialogs resources platform/include platform/src tests bench)
edges=$(mktemp)
errors=$(mktemp)
trap 'rm -f "$edges" "$errors"' EXIT
# normalise PATH: folder/../ and ./ resolved without a process per include.
normalise() {
    local part out=()
    local IFS=/
    for part in $1; do
        case "$part" in
        . | "") ;;
        ..) unset 'out[${#out[@]}-1]' ;;
        *) out+=("$part") ;;
        esac
    done
    normalised="${out[*]}"
}
files=$(find "$@" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
# One pass of awk lists "file name" for every quoted include.
while read -r file name; do
    for d in "${file%/*}" "${search_path[@]}"; do
        if [ -f "$d/$name" ]; then
            normalise "$d/$name"
            echo "${normalised%.*} ${file%.*}"
            break
        fi
    done
done < <(
    # shellcheck disable=SC2086
    awk 'match($0, /^[ \t]*#[ \t]*include[ \t]*"[^"]*"/) {
             s = substr($0, RSTART, RLENGTH); sub(/^[^"]*"/, "", s); sub(/"$/, "", s); print FILENAME, s }' $files
) > "$edges"
if ! tsort "$edges" > /dev/null 2> "$errors"; then
    echo "include circle through:" >&2
    grep -v 'input contains a loop' "$errors" | sed 's/^tsort: /  /' | sort -u >&2
    exit 1
fi
echo "no include circle among $(sort -u "$edges" | wc -l) includes"
