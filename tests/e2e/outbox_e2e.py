"""The installed program's outbox in a real X session: a mail whose minute passed while the program was stopped
is offered at start-up, sent on "Envoyer maintenant", refused by sendmail, kept, and delivered once sendmail
recovers. Then, with a notification service on a session bus: a refused mail, the program quit and started
again, the mail leaving at start-up and told, no failure notice left open."""
import glob
import os
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import main_title, put_store, run_installed, wait_for  # noqa: E402

MAIL = ("Compte rendu", "anne@exemple.fr", "07/01/2020 09:30", "Bonjour,")
# Refuses while the file "down" exists, saying why, as msmtp does without a server.
SENDMAIL = """#!/bin/sh
echo try >> "$OUT/attempts"
if [ -e "$OUT/down" ]; then cat >/dev/null; echo "msmtp: cannot connect to smtp.exemple.fr" >&2; exit 75; fi
cat > "$OUT/sent.$$"
"""


def main():
    build = sys.argv[sys.argv.index("--build") + 1]
    return run_installed(build, run) or run_installed(build, run_restart)


def run(s, prog, work):
    s.put_on_path(os.path.join(work, "bin"), "sendmail", SENDMAIL)
    open(os.path.join(work, "down"), "w").close()
    s.env["OUT"] = work
    put_store(prog, MAIL)
    outbox = os.path.join(prog, "Boîte d'envoi")
    program = os.path.join(prog, "tardello")

    tardello = s.start("tardello", [program], cwd=prog)
    wait_for("the main window", lambda: s.find(title=main_title()), 20)
    missed = wait_for("the missed-mail window", lambda: s.find(title="Tardello", wm_class="tardello"), 10)
    s.xdotool("windowfocus", "--sync", missed.id)
    s.xdotool("key", "space")  # "Envoyer maintenant" has the focus
    wait_for("the missed-mail window to close", lambda: not s.is_mapped(missed), 10)

    attempts = os.path.join(work, "attempts")
    wait_for("a first try of sendmail", lambda: os.path.exists(attempts), 15)
    time.sleep(1)
    assert len(glob.glob(os.path.join(outbox, "*.eml"))) == 1, "the refused message must stay in the outbox"
    assert not os.path.exists(os.path.join(prog, "Tardello.tmp")), "the mail handed over must leave the store"
    assert tardello.poll() is None

    os.remove(os.path.join(work, "down"))  # the server is back: the retry a minute later delivers it
    wait_for("the retry to deliver", lambda: glob.glob(os.path.join(work, "sent.*")), 90)
    wait_for("the outbox to empty", lambda: not glob.glob(os.path.join(outbox, "*.eml")), 10)
    time.sleep(2)
    sent = glob.glob(os.path.join(work, "sent.*"))
    assert len(sent) == 1, f"delivered {len(sent)} times"
    with open(sent[0], "rb") as message:
        assert b"Subject: Compte rendu" in message.read()
    with open(attempts) as tries:
        assert len(tries.read().split()) == 2, "one refusal, one delivery"
    assert tardello.poll() is None


NOTIFICATIONS = """<node><interface name="org.freedesktop.Notifications">
<method name="Notify"><arg type="s" direction="in"/><arg type="u" direction="in"/><arg type="s" direction="in"/>
<arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="as" direction="in"/>
<arg type="a{sv}" direction="in"/><arg type="i" direction="in"/><arg type="u" direction="out"/></method>
<method name="CloseNotification"><arg type="u" direction="in"/></method>
</interface></node>"""


class RecordingNotifications:
    """The desktop's notification service on the given bus: records each call, and which notices are still open."""

    def __init__(self, address):
        from gi.repository import Gio, GLib
        self.calls, self.open, self.lock = [], {}, threading.Lock()
        self.loop = GLib.MainLoop()
        flags = Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION
        self.bus = Gio.DBusConnection.new_for_address_sync(address, flags, None, None)
        interface = Gio.DBusNodeInfo.new_for_xml(NOTIFICATIONS).interfaces[0]
        self.bus.register_object("/org/freedesktop/Notifications", interface, self._called, None, None)
        self.bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
                           GLib.Variant("(su)", ("org.freedesktop.Notifications", 4)), None, 0, 5000, None)
        threading.Thread(target=self.loop.run, daemon=True).start()

    def _called(self, bus, sender, path, interface, method, args, invocation):
        from gi.repository import GLib
        with self.lock:
            if method == "Notify":
                replaces, body, hints = args[1], args[4], args[6]
                given = replaces or len(self.calls) + 1000
                self.calls.append(("Notify", given, replaces, hints.get("urgency", 0), body))
                self.open[given] = (hints.get("urgency", 0), body)
                invocation.return_value(GLib.Variant("(u)", (given,)))
            else:
                self.calls.append(("CloseNotification", args[0], 0, 0, ""))
                self.open.pop(args[0], None)
                invocation.return_value(None)

    def told(self, words):
        with self.lock:
            return [call for call in self.calls if call[0] == "Notify" and words in call[4]]


def run_restart(s, prog, work):
    s.put_on_path(os.path.join(work, "bin"), "sendmail", SENDMAIL)
    open(os.path.join(work, "down"), "w").close()
    s.env["OUT"] = work
    service = RecordingNotifications(s.start_bus())
    put_store(prog, MAIL)
    outbox = os.path.join(prog, "Boîte d'envoi")
    program = os.path.join(prog, "tardello")

    tardello = s.start("tardello", [program], cwd=prog)
    main_window = wait_for("the main window", lambda: s.find(title=main_title()), 20)
    missed = wait_for("the missed-mail window", lambda: s.find(title="Tardello", wm_class="tardello"), 10)
    s.xdotool("windowfocus", "--sync", missed.id)
    s.xdotool("key", "space")
    refused = wait_for("the failure notice", lambda: service.told("n'a pas pu être remis à sendmail"), 20)[0]
    assert refused[3] == 2, f"a failure notice is critical: {refused}"

    icon = wait_for("the tray icon", lambda: s.docked("tardello"), 10)
    s.close_box(main_window)
    wait_for("the main window to hide", lambda: not s.is_mapped(main_window), 10)
    x, y = s.centre(icon)
    s.xdotool("mousemove", x, y, "click", "3")
    s.quit_from(wait_for("the tray menu", lambda: s.popup(icon), 10))
    assert tardello.wait(15) == 0
    waiting = service.told("attend encore dans la boîte d'envoi")
    assert waiting, f"quitting with a mail waiting must say so: {service.calls}"
    assert refused[1] not in service.open, "the failure notice must not outlive the run"
    assert len(glob.glob(os.path.join(outbox, "*.eml"))) == 1

    os.remove(os.path.join(work, "down"))
    tardello = s.start("tardello", [program], cwd=prog)
    wait_for("the outbox to empty at start-up", lambda: not glob.glob(os.path.join(outbox, "*.eml")), 20)
    left = wait_for("the departure notice", lambda: service.told("\"Compte rendu\" pour anne@exemple.fr est finalement parti"), 10)
    assert left[0][3] != 2, "a departure is good news"
    refusals = [notice for notice in service.open.values() if "n'a pas pu être remis" in notice[1]]
    assert not refusals, f"failure notices left open: {refusals}"
    assert tardello.poll() is None


if __name__ == "__main__":
    sys.exit(main())
