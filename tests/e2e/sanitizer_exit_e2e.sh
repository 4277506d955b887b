#!/usr/bin/env bash
# The sanitizer build under LeakSanitizer with its suppressions
# (tests/lsan_suppressions.txt, built into the viewer and the probe): the
# viewer, started and ended with Datei > Beenden, exits with code 0 and
# reports nothing; the probe, which sets up FLTK's fonts as the viewer does,
# exits with 0, and fails with a report of its own function once it leaks.
#
#   sanitizer_exit_e2e.sh QUIMBAR LSAN_PROBE [FAILURE_DIR]
#
# Exit status 77 means a needed tool is missing (the test is skipped).
set -uo pipefail

QUIMBAR=${1:?usage: sanitizer_exit_e2e.sh QUIMBAR LSAN_PROBE [FAILURE_DIR]}
PROBE=${2:?usage: sanitizer_exit_e2e.sh QUIMBAR LSAN_PROBE [FAILURE_DIR]}
FAILURE_DIR=${3:-$PWD/sanitizer-exit-e2e-failure}

# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
export LSAN_OPTIONS=${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0

start_display

STEP=1  # the viewer: a normal run ends with exit code 0
start_viewer "$QUIMBAR"
wait_paints 1
xdotool key alt+d
xdotool key e
wait_viewer_exit "Datei > Beenden" 1
grep -q "Sanitizer" "$LOG" && fail "the viewer reported: $(grep -A3 Sanitizer "$LOG")"

STEP=2  # the probe: fontconfig's start-up allocations suppressed, a leak of ours reported
"$PROBE" 2>"$WORK/probe.log" || fail "the probe without a leak ended with status $?: $(cat "$WORK/probe.log")"
"$PROBE" leak 2>"$WORK/probe-leak.log" && fail "the probe's own leak went unreported"
grep -q "leak_of_ours" "$WORK/probe-leak.log" || fail "the report misses the probe's leak: $(cat "$WORK/probe-leak.log")"
grep -q "libfontconfig" "$WORK/probe-leak.log" && fail "the report shows fontconfig: $(cat "$WORK/probe-leak.log")"
echo "ok: the viewer and the probe exit with 0; the probe's own leak is reported"

rm -rf "$FAILURE_DIR"
echo "PASS"
