#!/usr/bin/env bash
# End-to-end test of the FLTK build's standard output and key releases: the
# real viewer on its own Xvfb display with openbox, driven by xdotool and
# judged by screenshots against quimbar-render, in three runs:
#
#   1. standard output closed (quimbar >&-): the cosine picture is drawn and
#      the viewer lives on (the trace must not reach the X connection); the
#      same with standard output on a full device (/dev/full);
#   2. standard output to a reader that leaves after 100 bytes
#      (quimbar | head -c 100): the reader gets the trace's first 100 bytes,
#      the viewer goes on drawing and ends with exit code 0;
#   3. standard output to a file, on the cosine picture: 40 Right keys sent
#      at 0 ms spacing pan 40 times, a key held until the server repeats
#      it pans once, the main
#      keyboard's plus and minus do nothing, and the trace holds
#      quimbar-render's bytes;
#   4. on the start-up picture: 50 seeds (KEY_BURST_SEEDS) of random bursts
#      of arrow and keypad plus and minus keys sent 0 to 5 ms apart, each
#      burst's final picture that of the view its keys imply (no key lost).
#
#   fltk_output_keys_e2e.sh QUIMBAR QUIMBAR_RENDER [FAILURE_DIR]
#
# Exit status 77 means a needed tool is missing (the test is skipped).
set -uo pipefail

QUIMBAR=${1:?usage: fltk_output_keys_e2e.sh QUIMBAR QUIMBAR_RENDER [FAILURE_DIR]}
RENDER=${2:?usage: fltk_output_keys_e2e.sh QUIMBAR QUIMBAR_RENDER [FAILURE_DIR]}
FAILURE_DIR=${3:-$PWD/fltk-output-keys-e2e-failure}

# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
# shellcheck source=view_model.sh
source "$(dirname "${BASH_SOURCE[0]}")/view_model.sh"

# start_with OUT: starts the viewer with its idle trace, standard output to
# the file OUT, or closed if OUT is "closed"; the view model starts over.
start_with() {
    if [ "$1" = closed ]; then
        QUIMBAR_TRACE_IDLE=1 "$QUIMBAR" >&- 2>"$LOG" &
    else
        QUIMBAR_TRACE_IDLE=1 "$QUIMBAR" >"$1" 2>"$LOG" &
    fi
    APP_PID=$!
    MAIN=$(xdotool search --sync --onlyvisible --name '^Quimbar$' | head -1)
    [ -n "$MAIN" ] || fail "no window titled Quimbar"
    view_family julia 1
    view_params 0.36 0.46 0 0
    wait_paints 1
}

# render_trace OUT: quimbar-render's trace of the model's view, into OUT.
render_trace() {
    # shellcheck disable=SC2046
    "$RENDER" $(view_render_args) "$WORK/expected.ppm" >"$1" || fail "quimbar-render $(view_render_args) failed"
}

# expect_view NAME: the viewer is alive and shows the model's view.
expect_view() {
    kill -0 "$APP_PID" 2>/dev/null || fail "$1: the viewer has exited"
    expect_picture "$1"
}

# wait_view NAME: after keys whose paints may merge, waits until the idle
# viewer shows the model's view, comparing after each idle report; fails when
# 10 s pass without a new paint and the view is still another.
wait_view() {
    local name=$1 prefix=$WORK/$1 seen="" lines n="" quiet=0 x y w h
    read -r x y w h < <(client_geometry)
    w=$((w < 500 ? w : 500)) h=$((h < 501 ? h : 501))
    view_expected "$prefix" || fail "quimbar-render $(view_render_args) failed"
    while [ "$quiet" -lt 200 ]; do
        kill -0 "$APP_PID" 2>/dev/null || fail "$name: the viewer has exited"
        lines=$(grep -c "^quimbar-trace: idle" "$LOG")
        quiet=$((quiet + 1))
        if [ "$lines" != "$seen" ]; then
            seen=$lines quiet=0
            n=$(view_differences "$prefix" "$x" "$y" "$w" "$h")
            if [ "$n" = 0 ]; then
                rm -f "$prefix-shown.ppm" "$prefix-expected.ppm"
                echo "ok: $name"
                return 0
            fi
        fi
        sleep 0.05
    done
    view_keep "$prefix" "$w" "$h"
    fail "$name: the viewer stays $n pixels away from quimbar-render $(view_render_args)"
}

# key_burst SEED: 10 to 40 arrow and keypad plus and minus keys, each the
# same as the one before with even odds, sent 0 to 5 ms apart by one xdotool,
# and their effect on the model. Keys that would take the view beyond zoom
# 1/4 to 64 or more than 1.5 from the centre are left out.
key_burst() {
    local names=(Left Up Right Down KP_Add KP_Subtract) codes=(37 38 39 40 107 109) args=() k i=0 before
    RANDOM=$1
    for ((k = 10 + RANDOM % 31; k > 0; k--)); do
        ((RANDOM % 2)) || i=$((RANDOM % 6))
        before="$VIEW_ZOOM $VIEW_LINKS $VIEW_OBEN"
        view_key "${codes[i]}"
        if awk "BEGIN { exit !($VIEW_ZOOM >= 0.25 && $VIEW_ZOOM <= 64 && $VIEW_LINKS * $VIEW_LINKS <= 2.25 &&
                               $VIEW_OBEN * $VIEW_OBEN <= 2.25) }"; then
            args+=(key --delay 0 "${names[i]}" sleep "0.00$((RANDOM % 6))")
        else
            read -r VIEW_ZOOM VIEW_LINKS VIEW_OBEN <<<"$before"
        fi
    done
    xdotool "${args[@]}"
}

# hold_right: holds Right down until the server's auto-repeat is seen: an
# X client of our own (xev) on the viewer's window gets a second press of
# Right; then lets it go.
hold_right() {
    local presses=0 _
    xev -id "$MAIN" -event keyboard >"$WORK/xev.log" 2>&1 &
    local xev_pid=$!
    xdotool keydown Right
    for _ in $(seq 1 $((TIMEOUT * 20))); do
        presses=$(grep -A2 "^KeyPress event" "$WORK/xev.log" | grep -c "keysym 0x[0-9a-f]*, Right)")
        [ "$presses" -ge 2 ] && break
        sleep 0.05
    done
    xdotool keyup Right
    kill "$xev_pid" 2>/dev/null
    wait "$xev_pid" 2>/dev/null
    [ "$presses" -ge 2 ] || fail "the held key never repeated ($presses press seen): the held-key check would test nothing"
    echo "ok: Right held until the server repeated it"
}

# cosine: Zeichnung > JuliaCos..., the dialog confirmed with its own texts.
cosine() {
    local paints_before
    paints_before=$(paints)
    xdotool key alt+z
    xdotool key c
    xdotool search --sync --onlyvisible --name '^WerteEingabe$' >/dev/null || fail "the parameter dialog did not open"
    xdotool key Return
    view_command 208
    view_params 0.7 0.8
    wait_paints $((paints_before + 1))
}

# quit_with_exit_code_zero PAINTS: Datei > Beenden ends the viewer with exit
# code 0 after PAINTS paints in all.
quit_with_exit_code_zero() {
    xdotool key alt+d
    xdotool key e
    wait_viewer_exit "Datei > Beenden" "$1"
}

start_display

STEP=1  # standard output closed (/dev/null takes descriptor 1, not the X connection), or full
start_with closed
cosine
expect_view cosine-stdout-closed
quit_with_exit_code_zero 2
# A full device: the writes fail, the viewer goes on.
start_with /dev/full
cosine
expect_view cosine-device-full
quit_with_exit_code_zero 2

STEP=2  # a reader that leaves after 100 bytes: no SIGPIPE, the trace is dropped
mkfifo "$WORK/trace.fifo"
head -c 100 <"$WORK/trace.fifo" >"$WORK/head.out" &
HEAD_PID=$!
start_with "$WORK/trace.fifo"
cosine
expect_view cosine-reader-gone
wait "$HEAD_PID"
render_trace "$WORK/trace.expected"
head -c 100 "$WORK/trace.expected" >"$WORK/head.expected"
cmp -s "$WORK/head.out" "$WORK/head.expected" ||
    fail "the reader got '$(head -c 100 "$WORK/head.out")', expected '$(cat "$WORK/head.expected")'"
echo "ok: the reader got the trace's first 100 bytes"
xdotool key Right  # another trigonometric picture into the broken pipe
view_key 39
wait_paints 3
expect_view cosine-broken-pipe-panned
quit_with_exit_code_zero 3

STEP=3  # keys on the cosine picture: 40 identical at 0 ms spacing, one held, main-keyboard plus and minus
start_with "$WORK/trace.log"
cosine
expect_view cosine-traced
render_trace "$WORK/first-trace.expected"
# While a picture is computed the keys queue up: each release is followed
# by the next press of the same key with the same time stamp.
# shellcheck disable=SC2046
xdotool key --delay 0 $(printf 'Right %.0s' $(seq 1 40))
for _ in $(seq 1 40); do view_key 39; done
wait_view right-40-times
paints_before=$(paints)
hold_right
view_key 39
wait_paints $((paints_before + 1))
expect_view right-held
xdotool key plus minus minus KP_Add
view_key 107
wait_paints $((paints_before + 2))
expect_view plus-minus-then-keypad-plus
quit_with_exit_code_zero $((paints_before + 2))
# The trace begins with the first cosine picture's and ends with the last
# picture's, byte for byte.
render_trace "$WORK/last-trace.expected"
cmp -s <(head -c "$(stat -c %s "$WORK/first-trace.expected")" "$WORK/trace.log") "$WORK/first-trace.expected" ||
    fail "the trace does not begin with the first cosine picture's"
cmp -s <(tail -c "$(stat -c %s "$WORK/last-trace.expected")" "$WORK/trace.log") "$WORK/last-trace.expected" ||
    fail "the trace does not end with the last picture's"
echo "ok: the trace begins and ends with quimbar-render's, $(stat -c %s "$WORK/trace.log") bytes in all"

STEP=4  # bursts of random arrow and keypad keys 0-5 ms apart, one seed after the other in one viewer
start_with /dev/null
for seed in $(seq 1 "${KEY_BURST_SEEDS:-50}"); do
    key_burst "$seed"
    wait_view "key-burst-seed-$seed"
done
quit_with_exit_code_zero "$(paints)"

rm -rf "$FAILURE_DIR"
echo "PASS"
