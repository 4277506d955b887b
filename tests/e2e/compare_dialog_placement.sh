#!/usr/bin/env bash
# Cross-check of the two builds: where each dialog's client area opened
# relative to the main window's client area, as the Linux end-to-end run
# (fltk_dialogs_e2e.sh) and the Wine run of quimbar.exe (wine/run.sh)
# recorded it, lines "NAME DX DY W H". The offsets must agree within 1 pixel
# for every dialog both runs saw, and both must have seen the cubic and the
# Info dialog. Exit status 77: a record is missing (a run was skipped).
#
#   compare_dialog_placement.sh LINUX_RECORD WINE_RECORD
set -uo pipefail
linux=${1:?usage: compare_dialog_placement.sh LINUX_RECORD WINE_RECORD}
wine=${2:?usage: compare_dialog_placement.sh LINUX_RECORD WINE_RECORD}
for record in "$linux" "$wine"; do
    [ -s "$record" ] || { echo "SKIP: no record $record (its end-to-end run did not run)" >&2 && exit 77; }
done

status=0
for name in kubisch info; do
    read -r _ lx ly lw lh < <(grep "^$name " "$linux")
    read -r _ wx wy ww wh < <(grep "^$name " "$wine")
    if [ -z "${lx:-}" ] || [ -z "${wx:-}" ]; then
        echo "FAIL: the $name dialog is missing from a record" >&2
        status=1
        continue
    fi
    dx=$((lx - wx)) dy=$((ly - wy))
    if [ "${dx#-}" -le 1 ] && [ "${dy#-}" -le 1 ]; then
        echo "ok: $name: client area at ($lx, $ly) on Linux (${lw}x${lh}), ($wx, $wy) under Wine (${ww}x${wh})"
    else
        echo "FAIL: $name: client area at ($lx, $ly) on Linux, ($wx, $wy) under Wine" >&2
        status=1
    fi
    unset lx ly wx wy
done
exit $status
