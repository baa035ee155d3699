"""A private X session for tests and benchmarks: Xvfb on a free display and a tray host."""
import os
import select
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

from Xlib import X, display as xdisplay, protocol


def main_title():
    """The main window's caption, with the version CMake gives the test."""
    return "Tardello - v " + os.environ["TARDELLO_VERSION"]


def put_store(prog, *mails):
    """Writes prog's store as the program saves it, mails being (subject, to, "dd/mm/yyyy HH:MM", body); its path."""
    path = os.path.join(prog, "Tardello.tmp")
    Path(path).write_bytes("".join(f"Titre={subject}\r\nDest={to}\r\nCC=\r\nBCC=\r\nDate={when}\r\nAttach=\r\n"
                                   f"DebutContenu=\r\n{body}\r\n=FinContenu\r\n" for subject, to, when, body in mails).encode("cp1252"))
    return path


def wait_for(what, check, timeout):
    """Polls check() until it returns a true value; fails after timeout seconds."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = check()
        if value:
            return value
        time.sleep(0.1)
    raise TimeoutError(f"timed out after {timeout} s waiting for {what}")


def run_installed(build, test):
    """Installs the build into a fresh directory and calls test(session, prog, work) in an X session of its own.
    Returns the exit code: 0, or 77 (skipped) when a tool of the session is missing."""
    missing = [tool for tool in ("Xvfb", "trayer", "xdotool") if not shutil.which(tool)]
    if missing:
        print(f"SKIP: {' and '.join(missing)} not installed")
        return 77
    work = tempfile.mkdtemp(prefix="tardello-e2e-")
    try:
        prog = os.path.join(work, "prog")
        subprocess.run(["cmake", "--install", build, "--prefix", prog], check=True, timeout=60, stdout=subprocess.DEVNULL)
        with XSession() as session:
            test(session, prog, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("PASS")
    return 0


class XSession:
    def __init__(self):
        self.processes = []
        self.env = dict(os.environ)
        # Without a session bus Qt uses the X11 tray protocol, which the tray host speaks.
        self.env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        self.env["QT_QPA_PLATFORM"] = "xcb"

    def put_sendmail(self, work, script):
        """The given sendmail script first on the session's path, with $OUT naming work for what it keeps."""
        os.makedirs(os.path.join(work, "bin"))
        Path(work, "bin", "sendmail").write_text(script)
        os.chmod(os.path.join(work, "bin", "sendmail"), 0o755)
        self.env.update(PATH=os.path.join(work, "bin") + ":" + self.env["PATH"], OUT=work)

    def start(self, name, args, stdout=subprocess.DEVNULL, **kwargs):
        process = subprocess.Popen(args, env=self.env, stdout=stdout, stderr=subprocess.DEVNULL, **kwargs)
        self.processes.append((name, process))
        return process

    def start_program(self, prog):
        """The installed program, started from its directory; returns it and its main window once shown."""
        tardello = self.start("tardello", [os.path.join(prog, "tardello")], cwd=prog)
        return tardello, wait_for("the main window", lambda: self.find(title=main_title()), 20)

    def send_missed_now(self):
        """Answers the missed-mail window with "Envoyer maintenant", the button that has the focus."""
        missed = wait_for("the missed-mail window", lambda: self.find(title="Tardello", wm_class="tardello"), 10)
        self.xdotool("windowfocus", "--sync", missed.id)
        self.xdotool("key", "space")

    def start_bus(self):
        """A session bus of the session's own, for the processes started after; returns its address."""
        bus = self.start("dbus-daemon", ["dbus-daemon", "--session", "--nofork", "--print-address=1"], stdout=subprocess.PIPE)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()
        return self.env["DBUS_SESSION_BUS_ADDRESS"]

    def __enter__(self):
        # The server picks a free display itself and tells which: no race with other sessions.
        read_end, write_end = os.pipe()
        self.start("Xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                   pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as announced:
            number = announced.readline().strip() if select.select([announced], [], [], 15)[0] else ""
        if not number:
            raise RuntimeError("the X server did not start")
        self.env["DISPLAY"] = f":{number}"
        self.x = xdisplay.Display(self.env["DISPLAY"])  # the number comes once the server takes connections
        self.start("trayer", ["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel",
                              "--width", "120", "--height", "32", "--SetDockType", "false"])
        tray_atom = self.x.intern_atom("_NET_SYSTEM_TRAY_S0")
        wait_for("the tray host", lambda: self.x.get_selection_owner(tray_atom) != X.NONE, 15)
        return self

    def __exit__(self, *exc):
        for name, process in reversed(self.processes):
            process.terminate()  # nothing when it has ended
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait(5)
        return False

    # Windows --------------------------------------------------------------
    def windows(self, window=None):
        """Every window under window (the root when None), with its name, class and attributes."""
        window = window or self.x.screen().root
        try:
            children = window.query_tree().children
        except Exception:
            return
        for child in children:
            try:
                yield child, child.get_wm_name(), " ".join(child.get_wm_class() or ()), child.get_attributes()
            except Exception:
                continue  # gone meanwhile
            yield from self.windows(child)

    def is_mapped(self, window):
        try:
            return window.get_attributes().map_state == X.IsViewable
        except Exception:
            return False

    def find(self, title=None, wm_class=None, mapped=True, override_redirect=None, under=None, besides=()):
        """The first window under `under` with that title and a class that holds wm_class, other than those besides."""
        for window, name, klass, attributes in self.windows(under):
            if ((title is None or name == title) and (wm_class is None or wm_class in klass.lower())
                    and (not mapped or attributes.map_state == X.IsViewable) and window.id not in besides
                    and (override_redirect is None or bool(attributes.override_redirect) == override_redirect)):
                return window
        return None

    def docked(self, wm_class):
        """The window of class wm_class that the tray host holds: a program's tray icon."""
        panel = self.find(wm_class="trayer")
        return panel and self.find(wm_class=wm_class, under=panel)

    def popup(self, *others):
        """A mapped override-redirect window of the program other than the given ones: its tray menu."""
        return self.find(wm_class="tardello", override_redirect=True, besides={window.id for window in others})

    def quit_from(self, menu):
        """Chooses "Quitter" in the tray menu and answers the question with Oui, its default button."""
        x, y = self.centre(menu)  # two items of equal height: "Quitter" is the lower one
        self.xdotool("mousemove", x, y + menu.get_geometry().height // 4, "click", "1")
        question = wait_for("the quit question", lambda: self.find(title="Tardello"), 10)
        self.xdotool("windowfocus", "--sync", question.id)
        self.xdotool("key", "Return")

    def quit_by_tray(self, icon):
        """Right-clicks the tray icon and quits from its menu."""
        self.xdotool("mousemove", *self.centre(icon), "click", "3")
        self.quit_from(wait_for("the tray menu", lambda: self.popup(icon), 10))

    def centre(self, window):
        geometry = window.get_geometry()
        origin = window.translate_coords(self.x.screen().root, 0, 0)
        return -origin.x + geometry.width // 2, -origin.y + geometry.height // 2

    def close_box(self, window):
        """What a window manager does when the user clicks the close box."""
        protocols, delete = self.x.intern_atom("WM_PROTOCOLS"), self.x.intern_atom("WM_DELETE_WINDOW")
        window.send_event(protocol.event.ClientMessage(window=window, client_type=protocols,
                                                       data=(32, [delete, X.CurrentTime, 0, 0, 0])))
        self.x.flush()

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True, timeout=10)
