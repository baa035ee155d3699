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
  *) echo "usage: $0 [--purge]" >&2; exit 2 ;;
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
  rmdir "$prefix" 2>/dev/null || echo "Left in $prefix: $(ls -A "$prefix" | tr '\n' ' ')"
  echo "Tardello is uninstalled"
else
  echo "Tardello is uninstalled; the pending mails, the outbox and the settings stay in $prefix"
  if waiting=$(ls "$outbox"/*.eml 2>/dev/null | wc -l) && [ "$waiting" -gt 0 ]; then
    echo "($waiting message(s) in $outbox were not handed to sendmail yet)"
  fi
  echo "(run $0 --purge to remove them too)"
fi
