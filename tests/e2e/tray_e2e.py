"""The installed program in a real X session with a tray host: icon, show, hide, quit."""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import XSession, wait_for  # noqa: E402

TITLE = "Tardello - v 1.15"
STORE = "\r\n".join([
    "Titre=Réunion de lundi", "Dest=anne@exemple.fr;paul@exemple.fr", "CC=", "BCC=", "Date=07/01/2030 09:30",
    "Attach=", "DebutContenu=", "Bonjour à tous,", "=FinContenu",
    "Titre=Anniversaire", "Dest=lea@exemple.fr", "CC=", "BCC=", "Date=02/03/2030 08:00",
    "Attach=", "DebutContenu=", "Bon anniversaire !", "=FinContenu", ""]).encode("cp1252")
SKIP = 77


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--artefacts", required=True)
    args = parser.parse_args()
    os.makedirs(args.artefacts, exist_ok=True)

    work = tempfile.mkdtemp(prefix="tardello-e2e-")
    try:
        prog = os.path.join(work, "prog")
        subprocess.run(["cmake", "--install", args.build, "--prefix", prog], check=True, timeout=60,
                       stdout=subprocess.DEVNULL)
        program = os.path.join(prog, "tardello")
        assert os.path.exists(os.path.join(prog, "Tardello.pdf")), "help document not installed"
        try:
            session = XSession()
            session.__enter__()
        except FileNotFoundError as missing:
            print(f"SKIP: {missing} is not installed")
            return SKIP
        try:
            run(session, program, prog, args.artefacts)
        finally:
            session.__exit__(None, None, None)
        install_and_uninstall(prog, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("PASS")
    return 0


def run(s, program, prog, artefacts):
    # A sendmail on the path, so the start-up notice about a missing one does not cover the tray menu.
    bin_dir = os.path.join(os.path.dirname(prog), "bin")
    os.makedirs(bin_dir)
    with open(os.path.join(bin_dir, "sendmail"), "w") as script:
        script.write("#!/bin/sh\ncat >/dev/null\n")
    os.chmod(os.path.join(bin_dir, "sendmail"), 0o755)
    s.env["PATH"] = bin_dir + ":" + s.env["PATH"]
    store = os.path.join(prog, "Tardello.tmp")
    with open(store, "wb") as out:
        out.write(STORE)
    # A session bus of its own, without a tray watcher, so the icon still goes to the X11 tray host.
    if shutil.which("dbus-daemon"):
        bus = s.start_reading("dbus-daemon", ["dbus-daemon", "--session", "--nofork", "--print-address=1"])
        s.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().decode().strip()
    tardello = s.start("tardello", [program], cwd=prog)
    icon = wait_for("the tray icon", lambda: s.docked("tardello"), 15)
    splash = wait_for("the splash", lambda: s.find(wm_class="tardello", title="", override_redirect=False), 10)
    splash_seen = time.monotonic()
    print("tray icon shown at", s.centre(icon))

    # A second start while the first runs ends at once, without a window.
    second = subprocess.run([program], env=s.env, timeout=10, capture_output=True)
    assert second.returncode == 0, f"second instance returned {second.returncode}"

    main_window = wait_for("the main window after the splash", lambda: s.find(title=TITLE), 15)
    shown_after = time.monotonic() - splash_seen
    assert shown_after > 2.5, f"main window shown {shown_after:.1f} s after the splash"
    assert not s.is_mapped(splash), "the splash is still up"
    assert tardello.poll() is None
    time.sleep(0.5)
    screenshot = os.path.join(artefacts, "mainwindow.png")
    subprocess.run(["import", "-window", hex(main_window.id), screenshot], env=s.env, check=True, timeout=20)
    print("screenshot:", screenshot)

    # The Linux settings window, opened by its button between the toolbar and the client choice.
    s.xdotool("mousemove", "--window", main_window.id, 438, 43, "click", "1")
    sender = wait_for("the sender settings window", lambda: s.find(title="Tardello - Expéditeur"), 10)
    time.sleep(0.5)
    subprocess.run(["import", "-window", hex(sender.id), os.path.join(artefacts, "expediteur.png")], env=s.env,
                   check=True, timeout=20)
    s.close_box(sender)
    wait_for("the sender settings window to close", lambda: not s.is_mapped(sender), 10)

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
        assert kept.read() == STORE, "quitting must leave the store as it was"


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
