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
while IFS= read -r file; do
    sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file" | while IFS= read -r name; do
        for d in "$(dirname "$file")" "${search_path[@]}"; do
            if [ -f "$d/$name" ]; then
                target=$(realpath --relative-to=. "$d/$name")
                echo "${target%.*} ${file%.*}"
                break
            fi
        done
    done
done < <(find "$@" -type f \( -name '*.h' -o -name '*.cpp' \) | sort) > "$edges"
if ! tsort "$edges" > /dev/null 2> "$errors"; then
    echo "include circle through:" >&2
    grep -v 'input contains a loop' "$errors" | sed 's/^tsort: /  /' | sort -u >&2
    exit 1
fi
echo "no include circle among $(sort -u "$edges" | wc -l) includes"
