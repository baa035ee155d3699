"""The installed program in a real X session with a tray host: splash, icon, show, hide, quit."""
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import main_title, put_store, run_installed, wait_for  # noqa: E402


def run(s, prog, work, artefacts):
    # A sendmail on the path, so the start-up notice about a missing one does not cover the tray menu.
    s.put_sendmail(work, "#!/bin/sh\ncat >/dev/null\n")
    store = put_store(prog, ("Réunion de lundi", "anne@exemple.fr;paul@exemple.fr", "07/01/2030 09:30", "Bonjour à tous,"),
                      ("Anniversaire", "lea@exemple.fr", "02/03/2030 08:00", "Bon anniversaire !"))
    before = Path(store).read_bytes()
    # A session bus of its own, without a tray watcher, so the icon still goes to the X11 tray host.
    if shutil.which("dbus-daemon"):
        s.start_bus()
    started = time.monotonic()
    tardello = s.start("tardello", [os.path.join(prog, "tardello")], cwd=prog)
    icon = wait_for("the tray icon", lambda: s.docked("tardello"), 15)
    splash = wait_for("the splash", lambda: s.find(wm_class="tardello", title="", override_redirect=False), 10)
    assert not s.find(title=main_title()), "the main window came with the splash"

    main_window = wait_for("the main window after the splash", lambda: s.find(title=main_title()), 15)
    # The splash's three seconds count from the start at the earliest: polling can only make this later.
    assert time.monotonic() - started > 2.5, f"main window shown {time.monotonic() - started:.1f} s after the start"
    assert not s.is_mapped(splash), "the splash is still up"
    time.sleep(0.5)
    subprocess.run(["import", "-window", hex(main_window.id), os.path.join(artefacts, "mainwindow.png")], env=s.env,
                   check=True, timeout=20)

    s.close_box(main_window)
    wait_for("the main window to hide", lambda: not s.is_mapped(main_window), 10)

    # A left click acts on the release, not on the press.
    x, y = s.centre(icon)
    s.xdotool("mousemove", x, y, "mousedown", "1")
    time.sleep(1)
    assert not s.is_mapped(main_window), "the main window came back on the press"
    s.xdotool("mouseup", "1")
    wait_for("the main window after a left click on the icon", lambda: s.is_mapped(main_window), 10)

    # With the (modal) editor open, the icon still offers its menu.
    new_mail = (930 // 15, 667 // 15)  # the centre of "Nouveau mail >>", in twips at 96 dpi
    s.xdotool("mousemove", "--window", main_window.id, *new_mail, "click", "1")
    wait_for("the editor", lambda: s.find(title="Tardello - Instance de mail"), 10)
    s.quit_by_tray(icon)
    assert tardello.wait(15) == 0
    settings = Path(prog, "Tardello.ini").read_bytes()
    assert b"Client=Outlook\r\n" in settings, f"settings file holds {settings!r}"
    assert Path(store).read_bytes() == before, "quitting must leave the store as it was"


if __name__ == "__main__":
    artefacts = sys.argv[sys.argv.index("--artefacts") + 1]
    os.makedirs(artefacts, exist_ok=True)
    sys.exit(run_installed(sys.argv[sys.argv.index("--build") + 1], lambda s, prog, work: run(s, prog, work, artefacts)))
