#!/usr/bin/env bash
# The Windows installer under Wine, in a fresh prefix: a silent install for
# the current user puts the program, README, licence, Start-menu shortcut
# and uninstall key in place with the right values; the installed program
# starts and shows the start-up picture; a second install updates the copy in
# place; the silent uninstall (the key's QuietUninstallString) leaves no file
# or key of ours. Then the same machine-wide (/AllUsers).
#   setup_test.sh --build WIN32_BUILD --probe QUIMBAR-PROBE.EXE --render QUIMBAR-RENDER --work DIR
# Exit status 77: a needed tool is missing.
set -uo pipefail

BUILD="" PROBE="" RENDER="" WORK=""
while [ $# -gt 0 ]; do
    case $1 in
    --build) BUILD=$2 ;;
    --probe) PROBE=$2 ;;
    --render) RENDER=$2 ;;
    --work) WORK=$2 ;;
    *) echo "usage: setup_test.sh --build DIR --probe PROBE --render RENDER --work DIR" >&2 && exit 2 ;;
    esac
    shift 2
done
mkdir -p "$WORK"
WORK=$(cd "$WORK" && pwd)
FAILURE_DIR=$WORK/failure
rm -rf "$FAILURE_DIR" "$WORK/packages"
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=../e2e/wine/wine_lib.sh
source "$ROOT/tests/e2e/wine/wine_lib.sh"
# shellcheck source=../e2e/view_model.sh
source "$ROOT/tests/e2e/view_model.sh"
wine_tools_present || exit 77
command -v makensis >/dev/null || { echo "SKIP: makensis (Debian: nsis) is missing" >&2; exit 77; }
[ -x "$RENDER" ] || { echo "setup_test.sh: quimbar-render of a Linux build is needed (--render)" >&2; exit 2; }
trap wine_cleanup EXIT
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"  # no menu entries on the host's desktop

KEY='Software\Microsoft\Windows\CurrentVersion\Uninstall\Quimbar'
version=$(sed -n 's/^PRODUCTVERSION *\([0-9]*\),\([0-9]*\),.*/\1.\2/p' "$ROOT/resources/quimbar.rc")

STEP=package
cpack -G NSIS --config "$BUILD/CPackConfig.cmake" -B "$WORK/packages" >"$WORK/cpack.log" 2>&1 || fail "cpack: $(tail -3 "$WORK/cpack.log")"
setup="$WORK/packages/quimbar-$version-win64-setup.exe"
[ -f "$setup" ] || fail "no $(basename "$setup"): $(ls "$WORK/packages")"
staged=$(dirname "$(find "$WORK/packages/_CPack_Packages" -name quimbar.exe | head -1)")

STEP=prefix
rm -rf "$WINEPREFIX"
wine_prefix >/dev/null || exit 1
wine_display
win() { wine "$@" </dev/null 2>>"$WORK/wine.log" | tr -d '\r'; }
unix_path() { winepath -u "$1" 2>>"$WORK/wine.log"; }

# What the prefix holds: files and folders, the keys under HKCU and the
# uninstall keys under HKLM. Left aside: the temporary folders (the
# uninstaller runs from a copy there that Windows deletes at the next start),
# Wine's own keys, and the places Windows keeps for every program, which an
# install may create: the user's program folder (FOLDERID_UserProgramFiles)
# and the user's uninstall key.
snapshot() {
    find "$WINEPREFIX/drive_c" -path '*/Temp' -prune -o -print | grep -v '/AppData/Local/Programs$'
    win reg query HKCU /s | grep '^HKEY' | grep -v -e '^HKEY_CURRENT_USER\\Software\\Wine' \
        -e '^HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall$'
    win reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s | grep '^HKEY'
}
snapshot >"$WORK/before.txt"

# reg_value ROOT NAME: a value of our uninstall key.
reg_value() { win reg query "$1\\$KEY" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z]* *//p"; }

# check_install ROOT FOLDER SHORTCUTS ARGS: the installed files, the
# shortcut and the uninstall key of an install into FOLDER (Windows path),
# registered under ROOT, whose uninstaller takes ARGS.
check_install() {
    local root=$1 folder=$2 shortcuts=$3 args=$4 dir name expected kb
    dir=$(unix_path "$folder")
    [ "$(LC_ALL=C ls "$dir" | tr '\n' ' ')" = "LICENSE.txt README.txt Uninstall.exe quimbar.exe " ] ||
        fail "$folder holds: $(ls "$dir" | tr '\n' ' ')"
    for name in quimbar.exe README.txt LICENSE.txt; do
        cmp -s "$dir/$name" "$staged/$name" || fail "$folder\\$name is not the packaged file"
    done
    local link
    link="$(unix_path "$shortcuts")/Quimbar.lnk"
    [ -f "$link" ] || fail "no shortcut $shortcuts\\Quimbar.lnk"
    grep -aqF "$folder\\quimbar.exe" "$link" || fail "the shortcut does not start $folder\\quimbar.exe"
    kb=$(( ($(cat "$dir"/* | wc -c) + 1023) / 1024 ))
    for expected in "DisplayName=Quimbar" "DisplayVersion=$version" "Publisher=Quimbar-Entwicklerteam" \
                    "DisplayIcon=$folder\\quimbar.exe,0" "InstallLocation=$folder" \
                    "UninstallString=\"$folder\\Uninstall.exe\"$args" \
                    "QuietUninstallString=\"$folder\\Uninstall.exe\"$args /S" \
                    "NoModify=0x1" "NoRepair=0x1"; do
        [ "${expected#*=}" = "$(reg_value "$root" "${expected%%=*}")" ] ||
            fail "$root\\$KEY: ${expected%%=*} is '$(reg_value "$root" "${expected%%=*}")', expected '${expected#*=}'"
    done
    local size=$(($(reg_value "$root" EstimatedSize)))
    [ "$size" -ge $((kb - 4)) ] && [ "$size" -le $((kb + 4)) ] || fail "EstimatedSize $size KB, the files take $kb KB"
    echo "ok: $folder holds the program, README.txt, LICENSE.txt and Uninstall.exe; $shortcuts\\Quimbar.lnk;"
    echo "    $root\\$KEY:"
    win reg query "$root\\$KEY" | grep REG_
}

# uninstall ROOT FOLDER: runs the key's QuietUninstallString and waits for
# the uninstaller (a copy of itself in the temporary folder) to finish; then
# the prefix must be as before the install.
uninstall() {
    local root=$1 folder=$2 quiet exe args _
    quiet=$(reg_value "$root" QuietUninstallString)
    exe=${quiet#\"} && exe=${exe%%\"*}
    args=${quiet##*\"}
    # shellcheck disable=SC2086
    win "$exe" $args || fail "the uninstaller failed"
    for _ in $(seq 1 $((TIMEOUT * 10))); do
        [ -e "$(unix_path "$folder")" ] || break
        sleep 0.1
    done
    snapshot >"$WORK/after.txt"
    diff "$WORK/after.txt" "$WORK/before.txt" >"$WORK/left.txt" ||
        fail "the uninstall left or took: $(cat "$WORK/left.txt")"
    echo "ok: the silent uninstall ($quiet) leaves the prefix as it was before the install"
}

STEP=install-user
start=$(date +%s)
win "$setup" /S || fail "the silent install failed"
echo "ok: silent install for the current user ($(($(date +%s) - start)) s)"
folder="$(win cmd /c echo %LOCALAPPDATA%)\\Programs\\Quimbar"
check_install HKCU "$folder" "$(win cmd /c echo %APPDATA%)\\Microsoft\\Windows\\Start Menu\\Programs" ""

STEP=start  # the installed program, started by its Windows path, shows the start-up picture
EXE="$folder\\quimbar.exe"
start_program "$WORK/trace.log"
read -r _ CX CY CW CH < <(probe geometry | grep '^client')
expect_picture startup
menu d e
wait_exit

STEP=reinstall  # a second install updates the installed copy in place
echo stale >"$(unix_path "$folder")/README.txt"
win "$setup" /S || fail "the second install failed"
check_install HKCU "$folder" "$(win cmd /c echo %APPDATA%)\\Microsoft\\Windows\\Start Menu\\Programs" "" >/dev/null
echo "ok: a second install updates the copy in $folder"

STEP=uninstall-user
uninstall HKCU "$folder"

STEP=install-all-users
win "$setup" /S /AllUsers || fail "the silent machine-wide install failed"
folder="$(win cmd /c echo %ProgramFiles%)\\Quimbar"
check_install HKLM "$folder" "$(win cmd /c echo %ProgramData%)\\Microsoft\\Windows\\Start Menu\\Programs" " /AllUsers"
STEP=uninstall-all-users
uninstall HKLM "$folder"
echo "PASS"
