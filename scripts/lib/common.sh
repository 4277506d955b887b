# Shared by the scripts: where things are, and installing what is missing.
set -euo pipefail

QUIMBAR_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
QUIMBAR_BUILD="${QUIMBAR_BUILD_DIR:-$QUIMBAR_ROOT/build}"

# Debian packages to build the viewer and its tests. Nimbus Sans (URW base
# fonts) has the metrics of the dialogs' "MS Sans Serif"; MinGW-w64's windres
# and headers compile the resource script.
BUILD_PACKAGES=(g++ cmake make pkg-config libgtest-dev libgmock-dev libbenchmark-dev libfltk1.3-dev libxext-dev
                fonts-urw-base35 binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev)
# ... and to run every test: the viewer on its own X server and window
# manager, judged by screenshots; the installed tree and the Debian package
# (CPack's dependency scan needs file; lintian judges the package;
# appstream validates the software centres' metadata).
# locales: a German locale (decimal comma) shows that parameter texts are
# read the same everywhere. The rendering core is cross-built for 64-bit ARM
# and tested under qemu-user.
TEST_PACKAGES=(xvfb openbox xdotool x11-utils imagemagick fonts-urw-base35 dpkg-dev file lintian desktop-file-utils
               appstream man-db locales g++-aarch64-linux-gnu qemu-user)
TEST_LOCALE=de_DE.UTF-8

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

# ensure_locale NAME (e.g. de_DE.UTF-8): generates the locale unless the
# system has it. Not fatal: the tests that need it skip themselves.
ensure_locale() {
    local name=$1
    locale -a 2>/dev/null | grep -qix "${name/UTF-8/utf8}" && return 0
    echo "Generating the locale $name" >&2
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo localedef -i "${name%%.*}" -f "${name##*.}" "$name" >&2 || echo "note: could not generate $name" >&2
}

# configure_and_build [EXTRA CMAKE ARGS...]; BUILD_TARGET limits the build
# to one target.
configure_and_build() {
    cmake -S "$QUIMBAR_ROOT" -B "$QUIMBAR_BUILD" "$@"
    cmake --build "$QUIMBAR_BUILD" -j"$(nproc)" ${BUILD_TARGET:+--target "$BUILD_TARGET"}
}
