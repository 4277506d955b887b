# Reading an open menu off a screenshot, for the end-to-end scripts of both
# builds: where it covers the picture, where a colour lies, and where the
# hints of its items start. Needs ImageMagick's import and convert, and awk.

# box_of "WxH+X+Y MAX": "X Y W H" of the box ImageMagick's %@ gives for a
# black and white picture framed by one black pixel, or "none" when its
# brightest pixel (MAX) is black. (The black frame keeps ImageMagick from
# taking a white corner for the background.)
box_of() {
    [[ $1 == *" 0" ]] && echo none && return
    [[ $1 =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+) ]] || { echo "unreadable: $1" && return; }
    echo "$((BASH_REMATCH[3] - 1)) $((BASH_REMATCH[4] - 1)) ${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
}

# menu_look NAME CX CY CW CH COLOUR EXPECTED: reads the menu off one look at
# the screen (left in $WORK/NAME-screen.png), the client area at (CX, CY),
# CW x CH, below a menu bar of MENU_BAR_HEIGHT pixels, its picture without
# menus in the top-left CW x CH of EXPECTED. Sets LIT to the box ("X Y W H",
# from the menu bar's left) of the title highlighted in COLOUR, COVER to the
# box of the client area the menus cover (where it differs from EXPECTED),
# ROW to the box of the highlighted item (both from the client area's
# corner); each "none" when there is none. Two ImageMagick processes.
menu_look() {
    local colour=$6 boxes=()
    local in_colour=(-alpha off -fill black +opaque "$colour" -fill white -opaque "$colour")
    local framed=(-compose over -bordercolor black -border 1 -format "%@ %[max]\n" -write info:- +delete)
    # import, not convert's x:root, reads Wine's menus (windows with a
    # visual of their own); its screen goes through a pipe.
    mapfile -t boxes < <(import -window root ppm:- | convert ppm:- -write "$WORK/$1-screen.png" \
        \( -clone 0 -crop "$4x${MENU_BAR_HEIGHT}+$2+$(($3 - MENU_BAR_HEIGHT))" +repage "${in_colour[@]}" "${framed[@]}" \) \
        \( -clone 0 -crop "$4x$5+$2+$3" +repage -write mpr:client +delete \) \
        \( mpr:client \( "$7" -crop "$4x$5+0+0" +repage \) -alpha off -compose difference -composite \
            -fill white +opaque black "${framed[@]}" \) \
        \( mpr:client "${in_colour[@]}" "${framed[@]}" \) null: 2>>"$WORK/imagemagick.log")
    LIT=$(box_of "${boxes[0]:-}")
    COVER=$(box_of "${boxes[1]:-}")
    ROW=$(box_of "${boxes[2]:-}")
}

# await_look NAME CONDITION DESCRIPTION: reads the menu (the sourcing
# script's menu_state NAME sets LIT, COVER and ROW) until the bash CONDITION
# holds (menus are drawn a moment after the key or move), and fails with
# DESCRIPTION if it never does.
await_look() {
    local _
    for _ in $(seq 1 25); do
        menu_state "$1"
        eval "$2" && return 0
        sleep 0.2
    done
    fail "$1: expected $3; highlighted title: $LIT, covered: $COVER, highlighted item: $ROW"
}

# hint_columns IMAGE X Y W H ORIGIN_X: for each text line inside the
# rectangle (a menu's items without its frame), "row N LABEL_END HINT_X":
# the right end of the label's ink and the left end of the hint's, both from
# ORIGIN_X. A line's background is its commonest colour; ink differs from it
# clearly in brightness; a line ends at its second blank pixel row. The hint is the second run of ink that lies 6 or
# more pixels from the one before (word gaps are narrower); lines with a
# single run (no hint) are left out, but counted.
hint_columns() {
    convert "$1" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- 2>/dev/null | awk -v ox="$(($2 - $6))" '
        NR > 1 {
            split($1, p, /[,:]/)
            x = p[1] + 0; y = p[2] + 0
            c = $2; gsub(/[()]/, "", c); split(c, v, ",")
            lum[x, y] = 0.299 * v[1] + 0.587 * v[2] + 0.114 * v[3]
            count[y, $3]++; colour[x, y] = $3
            if (x > w) w = x; if (y > h) h = y
        }
        END {
            row = 0; inline = 0
            for (y = 0; y <= h + 1; y++) {
                ink_here = 0
                if (y <= h) {
                    best = ""; bn = 0
                    for (x = 0; x <= w; x++) if (count[y, colour[x, y]] > bn) { bn = count[y, colour[x, y]]; best = colour[x, y] }
                    for (x = 0; x <= w; x++) if (colour[x, y] == best) { bl = lum[x, y]; break }
                    for (x = 0; x <= w; x++) {
                        d = lum[x, y] - bl; if (d < 0) d = -d
                        if (d > 80) { ink[x] = 1; ink_here = 1 }
                    }
                }
                # A text line ends at its second blank line (the mnemonic
                # underline may stand one blank line below the letters).
                if (ink_here) { inline = 1; blank = 0; continue }
                if (!inline || ++blank < 2) continue
                inline = 0; row++; runs = 0; last = -100
                for (x = 0; x <= w; x++) {
                    if (!ink[x]) continue
                    if (x - last >= 7) { runs++; start[runs] = x; if (runs > 1) end[runs - 1] = last }
                    last = x
                }
                if (runs >= 2) print "row", row, end[1] + ox, start[2] + ox
                delete ink
            }
        }'
}
