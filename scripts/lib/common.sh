# Shared by the scripts: where things are, and installing what is missing.
set -euo pipefail

QUIMBAR_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
QUIMBAR_BUILD="${QUIMBAR_BUILD_DIR:-$QUIMBAR_ROOT/build}"

# Debian packages to build the viewer and its tests. Nimbus Sans (URW base
# fonts) has the metrics of the dialogs' "MS Sans Serif".
BUILD_PACKAGES=(g++ cmake make pkg-config libgtest-dev libgmock-dev libbenchmark-dev libfltk1.3-dev libxext-dev
                fonts-urw-base35)
# ... and to run every test: the viewer on its own X server and window
# manager, judged by screenshots; the installed tree and the Debian package
# (CPack's dependency scan needs file; lintian judges the package).
# MinGW-w64 is installed before the first build so that the resource
# reader's tests can compare against windres. The rendering core is
# cross-built for 64-bit ARM and tested under qemu-user.
TEST_PACKAGES=(xvfb openbox xdotool x11-utils imagemagick fonts-urw-base35 dpkg-dev file lintian desktop-file-utils man-db
               g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 g++-aarch64-linux-gnu qemu-user)

# ensure_packages PKG...: installs with apt-get those not installed yet.
ensure_packages() {
    local missing=()
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}" >&2
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q >&2 || true
    $sudo apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=300 "${missing[@]}" >&2
}

# configure_and_build [EXTRA CMAKE ARGS...]; BUILD_TARGET limits the build
# to one target.
configure_and_build() {
    cmake -S "$QUIMBAR_ROOT" -B "$QUIMBAR_BUILD" "$@"
    cmake --build "$QUIMBAR_BUILD" -j"$(nproc)" ${BUILD_TARGET:+--target "$BUILD_TARGET"}
}
