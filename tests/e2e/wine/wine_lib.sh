# Running quimbar.exe under Wine on a private Xvfb display, for the scripts
# in this folder. Source it after setting WORK (an absolute folder for the
# Wine prefix, logs and pictures) and FAILURE_DIR; it defines functions and
# sets the environment Wine needs, nothing runs on sourcing.
#
# The Wine prefix lives in $WORK/prefix and is made once (wine_prefix):
# initialised without the Mono and Gecko installers, given Wine's own fonts
# (Debian's Wine does not find them otherwise, and the dialogs come out too
# wide), and a 1024x768 virtual desktop (a real frame and caption for the
# window, and screen coordinates equal to screenshot coordinates).

TIMEOUT=${TIMEOUT:-60}  # seconds to wait for any one thing
# shellcheck source=../xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/../xvfb.sh"

export WINEPREFIX="$WORK/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko install prompts
unset WINEARCH WINELOADER

XVFB_PID="" APP_PID=""
STEP=0

# wine_tools_present: 0 when everything the scripts need is installed.
wine_tools_present() {
    local tool missing=()
    for tool in wine wineserver wineboot Xvfb xdotool import convert compare awk; do
        command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
    done
    [ -d /usr/share/wine/fonts ] || missing+=("fonts-wine")
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "SKIP: not installed: ${missing[*]} (Debian: wine wine64 fonts-wine xvfb xdotool imagemagick)" >&2
    return 1
}

wine_cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
    wineserver -k >/dev/null 2>&1
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
}

# wine_prefix: makes the prefix unless it is there already for this Wine
# version. Prints the seconds it took (0 when it was there). A machine's very
# first set-up has been seen to fail once and pass on a retry, so a failed
# set-up is tried once more before the test fails with Wine's own message.
wine_prefix() {
    local marker="$WINEPREFIX/.quimbar-prefix" version start attempt
    version=$(wine --version 2>/dev/null)
    if [ -f "$marker" ] && [ "$(cat "$marker")" = "$version" ]; then
        echo 0
        return 0
    fi
    start=$(date +%s.%N)
    for attempt in 1 2; do
        if wine_prefix_once; then
            echo "$version" >"$marker"
            awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { printf "%.1f\n", e - s }'
            return 0
        fi
        echo "Wine prefix set-up, attempt $attempt: $PREFIX_ERROR" >&2
    done
    fail "$PREFIX_ERROR"
}

# wine_prefix_once: one attempt at a new prefix; on failure returns 1 with
# PREFIX_ERROR naming the step and the last lines Wine wrote.
wine_prefix_once() {
    local log="$WORK/wineboot.log"
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    # Never on a terminal: Wine's console emulation is slow, and its
    # helper processes would keep a pipe open.
    if ! DISPLAY="" wineboot -i </dev/null >"$log" 2>&1; then
        PREFIX_ERROR="wineboot failed: $(tail -n 3 "$log" | tr '\n' ' ')"
        return 1
    fi
    # Everything wineboot started must have finished before the registry is
    # written, or regedit may find no program to run it.
    wineserver -w
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    cat >"$WORK/desktop.reg" <<'EOF'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"
EOF
    if ! DISPLAY="" wine regedit /S "$WORK/desktop.reg" </dev/null >"$WORK/regedit.log" 2>&1; then
        PREFIX_ERROR="regedit failed: $(tail -n 3 "$WORK/regedit.log" | tr '\n' ' ')"
        cat "$WORK/regedit.log" >>"$log"
        return 1
    fi
    cat "$WORK/regedit.log" >>"$log"
    wineserver -w
    if ! grep -q '"Default"="1024x768"' "$WINEPREFIX/user.reg"; then
        PREFIX_ERROR="the virtual desktop is not in the registry"
        return 1
    fi
}

# wine_display: a 1024x768x24 Xvfb (the size of the virtual desktop) on a
# free display number; exports DISPLAY. Then a persistent wineserver and
# Wine's services, started here with no terminal or pipe attached.
wine_display() {
    local attempt
    for attempt in 1 2 3; do
        start_xvfb 1024x768 && break
        [ "$attempt" = 3 ] && fail "Xvfb did not come up (see xvfb.log)"
    done
    wineserver -p </dev/null >/dev/null 2>&1
    wineboot </dev/null >>"$WORK/wineboot.log" 2>&1
    # The pointer rests on the desktop, away from the window: keys go to the
    # X window under it (no window manager), which is Wine's desktop.
    xdotool mousemove 900 700
}

# probe ARGS...: runs quimbar-probe; its output on stdout, its status.
probe() {
    wine "$PROBE" "$@" </dev/null >"$WORK/probe.out" 2>>"$WORK/probe.log"
    local status=$?
    cat "$WORK/probe.out"
    return $status
}

# start_program OUT: starts quimbar.exe with its standard output to OUT (a
# file, or "-" for none connected) and waits until its first paint is done.
start_program() {
    if [ "$1" = - ]; then
        wine "$EXE" </dev/null >&- 2>>"$WORK/wine.log" &
    else
        wine "$EXE" </dev/null >"$1" 2>>"$WORK/wine.log" &
    fi
    APP_PID=$!
    probe wait-window $((TIMEOUT * 1000)) >/dev/null || fail "the main window did not appear"
}

# sync: waits until the program is idle with nothing left to paint.
sync_program() {
    kill -0 "$APP_PID" 2>/dev/null || fail "the program has exited"
    probe sync $((TIMEOUT * 1000)) >/dev/null || fail "the program did not become idle"
}

# wait_exit: waits for the program to end and leaves its exit code in
# EXIT_STATUS. It must run in this shell, not in $(...): only the shell that
# started the program can collect its exit code.
wait_exit() {
    local _
    for _ in $(seq 1 $((TIMEOUT * 20))); do
        if ! kill -0 "$APP_PID" 2>/dev/null; then
            EXIT_STATUS=0
            wait "$APP_PID" || EXIT_STATUS=$?
            APP_PID=""
            return 0
        fi
        sleep 0.05
    done
    fail "the program did not end"
}

# menu LETTER...: Alt with the first letter opens a menu of the bar, the
# other letters pick items inside it by their mnemonics; each letter but the
# last opens a menu, and the next is typed once that menu is on screen.
menu() {
    xdotool key "alt+$1"
    shift
    local letter open=1
    for letter in "$@"; do
        probe menus "$open" $((TIMEOUT * 1000)) >/dev/null || fail "menu $open did not open before \"$letter\""
        xdotool key "$letter"
        open=$((open + 1))
    done
}

# wait_dialog TITLE: waits until a dialog with that title is open.
wait_dialog() {
    local _
    for _ in $(seq 1 $((TIMEOUT * 10))); do
        [ "$(probe dialog 2>/dev/null | head -1)" = "dialog $1" ] && return 0
        sleep 0.1
    done
    fail "no dialog \"$1\" opened"
}

# wait_no_dialog: waits until no dialog is open and the program is idle.
wait_no_dialog() {
    local _
    for _ in $(seq 1 $((TIMEOUT * 10))); do
        if ! probe dialog >/dev/null 2>&1; then
            sync_program
            return 0
        fi
        sleep 0.1
    done
    fail "the dialog did not close"
}

# picture_area: for expect_picture (../view_model.sh): waits until the
# program is idle and sets AREA to its client area (CX, CY, CW, CH). Wine
# shows a finished paint a moment later, so a few looks are allowed.
# shellcheck disable=SC2034  # read by expect_picture
picture_area() {
    sync_program
    AREA="$CX $CY $CW $CH"
    PICTURE_LOOKS=20
}
