#!/usr/bin/env bash
# Measures how long quimbar.exe takes under Wine to paint each standard view
# in its window (real GDI SetPixel on the window's device context): the
# window is invalidated by quimbar-probe, which times from the invalidation
# to the end of the paint. Prints the median of REPEATS paints per view, in
# milliseconds, and how long the Wine prefix took to set up. A measurement,
# not a test: nothing is asserted.
#
#   paint_times.sh QUIMBAR.EXE QUIMBAR-PROBE.EXE WORK [REPEATS]
set -uo pipefail

EXE=${1:?usage: paint_times.sh QUIMBAR.EXE QUIMBAR-PROBE.EXE WORK [REPEATS]}
PROBE=${2:?usage: paint_times.sh QUIMBAR.EXE QUIMBAR-PROBE.EXE WORK [REPEATS]}
WORK=${3:?usage: paint_times.sh QUIMBAR.EXE QUIMBAR-PROBE.EXE WORK [REPEATS]}
REPEATS=${4:-7}
mkdir -p "$WORK"
WORK=$(cd "$WORK" && pwd)
FAILURE_DIR=$WORK/paint-times-failure

# shellcheck source=wine_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine_lib.sh"
wine_tools_present || exit 77
trap wine_cleanup EXIT

median() { sort -n | awk '{v[NR] = $1} END {m = int((NR + 1) / 2); print (NR % 2) ? v[m] : (v[m] + v[m + 1]) / 2}'; }

# measure NAME: REPEATS full paints of the view on screen.
measure() {
    local times
    times=$(probe time-paint "$REPEATS") || fail "time-paint failed"
    printf '%-34s %8s ms   (%s)\n' "$1" "$(median <<<"$times")" "$(tr '\n' ' ' <<<"$times")"
}

# choose LETTER: a family from the "Zeichnung" menu, its dialog confirmed
# with the template's texts.
choose() {
    menu z "$1"
    if [ "$1" != m ]; then
        wait_dialog WerteEingabe
        xdotool key Return
    fi
    wait_no_dialog
}

start=$(date +%s.%N)
prefix_seconds=$(wine_prefix) || exit 1
wine_display
# Standard output connected to nothing, the usual case for a windowed
# program.
start_program -
ready=$(date +%s.%N)
echo "Wine prefix set-up: ${prefix_seconds} s (0: kept from an earlier run);" \
    "from the start of this script to the first picture on screen:" \
    "$(awk -v s="$start" -v e="$ready" 'BEGIN { printf "%.1f", e - s }') s"
echo "median of $REPEATS paints under Wine, client area $(probe geometry | awk '/^client/ {print $4 "x" $5}'):"
measure "start-up view (Julia 0.36+0.46i)"
choose m && measure "Mandelbrot"
choose j && measure "JuliaMenge (0.313+0.4172i)"
choose s && measure "JuliaSin (0.7+0.8i, zoom 0.333)"
choose c && measure "JuliaCos (0.7+0.8i, zoom 0.333)"
choose k && measure "JuliaKub (D 0, E -0.574+0.271i)"
menu d e
wait_exit

# The trigonometric family again with its trace redirected to a file.
start_program "$WORK/trace.log"
choose s && measure "JuliaSin, trace to a file"
menu d e
wait_exit
rm -f "$WORK/trace.log"
