#!/usr/bin/env bash
# End-to-end test of the FLTK build's modal dialogs: the real viewer on its
# own Xvfb display with openbox, driven by xdotool, judged by screenshots
# against quimbar-render, by window geometry and by its paint count.
#
#   fltk_dialogs_e2e.sh QUIMBAR QUIMBAR_RENDER QUIMBAR_SEND QUIMBAR_TEXT_WIDTHS [FAILURE_DIR] [RECORD_DIR]
#
# - The static texts against their controls in the dialog font
#   (quimbar-text-widths): the Info box's leave a tenth free; the parameter
#   dialogs' are reported.
# - Placement: the client areas of the cubic parameter dialog and of the Info
#   dialog open at the main window's client-area corner (their templates sit
#   at (0, 0)); frame and caption reach up over the menu bar. The offsets go
#   to RECORD_DIR/dialog-placement.txt for the cross-check with the Win32
#   build under Wine, with a screenshot of the open cubic dialog.
# - Iconified through the dialog's own frame, dialog and main window go
#   together and come back together, and the dialog still answers; iconified
#   alone, or left for the main window by the focus or a click, it comes back
#   raised and focused.
# - Enter on the focused "Abbruch" button cancels: the typed text is not read.
# - The arrow keys in the parameter dialog, as Win32's dialog manager takes
#   them: through the controls (statics too) in template order; in a field
#   they move the caret.
# - Command 209 from another program (quimbar-send; an unknown id first):
#   the exchanged sine at zoom 1.
# - The Info dialog closes by its close box, Enter and Space.
# Every step before the recovery costs exactly one paint. Exit
# status 77 means a needed tool is missing (the test is skipped).
set -uo pipefail

usage="usage: fltk_dialogs_e2e.sh QUIMBAR QUIMBAR_RENDER QUIMBAR_SEND QUIMBAR_TEXT_WIDTHS [FAILURE_DIR] [RECORD_DIR]"
QUIMBAR=${1:?$usage}
RENDER=${2:?$usage}
SEND=${3:?$usage}
TEXT_WIDTHS=${4:?$usage}
FAILURE_DIR=${5:-$PWD/fltk-dialogs-e2e-failure}
RECORD_DIR=${6:-}

HERE=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source=lib.sh
source "$HERE/lib.sh"
# shellcheck source=view_model.sh
source "$HERE/view_model.sh"
# shellcheck source=text_fit.sh
source "$HERE/text_fit.sh"

# open_dialog TITLE KEY...: presses the keys (one xdotool call each) and sets
# DIALOG to the dialog window that opens.
open_dialog() {
    local title=$1 key
    shift
    for key in "$@"; do xdotool key "$key"; done
    DIALOG=$(xdotool search --sync --onlyvisible --name "^$title\$" | head -1)
    [ -n "$DIALOG" ] || fail "the dialog \"$title\" did not open"
}

# wait_closed: waits until DIALOG is no longer on screen.
wait_closed() {
    local _
    for _ in $(seq 1 $((TIMEOUT * 20))); do
        xwininfo -id "$DIALOG" 2>/dev/null | grep -q "IsViewable" || return 0
        sleep 0.05
    done
    fail "the dialog did not close"
}

# map_state WINDOW: IsViewable, IsUnMapped or IsUnviewable.
map_state() { xwininfo -id "$1" 2>/dev/null | sed -n 's/.*Map State: *//p'; }

# wait_map_state WINDOW STATE
wait_map_state() {
    local _
    for _ in $(seq 1 $((TIMEOUT * 20))); do
        [ "$(map_state "$1")" = "$2" ] && return 0
        sleep 0.05
    done
    fail "window $1 is $(map_state "$1"), expected $2"
}

# wait_focus WINDOW WHEN: waits until WINDOW has the keyboard focus.
wait_focus() {
    local _
    for _ in $(seq 1 $((TIMEOUT * 20))); do
        [ "$(xdotool getwindowfocus)" = "$1" ] && return 0
        sleep 0.05
    done
    fail "$2: the focus is on $(xdotool getwindowfocus getwindowname), not on window $1"
}

# record_placement NAME: the dialog's client area relative to the main
# window's client area, checked to be (0, 0) and recorded as "NAME DX DY W H".
record_placement() {
    local name=$1 x y w h cx cy
    read -r x y w h < <(window_geometry "$DIALOG")
    read -r cx cy _ _ < <(client_geometry)
    [ "$((x - cx)) $((y - cy))" = "0 0" ] ||
        fail "$name dialog: client area at ($((x - cx)), $((y - cy))) of the main client area, expected (0, 0)"
    echo "ok: $name dialog's client area (${w}x${h}) at the main client area's corner"
    [ -n "$RECORD_DIR" ] && echo "$name $((x - cx)) $((y - cy)) $w $h" >>"$RECORD_DIR/dialog-placement.txt"
    return 0
}

# ---- The run ---------------------------------------------------------------------

if [ -n "$RECORD_DIR" ]; then
    mkdir -p "$RECORD_DIR"
    rm -f "$RECORD_DIR/dialog-placement.txt" "$RECORD_DIR/dialog-kubisch-linux.png"
fi
start_display
STEP=1  # start-up; the static texts against their controls
start_viewer "$QUIMBAR"
"$TEXT_WIDTHS" >"$WORK/text-widths.txt" || fail "quimbar-text-widths failed"
echo "The Info box's texts (each must leave a tenth of its control free):"
awk '/^dialog/ { info = ($2 == 103) } info' "$WORK/text-widths.txt" | static_fit strict ||
    fail "a text of the Info box does not fit its control with room to spare"
echo "The parameter dialogs' texts:"
awk '/^dialog/ { info = ($2 == 103) } !info' "$WORK/text-widths.txt" | static_fit report
wait_paints 1

STEP=2  # "JuliaKub...": where the dialog opens; its frame extends over the menu bar
open_dialog WerteEingabe alt+z k
view_command 51682
record_placement kubisch
read -r _ _ frame_top _ < <(xprop -id "$DIALOG" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
[ "$frame_top" -gt 0 ] || fail "the dialog has no caption: frame extents $frame_top"
[ -n "$RECORD_DIR" ] && import -window root "$RECORD_DIR/dialog-kubisch-linux.png"

STEP=3  # minimised by the dialog's frame: both go, both come back, the dialog answers
xdotool windowminimize "$DIALOG"
wait_map_state "$DIALOG" IsUnMapped
wait_map_state "$MAIN" IsUnMapped
xdotool windowactivate "$MAIN"
wait_map_state "$MAIN" IsViewable
wait_map_state "$DIALOG" IsViewable
wait_paints 2  # the restored main window is exposed
echo "ok: minimised and restored together"

STEP=4  # Tab Tab into field 101, type, Shift+Tab back to Abbruch, Enter: cancelled
xdotool key Tab Tab
xdotool type 0.5
xdotool key shift+Tab
xdotool key Return
wait_closed
wait_paints 3
expect_picture cubic-cancelled-by-enter

STEP=5  # arrows: OK, Up to the last static, Down back to OK, on to Abbruch and field 101 (selected, typed
# over); there Up and Down move the caret as Left and Right do; Enter is OK
open_dialog WerteEingabe alt+z j
view_command 205
xdotool key Up Down Down Down
xdotool type 0.25
xdotool key Up
xdotool type 1
xdotool key Down
xdotool type 9
xdotool key Return
view_params 0.2159 0.4172
wait_closed
wait_paints 4
expect_picture arrows-typed

STEP=6  # Info: where it opens; closed by its close box
open_dialog Info alt+i i
record_placement info
# A modal frame: the window manager offers neither resizing nor maximising.
xprop -id "$DIALOG" _NET_WM_ALLOWED_ACTIONS | grep -qE "_NET_WM_ACTION_(RESIZE|MAXIMIZE)" &&
    fail "Info dialog $(xprop -id "$DIALOG" _NET_WM_ALLOWED_ACTIONS)"
read -r _ frame_right frame_top _ < <(xprop -id "$DIALOG" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
read -r dx dy dw _ < <(window_geometry "$DIALOG")
xdotool mousemove $((dx + dw + frame_right - 10)) $((dy - frame_top / 2)) click 1
xdotool mousemove 1200 1000
wait_closed
wait_paints 5
echo "ok: the close box closes the Info dialog"

STEP=7  # Info closed by Enter, then by Space (the focused OK button)
open_dialog Info alt+i i
xdotool key Return
wait_closed
wait_paints 6
open_dialog Info alt+i i
xdotool key space
wait_closed
wait_paints 7
expect_picture after-info
echo "ok: Enter and Space close the Info dialog"

STEP=8  # command 209 from another program, after an unknown one: the exchanged sine, zoom 1
"$SEND" 12345 || fail "quimbar-send 12345 failed"
"$SEND" 209 || fail "quimbar-send 209 failed"
DIALOG=$(xdotool search --sync --onlyvisible --name '^WerteEingabe$' | head -1)
xdotool key Return
view_command 209
view_params 0.7 0.8
wait_closed
wait_paints 8
expect_picture exchanged-sine

STEP=9  # the Info dialog: the disabled main window, activated or clicked, brings its dialog back raised and focused
open_dialog Info alt+i i
# Without its transient hint openbox minimises the dialog alone, as window
# managers do that keep no dialog with its owner: the main window stays, and
# the focus openbox hands it passes on to the dialog.
xprop -id "$DIALOG" -remove WM_TRANSIENT_FOR
xdotool windowminimize "$DIALOG"
wait_map_state "$DIALOG" IsViewable
[ "$(map_state "$MAIN")" = IsViewable ] || fail "the main window went with its dialog: $(map_state "$MAIN")"
wait_focus "$DIALOG" "after minimising the dialog alone"
xdotool windowfocus "$MAIN"
wait_focus "$DIALOG" "after the main window took the focus"
xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')"
read -r cx cy _ _ < <(client_geometry)
xdotool mousemove $((cx + 300)) $((cy + 300)) click 1 mousemove 1200 1000
wait_focus "$DIALOG" "after a click into the main window"
echo "ok: activating or clicking the main window brings its dialog back"
xdotool key Return
wait_closed

STEP=10  # Beenden: exit code 0
xdotool key alt+d
xdotool key e
wait_viewer_exit Beenden "$(paints)"
rm -rf "$FAILURE_DIR"
echo "PASS"
