"""The install as scripts/run.sh makes it, and scripts/uninstall.sh: the help's list of installed files is the
install's own, the program carries no debugging information, uninstalling removes every installed file but
not while the program runs, and --purge leaves no folder."""
import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time


STORE = "\r\n".join(["Titre=Garder", "Dest=anne@exemple.fr", "CC=", "BCC=", "Date=07/01/2030 09:30", "Attach=",
                     "DebutContenu=", "Bonjour,", "=FinContenu", ""]).encode("cp1252")


def listed_in_help(source):
    """The names in <tt> of the help's list of installed files, the <ul> whose id is "installes-linux"."""
    with open(os.path.join(source, "docs", "aide", "Tardello.html"), encoding="utf-8") as page:
        block = re.search(r'<ul id="installes-linux">(.*?)</ul>', page.read(), re.S)
    return sorted(re.findall(r"<tt>(.*?)</tt>", block.group(1), re.S)) if block else []


def files_under(folder):
    return sorted(os.path.relpath(os.path.join(root, name), folder)
                  for root, _, names in os.walk(folder) for name in names)


def run(args, env, expect=0):
    done = subprocess.run(args, env=env, capture_output=True, text=True, timeout=60)
    assert done.returncode == expect, f"{args} returned {done.returncode}: {done.stdout}{done.stderr}"
    return done.stdout + done.stderr


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--source", required=True)
    args = parser.parse_args()
    work = tempfile.mkdtemp(prefix="tardello-install-")
    try:
        check(args.build, args.source, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("PASS")
    return 0


def check(build, source, work):
    prog = os.path.join(work, "Tardello")
    subprocess.run(["cmake", "--install", build, "--prefix", prog, "--strip"], check=True, timeout=60,
                   stdout=subprocess.DEVNULL)
    with open(os.path.join(build, "install_manifest.txt")) as manifest:
        installed = sorted(os.path.relpath(line.strip(), prog) for line in manifest if line.strip())
    assert installed == files_under(prog), f"the manifest {installed} is not what is in {prog}"
    listed = listed_in_help(source)
    assert listed == installed, f"the help lists {listed}, the install puts {installed}"

    size = 0
    for name in installed:
        path = os.path.join(prog, name)
        size += os.path.getsize(path)
        with open(path, "rb") as head:
            if head.read(4) != b"\x7fELF":
                continue
        sections = subprocess.run(["readelf", "-S", "-W", path], capture_output=True, text=True, check=True).stdout
        assert ".debug_info" not in sections and ".symtab" not in sections, f"{name} is not stripped"
    print(f"installed: {', '.join(installed)}; {size / 1e6:.2f} MB")

    home = os.path.join(work, "home")
    env = {key: value for key, value in os.environ.items() if key not in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")}
    env.update(HOME=home, XDG_DATA_HOME=os.path.join(home, "data"), XDG_CONFIG_HOME=os.path.join(home, "config"),
               TARDELLO_HOME=prog, QT_QPA_PLATFORM="offscreen")
    program = os.path.join(prog, "tardello")
    run([program, "--install-desktop"], env)
    menu_entry = os.path.join(home, "data", "applications", "tardello.desktop")
    assert os.path.exists(menu_entry)
    outbox = os.path.join(prog, "Boîte d'envoi")
    os.makedirs(outbox)
    kept = ["Tardello.tmp", "Tardello.tmp.bak", "Tardello.ini", "TardelloLinux.ini", "Boîte d'envoi/1.eml"]
    for name in kept:
        with open(os.path.join(prog, name), "wb") as out:
            out.write(STORE if name == "Tardello.tmp" else b"")
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
    assert sorted(files_under(prog)) == sorted(kept), f"left: {files_under(prog)}\n{said}"
    assert not os.path.exists(menu_entry)
    said = run([uninstall, "--purge"], env)
    assert not os.path.exists(prog), f"left: {files_under(prog)}\n{said}"
    assert "Restent" not in said, said


if __name__ == "__main__":
    sys.exit(main())
