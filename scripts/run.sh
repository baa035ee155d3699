#!/usr/bin/env bash
# Installs what is missing, builds, installs Tardello into its own directory, adds it to
# the desktop's menu and starts it, detached from this terminal.
#   --start   only starts the installed program (nothing is built or installed)
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
prefix=${TARDELLO_HOME:-$HOME/Tardello}
case "${1:-}" in
  "") install=true ;;
  --start) install=false ;;
  *) echo "utilisation : $0 [--start]" >&2; exit 2 ;;
esac

if $install; then
  "$src/scripts/deps.sh"
  cmake -S "$src" -B "$src/build"
  cmake --build "$src/build" -j"$(nproc)" --target tardello tardello_help
  # Stripped: the debugging information would make the program ten times larger.
  cmake --install "$src/build" --prefix "$prefix" --strip
  # The menu entry and the icon, for this user (scripts/uninstall.sh takes them away).
  "$prefix/tardello" --install-desktop
  echo "Tardello est installé dans $prefix ($(du -sh "$prefix" | cut -f1))."
elif [ ! -x "$prefix/tardello" ]; then
  echo "Tardello n'est pas installé dans $prefix : lancez $0 sans --start." >&2
  exit 1
fi

# Started as the menu entry starts it: from the home folder, in a session of its own and
# without this terminal, so that closing the terminal leaves it running. A script has no
# job control, so the background job is no process group leader and setsid needs no fork:
# $! is the program itself.
cd "$HOME"
setsid "$prefix/tardello" </dev/null >/dev/null 2>&1 &
pid=$!
# A start that fails (no display, say) ends within a moment: tell it here.
for _ in $(seq 20); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "Tardello est lancé ; fermer ce terminal ne l'arrête pas."
  echo "Pour le relancer plus tard : le menu des applications (Tardello), ou $0 --start."
  exit 0
fi
status=0
wait "$pid" || status=$?
if [ "$status" -eq 0 ]; then
  echo "Tardello tournait déjà : sa fenêtre principale passe au premier plan."
else
  echo "Tardello s'est arrêté au démarrage (code $status). Lancez $prefix/tardello" \
       "dans ce terminal pour lire ses messages." >&2
  exit "$status"
fi
