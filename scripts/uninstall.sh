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

if [ -x "$prefix/tardello" ]; then
  "$prefix/tardello" --uninstall-desktop
else  # the program is gone already: the same files by their names
  data=${XDG_DATA_HOME:-$HOME/.local/share}
  rm -f "$data/applications/tardello.desktop" "$data"/icons/hicolor/*/apps/tardello.png \
        "${XDG_CONFIG_HOME:-$HOME/.config}/autostart/tardello.desktop"
fi
rm -f "$prefix/tardello" "$prefix/Tardello.pdf"
if $purge; then
  rm -f "$prefix"/Tardello.tmp "$prefix"/Tardello.tmp.bak* "$prefix/Tardello.ini" "$prefix/TardelloLinux.ini"
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
