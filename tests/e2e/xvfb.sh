# Display helpers of the end-to-end scripts.
#
# start_xvfb WxH: an Xvfb of that size (24 bits) on a display number it picks
# itself, so parallel runs never collide; sets XVFB_PID and exports DISPLAY.
# Status 1 when the server died or did not answer within TIMEOUT seconds.
# Needs WORK (a private folder) and TIMEOUT; appends to WORK/xvfb.log.
start_xvfb() {
    unset DISPLAY
    rm -f "$WORK/display"
    Xvfb -displayfd 5 -screen 0 "$1x24" -nolisten tcp 5>"$WORK/display" >>"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local _
    for _ in $(seq 1 $((TIMEOUT * 10))); do
        [ -s "$WORK/display" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || return 1
        sleep 0.1
    done
    [ -s "$WORK/display" ] || return 1
    export DISPLAY=":$(tr -d '[:space:]' <"$WORK/display")"
    for _ in $(seq 1 $((TIMEOUT * 10))); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
        kill -0 "$XVFB_PID" 2>/dev/null || return 1
        sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null
    return 1
}

# fail MESSAGE: reports the failed step (STEP), keeps a screenshot of the
# display and WORK's pictures and logs in FAILURE_DIR (emptied first), and
# exits with status 1.
fail() {
    echo "FAIL (step $STEP): $*" >&2
    rm -rf "$FAILURE_DIR"
    mkdir -p "$FAILURE_DIR"
    [ -n "${DISPLAY:-}" ] && import -window root "$FAILURE_DIR/screen-at-failure.png" 2>/dev/null
    cp "$WORK"/*.png "$WORK"/*.log "$FAILURE_DIR"/ 2>/dev/null
    echo "Screenshots and logs: $FAILURE_DIR" >&2
    exit 1
}
