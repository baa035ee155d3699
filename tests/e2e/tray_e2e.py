"""The installed program in a real X session with a tray host: icon, show, hide, quit."""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import main_title, put_store, run_installed, wait_for  # noqa: E402

def main():
    artefacts = sys.argv[sys.argv.index("--artefacts") + 1]
    os.makedirs(artefacts, exist_ok=True)
    return run_installed(sys.argv[sys.argv.index("--build") + 1], lambda s, prog, work: run(s, prog, work, artefacts))


def run(s, prog, work, artefacts):
    program = os.path.join(prog, "tardello")
    assert os.path.exists(os.path.join(prog, "Tardello.pdf")), "help document not installed"
    # A sendmail on the path, so the start-up notice about a missing one does not cover the tray menu.
    s.put_on_path(os.path.join(work, "bin"), "sendmail", "#!/bin/sh\ncat >/dev/null\n")
    store = put_store(prog, ("Réunion de lundi", "anne@exemple.fr;paul@exemple.fr", "07/01/2030 09:30", "Bonjour à tous,"),
                      ("Anniversaire", "lea@exemple.fr", "02/03/2030 08:00", "Bon anniversaire !"))
    with open(store, "rb") as written:
        before = written.read()
    # A session bus of its own, without a tray watcher, so the icon still goes to the X11 tray host.
    if shutil.which("dbus-daemon"):
        s.start_bus()
    started = time.monotonic()
    tardello = s.start("tardello", [program], cwd=prog)
    icon = wait_for("the tray icon", lambda: s.docked("tardello"), 15)
    splash = wait_for("the splash", lambda: s.find(wm_class="tardello", title="", override_redirect=False), 10)
    assert not s.find(title=main_title()), "the main window came with the splash"
    print("tray icon shown at", s.centre(icon))

    # A second start while the first runs ends at once, without a window.
    second = subprocess.run([program], env=s.env, timeout=10, capture_output=True)
    assert second.returncode == 0, f"second instance returned {second.returncode}"

    main_window = wait_for("the main window after the splash", lambda: s.find(title=main_title()), 15)
    # The splash's three seconds count from the start at the earliest: polling can only make this later.
    shown_after = time.monotonic() - started
    assert shown_after > 2.5, f"main window shown {shown_after:.1f} s after the start"
    assert not s.is_mapped(splash), "the splash is still up"
    assert tardello.poll() is None
    time.sleep(0.5)
    subprocess.run(["import", "-window", hex(main_window.id), os.path.join(artefacts, "mainwindow.png")], env=s.env,
                   check=True, timeout=20)

    s.close_box(main_window)
    wait_for("the main window to hide", lambda: not s.is_mapped(main_window), 10)
    assert tardello.poll() is None, "closing the main window ended the program"

    if "DBUS_SESSION_BUS_ADDRESS" in s.env:
        # Starting it again brings the running one's window back; the second start still ends at once.
        again = subprocess.run([program], env=s.env, timeout=10, capture_output=True)
        assert again.returncode == 0, f"second instance returned {again.returncode}"
        wait_for("the main window raised by a second start", lambda: s.is_mapped(main_window), 10)
        print("a second start brought the main window back")
        s.close_box(main_window)
        wait_for("the main window to hide again", lambda: not s.is_mapped(main_window), 10)

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
    s.xdotool("mousemove", x, y, "click", "3")
    menu = wait_for("the tray menu while the editor is open", lambda: s.popup(icon), 10)
    s.quit_from(menu)
    code = tardello.wait(15)
    assert code == 0, f"the program ended with {code}"

    with open(os.path.join(prog, "Tardello.ini"), "rb") as settings:
        content = settings.read()
    assert b"Client=Outlook\r\n" in content, f"settings file holds {content!r}"
    with open(store, "rb") as kept:
        assert kept.read() == before, "quitting must leave the store as it was"
    install_and_uninstall(prog, work)


def install_and_uninstall(prog, work):
    """The menu entry and icon go where the desktop looks; uninstalling takes them and the program, not the
    mails nor the outbox; --purge takes those too."""
    data, config = os.path.join(work, "data"), os.path.join(work, "config")
    env = dict(os.environ, XDG_DATA_HOME=data, XDG_CONFIG_HOME=config, TARDELLO_HOME=prog)
    program = os.path.join(prog, "tardello")
    subprocess.run([program, "--install-desktop"], env=env, check=True, timeout=30, stderr=subprocess.DEVNULL)
    entry = os.path.join(data, "applications", "tardello.desktop")
    icon = os.path.join(data, "icons", "hicolor", "256x256", "apps", "tardello.png")
    with open(entry) as text:
        assert f"Exec={program}\n" in text.read(), "the menu entry does not start the installed program"
    with open(icon, "rb") as png:
        assert png.read(8) == b"\x89PNG\r\n\x1a\n", "the icon is not a PNG"
    autostart = os.path.join(config, "autostart", "tardello.desktop")
    os.makedirs(os.path.dirname(autostart))
    shutil.copy(entry, autostart)  # as if the user had turned start at login on
    outbox = os.path.join(prog, "Boîte d'envoi")
    os.makedirs(outbox, exist_ok=True)
    with open(os.path.join(outbox, "20261205-140500000-0001.eml"), "w") as waiting:
        waiting.write("Subject: pas encore parti\n\nCorps\n")
    uninstall = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
                             "scripts", "uninstall.sh")
    said = subprocess.run([uninstall], env=env, check=True, timeout=30, capture_output=True, text=True).stdout
    for gone in (entry, icon, autostart, program, os.path.join(prog, "Tardello.pdf")):
        assert not os.path.exists(gone), f"{gone} is still there after uninstalling"
    assert os.path.exists(os.path.join(prog, "Tardello.tmp")), "uninstalling removed the pending mails"
    assert os.listdir(outbox) and "message(s) de" in said, f"the outbox must stay and be told of: {said!r}"
    subprocess.run([uninstall, "--purge"], env=env, check=True, timeout=30, capture_output=True)
    for gone in (outbox, os.path.join(prog, "Tardello.tmp")):
        assert not os.path.exists(gone), f"{gone} is still there after --purge"


if __name__ == "__main__":
    sys.exit(main())
