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
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("PASS")
    return 0


def run(s, program, prog, artefacts):
    store = os.path.join(prog, "Tardello.tmp")
    with open(store, "wb") as out:
        out.write(STORE)
    tardello = s.start("tardello", [program], cwd=prog)
    icon = wait_for("the tray icon", lambda: embedded_icon(s), 15)
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

    s.close_box(main_window)
    wait_for("the main window to hide", lambda: not s.is_mapped(main_window), 10)
    assert tardello.poll() is None, "closing the main window ended the program"

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
    menu = wait_for("the tray menu while the editor is open", lambda: popup(s, icon), 10)
    # Two items of equal height: "Quitter" is the lower one.
    menu_x, menu_y = s.centre(menu)
    s.xdotool("mousemove", menu_x, menu_y + menu.get_geometry().height // 4, "click", "1")
    question = wait_for("the quit question", lambda: s.find(title="Tardello"), 10)
    s.xdotool("windowfocus", "--sync", question.id)
    s.xdotool("key", "Return")  # Yes is the default button
    code = tardello.wait(15)
    assert code == 0, f"the program ended with {code}"

    with open(os.path.join(prog, "Tardello.ini"), "rb") as settings:
        content = settings.read()
    assert b"Client=Outlook\r\n" in content, f"settings file holds {content!r}"
    with open(store, "rb") as kept:
        assert kept.read() == STORE, "quitting must leave the store as it was"


def popup(s, icon):
    """A mapped override-redirect window of the program other than its tray icon."""
    for window in s.windows():
        try:
            klass = window.get_wm_class()
            attributes = window.get_attributes()
        except Exception:
            continue
        if (klass and "tardello" in klass and window.id != icon.id and attributes.override_redirect
                and attributes.map_state == 2):
            return window
    return None


def embedded_icon(s):
    """The program's window inside the tray host."""
    panel = s.find(wm_class="trayer", mapped=True)
    if panel is None:
        return None
    for window in s.windows(panel):
        try:
            klass = window.get_wm_class()
        except Exception:
            continue
        if klass and "tardello" in klass and s.is_mapped(window):
            return window
    return None


if __name__ == "__main__":
    sys.exit(main())
