#!/usr/bin/env bash
# Measures how long the real viewer takes to paint each standard view in its
# window (from BeginPaint to the idle moment after the paint, and to the
# moment the paint's last rows went to the display), on a private Xvfb
# display with openbox. Prints the medians of REPEATS paints per view, in
# milliseconds. A measurement, not a test: nothing is asserted.
#
#   paint_times.sh QUIMBAR [REPEATS]
set -uo pipefail

QUIMBAR=${1:?usage: paint_times.sh QUIMBAR [REPEATS]}
REPEATS=${2:-5}
FAILURE_DIR=${PWD}/paint-times-failure

# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

median() { sort -n | awk '{v[NR] = $1} END {m = int((NR + 1) / 2); print (NR % 2) ? v[m] : (v[m] + v[m + 1]) / 2}'; }

# measure NAME LETTER [FIELD-KEYS...]: chooses the view REPEATS times from
# the "Zeichnung" menu by its mnemonic LETTER; when the command opens the
# parameter dialog, types FIELD-KEYS into it (none: its default values) and
# confirms with Return. Prints the median paint times.
measure() {
    local name=$1 letter=$2
    shift 2
    local times=() shown=() n dialog
    for _ in $(seq 1 "$REPEATS"); do
        n=$(($(paints) + 1))
        xdotool key alt+z
        xdotool key "$letter"
        if [ "$letter" != m ]; then
            dialog=$(xdotool search --sync --onlyvisible --name '^WerteEingabe$' | head -1)
            [ -n "$dialog" ] || fail "the parameter dialog did not open"
            [ $# -gt 0 ] && xdotool key "$@"
            xdotool key Return
        fi
        wait_paints "$n"
        times+=("$(last_paint_ms)")
        shown+=("$(last_shown_ms)")
        # The next dialog must not find this one still on screen.
        while xdotool search --onlyvisible --name '^WerteEingabe$' >/dev/null 2>&1; do sleep 0.05; done
    done
    printf '%-34s %8s ms, shown after %8s ms   (%s)\n' "$name" "$(printf '%s\n' "${times[@]}" | median)" \
        "$(printf '%s\n' "${shown[@]}" | median)" "${times[*]}"
}

start_display
start_viewer "$QUIMBAR"
wait_paints 1
echo "median of $REPEATS paints, client area $(client_geometry | awk '{print $3 "x" $4}'):"
measure "start-up view (Julia 0.36+0.46i)" j Tab Tab 0 period 3 6 Tab 0 period 4 6
measure "Mandelbrot" m
measure "JuliaMenge (0.313+0.4172i)" j
measure "JuliaSin (0.7+0.8i, zoom 0.333)" s
measure "JuliaCos (0.7+0.8i, zoom 0.333)" c
measure "JuliaKub (D 0, E -0.574+0.271i)" k
