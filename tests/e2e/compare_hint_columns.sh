#!/usr/bin/env bash
# Compares where the hints of the "Bearbeiten" menu start in the Linux build
# and in the Win32 build under Wine, as their end-to-end runs recorded them
# (hint_columns in menu_probe.sh: "row N LABEL_END HINT_X", x from the main
# window's client area). The fonts differ, and with them the places; the
# layout must not: the same rows have hints, every hint lies right of every
# label of the menu, and any two hints stand in the same order (places within
# 1 pixel count as level).
#
#   compare_hint_columns.sh LINUX_FILE WINE_FILE
#
# Exit status 77 when a file is missing (run fltk_e2e and wine_e2e first).
set -uo pipefail
LINUX=${1:?usage: compare_hint_columns.sh LINUX_FILE WINE_FILE}
WINE=${2:?usage: compare_hint_columns.sh LINUX_FILE WINE_FILE}
for f in "$LINUX" "$WINE"; do
    [ -s "$f" ] || { echo "SKIP: $f is missing (run fltk_e2e and wine_e2e first)" >&2 && exit 77; }
done
awk '
    FNR == NR { build = "Linux" } FNR != NR { build = "Wine" }
    {
        rows[build] = rows[build] " " $2
        hint[build, $2] = $4
        if ($3 > widest[build]) widest[build] = $3
        printf "%-5s row %d: label ends at %d, hint starts at %d\n", build, $2, $3, $4
    }
    function order(a, b) { return a > b + 1 ? 1 : a < b - 1 ? -1 : 0 }
    END {
        if (rows["Linux"] != rows["Wine"]) { print "FAIL: rows with hints differ:" rows["Linux"] " against" rows["Wine"]; exit 1 }
        n = split(rows["Linux"], r, " ")
        if (n == 0) { print "FAIL: no hints recorded"; exit 1 }
        for (b in widest)
            for (i = 1; i <= n; i++)
                if (hint[b, r[i]] <= widest[b]) { print "FAIL: " b ": the hint of row " r[i] " starts inside the labels"; exit 1 }
        for (i = 1; i <= n; i++)
            for (j = i + 1; j <= n; j++)
                if (order(hint["Linux", r[i]], hint["Linux", r[j]]) != order(hint["Wine", r[i]], hint["Wine", r[j]])) {
                    print "FAIL: rows " r[i] " and " r[j] " stand in another order on Linux than on Wine"; exit 1
                }
        print "PASS: " n " hints in the same column order, right of the labels, on both builds"
    }' "$LINUX" "$WINE"
