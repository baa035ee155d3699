#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine, headless, finding Qt's
# and MinGW's DLLs where they were built, in a prefix made by build-program.sh. CTest's emulator for the Windows build.
# Usage: wine-run.sh WINEPREFIX QT_DIR PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
export WINEPREFIX=$1
qt=$2
shift 2
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
windows_path() { local p; p=$(realpath "$1"); echo "Z:${p//\//\\}"; }
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
pthread=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
export WINEPATH="$(windows_path "$qt/bin");$(windows_path "$runtime");$(windows_path "$pthread")"
# Qt finds its plugins beside its DLLs. Wine passes no QT_* variable on: the
# prefix's own environment sets the offscreen platform (build-program.sh).
unset DISPLAY WAYLAND_DISPLAY
program=$1
shift
case $(basename "$program") in
  tst_*.exe)
    # A QtTest program's report does not reach a Linux pipe through Wine: it
    # writes it to a file, shown afterwards.
    report=$(mktemp)
    status=0
    wine "$program" "$@" -o "$(windows_path "$report"),txt" || status=$?
    cat "$report"
    rm -f "$report"
    exit "$status"
    ;;
  *) exec wine "$program" "$@" ;;
esac
