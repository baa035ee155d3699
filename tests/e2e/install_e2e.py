"""The install as scripts/run.sh makes it, and scripts/uninstall.sh: the help's list of installed files is the
install's own, the program carries no debugging information, the menu entry and icon go where the desktop looks,
uninstalling removes them and every installed file but not while the program runs, keeps the mails and tells of
the outbox, and --purge leaves no folder."""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path


def files_under(folder):
    return sorted(os.path.relpath(os.path.join(root, name), folder)
                  for root, _, names in os.walk(folder) for name in names)


def run(args, env, expect=0):
    done = subprocess.run(args, env=env, capture_output=True, text=True, timeout=60)
    assert done.returncode == expect, f"{args} returned {done.returncode}: {done.stdout}{done.stderr}"
    return done.stdout + done.stderr


def check(build, source, work):
    prog = os.path.join(work, "Tardello")
    subprocess.run(["cmake", "--install", build, "--prefix", prog, "--strip"], check=True, timeout=60,
                   stdout=subprocess.DEVNULL)
    installed = files_under(prog)
    # The help's list is the <tt> names of its <ul id="installes-linux">.
    block = re.search(r'<ul id="installes-linux">(.*?)</ul>', Path(source, "docs", "aide", "Tardello.html").read_text("utf-8"), re.S)
    listed = sorted(re.findall(r"<tt>(.*?)</tt>", block.group(1), re.S)) if block else []
    assert listed == installed, f"the help lists {listed}, the install puts {installed}"
    for name in installed:
        if Path(prog, name).read_bytes().startswith(b"\x7fELF"):
            sections = subprocess.run(["readelf", "-S", "-W", os.path.join(prog, name)], capture_output=True, text=True,
                                      check=True).stdout
            assert ".debug_info" not in sections and ".symtab" not in sections, f"{name} is not stripped"

    home = os.path.join(work, "home")
    data, config = os.path.join(home, "data"), os.path.join(home, "config")
    env = {key: value for key, value in os.environ.items() if key not in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")}
    env.update(HOME=home, XDG_DATA_HOME=data, XDG_CONFIG_HOME=config, TARDELLO_HOME=prog, QT_QPA_PLATFORM="offscreen")
    program = os.path.join(prog, "tardello")
    run([program, "--install-desktop"], env)
    menu_entry = os.path.join(data, "applications", "tardello.desktop")
    icon = os.path.join(data, "icons", "hicolor", "256x256", "apps", "tardello.png")
    assert f"Exec={program}\n" in Path(menu_entry).read_text(), "the menu entry does not start the installed program"
    assert Path(icon).read_bytes().startswith(b"\x89PNG\r\n\x1a\n"), "the icon is not a PNG"
    autostart = os.path.join(config, "autostart", "tardello.desktop")
    os.makedirs(os.path.dirname(autostart))
    shutil.copy(menu_entry, autostart)  # as if the user had turned start at login on
    os.makedirs(os.path.join(prog, "Boîte d'envoi"))
    kept = ["Tardello.tmp", "Tardello.tmp.bak", "Tardello.ini", "TardelloLinux.ini", "Boîte d'envoi/1.eml"]
    for name in kept:
        Path(prog, name).write_bytes(b"Titre=Garder\r\nDest=anne@exemple.fr\r\nCC=\r\nBCC=\r\nDate=07/01/2030 09:30\r\nAttach=\r\n"
                                     b"DebutContenu=\r\nBonjour,\r\n=FinContenu\r\n" if name == "Tardello.tmp" else b"")
    uninstall = os.path.join(source, "scripts", "uninstall.sh")

    # While the program runs, nothing is taken from it.
    tardello = subprocess.Popen([program], env=env, cwd=home, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        # The running program holds an flock on its directory.
        end = time.monotonic() + 20
        while subprocess.run(["flock", "--nonblock", prog, "true"]).returncode == 0 and time.monotonic() < end:
            time.sleep(0.1)
        assert time.monotonic() < end, "the program did not start"
        refused = run([uninstall, "--purge"], env, expect=1)
        assert "tourne encore" in refused, refused
        assert files_under(prog) == sorted(installed + kept), files_under(prog)
    finally:
        tardello.send_signal(signal.SIGKILL)  # the kernel drops its lock with it
        tardello.wait(10)

    said = run([uninstall], env)
    assert files_under(prog) == sorted(kept), f"left: {files_under(prog)}\n{said}"
    assert not any(map(os.path.exists, (menu_entry, icon, autostart))), "the desktop's entries are still there"
    assert "message(s) de" in said, f"the outbox must be told of: {said}"
    said = run([uninstall, "--purge"], env)
    assert not os.path.exists(prog), f"left: {files_under(prog)}\n{said}"
    assert "Restent" not in said, said


if __name__ == "__main__":
    work = tempfile.mkdtemp(prefix="tardello-install-")
    try:
        check(sys.argv[sys.argv.index("--build") + 1], sys.argv[sys.argv.index("--source") + 1], work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("PASS")
