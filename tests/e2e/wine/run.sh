#!/usr/bin/env bash
# End-to-end test of quimbar.exe under Wine: the program on its own Xvfb
# display inside a Wine virtual desktop, driven by xdotool like a person
# would (menus by their mnemonics, keys, dialogs), judged by screenshots,
# by what quimbar-probe reads from its windows, by its standard output and
# by its exit code.
#
#   run.sh --exe QUIMBAR.EXE --probe QUIMBAR-PROBE.EXE --render QUIMBAR-RENDER --work DIR
#
# Every picture on screen is compared with quimbar-render's raster for the
# view the program must show (tests/e2e/view_model.sh): no pixel may differ,
# except in the trigonometric family, whose sin and cos come from the
# Windows runtime here and from glibc in quimbar-render; there fewer than
# 0.5 % may differ, and the share is reported. Where the hints of the
# "Bearbeiten" menu start is written to DIR/menu-hints.txt (hint_columns in
# ../menu_probe.sh), for the comparison with the Linux build. On failure the
# screenshots and logs stay in DIR/failure. Exit status 77: a needed tool is
# missing.
set -uo pipefail

EXE="" PROBE="" RENDER="" WORK=""
while [ $# -gt 0 ]; do
    case $1 in
    --exe) EXE=$2 ;;
    --probe) PROBE=$2 ;;
    --render) RENDER=$2 ;;
    --work) WORK=$2 ;;
    *) echo "usage: run.sh --exe EXE --probe PROBE --render RENDER --work DIR" >&2 && exit 2 ;;
    esac
    shift 2
done
[ -n "$EXE" ] && [ -n "$PROBE" ] && [ -n "$WORK" ] || { echo "run.sh: --exe, --probe and --work are needed" >&2 && exit 2; }
[ -x "$RENDER" ] || { echo "run.sh: quimbar-render of a Linux build is needed (--render, got '$RENDER')" >&2 && exit 2; }
mkdir -p "$WORK"
WORK=$(cd "$WORK" && pwd)  # Wine needs an absolute prefix path
FAILURE_DIR=$WORK/failure
rm -rf "$FAILURE_DIR"
rm -f "$WORK"/*.png "$WORK"/*.log "$WORK/menu-hints.txt" "$WORK/dialog-placement.txt"

HERE=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source=wine_lib.sh
source "$HERE/wine_lib.sh"
# shellcheck source=../view_model.sh
source "$HERE/../view_model.sh"
# shellcheck source=../menu_probe.sh
source "$HERE/../menu_probe.sh"
# shellcheck source=../text_fit.sh
source "$HERE/../text_fit.sh"
MENU_BAR_HEIGHT=19
wine_tools_present || exit 77
trap wine_cleanup EXIT

# expect_dialog TITLE LINE...: the open dialog has that title and its
# description (quimbar-probe dialog) holds every LINE.
expect_dialog() {
    local title=$1 line description
    shift
    wait_dialog "$title"
    description=$(probe dialog) || fail "cannot describe the dialog"
    for line in "$@"; do
        grep -qxE -- "$line" <<<"$description" || fail "dialog $title: no line matching '$line' in:
$description"
    done
}

# field_texts ID...: the texts of the open dialog's fields, one per line.
field_texts() {
    local id
    for id in "$@"; do probe gettext "$id" || fail "cannot read field $id"; done
}

# record_placement NAME: the open dialog's client area relative to the main
# window's client area, checked to be (0, 0) (the templates sit there) and
# recorded in WORK/dialog-placement.txt as "NAME DX DY W H" for the
# cross-check with the Linux build.
record_placement() {
    local name=$1 x y w h
    read -r _ x y w h < <(probe dialog | grep '^client ')
    [ -n "$h" ] || fail "no client area for the $name dialog"
    echo "$name $((x - CX)) $((y - CY)) $w $h" >>"$WORK/dialog-placement.txt"
    [ "$((x - CX)) $((y - CY))" = "0 0" ] ||
        fail "$name dialog: client area at ($((x - CX)), $((y - CY))) of the main client area, expected (0, 0)"
    echo "ok: $name dialog's client area (${w}x${h}) at the main client area's corner"
}

# menu_state NAME: reads the menu (menu_look: LIT, COVER, ROW) in Wine's
# highlight colour, with the raster of the view in $WORK/view-expected.ppm.
menu_state() { menu_look "$1" "$CX" "$CY" "$CW" "$CH" "#3096FA" "$WORK/view-expected.ppm"; }

# expect_menu NAME CONDITION DESCRIPTION: await_look (../menu_probe.sh).
expect_menu() {
    await_look "$@"
    echo "ok: $1: $3"
}

# statics NAME POINTS STRICT: the open dialog's static texts measured in its
# font (quimbar-probe statics) against their controls (static_fit); the
# probe's font must have the dialog's base unit (client width WIDTH_DLU).
statics() {
    local name=$1 points=$2 strict=$3 dlu=$4 base client
    probe statics "$points" >"$WORK/statics.txt" || fail "cannot measure the $name dialog's texts"
    read -r _ base <"$WORK/statics.txt"
    read -r _ _ _ client _ < <(probe dialog | grep '^client ')
    [ $(((dlu * base + 2) / 4)) = "$client" ] ||
        fail "the probe's font (base unit $base) is not the $name dialog's ($client pixels for $dlu units)"
    echo "The $name dialog's texts:"
    static_fit "$strict" <"$WORK/statics.txt" || fail "a text of the $name dialog does not fit its control with room to spare"
}

# keys_taken: waits until the program has taken every key typed before:
# Alt+B after them opens the "Bearbeiten" menu (keys are taken in order),
# and the program is idle with it open.
keys_taken() {
    xdotool key alt+b
    probe menus 1 $((TIMEOUT * 1000)) >/dev/null || fail "the \"Bearbeiten\" menu did not open after the keys"
    sync_program
}

# close_menu: Escape twice closes the menu keys_taken opened and leaves menu
# mode; waits until the program has repainted what the menu covered.
close_menu() {
    xdotool key Escape Escape
    sync_program
}

# trace_size: bytes the program has written to its standard output so far.
trace_size() { stat -c %s "$WORK/trace.log"; }

# ---- Set-up -------------------------------------------------------------------

STEP=setup
prefix_seconds=$(wine_prefix) || exit 1
echo "Wine prefix: $WINEPREFIX (set-up took ${prefix_seconds} s)"
wine_display

# ---- First run: standard output to a file --------------------------------------

STEP=startup  # title, place, size, and the start-up picture
start_program "$WORK/trace.log"
geometry=$(probe geometry) || fail "no geometry"
grep -qx "title Quimbar" <<<"$geometry" || fail "title: $geometry"
grep -qx "window 250 150 500 500" <<<"$geometry" || fail "the window is not at (250, 150) with outer size 500 x 500: $geometry"
read -r _ CX CY CW CH < <(grep '^client' <<<"$geometry")
echo "ok: window \"Quimbar\" at (250, 150), outer 500 x 500, client ${CW} x ${CH} at ($CX, $CY)"
expect_picture startup
# The same pixels read back with GetPixel through the window's own DC.
probe pixels 0 0 "$CW" "$CH" "$WORK/getpixel.ppm" >/dev/null || fail "GetPixel read failed"
view_expected "$WORK/startup" || fail "quimbar-render $(view_render_args) failed"
differing=$(convert "$WORK/getpixel.ppm" \( "$WORK/startup-expected.ppm" -crop "${CW}x${CH}+0+0" +repage \) \
    -metric AE -compare -format "%[distortion]" info: 2>&1)
[ "$differing" = 0 ] || fail "GetPixel: $differing pixels differ from quimbar-render"
echo "ok: GetPixel of the client area equals quimbar-render too"
rm -f "$WORK/getpixel.ppm" "$WORK"/startup-expected.*
[ "$(trace_size)" = 0 ] || fail "the quadratic family wrote to standard output"

STEP=menu-hints  # Alt+B: where the hints of "Bearbeiten" start; Escape twice closes it
view_expected "$WORK/view" || fail "quimbar-render $(view_render_args) failed"
xdotool key alt+b
probe menus 1 $((TIMEOUT * 1000)) >/dev/null || fail "the \"Bearbeiten\" menu did not open"
# Read once the menu is drawn: six lines of text with hints.
box=""
for _ in $(seq 1 40); do
    menu_state hints
    box=$COVER
    [ "$box" = none ] && sleep 0.1 && continue
    read -r mx my mw mh <<<"$box"
    hint_columns "$WORK/hints-screen.png" $((CX + mx + 3)) $((CY + my + 3)) $((mw - 6)) $((mh - 6)) "$CX" \
        >"$WORK/menu-hints.txt"
    [ "$(wc -l <"$WORK/menu-hints.txt")" = 6 ] && break
    sleep 0.1
done
[ "$(wc -l <"$WORK/menu-hints.txt")" = 6 ] ||
    fail "hints of \"Bearbeiten\" (covered: $box): $(cat "$WORK/menu-hints.txt" 2>/dev/null)"
xdotool key Escape Escape
sync_program
echo "ok: the hints of \"Bearbeiten\" start at x = $(awk '{ printf "%s ", $4 }' "$WORK/menu-hints.txt")in the client area"
rm -f "$WORK"/hints-*.png

STEP=menu-mouse  # the pointer in bar mode, right and middle clicks, press-drag-off-release, Space
bar_y=$((CY - MENU_BAR_HEIGHT / 2)) away_x=$((CX + 400)) away_y=$((CY + 400))
# (Wine highlights a title from the bar's second row: its box is "0 1 W H".)
xdotool mousemove "$away_x" "$away_y" key F10
expect_menu bar-mode '[[ $COVER == none && $LIT == "0 "* ]]' '"Datei" highlighted, no menu open'
read -r _ _ datei_width _ <<<"$LIT"
xdotool mousemove $((CX + datei_width + 12)) "$bar_y"
expect_menu hover '[[ $LIT != none && $LIT != "0 "* && $COVER != none && $ROW == none ]]' \
    'the pointer over "Zeichnung" in bar mode: its menu drops down, no item highlighted'
read -r zx zy _ _ <<<"$COVER"
xdotool mousemove $((CX + 10)) "$bar_y"  # Wine takes the pointer's latest place only: one move at a time
expect_menu hover-datei '[[ $LIT == "0 "* && $COVER == "0 0 "* ]]' 'the pointer over "Datei": its menu drops down'
xdotool mousemove $((CX + 20)) $((CY + 11)) click 3 click 2
expect_menu right-click '[[ $LIT == "0 "* && $COVER != none && $ROW != none ]]' \
    'right and middle click on "Beenden": it is highlighted only'
xdotool mousemove "$away_x" "$away_y" key Escape Escape
expect_menu right-click-escape '[[ $COVER == none && $LIT == none ]]' 'Escape twice left menu mode'
xdotool mousemove $((CX + datei_width + 12)) "$bar_y" click 3 click 2 mousemove "$away_x" "$away_y" key F10
expect_menu title-right-click '[[ $COVER == none && $LIT == "0 "* ]]' \
    'right and middle click on "Zeichnung" opened nothing (F10 after them highlights "Datei")'
xdotool key Escape
xdotool mousemove $((CX + datei_width + 12)) "$bar_y" mousedown 1 mousemove $((CX + zx + 20)) $((CY + zy + 11)) \
    mousemove "$away_x" "$away_y" mouseup 1 key F10
expect_menu drag-off '[[ $COVER == none && $LIT == "0 "* ]]' \
    'a press on a title released off the menus closed them and chose nothing'
xdotool key Right space
expect_menu space-open '[[ $LIT != none && $LIT != "0 "* && $COVER != none && $ROW != none ]]' \
    'Space opened "Zeichnung", its first item highlighted'
xdotool key space
view_command 204
expect_picture space-mandelbrot
[ "$(probe geometry | head -1)" = "title Quimbar" ] || fail "the program is gone"
rm -f "$WORK"/view-* "$WORK"/{bar-mode,hover,right-click,right-click-escape,title-right-click,drag-off,space-open}-*.png

STEP=mandelbrot  # Zeichnung > Mandelbrot
menu z m
view_command 204
expect_picture mandelbrot

STEP=zoom-menu  # Bearbeiten > vergrößern / verkleinern > x2, x3, x5
menu b g 2 && view_command 51684 && expect_picture vergroessern-2
menu b g 3 && view_command 51688 && expect_picture vergroessern-3
menu b g 5 && view_command 51691 && expect_picture vergroessern-5
menu b k 2 && view_command 51687 && expect_picture verkleinern-2
menu b k 3 && view_command 51689 && expect_picture verkleinern-3
menu b k 5 && view_command 51690 && expect_picture verkleinern-5

STEP=move-menu  # Bearbeiten > nach links / rechts / oben / unten verschieben
menu b l && view_command 51685 && expect_picture links
menu b o && view_command 51683 && expect_picture oben
menu b r && menu b r && view_command 51686 && view_command 51686 && expect_picture rechts-2
menu b u && view_command 51692 && expect_picture unten

STEP=keys  # keypad plus twice, then the left arrow: zoom 4, moved by 0.125
menu z m && view_command 204 && expect_picture mandelbrot-again
xdotool key KP_Add && sleep 0.2 && xdotool key KP_Add && sleep 0.2 && xdotool key Left
view_key 107 && view_key 107 && view_key 37
[ "$VIEW_ZOOM" = 4 ] && [ "$VIEW_LINKS" = -0.125 ] || fail "the model computes zoom $VIEW_ZOOM, links $VIEW_LINKS"
expect_picture plus-plus-left
xdotool key Right Up Down KP_Subtract && view_key 39 && view_key 38 && view_key 40 && view_key 109
expect_picture right-up-down-minus

# The 20-character texts set below read as 0 when cut to 14 characters, and
# as a different number at every other length.
STEP=julia-dialog  # JuliaMenge: texts, focus, Tab Tab and typing, a cut text, Enter
menu z j
view_command 205
expect_dialog WerteEingabe "control 1 Button .* OK" "control 2 Button .* Abbruch" \
    "control 101 Edit .* 0\.313" "control 102 Edit .* 0\.4172" \
    "control -1 Static .* Realteil" "control -1 Static .* Imaginärteil" "focus 1"
statics parameter 8 report 265
# The dialog manager's arrows: Up from OK to the last static, Down back, on
# to Abbruch and field 101 (selected); there Up and Down move the caret.
xdotool key Up
expect_dialog WerteEingabe "focus -1"
xdotool key Down Down
expect_dialog WerteEingabe "focus 2"
xdotool key Down
expect_dialog WerteEingabe "focus 101" "selection 0 5"
xdotool type 0.285
xdotool key Up Up Down
expect_dialog WerteEingabe "focus 101" "selection 4 4"
probe settext 102 "00000000000000123456" >/dev/null || fail "WM_SETTEXT failed"
[ "$(field_texts 101 102)" = $'0.285\n00000000000000123456' ] || fail "fields hold: $(field_texts 101 102)"
xdotool key Return
view_params 0.285 "00000000000000123456"
wait_no_dialog
[ "$VIEW_B" = 0 ] || fail "the model reads the cut text as $VIEW_B"
expect_picture julia-typed-cut

STEP=julia-cancel  # JuliaMenge, typed, then Escape: the view resets, the parameters stay
menu b g 2 && view_command 51684 && expect_picture julia-zoomed
menu z j
view_command 205
wait_dialog WerteEingabe
xdotool key Tab Tab && xdotool type 0.5 && xdotool key Escape
wait_no_dialog
expect_picture julia-cancelled

STEP=letters  # keys without a command: no repaint (the trace would grow)
menu z s
view_command 206
expect_dialog WerteEingabe "control 101 Edit .* 0\.7" "control 102 Edit .* 0\.8" "focus 1" \
    "control -1 Static .* Realteil" "control -1 Static .* Imaginärteil"
xdotool key Return
view_params 0.7 0.8
wait_no_dialog
expect_picture sin trig
size=$(trace_size)
[ "$size" -gt 0 ] || fail "the trigonometric family wrote nothing to standard output"
xdotool key a x q Escape space Return
keys_taken
[ "$(trace_size)" = "$size" ] || fail "a letter key made the program paint again"
close_menu
size=$(trace_size)
echo "ok: letters, Escape, space and Enter change nothing and cause no paint"

STEP=alt-q  # Alt+Q is only a hint in the menu: the program goes on
xdotool key alt+q
keys_taken
probe dialog >/dev/null 2>&1 && fail "Alt+Q opened something"
[ "$(trace_size)" = "$size" ] || fail "Alt+Q made the program paint"
close_menu
echo "ok: Alt+Q does nothing"

STEP=cos-cancel  # JuliaCos, Escape: the cosine with the previous parameters, zoom 0.333
menu z c
view_command 208
wait_dialog WerteEingabe
xdotool key Escape
wait_no_dialog
expect_picture cos-cancelled trig

STEP=command-209  # no menu item: the exchanged sine at zoom 1, dialog IDD_INFO, typed, a cut text
probe command 12345 >/dev/null || fail "cannot post command 12345"  # unknown: nothing happens
probe command 209 >/dev/null || fail "cannot post command 209"
view_command 209
expect_dialog WerteEingabe "control 101 Edit .* 0\.7" "control 102 Edit .* 0\.8" "focus 1"
xdotool key Tab Tab Tab
expect_dialog WerteEingabe "focus 102" "selection 0 3"
xdotool type 0.9
probe settext 101 "00000000000000523456" >/dev/null || fail "WM_SETTEXT failed"
xdotool key Return
view_params "00000000000000523456" 0.9
wait_no_dialog
expect_picture sinx-typed-cut trig

STEP=cubic-dialog  # JuliaKub: four fields, OK with the template texts
menu z k
view_command 51682
expect_dialog WerteEingabe "control 101 Edit .* 0" "control 102 Edit .* 0" \
    "control 103 Edit .* -0\.574" "control 104 Edit .* 0\.271" \
    "control -1 Static .* Realteil1" "control -1 Static .* Imaginärteil1" \
    "control -1 Static .* Realteil2" "control -1 Static .* Imaginärteil2" "focus 1"
statics cubic 8 report 265
record_placement kubisch
import -window root "$WORK/dialog-kubisch-wine.png"
xdotool key Return
view_params 0 0 -0.574 0.271
wait_no_dialog
expect_picture cubic-defaults

STEP=cubic-typed  # JuliaKub: Tab into each field and type, a cut text, Enter
menu z k
view_command 51682
wait_dialog WerteEingabe
xdotool key Tab Tab && xdotool type 0.1
xdotool key Tab && xdotool type 0.05
xdotool key Tab && xdotool type -- -0.5
probe settext 104 "00000000000000271828" >/dev/null || fail "WM_SETTEXT failed"
expect_dialog WerteEingabe "focus 103"
[ "$(field_texts 101 102 103)" = $'0.1\n0.05\n-0.5' ] || fail "fields hold: $(field_texts 101 102 103)"
xdotool key Return
view_params 0.1 0.05 -0.5 "00000000000000271828"
wait_no_dialog
expect_picture cubic-typed-cut

STEP=cubic-cancel  # JuliaKub, typed, Escape: all four parameters stay
menu z k
view_command 51682
wait_dialog WerteEingabe
xdotool key Tab Tab && xdotool type 9 && xdotool key Tab && xdotool type 9 && xdotool key Escape
wait_no_dialog
expect_picture cubic-cancelled

STEP=grammar  # texts only the decimal grammar reads: hexadecimal floats, "inf" and "nan" are no numbers
menu z k
view_command 51682
wait_dialog WerteEingabe
{ probe settext 101 "0x1p3" && probe settext 102 " -2.5e-1z" && probe settext 103 "inf"; } >/dev/null ||
    fail "WM_SETTEXT failed"
xdotool key Return
view_params 0x1p3 " -2.5e-1z" inf 0.271
wait_no_dialog
expect_picture cubic-grammar
menu z j
view_command 205
wait_dialog WerteEingabe
{ probe settext 101 "1e5x" && probe settext 102 "nan"; } >/dev/null || fail "WM_SETTEXT failed"
xdotool key Return
view_params 1e5x nan
wait_no_dialog
expect_picture julia-grammar

STEP=info  # the Info box: its texts; closed by its OK button and by Escape
menu i i
expect_dialog Info "control 1 Button .* OK" "control -1 Static .* Version 1\.2, Nov 2002" "focus 1"
statics Info 10 strict 119
record_placement info
read -r _ _ _ bx by bw bh _ < <(probe dialog | grep '^control 1 ')
xdotool mousemove $((bx + bw / 2)) $((by + bh / 2)) click 1
xdotool mousemove 900 700
wait_no_dialog
expect_picture after-info-ok
menu i i
wait_dialog Info
xdotool key Escape
wait_no_dialog
expect_picture after-info-escape

STEP=beenden  # Datei > Beenden: the program ends with exit code 0
menu d e
wait_exit
status=$EXIT_STATUS
[ "$status" = 0 ] || fail "exit code $status after Beenden, expected 0"
echo "ok: Beenden ends the program with exit code 0"

STEP=trace  # the whole trace: "farbe=" records only, 250,500 per paint of the family
records=$(grep -o 'farbe=' "$WORK/trace.log" | wc -l)
leftover=$(sed 's/farbe=[0-9]*//g' "$WORK/trace.log" | wc -c)
[ "$leftover" = 0 ] || fail "the trace holds $leftover bytes that are no records"
[ "$records" -ge $((3 * 250500)) ] && [ $((records % 250500)) = 0 ] ||
    fail "the trace holds $records records, not a multiple of 250,500 (three paints at least)"
echo "ok: the redirected standard output holds $records records, $((records / 250500)) paints of 250,500 pixels"
rm -f "$WORK/trace.log"

# ---- Second run: nothing connected to standard output ----------------------------

STEP=no-stdout  # the trace goes nowhere; the program works and ends by its close box
start_program -
VIEW_FAMILY=julia VIEW_A=0.36 VIEW_B=0.46 VIEW_A2=0 VIEW_B2=0
view_command 205
expect_picture second-startup
probe command 209 >/dev/null || fail "cannot post command 209"
view_command 209
wait_dialog WerteEingabe
xdotool key Return
view_params 0.7 0.8
wait_no_dialog
expect_picture second-sinx trig
read -r _ wx wy ww _ < <(probe geometry | grep '^window')
xdotool mousemove $((wx + ww - 15)) $((wy + 12)) click 1
wait_exit
status=$EXIT_STATUS
[ "$status" = 0 ] || fail "exit code $status after the close box, expected 0"
echo "ok: without standard output the trigonometric family paints; the close box ends with exit code 0"

echo "PASS"
