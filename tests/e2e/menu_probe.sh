# Reading an open menu off a screenshot, for the end-to-end scripts of both
# builds: where it covers the picture, where a colour lies, and where the
# hints of its items start. Needs ImageMagick's convert and compare, and awk.

# white_box IMAGE: "X Y W H" of the box around the white pixels of a black
# and white picture, or "none". (A black border keeps ImageMagick from taking
# a white corner for the background.)
white_box() {
    local box
    box=$(convert "$1" -bordercolor black -border 1 -format "%@ %[max]" info: 2>/dev/null)
    [[ $box == *" 0" ]] && echo none && return
    [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+) ]] || { echo "unreadable: $box" && return; }
    echo "$((BASH_REMATCH[3] - 1)) $((BASH_REMATCH[4] - 1)) ${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
}

# colour_box IMAGE COLOUR: "X Y W H" of the box around the pixels of exactly
# that colour (as "#RRGGBB"), or "none".
colour_box() {
    local mask
    mask=$(mktemp --suffix=.png)
    convert "$1" -alpha off -fill black +opaque "$2" -fill white -opaque "$2" "$mask"
    white_box "$mask"
    rm -f "$mask"
}

# covered_box SHOWN EXPECTED: "X Y W H" of the box around the pixels in
# which the two pictures of equal size differ (what a menu covers), or
# "none".
covered_box() {
    local diff
    diff=$(mktemp --suffix=.png)
    compare "$1" "$2" -compose src -highlight-color white -lowlight-color black "$diff" 2>/dev/null
    white_box "$diff"
    rm -f "$diff"
}

# menu_look NAME CX CY CW CH COLOUR EXPECTED: reads the menu off a
# screenshot of the whole screen (left in $WORK/NAME-screen.png), the client
# area at (CX, CY), CW x CH, below a menu bar of MENU_BAR_HEIGHT pixels, its
# picture without menus in EXPECTED. Sets LIT to the box ("X Y W H", from the
# menu bar's left) of the title highlighted in COLOUR, COVER to the box of
# the client area the menus cover, ROW to the box of the highlighted item
# (both from the client area's corner); each "none" when there is none.
menu_look() {
    import -window root "$WORK/$1-screen.png"
    convert "$WORK/$1-screen.png" -crop "$4x${MENU_BAR_HEIGHT}+$2+$(($3 - MENU_BAR_HEIGHT))" +repage "$WORK/$1-bar.png"
    convert "$WORK/$1-screen.png" -crop "$4x$5+$2+$3" +repage "$WORK/$1-client.png"
    LIT=$(colour_box "$WORK/$1-bar.png" "$6")
    COVER=$(covered_box "$WORK/$1-client.png" "$7")
    ROW=$(colour_box "$WORK/$1-client.png" "$6")
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
