# The Windows build and its end-to-end test under Wine, for scripts/test.
# Source after common.sh (QUIMBAR_ROOT, QUIMBAR_BUILD, ensure_packages).

# Debian packages: the MinGW-w64 cross compiler (posix thread model) and
# windres, Wine (64-bit only) with its fonts, and the X tools of the test;
# wrestool (icoutils) reads the version resource of the packaged program;
# nsis makes the installer.
WIN32_PACKAGES=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 fonts-wine xvfb xdotool imagemagick
                icoutils nsis)
QUIMBAR_WIN32_BUILD="${QUIMBAR_WIN32_BUILD_DIR:-$QUIMBAR_ROOT/build-win32}"

# win32_build_and_test: installs what is missing, cross-builds quimbar.exe
# and quimbar-probe.exe, and runs the end-to-end tests under Wine (label e2e:
# the program, the ZIP and the installer) with the reference pictures of the
# Linux build's quimbar-render. The Wine
# prefix is kept in the build folder (e2e-wine/prefix) for the next run.
win32_build_and_test() {
    ensure_packages "${WIN32_PACKAGES[@]}"
    local render="$QUIMBAR_BUILD/bench/quimbar-render"
    [ -x "$render" ] || cmake --build "$QUIMBAR_BUILD" -j"$(nproc)" --target quimbar-render
    cmake -S "$QUIMBAR_ROOT" -B "$QUIMBAR_WIN32_BUILD" \
        -DCMAKE_TOOLCHAIN_FILE="$QUIMBAR_ROOT/cmake/mingw-w64.cmake" -DQUIMBAR_RENDER="$render"
    cmake --build "$QUIMBAR_WIN32_BUILD" -j"$(nproc)"
    ctest --test-dir "$QUIMBAR_WIN32_BUILD" --output-on-failure -L e2e
}
