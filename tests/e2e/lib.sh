# Shared by the scripts that run the real viewer on a private X display:
# an Xvfb server with openbox as window manager, the viewer started with its
# idle trace, and helpers that wait on that trace and read the screen.
#
# The sourcing script sets FAILURE_DIR (where fail() leaves screenshots and
# logs) before calling anything here. Exit status 77 means a needed tool is
# missing.

# shellcheck source=xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"

MENU_BAR_HEIGHT=19  # the layer's stand-in for the Win32 menu bar
TIMEOUT=60          # seconds to wait for any one thing

for tool in Xvfb openbox xdotool xprop xwininfo xdpyinfo xev import convert compare; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed (Debian: xvfb openbox xdotool x11-utils imagemagick)" >&2
        exit 77
    fi
done

WORK=$(mktemp -d)
LOG=$WORK/quimbar.log
XVFB_PID="" WM_PID="" APP_PID="" MAIN=""
STEP=0

cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

# start_display: a 1280x1024x24 Xvfb with openbox; exports DISPLAY. When
# openbox cannot connect (seen now and then when X servers of other sessions
# share the machine), starts over with a fresh server.
start_display() {
    local attempt
    for attempt in 1 2 3 4 5; do
        try_display && return 0
        echo "note: display attempt $attempt failed, starting a fresh X server" >&2
        cp "$WORK/openbox.log" "$WORK/openbox-attempt-$attempt.log" 2>/dev/null
        [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null
        [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
        wait 2>/dev/null
        WM_PID="" XVFB_PID=""
    done
    fail "could not start Xvfb with openbox"
}

try_display() {
    start_xvfb 1280x1024 || return 1
    local _

    openbox >"$WORK/openbox.log" 2>&1 &
    WM_PID=$!
    for _ in $(seq 1 $((TIMEOUT * 10))); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
        kill -0 "$WM_PID" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# start_viewer QUIMBAR: starts the viewer with its idle trace on stderr (its
# standard output, the trigonometric family's trace, is dropped) and sets
# MAIN to its window.
start_viewer() {
    QUIMBAR_TRACE_IDLE=1 "$1" >/dev/null 2>"$LOG" &
    APP_PID=$!
    MAIN=$(xdotool search --sync --onlyvisible --name '^Quimbar$' | head -1)
    [ -n "$MAIN" ] || fail "no window titled Quimbar"
}

# wait_viewer_exit WHAT: waits for the viewer to end (after WHAT) and
# checks that it ended with exit code 0 after PAINTS paints in all.
wait_viewer_exit() {
    local status="" _
    for _ in $(seq 1 $((TIMEOUT * 20))); do
        if ! kill -0 "$APP_PID" 2>/dev/null; then
            wait "$APP_PID"
            status=$?
            break
        fi
        sleep 0.05
    done
    [ -n "$status" ] || fail "the viewer did not end after $1"
    APP_PID=""
    [ "$status" = 0 ] || fail "the viewer ended with status $status after $1, expected 0"
    [ "$(paints)" = "$2" ] || fail "expected $2 paints in all, the viewer reports $(paints)"
    echo "ok: $1 ends the viewer with exit code 0 after $2 paints"
}

# wait_paints N: waits until the viewer is idle after its N-th paint.
wait_paints() {
    local n=$1 _
    for _ in $(seq 1 $((TIMEOUT * 20))); do
        grep -q "^quimbar-trace: idle paints=$n\$" "$LOG" && return 0
        kill -0 "$APP_PID" 2>/dev/null || fail "the viewer exited while waiting for paint $n"
        sleep 0.05
    done
    fail "no idle after paint $n (trace: $(grep quimbar-trace "$LOG" | tail -1))"
}

# paints: the last paint count the viewer reported.
paints() { grep "^quimbar-trace: idle paints=" "$LOG" | tail -1 | sed 's/.*=//'; }

# last_paint_ms: how long the last paint took, in milliseconds.
last_paint_ms() { grep "^quimbar-trace: paint took" "$LOG" | tail -1 | sed 's/.*took \([0-9.]*\) ms/\1/'; }

# last_shown_ms: when the last paint's last rows went to the display,
# in milliseconds after its BeginPaint.
last_shown_ms() { grep "^quimbar-trace: picture shown after" "$LOG" | tail -1 | sed 's/.*after \([0-9.]*\) ms/\1/'; }

# window_geometry WINDOW: "X Y W H" of the window's inside on screen
# (xwininfo's absolute corner and size).
window_geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X:/ { x = $NF } /Absolute upper-left Y:/ { y = $NF }
        /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF } END { print x, y, w, h }'
}

# client_geometry: "X Y W H" of the picture on screen (the X window holds
# menu bar and picture).
client_geometry() {
    local x y w h
    read -r x y w h < <(window_geometry "$MAIN")
    echo "$x $((y + MENU_BAR_HEIGHT)) $w $((h - MENU_BAR_HEIGHT))"
}

# picture_area: the client area for expect_picture (view_model.sh), which
# looks at it once: every caller has awaited its paint.
# shellcheck disable=SC2034  # read by expect_picture
picture_area() { AREA=$(client_geometry); }
