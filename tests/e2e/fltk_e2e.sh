#!/usr/bin/env bash
# End-to-end test of the FLTK build: runs the real viewer on its own Xvfb
# display with openbox as window manager, drives it with xdotool like a
# person would, and judges it by screenshots of the whole screen and by its
# exit code.
#
#   fltk_e2e.sh QUIMBAR QUIMBAR_RENDER [FAILURE_DIR [HINTS_FILE]]
#
# Every picture on screen must equal quimbar-render's output for the same
# view, pixel for pixel, inside the visible client area, whether the viewer
# uploads it through MIT-SHM (as it must where Xvfb offers it) or, with
# QUIMBAR_NO_SHM=1 in a last short run, with fl_draw_image. Paints are awaited
# through the viewer's idle trace (QUIMBAR_TRACE_IDLE), never by sleeping;
# each step must cost exactly one paint. The menu is driven by keys and by
# the mouse (the pointer in bar mode, right and middle clicks, a press
# dragged off the menus, Space) and read off screenshots; a key whose effect
# is known (F10) follows the actions that must do nothing. On failure the screenshots and logs
# stay in FAILURE_DIR (default: ./fltk-e2e-failure). Where the hints of the
# "Bearbeiten" menu start is written to HINTS_FILE (see hint_columns in
# menu_probe.sh), for the comparison with the Win32 build. Exit status 77
# means a needed tool is missing (the test is skipped).
set -uo pipefail

QUIMBAR=${1:?usage: fltk_e2e.sh QUIMBAR QUIMBAR_RENDER [FAILURE_DIR]}
RENDER=${2:?usage: fltk_e2e.sh QUIMBAR QUIMBAR_RENDER [FAILURE_DIR]}
FAILURE_DIR=${3:-$PWD/fltk-e2e-failure}
HINTS_FILE=${4:-}

# shellcheck source=lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
# shellcheck source=menu_probe.sh
source "$(dirname "${BASH_SOURCE[0]}")/menu_probe.sh"
# shellcheck source=view_model.sh
source "$(dirname "${BASH_SOURCE[0]}")/view_model.sh"

# menu_state NAME: reads the menu (menu_look: LIT, COVER, ROW), with the
# raster of the view in $WORK/menu-expected.ppm (menu_view).
menu_state() {
    read -r cx cy cw ch < <(client_geometry)
    menu_look "$1" "$cx" "$cy" "$cw" "$ch" "#0A246A" "$WORK/menu-expected.ppm"
}

# menu_view: the picture menu_state compares with, that of the current view.
menu_view() { view_expected "$WORK/menu" || fail "quimbar-render $(view_render_args) failed"; }

# await_menu NAME CONDITION DESCRIPTION: await_look (menu_probe.sh); the
# viewer must not have painted meanwhile: no key reaches it in menu mode.
await_menu() {
    await_look "$@"
    [ "$(paints)" = "$PAINTS" ] || fail "$1: the viewer painted in menu mode ($(paints) paints, expected $PAINTS)"
    echo "ok: $1: $3"
}

# ---- The run ---------------------------------------------------------------------

start_display
STEP=1  # start-up: the quadratic Julia set for c = 0.36 + 0.46i
start_viewer "$QUIMBAR"
wait_paints 1
read -r cx cy cw ch < <(client_geometry)
[ "$cw" = 492 ] && [ "$ch" = 454 ] || fail "client area is ${cw}x${ch}, expected 492x454"
expect_picture startup
# Xvfb offers MIT-SHM: the picture must go through it here (the fallback is
# run at the end).
if [[ $(xdpyinfo -queryExtensions 2>/dev/null) == *MIT-SHM* ]]; then
    grep -q "^quimbar-trace: upload by MIT-SHM\$" "$LOG" ||
        fail "the display offers MIT-SHM, the viewer uploads $(grep '^quimbar-trace: upload' "$LOG" | tail -1)"
    echo "ok: uploads by MIT-SHM"
fi

STEP=2  # the menu by mnemonics: Alt+Z opens "Zeichnung", M picks "Mandelbrot"
xdotool key alt+z
xdotool key m
view_command 204
wait_paints 2
expect_picture mandelbrot

STEP=3  # "JuliaMenge...": two Tabs reach field 101, typing replaces its text, Enter is OK
xdotool key alt+z
xdotool key j
view_command 205
DIALOG=$(xdotool search --sync --onlyvisible --name '^WerteEingabe$' | head -1)
[ -n "$DIALOG" ] || fail "the parameter dialog did not open"
# Its frame as the window manager is told: a dialog, transient for the main
# window, that can be moved and closed (Motif functions 4 and 32) but not
# resized, minimised or maximised (neither "all" 1 nor 2, 8, 16).
xprop -id "$DIALOG" _NET_WM_WINDOW_TYPE | grep -q "= _NET_WM_WINDOW_TYPE_DIALOG\$" ||
    fail "dialog window type: $(xprop -id "$DIALOG" _NET_WM_WINDOW_TYPE)"
[ "$(xprop -id "$DIALOG" WM_TRANSIENT_FOR | sed 's/.*# //')" = "$(printf '0x%x' "$MAIN")" ] ||
    fail "dialog $(xprop -id "$DIALOG" WM_TRANSIENT_FOR), main window $(printf '0x%x' "$MAIN")"
read -r mwm_flags mwm_functions _ < <(xprop -id "$DIALOG" _MOTIF_WM_HINTS | sed 's/.*= //; s/,//g')
((mwm_flags & 1 && (mwm_functions & (4 | 32)) == 36 && (mwm_functions & (1 | 2 | 8 | 16)) == 0)) ||
    fail "dialog $(xprop -id "$DIALOG" _MOTIF_WM_HINTS)"
# openbox allows neither resizing nor maximising.
xprop -id "$DIALOG" _NET_WM_ALLOWED_ACTIONS | grep -qE "_NET_WM_ACTION_(RESIZE|MAXIMIZE)" &&
    fail "dialog $(xprop -id "$DIALOG" _NET_WM_ALLOWED_ACTIONS)"
echo "ok: dialog frame hints"
xdotool key Tab Tab
xdotool type 0.25
# The main window takes no keys while its dialog is open.
xdotool key KP_Add
xdotool key Return
view_params 0.25 0.4172
wait_paints 3
expect_picture julia-typed

STEP=4  # a key release: keypad plus zooms by 2
xdotool key KP_Add
view_key 107
wait_paints 4
expect_picture zoom2

STEP=5  # iconified and restored: one paint of the whole raster, not two
xdotool windowminimize "$MAIN"
for _ in $(seq 1 $((TIMEOUT * 20))); do
    xwininfo -id "$MAIN" | grep -q "IsViewable" || break
    sleep 0.05
done
xdotool windowactivate "$MAIN"
wait_paints 5
expect_picture restored

STEP=6  # keys that do nothing: a letter, Escape (closes nothing), Alt+Q (only a hint); step 7 finds no
xdotool key a Escape alt+q  # paint since and the menu untouched, and the total counts every paint

STEP=7  # F10: "Datei" highlighted, no menu open; arrows walk the menu, not the view; Escape goes back one level
PAINTS=5
menu_view
read -r cx cy cw ch < <(client_geometry)
xdotool key F10
await_menu f10 '[[ $COVER == none && $LIT == "0 0 "* ]]' '"Datei" highlighted, no menu open'
read -r _ _ datei_width _ <<<"$LIT"
xdotool key Right Right Down
await_menu bearbeiten '[[ $COVER != none && $LIT != "0 0 "* && $LIT != none ]] && read -r mx my mw mh <<<"$COVER" &&
    read -r rx ry rw rh <<<"$ROW" && ((rx == mx + 3 && ry == my + 3 && rh == 17))' \
    'the "Bearbeiten" menu open below its title, its first item highlighted'
menu_box=$COVER
read -r mx my mw mh <<<"$COVER"
# Its hints: one column right of the widest label, the blank of " -" visible.
hint_columns "$WORK/bearbeiten-screen.png" $((cx + mx + 3)) $((cy + my + 3)) $((mw - 6)) $((mh - 6)) "$cx" >"$WORK/hints.txt"
[ -n "$HINTS_FILE" ] && cp "$WORK/hints.txt" "$HINTS_FILE"
awk 'NR == 1 { plus = $4 } $2 == 2 { minus = $4 } { if ($3 > widest) widest = $3; hint[$2] = $4 }
     END {
         if (NR != 6) exit 1
         for (r in hint) {
             if (hint[r] <= widest) exit 1
             if (r != 2 && (hint[r] - plus > 1 || plus - hint[r] > 1)) exit 1
         }
         if (minus < plus + 2) exit 1
     }' "$WORK/hints.txt" || fail "hints of \"Bearbeiten\" (row, label end, hint start): $(cat "$WORK/hints.txt")"
echo "ok: the hints of \"Bearbeiten\" start in one column right of the labels, \" -\" with its blank"
xdotool key Right
await_menu submenu '[[ $COVER != "$menu_box" ]] && read -r _ _ sw _ <<<"$COVER" && ((sw > mw))' \
    'the submenu of "vergrößern" open beside the menu'
xdotool key Escape
await_menu escape-submenu '[[ $COVER == "$menu_box" ]]' 'Escape closed only the submenu'
xdotool key Escape
await_menu escape-menu '[[ $COVER == none && $LIT != none && $LIT != "0 0 "* ]]' \
    'Escape closed the menu, "Bearbeiten" stays highlighted'
xdotool key Escape
await_menu escape-bar '[[ $COVER == none && $LIT == none ]]' 'Escape left menu mode'
xdotool key Right
view_key 39
wait_paints 6
expect_picture pan-after-menu

STEP=8  # a lone Alt: "Datei" highlighted; Down opens it with its first item highlighted; Escape twice leaves
PAINTS=6
menu_view
xdotool key alt
await_menu alt '[[ $COVER == none && $LIT == "0 0 $datei_width "* ]]' '"Datei" highlighted, no menu open'
xdotool key Down
await_menu datei '[[ $COVER == "0 0 "* ]] && read -r mx my _ _ <<<"$COVER" && [[ $ROW == "$((mx + 3)) $((my + 3)) "* ]]' \
    'the "Datei" menu open, its first item highlighted'
xdotool key Escape Escape
await_menu alt-escape '[[ $COVER == none && $LIT == none ]]' 'Escape twice left menu mode'
xdotool key Left
view_key 37
wait_paints 7
expect_picture pan-after-alt

STEP=9  # the mouse in menu mode, as on Win32; the pointer rests far below the menus between the steps
PAINTS=7
read -r cx cy cw ch < <(client_geometry)
menu_view
bar_y=$((cy - MENU_BAR_HEIGHT / 2)) away_x=$((cx + 400)) away_y=$((cy + 400))
xdotool mousemove "$away_x" "$away_y" key F10
await_menu bar-mode '[[ $COVER == none && $LIT == "0 0 "* ]]' '"Datei" highlighted, no menu open'
xdotool mousemove $((cx + datei_width + 10)) "$bar_y"
await_menu hover '[[ $LIT == "$datei_width 0 "* && $COVER != none && $ROW == none ]]' \
    'the pointer over "Zeichnung" in bar mode: its menu drops down, no item highlighted'
read -r zx zy _ _ <<<"$COVER"
# Each move waits for what it shows: a loaded viewer may take a later place
# of the pointer for the earlier one.
xdotool mousemove $((cx + 10)) "$bar_y"
await_menu hover-datei '[[ $LIT == "0 0 "* && $COVER == "0 0 "* ]]' 'the pointer over "Datei": its menu drops down'
xdotool mousemove $((cx + 20)) $((cy + 11)) click 3 click 2
await_menu right-click '[[ $COVER == "0 0 "* && $ROW == "3 3 "* ]]' \
    'right and middle click on "Beenden": it is highlighted only, the viewer lives on'
xdotool mousemove "$away_x" "$away_y" key Escape Escape
await_menu right-click-escape '[[ $COVER == none && $LIT == none ]]' 'Escape twice left menu mode'
# Right and middle press on a title enter no menu mode: F10 after them enters it.
xdotool mousemove $((cx + datei_width + 10)) "$bar_y" click 3 click 2 mousemove "$away_x" "$away_y" key F10
await_menu title-right-click '[[ $COVER == none && $LIT == "0 0 "* ]]' \
    'right and middle click on "Zeichnung" opened nothing (F10 after them highlights "Datei")'
xdotool key Escape
await_menu title-right-click-escape '[[ $COVER == none && $LIT == none ]]' 'Escape left menu mode'
# Pressed on "Zeichnung", dragged over "Mandelbrot" and off, released: nothing
# chosen, menu mode over (F10 enters it anew).
xdotool mousemove $((cx + datei_width + 10)) "$bar_y" mousedown 1
await_menu press-title '[[ $LIT == "$datei_width 0 "* && $COVER == "$zx $zy "* ]]' 'a press on "Zeichnung" opened its menu'
xdotool mousemove $((cx + zx + 20)) $((cy + zy + 11))
await_menu drag-over '[[ $ROW == "$((zx + 3)) $((zy + 3)) "* ]]' 'dragged over "Mandelbrot": it is highlighted'
xdotool mousemove "$away_x" "$away_y" mouseup 1
await_menu drag-off-closed '[[ $COVER == none && $LIT == none ]]' 'released off the menus: closed, menu mode over'
xdotool key F10
await_menu drag-off '[[ $COVER == none && $LIT == "0 0 "* ]]' \
    'a press on a title released off the menus closed them and chose nothing'
# Space opens the highlighted title's menu with its first item highlighted, and chooses that item.
xdotool key Right space
await_menu space-open '[[ $LIT == "$datei_width 0 "* && $ROW == "$((zx + 3)) $((zy + 3)) "* ]]' \
    'Space opened "Zeichnung", its first item highlighted'
xdotool key space
view_command 204
wait_paints 8
expect_picture space-mandelbrot

STEP=10  # the close box ends the program with exit code 0
# The close box sits at the right end of openbox's title bar, above the window.
read -r _ right_extent top_extent _ < <(xprop -id "$MAIN" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
read -r cx cy cw ch < <(client_geometry)
close_x=$((cx + cw + right_extent - 10))
close_y=$((cy - MENU_BAR_HEIGHT - top_extent / 2))
xdotool mousemove "$close_x" "$close_y" click 1
wait_viewer_exit "the close box" 8

STEP=11  # QUIMBAR_NO_SHM=1: the fl_draw_image upload shows the same pixels
QUIMBAR_NO_SHM=1 start_viewer "$QUIMBAR"
wait_paints 1
grep -q "^quimbar-trace: upload by fl_draw_image\$" "$LOG" ||
    fail "with QUIMBAR_NO_SHM=1 the viewer uploads $(grep '^quimbar-trace: upload' "$LOG" | tail -1)"
VIEW_FAMILY=julia VIEW_A=0.36 VIEW_B=0.46 VIEW_ZOOM=1 VIEW_LINKS=0 VIEW_OBEN=0
expect_picture startup-no-shm
rm -rf "$FAILURE_DIR"
echo "PASS"
