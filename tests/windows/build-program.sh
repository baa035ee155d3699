#!/usr/bin/env bash
# Cross-builds the whole program and its QtTest suites for Windows with Qt for
# Windows (scripts/qt-mingw.sh), installs the program directory into
# BUILD_DIR/program and prepares two Wine prefixes: BUILD_DIR/wineprefix for the
# program, BUILD_DIR/wineprefix-tests for the QtTest programs on the offscreen platform.
# Usage: build-program.sh BUILD_DIR HOST_HELPPDF
set -euo pipefail
build=$(mkdir -p "$1" && cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

qt=$("$root/scripts/qt-mingw.sh")
options=()
command -v ninja >/dev/null && options+=(-G Ninja)
command -v ccache >/dev/null && options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
[ -f "$build/CMakeCache.txt" ] && options=()
cmake -S "$root" -B "$build" "${options[@]}" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" -DCMAKE_PREFIX_PATH="$qt" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DTARDELLO_HOST_HELPPDF="$2" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$here/wine-run.sh;$build/wineprefix-tests;$qt" >/dev/null
cmake --build "$build" -j2
rm -rf "$build/program"
cmake --install "$build" --prefix "$build/program" >/dev/null

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
# The first start creates a prefix, which can take a minute.
for prefix in "$build/wineprefix" "$build/wineprefix-tests"; do
  WINEPREFIX=$prefix timeout 300 wine wineboot --init >/dev/null 2>&1 || true
done
# Wine passes no QT_* variable from Linux to Windows programs: the test
# prefix's user environment holds them. The offscreen platform draws with the
# fonts of a folder, and Windows' own fonts are not in Wine.
export WINEPREFIX=$build/wineprefix-tests
wine reg add 'HKCU\Environment' /v QT_QPA_PLATFORM /d offscreen /f >/dev/null 2>&1
wine reg add 'HKCU\Environment' /v QT_QPA_FONTDIR /d 'Z:\usr\share\fonts\truetype\dejavu' /f >/dev/null 2>&1
for prefix in "$build/wineprefix" "$build/wineprefix-tests"; do
  WINEPREFIX=$prefix wineserver -k || true
done
