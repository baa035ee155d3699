#!/usr/bin/env bash
# Builds Tardello-<version>-setup.exe in the Windows build (build-program.sh) and
# checks it under Wine: a silent install for the user, the program starts from
# where it was installed, and a silent uninstall leaves nothing behind.
# Usage: installer-under-wine.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
cmake --build "$build" --target installer >/dev/null
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY
trap 'wineserver -k 2>/dev/null || true' EXIT
user=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData | grep -v /Public/ | head -1)
home=$user/Local/Programs/Tardello
menu=$user/Roaming/Microsoft/Windows/Start\ Menu/Programs
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tardello'
fail() { echo "FAIL: $*"; exit 1; }

# A lock left by a program killed in this prefix could name a process number that
# Wine gives again: start from none.
rm -rf "$home" "$WINEPREFIX"/drive_c/users/*/Temp/tardello-*.lock
wine "$build"/Tardello-*-setup.exe /S
# What the start and the uninstall below do not need: without the rest, they fail.
for file in Tardello.pdf styles/qwindowsvistastyle.dll translations/qtbase_fr.qm; do
  [ -f "$home/$file" ] || fail "$file not installed in $home"
done
[ -f "$menu/Tardello.lnk" ] || fail "no Start menu shortcut"
[ ! -e "$menu/Startup/Tardello.lnk" ] || fail "start at login is an option, off unless chosen"
# reg itself now and then fails to start under a loaded wineserver: asked up to three times.
listed() { for _ in 1 2 3; do wine reg query "$key" /v UninstallString >/dev/null 2>&1 && return 0; sleep 1; done; return 1; }
listed || fail "not listed among the user's programs"
# The session the install ran in (still going: the shortcut's menu entry is being
# made) has a desktop without a display, where the program's windows would go.
wineserver -k

# It starts from there alone (no DLL missing) and shows its main window, on a
# display of its own.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$build/installer-display" 2>/dev/null &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -s "$build/installer-display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$build/installer-display")
wine "$home/tardello.exe" >/dev/null 2>&1 &
program=$!
shown() { xdotool search --onlyvisible --name '^Tardello - v 1\.15$' >/dev/null 2>&1; }
for _ in $(seq 60); do
  shown && break
  kill -0 "$program" 2>/dev/null || fail "the installed program ended at start"
  sleep 1
done
shown || fail "no main window"
wineserver -k
wait "$program" 2>/dev/null || true
unset DISPLAY
rm -f "$WINEPREFIX"/drive_c/users/*/Temp/tardello-*.lock

# The uninstaller copies itself away and runs from there: wait for it to end.
wine "$home/uninstall.exe" /S
for _ in $(seq 60); do [ -e "$home" ] || break; sleep 1; done
[ ! -e "$home" ] || fail "left behind: $(cd "$home" && find . -type f | tr '\n' ' ')"
[ ! -e "$menu/Tardello.lnk" ] || fail "Start menu shortcut left behind"
! wine reg query "$key" >/dev/null 2>&1 || fail "still listed among the user's programs"
echo "PASS"
