#!/usr/bin/env bash
# Installs the Debian package into a brand-new minimal Debian (the
# fresh-debian tool: debootstrap minbase, a throw-away copy per run), starts
# the viewer there on Xvfb and compares its start-up picture with the
# reference, then removes the package and checks that none of its files is
# left behind.
#   fresh_install.sh DEB REFERENCE.ppm
# FRESH_DEBIAN names the tool (default: ../shared/tools/fresh-debian beside
# the project).
set -euo pipefail
deb=$(realpath "$1")
reference=$(realpath "$2")
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
tool=${FRESH_DEBIAN:-$root/../shared/tools/fresh-debian}
# The package names the libraries of the release that built it (Debian 13
# renamed some for 64-bit time): it is installed into that release.
SUITE=${SUITE:-$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")}
export SUITE
[ -x "$tool" ] || { echo "FAILED: the fresh-debian tool is not at $tool (set FRESH_DEBIAN)" >&2; exit 1; }

# The tool runs a command in a clone of a git folder: one holding the
# package, the reference picture and the check.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$deb" "$stage/"
cp "$reference" "$stage/reference.ppm"
cat >"$stage/check.sh" <<'CHECK'
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
fail() { echo "FAILED: $*" >&2; exit 1; }
apt-get update -q >/dev/null
apt-get install -y -q ./quimbar_*.deb >/dev/null || fail "the package does not install"
dpkg-query -W -f='${Status}\n' fonts-urw-base35 | grep -q "install ok installed" || fail "the dialog font came not with it"
dpkg -L quimbar >files.txt
# Tools of this check only, after the package's own dependencies.
apt-get install -y -q --no-install-recommends xvfb xdotool x11-utils imagemagick >/dev/null

Xvfb :7 -screen 0 1024x768x24 -nolisten tcp >xvfb.log 2>&1 &
export DISPLAY=:7
for _ in $(seq 1 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
QUIMBAR_TRACE_IDLE=1 quimbar >/dev/null 2>trace.log &
app=$!
for _ in $(seq 1 600); do grep -q '^quimbar-trace: idle paints=1$' trace.log && break; sleep 0.1; done
grep -q '^quimbar-trace: idle paints=1$' trace.log || fail "no start-up picture: $(tail -3 trace.log)"
win=$(xdotool search --onlyvisible --name '^Quimbar$' | head -1)
[ -n "$win" ] || fail "no window titled Quimbar"
import -window "$win" window.png
read -r w h < <(xwininfo -id "$win" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
# Below the 19-pixel menu bar, the client area shows the raster's upper
# left part, pixel for pixel.
ch=$((h - 19))
convert window.png -crop "${w}x${ch}+0+19" +repage shown.png
convert reference.ppm -crop "${w}x${ch}+0+0" +repage expected.png
diff=$(compare -metric AE shown.png expected.png null: 2>&1 || true)
[ "$diff" = 0 ] || fail "the start-up picture differs in $diff pixels"
echo "start-up picture: ${w}x${ch} pixels equal to the reference"
kill "$app"

apt-get remove -y -q quimbar >/dev/null
left=""
while read -r path; do
    # Shared folders (/usr/bin, ...) stay; the package's own files and
    # folders must be gone.
    if [ -e "$path" ] && { [ ! -d "$path" ] || [[ "$path" == *quimbar* ]]; }; then left+=" $path"; fi
done <files.txt
[ -z "$left" ] || fail "left behind after apt-get remove:$left"
echo "apt-get remove left none of the package's $(wc -l <files.txt) paths"
CHECK
(cd "$stage" && git init -q && git add . && git -c user.name=quimbar -c user.email=test@quimbar.invalid commit -qm package)
"$tool" "$stage" "bash check.sh"
