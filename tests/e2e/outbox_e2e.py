"""The installed program's outbox in a real X session, with a notification service on a session bus: a mail
whose minute passed while the program was stopped is offered at start-up, sent on "Envoyer maintenant", refused
by sendmail and kept; quitting says it waits; the next start tries it again, and once sendmail recovers the retry
a minute later delivers it once and tells so, no failure notice left open."""
import glob
import os
import sys
import threading
from pathlib import Path

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import put_store, run_installed, wait_for  # noqa: E402

# Refuses while the file "down" exists, saying why, as msmtp does without a server.
SENDMAIL = """#!/bin/sh
echo try >> "$OUT/attempts"
if [ -e "$OUT/down" ]; then cat >/dev/null; echo "msmtp: cannot connect to smtp.exemple.fr" >&2; exit 75; fi
cat > "$OUT/sent.$$"
"""
NOTIFICATIONS = """<node><interface name="org.freedesktop.Notifications">
<method name="Notify"><arg type="s" direction="in"/><arg type="u" direction="in"/><arg type="s" direction="in"/>
<arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="as" direction="in"/>
<arg type="a{sv}" direction="in"/><arg type="i" direction="in"/><arg type="u" direction="out"/></method>
<method name="CloseNotification"><arg type="u" direction="in"/></method>
</interface></node>"""


class RecordingNotifications:
    """The desktop's notification service on the given bus: keeps each notice (id, urgency, body), and which are open."""

    def __init__(self, address):
        from gi.repository import Gio, GLib
        self.calls, self.open, self.lock = [], {}, threading.Lock()
        flags = Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION
        self.bus = Gio.DBusConnection.new_for_address_sync(address, flags, None, None)
        interface = Gio.DBusNodeInfo.new_for_xml(NOTIFICATIONS).interfaces[0]
        self.bus.register_object("/org/freedesktop/Notifications", interface, self._called, None, None)
        self.bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
                           GLib.Variant("(su)", ("org.freedesktop.Notifications", 4)), None, 0, 5000, None)
        threading.Thread(target=GLib.MainLoop().run, daemon=True).start()

    def _called(self, bus, sender, path, interface, method, args, invocation):
        from gi.repository import GLib
        with self.lock:
            if method == "Notify":
                given = args[1] or len(self.calls) + 1000
                self.open[given] = (given, args[6].get("urgency", 0), args[4])
                self.calls.append(self.open[given])
                invocation.return_value(GLib.Variant("(u)", (given,)))
            else:
                self.open.pop(args[0], None)
                invocation.return_value(None)

    def told(self, words):
        with self.lock:
            return [notice for notice in self.calls if words in notice[2]]


def run(s, prog, work):
    s.put_sendmail(work, SENDMAIL)
    Path(work, "down").touch()
    service = RecordingNotifications(s.start_bus())
    put_store(prog, ("Compte rendu", "anne@exemple.fr", "07/01/2020 09:30", "Bonjour,"))
    messages = lambda: glob.glob(os.path.join(prog, "Boîte d'envoi", "*.eml"))  # noqa: E731
    attempts = lambda: len(Path(work, "attempts").read_text().split())  # noqa: E731

    tardello, _ = s.start_program(prog)
    s.send_missed_now()
    refused = wait_for("the failure notice", lambda: service.told("n'a pas pu être remis à sendmail"), 20)[0]
    assert refused[1] == 2, f"a failure notice is critical: {refused}"

    s.quit_by_tray(wait_for("the tray icon", lambda: s.docked("tardello"), 10))
    assert tardello.wait(15) == 0
    assert service.told("attend encore dans la boîte d'envoi"), f"quitting with a mail waiting must say so: {service.calls}"

    tardello, _ = s.start_program(prog)
    wait_for("a try at start-up", lambda: attempts() == 2, 20)
    os.remove(os.path.join(work, "down"))  # the server is back: the retry a minute later delivers it
    wait_for("the retry to deliver", lambda: glob.glob(os.path.join(work, "sent.*")) and not messages(), 90)
    left = wait_for("the departure notice", lambda: service.told('"Compte rendu" pour anne@exemple.fr est finalement parti'), 10)
    assert left[0][1] != 2, "a departure is good news"
    sent = glob.glob(os.path.join(work, "sent.*"))
    assert len(sent) == 1 and attempts() == 3, f"delivered {len(sent)} times in {attempts()} tries"
    assert b"Subject: Compte rendu" in Path(sent[0]).read_bytes()
    refusals = [notice for notice in service.open.values() if "n'a pas pu être remis" in notice[2]]
    assert not refusals, f"failure notices left open: {refusals}"
    assert tardello.poll() is None


if __name__ == "__main__":
    sys.exit(run_installed(sys.argv[sys.argv.index("--build") + 1], run))
