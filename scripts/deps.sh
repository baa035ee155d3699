#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tardello need.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgmime-3.0-dev libsecret-1-dev msmtp
  fonts-liberation fonts-dejavu-core qt6-translations-l10n
  xdg-utils
)
if [ "${1:-}" = "--tests" ]; then
  packages+=(
    ccache xvfb xauth trayer xdotool x11-utils imagemagick faketime python3-xlib
    msmtp python3 python3-aiosmtpd poppler-utils dbus-daemon desktop-file-utils file gnome-keyring openssl python3-gi
    g++-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix wine64 wine nsis ninja-build
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q "${missing[@]}"
