#!/bin/sh
# Runs a test on a private session bus with a real Secret Service (gnome-keyring,
# its login keyring unlocked here), in a home and XDG folders of its own.
# Exits 77 (skipped) when the services are not installed.
if [ "${1:-}" != "--on-bus" ]; then
  command -v dbus-run-session >/dev/null && command -v gnome-keyring-daemon >/dev/null || {
    echo "dbus-run-session or gnome-keyring-daemon missing: run scripts/deps.sh --tests"; exit 77; }
  home=$(mktemp -d) || exit 1
  trap 'rm -rf "$home"' EXIT
  export HOME="$home/home" XDG_DATA_HOME="$home/home/.local/share" XDG_CONFIG_HOME="$home/home/.config" \
         XDG_CACHE_HOME="$home/home/.cache" XDG_RUNTIME_DIR="$home/run"
  mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  dbus-run-session -- "$0" --on-bus "$@"
  exit $?
fi
shift
# The keyring's own password only unlocks this throwaway keyring.
printf keyring-of-the-test | gnome-keyring-daemon --foreground --unlock --components=secrets >/dev/null &
keyring=$!
tries=0
until dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null | grep -q "boolean true"; do
  tries=$((tries + 1)); [ $tries -gt 100 ] && { echo "the keyring did not come up"; kill $keyring; exit 1; }
  sleep 0.1
done
"$@"; status=$?
kill $keyring; wait $keyring 2>/dev/null
exit $status
