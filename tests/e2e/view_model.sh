# The view the viewer must show after each command or key, kept beside the
# running program, and the check of a screenshot against quimbar-render's
# raster for that view. Shared by the end-to-end scripts of both builds;
# source it, it defines functions and the variables below only.
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

# view_differences RENDER SCREEN.png X Y W H PREFIX: compares the screen
# region W x H at (X, Y) with the top-left W x H of quimbar-render's raster of
# the current view; prints the number of differing pixels. Leaves
# PREFIX-expected.png, PREFIX-shown.png and PREFIX-diff.png.
view_differences() {
    local render=$1 screen=$2 x=$3 y=$4 w=$5 h=$6 prefix=$7
    # shellcheck disable=SC2046
    "$render" $(view_render_args) "$prefix-expected.ppm" >/dev/null || return 1
    convert "$prefix-expected.ppm" -crop "${w}x${h}+0+0" +repage "$prefix-expected.png" || return 1
    rm -f "$prefix-expected.ppm"
    convert "$screen" -crop "${w}x${h}+${x}+${y}" +repage "$prefix-shown.png" || return 1
    compare -metric AE "$prefix-shown.png" "$prefix-expected.png" "$prefix-diff.png" 2>&1 || true
}
