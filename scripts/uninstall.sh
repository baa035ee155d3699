#!/usr/bin/env bash
# Removes what scripts/run.sh installed: the menu entry, the icon, the
# start-at-login entry and the program's files. The pending mails, the
# outbox (messages not yet taken by sendmail) and the settings stay in the
# program's directory unless --purge is given.
set -euo pipefail
prefix=${TARDELLO_HOME:-$HOME/Tardello}
outbox="$prefix/Boîte d'envoi"
purge=false
case "${1:-}" in
  "") ;;
  --purge) purge=true ;;
  *) echo "utilisation : $0 [--purge]" >&2; exit 2 ;;
esac

# The program keeps its files open and rewrites them: it must not run meanwhile.
if [ -f "$prefix/Tardello.lock" ]; then
  pid=$(head -n 1 "$prefix/Tardello.lock")
  running=$(readlink "/proc/$pid/exe" 2>/dev/null || true)
  # A program installed again while it ran shows as "(deleted)".
  if [ -n "$pid" ] && [ "${running% (deleted)}" = "$(readlink -f "$prefix/tardello")" ]; then
    echo "Tardello tourne encore : quittez-le (menu de son icône, « Quitter »), puis relancez $0." >&2
    exit 1
  fi
fi

if [ -x "$prefix/tardello" ]; then
  "$prefix/tardello" --uninstall-desktop
else  # the program is gone already: the same files by their names
  data=${XDG_DATA_HOME:-$HOME/.local/share}
  rm -f "$data/applications/tardello.desktop" "$data"/icons/hicolor/*/apps/tardello.png \
        "${XDG_CONFIG_HOME:-$HOME/.config}/autostart/tardello.desktop"
fi
# Every file the install puts there (the help's chapter 8 lists them; a test holds the two to the install).
rm -f "$prefix/tardello" "$prefix/libtardello_composer.so" "$prefix/Tardello.pdf"
if $purge; then
  # The program's own files, with what a run killed in the middle of a save left (Tardello.tmp.Ab1XyZ...).
  rm -f "$prefix"/Tardello.tmp "$prefix"/Tardello.tmp.* "$prefix"/Tardello.ini "$prefix"/Tardello.ini.* \
        "$prefix"/TardelloLinux.ini "$prefix"/TardelloLinux.ini.* "$prefix"/Tardello.lock
  rm -rf "$outbox"
  rmdir "$prefix" 2>/dev/null || echo "Restent dans $prefix : $(ls -A "$prefix" | tr '\n' ' ')"
  echo "Tardello est désinstallé."
else
  echo "Tardello est désinstallé ; les mails en attente, la boîte d'envoi et les réglages restent dans $prefix."
  if waiting=$(ls "$outbox"/*.eml 2>/dev/null | wc -l) && [ "$waiting" -gt 0 ]; then
    echo "($waiting message(s) de $outbox n'ont pas encore été remis à sendmail.)"
  fi
  echo "(Lancez $0 --purge pour les supprimer aussi.)"
fi
