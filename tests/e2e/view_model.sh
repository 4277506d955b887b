# The view the viewer must show after each command or key, kept beside the
# running program, and the one check of the screen against quimbar-render's
# raster for that view (expect_picture). Shared by the end-to-end scripts of
# both builds; source it, it defines functions and the variables below only.
#
# The arithmetic runs in awk, whose numbers are IEEE doubles: zoom, offsets
# and parsed parameters come out bit for bit as the program computes them
# (same operations in the same order), and are handed to quimbar-render as
# %.17g texts, which read back exactly.

# The view: family as quimbar-render names it, parameters, zoom, offsets.
VIEW_FAMILY=julia VIEW_A=0.36 VIEW_B=0.46 VIEW_A2=0 VIEW_B2=0
VIEW_ZOOM=1 VIEW_LINKS=0 VIEW_OBEN=0

view_calc() { awk "BEGIN { printf \"%.17g\", $1 }"; }

# view_parse TEXT: the number a parameter field's text reads as (the longest
# leading decimal number; none gives 0), after the field's text has been cut
# to 14 characters.
view_parse() {
    local text=${1:0:14}
    local number
    number=$(sed -E 's/^[[:space:]]*([+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?).*/\1/;t;s/.*/0/' <<<"$text")
    view_calc "$number"
}

# view_family FAMILY ZOOM: a family command's reset (before its dialog).
view_family() {
    VIEW_FAMILY=$1
    VIEW_ZOOM=$2
    VIEW_LINKS=0
    VIEW_OBEN=0
}

# view_params TEXT1 TEXT2 [TEXT3 TEXT4]: the dialog confirmed with these
# field texts.
view_params() {
    VIEW_A=$(view_parse "$1")
    VIEW_B=$(view_parse "$2")
    if [ $# -eq 4 ]; then
        VIEW_A2=$(view_parse "$3")
        VIEW_B2=$(view_parse "$4")
    fi
}

# view_command ID: what the command does to the view (family commands: the
# reset only; the dialog's outcome is view_params).
view_command() {
    local step
    step=$(view_calc "0.5 / $VIEW_ZOOM")
    case $1 in
    204) view_family mandel 1 ;;
    205) view_family julia 1 ;;
    206) view_family sin 0.333 ;;
    208) view_family cos 0.333 ;;
    209) view_family sinx 1 ;;
    51682) view_family cubic 1 ;;
    51684) VIEW_ZOOM=$(view_calc "$VIEW_ZOOM * 2") ;;
    51688) VIEW_ZOOM=$(view_calc "$VIEW_ZOOM * 3") ;;
    51691) VIEW_ZOOM=$(view_calc "$VIEW_ZOOM * 5") ;;
    51687) VIEW_ZOOM=$(view_calc "$VIEW_ZOOM * 0.5") ;;
    51689) VIEW_ZOOM=$(view_calc "$VIEW_ZOOM * (1 / 3)") ;;
    51690) VIEW_ZOOM=$(view_calc "$VIEW_ZOOM * 0.2") ;;
    51685) VIEW_LINKS=$(view_calc "$VIEW_LINKS - $step") ;;
    51686) VIEW_LINKS=$(view_calc "$VIEW_LINKS + $step") ;;
    51683) VIEW_OBEN=$(view_calc "$VIEW_OBEN - $step") ;;
    51692) VIEW_OBEN=$(view_calc "$VIEW_OBEN + $step") ;;
    esac
}

# view_key VK: a key release (Win32 virtual-key code).
view_key() {
    case $1 in
    37) view_command 51685 ;;
    38) view_command 51683 ;;
    39) view_command 51686 ;;
    40) view_command 51692 ;;
    107) view_command 51684 ;;
    109) view_command 51687 ;;
    esac
}

# view_render_args: the arguments of quimbar-render for the current view.
view_render_args() {
    echo "$VIEW_FAMILY $VIEW_A $VIEW_B $VIEW_A2 $VIEW_B2 $VIEW_ZOOM $VIEW_LINKS $VIEW_OBEN"
}

# view_expected PREFIX: quimbar-render's (RENDER) raster of the current view
# in PREFIX-expected.ppm.
view_expected() {
    # shellcheck disable=SC2046
    "$RENDER" $(view_render_args) "$1-expected.ppm" >/dev/null
}

# view_differences PREFIX X Y W H: one look at the screen: the number of
# pixels in which its region W x H at (X, Y) differs from the top-left
# W x H of PREFIX-expected.ppm (view_expected). One ImageMagick process reads
# the screen, crops both and counts; the region stays in PREFIX-shown.ppm.
# (convert's x:root reads the root window's pixels; a window with a visual
# of its own, as Wine's menus have, comes out black, which differs too.)
view_differences() {
    convert x:root -crop "$4x$5+$2+$3" +repage -write "$1-shown.ppm" \
        \( "$1-expected.ppm" -crop "$4x$5+0+0" +repage \) -metric AE -compare -format "%[distortion]" info: 2>&1
}

# view_keep PREFIX W H: after a mismatch, the pictures for the failure
# folder: PREFIX-shown.png, PREFIX-expected.png and PREFIX-diff.png.
view_keep() {
    convert "$1-shown.ppm" "$1-shown.png"
    convert "$1-expected.ppm" -crop "$2x$3+0+0" +repage "$1-expected.png"
    compare "$1-shown.png" "$1-expected.png" "$1-diff.png" 2>/dev/null
}

# expect_picture NAME [trig]: the visible client area (at most the raster's
# 500 x 501) equals quimbar-render's raster of the current view; with trig,
# fewer than 0.5 % of its pixels may differ (the trigonometric family, whose
# sin and cos come from another runtime), and the share is reported. The
# sourcing script defines picture_area: it waits until the picture is done
# and sets AREA to the client area's "X Y W H". PICTURE_LOOKS (default 1)
# is how many looks, a quarter second apart, a finished picture may take to
# reach the screen. On a mismatch the pictures go to the failure folder.
expect_picture() {
    local name=$1 kind=${2:-exact} prefix=$WORK/$1 x y w h differing="" limit=0 look
    picture_area
    read -r x y w h <<<"$AREA"
    w=$((w < 500 ? w : 500)) h=$((h < 501 ? h : 501))
    [ "$kind" = trig ] && limit=$(((w * h - 1) / 200))
    view_expected "$prefix" || fail "quimbar-render $(view_render_args) failed"
    for ((look = 1; look <= ${PICTURE_LOOKS:-1}; look++)); do
        [ "$look" = 1 ] || sleep 0.25
        differing=$(view_differences "$prefix" "$x" "$y" "$w" "$h")
        [[ $differing =~ ^[0-9]+$ ]] || fail "$name: cannot compare the pictures: $differing"
        ((differing <= limit)) && break
    done
    if ((differing > limit)); then
        view_keep "$prefix" "$w" "$h"
        fail "$name: $differing of $((w * h)) pixels differ from quimbar-render $(view_render_args)"
    fi
    rm -f "$prefix-shown.ppm" "$prefix-expected.ppm"
    if [ "$kind" = trig ]; then
        echo "ok: $name: $differing of $((w * h)) pixels ($(awk "BEGIN { printf \"%.3f\", 100 * $differing / ($w * $h) }") %) differ from quimbar-render $(view_render_args)"
    else
        echo "ok: $name: ${w}x${h} pixels equal quimbar-render $(view_render_args)"
    fi
}
