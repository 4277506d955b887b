#!/usr/bin/env bash
# End-to-end test of the FLTK build: runs the real viewer on its own Xvfb
# display with openbox as window manager, drives it with xdotool like a
# person would, and judges it by screenshots of the whole screen and by its
# exit code.
#
#   fltk_e2e.sh QUIMBAR QUIMBAR_RENDER [FAILURE_DIR]
#
# Every picture on screen must equal quimbar-render's output for the same
# view, pixel for pixel, inside the visible client area. Paints are awaited
# through the viewer's idle trace (QUIMBAR_TRACE_IDLE), never by sleeping;
# each step must cost exactly one paint. On failure the screenshots and logs
# stay in FAILURE_DIR (default: ./fltk-e2e-failure). Exit status 77 means a
# needed tool is missing (the test is skipped).
set -uo pipefail

QUIMBAR=${1:?usage: fltk_e2e.sh QUIMBAR QUIMBAR_RENDER [FAILURE_DIR]}
RENDER=${2:?usage: fltk_e2e.sh QUIMBAR QUIMBAR_RENDER [FAILURE_DIR]}
FAILURE_DIR=${3:-$PWD/fltk-e2e-failure}

MENU_BAR_HEIGHT=19  # the layer's stand-in for the Win32 menu bar
TIMEOUT=60          # seconds to wait for any one thing

for tool in Xvfb openbox xdotool xprop xwininfo import convert compare; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed (Debian: xvfb openbox xdotool x11-utils imagemagick)" >&2
        exit 77
    fi
done

WORK=$(mktemp -d)
XVFB_PID="" WM_PID="" APP_PID=""
cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

STEP=0
fail() {
    echo "FAIL (step $STEP): $*" >&2
    rm -rf "$FAILURE_DIR"
    mkdir -p "$FAILURE_DIR"
    import -window root "$FAILURE_DIR/screen-at-failure.png" 2>/dev/null
    cp "$WORK"/*.png "$WORK"/*.log "$FAILURE_DIR"/ 2>/dev/null
    echo "Screenshots and logs: $FAILURE_DIR" >&2
    exit 1
}

# ---- Display and window manager --------------------------------------------

# Xvfb picks a free display number itself and writes it to the given file
# descriptor, so parallel runs never collide.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
for _ in $(seq 1 $((TIMEOUT * 10))); do
    [ -s "$WORK/display" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb did not start"
    sleep 0.1
done
[ -s "$WORK/display" ] || fail "Xvfb reported no display number"
display=":$(tr -d '[:space:]' <"$WORK/display")"
export DISPLAY=$display
for _ in $(seq 1 $((TIMEOUT * 10))); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb did not start"
    sleep 0.1
done
xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb did not come up"

openbox >"$WORK/openbox.log" 2>&1 &
WM_PID=$!
for _ in $(seq 1 $((TIMEOUT * 10))); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" || fail "openbox did not start"

# ---- Helpers -------------------------------------------------------------------

LOG=$WORK/quimbar.log

# wait_paints N: waits until the viewer is idle after its N-th paint.
wait_paints() {
    local n=$1
    for _ in $(seq 1 $((TIMEOUT * 20))); do
        grep -q "^quimbar-trace: idle paints=$n\$" "$LOG" && return 0
        kill -0 "$APP_PID" 2>/dev/null || fail "the viewer exited while waiting for paint $n"
        sleep 0.05
    done
    fail "no idle after paint $n (trace: $(grep quimbar-trace "$LOG" | tail -1))"
}

# paints: the last paint count the viewer reported.
paints() { grep "^quimbar-trace: idle paints=" "$LOG" | tail -1 | sed 's/.*=//'; }

# no_new_paint N: the viewer stays at N paints for a moment (checks that an
# action painted nothing more).
no_new_paint() {
    local n=$1
    sleep 0.7
    [ "$(paints)" = "$n" ] || fail "expected $n paints, the viewer reports $(paints)"
    kill -0 "$APP_PID" 2>/dev/null || fail "the viewer exited"
}

# client_geometry: "X Y W H" of the picture on screen (the X window holds
# menu bar and picture).
client_geometry() {
    local info x y w h
    info=$(xwininfo -id "$MAIN")
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    w=$(sed -n 's/.*Width: *//p' <<<"$info")
    h=$(sed -n 's/.*Height: *//p' <<<"$info")
    echo "$x $((y + MENU_BAR_HEIGHT)) $w $((h - MENU_BAR_HEIGHT))"
}

# expect_picture NAME FAMILY a b a2 b2 zoom links oben: the visible client
# area equals quimbar-render's raster for that view.
expect_picture() {
    local name=$1
    shift
    "$RENDER" "$@" "$WORK/$name-expected.ppm" >/dev/null || fail "quimbar-render $* failed"
    read -r cx cy cw ch < <(client_geometry)
    # The raster is 500 x 501; what lies outside the client area is clipped.
    local vw=$((cw < 500 ? cw : 500)) vh=$((ch < 501 ? ch : 501))
    import -window root "$WORK/$name-screen.png"
    convert "$WORK/$name-screen.png" -crop "${vw}x${vh}+${cx}+${cy}" +repage "$WORK/$name-shown.png"
    convert "$WORK/$name-expected.ppm" -crop "${vw}x${vh}+0+0" +repage "$WORK/$name-expected.png"
    local differing
    differing=$(compare -metric AE "$WORK/$name-shown.png" "$WORK/$name-expected.png" "$WORK/$name-diff.png" 2>&1)
    [ "$differing" = "0" ] || fail "$name: $differing of ${vw}x${vh} pixels differ from quimbar-render $*"
    echo "ok: $name (${vw}x${vh} pixels equal quimbar-render $*)"
}

# ---- The run ---------------------------------------------------------------------

QUIMBAR_TRACE_IDLE=1 "$QUIMBAR" >/dev/null 2>"$LOG" &
APP_PID=$!

STEP=1  # start-up: the quadratic Julia set for c = 0.36 + 0.46i
MAIN=$(xdotool search --sync --onlyvisible --name '^Quimbar$' | head -1)
[ -n "$MAIN" ] || fail "no window titled Quimbar"
wait_paints 1
read -r cx cy cw ch < <(client_geometry)
[ "$cw" = 492 ] && [ "$ch" = 454 ] || fail "client area is ${cw}x${ch}, expected 492x454"
expect_picture startup julia 0.36 0.46 0 0 1 0 0

STEP=2  # the menu by mnemonics: Alt+Z opens "Zeichnung", M picks "Mandelbrot"
xdotool key alt+z
xdotool key m
wait_paints 2
expect_picture mandelbrot mandel 0 0 0 0 1 0 0

STEP=3  # "JuliaMenge...": two Tabs reach field 101, typing replaces its text, Enter is OK
xdotool key alt+z
xdotool key j
DIALOG=$(xdotool search --sync --onlyvisible --name '^WerteEingabe$' | head -1)
[ -n "$DIALOG" ] || fail "the parameter dialog did not open"
xdotool key Tab Tab
xdotool type 0.25
# The main window takes no keys while its dialog is open.
xdotool key KP_Add
xdotool key Return
wait_paints 3
expect_picture julia-typed julia 0.25 0.4172 0 0 1 0 0

STEP=4  # a key release: keypad plus zooms by 2
xdotool key KP_Add
wait_paints 4
expect_picture zoom2 julia 0.25 0.4172 0 0 2 0 0

STEP=5  # keys that do nothing: a letter, Escape (closes nothing), Alt+Q (only a hint)
xdotool key a Escape alt+q
no_new_paint 4

STEP=6  # the close box ends the program with exit code 0
read -r top_left_extent right_extent top_extent bottom_extent < <(
    xprop -id "$MAIN" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
read -r cx cy cw ch < <(client_geometry)
window_top=$((cy - MENU_BAR_HEIGHT))
close_x=$((cx + cw + right_extent - 10))
close_y=$((window_top - top_extent / 2))
: "$top_left_extent" "$bottom_extent"
xdotool mousemove "$close_x" "$close_y" click 1
status=""
for _ in $(seq 1 $((TIMEOUT * 20))); do
    if ! kill -0 "$APP_PID" 2>/dev/null; then
        wait "$APP_PID"
        status=$?
        break
    fi
    sleep 0.05
done
[ -n "$status" ] || fail "the viewer did not exit after the close box was clicked"
APP_PID=""
[ "$status" = 0 ] || fail "the viewer exited with status $status, expected 0"
[ "$(paints)" = 4 ] || fail "expected 4 paints in all, the viewer reports $(paints)"
echo "ok: close box, exit code 0, 4 paints in all"
rm -rf "$FAILURE_DIR"
echo "PASS"
