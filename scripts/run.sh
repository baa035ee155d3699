#!/usr/bin/env bash
# Installs what is missing, builds, installs Tardello into its own directory, adds it to
# the desktop's menu and starts it.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
prefix=${TARDELLO_HOME:-$HOME/Tardello}

"$src/scripts/deps.sh"
cmake -S "$src" -B "$src/build"
cmake --build "$src/build" -j"$(nproc)" --target tardello tardello_help
cmake --install "$src/build" --prefix "$prefix"
# The menu entry and the icon, for this user (scripts/uninstall.sh takes them away).
"$prefix/tardello" --install-desktop
echo "Tardello is installed in $prefix"
exec "$prefix/tardello"
