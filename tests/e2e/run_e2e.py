"""scripts/run.sh's start step, typed in a terminal's shell: the program it starts outlives the terminal's session.
The terminal is a pseudo-terminal whose shell leads a session of its own; closing it hangs the session up, and
every process of the session gets SIGHUP. The program then still answers a second start and still sends; its "Aide" tells a missing PDF viewer."""
import fcntl
import glob
import os
import re
import select
import signal
import subprocess
import sys
import termios
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import main_title, put_store, run_installed, wait_for  # noqa: E402

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# A mail whose minute passed: the missed-mail window offers it at start-up, and sends it on a key press.
MAIL = ("Après le terminal", "anne@exemple.fr", "07/01/2020 09:30", "Bonjour,")


def main():
    return run_installed(sys.argv[sys.argv.index("--build") + 1], run)


def processes(where):
    """The ids of the processes for which where(pid) holds."""
    found = []
    for pid in map(int, filter(str.isdigit, os.listdir("/proc"))):
        try:
            if where(pid):
                found.append(pid)
        except OSError:
            pass  # ended meanwhile
    return found


def processes_of(program):
    return processes(lambda pid: os.readlink(f"/proc/{pid}/exe") == program)


def has_pdf_viewer(env):
    try:
        query = subprocess.run(["xdg-mime", "query", "default", "application/pdf"], env=env, capture_output=True,
                               text=True, timeout=15)
    except FileNotFoundError:
        return False
    return bool(query.stdout.strip())


def read_until(terminal, pattern, timeout):
    """What the terminal shows until pattern matches; returns the match and all that was shown."""
    seen = b""
    end = time.monotonic() + timeout
    while not (found := re.search(pattern, seen)):
        ready, _, _ = select.select([terminal], [], [], max(0.0, end - time.monotonic()))
        if not ready:
            raise TimeoutError(f"the terminal did not show {pattern!r}; it showed {seen!r}")
        seen += os.read(terminal, 4096)
    return found, seen.decode(errors="replace")


def run(s, prog, work):
    home = os.path.join(work, "home")
    os.makedirs(home)
    s.env.update(HOME=home, TARDELLO_HOME=prog, OUT=work)
    s.put_on_path(os.path.join(work, "bin"), "sendmail", '#!/bin/sh\ncat > "$OUT/sent.$$"\n')
    s.start_bus()
    put_store(prog, MAIL)
    program = os.path.realpath(os.path.join(prog, "tardello"))
    run_sh = os.path.join(SOURCE, "scripts", "run.sh")

    # An interactive shell on a terminal of its own, as a terminal window runs it.
    terminal, tty = os.openpty()

    def take_terminal():
        fcntl.ioctl(0, termios.TIOCSCTTY, 0)

    shell = subprocess.Popen(["bash", "--norc", "--noprofile", "-i"], stdin=tty, stdout=tty, stderr=tty, env=s.env,
                             cwd=work, start_new_session=True, preexec_fn=take_terminal)
    os.close(tty)
    os.write(terminal, f"'{run_sh}' --start; echo ENDED$?.\n".encode())
    ended, said = read_until(terminal, rb"ENDED(\d+)\.", 20)  # the echoed command shows "ENDED$?."
    assert ended.group(1) == b"0", said
    started = wait_for("the program", lambda: processes_of(program), 5)
    assert len(started) == 1, started
    pid = started[0]
    try:
        assert os.getsid(pid) != shell.pid, "the program is in the terminal's session"
        assert os.readlink(f"/proc/{pid}/cwd") == home, "the program does not work from the home folder"
        assert os.readlink(f"/proc/{pid}/fd/0") == "/dev/null"
        main_window = wait_for("the main window", lambda: s.find(title=main_title()), 20)
        missed = wait_for("the missed-mail window", lambda: s.find(title="Tardello", wm_class="tardello"), 10)

        # The terminal window closes: its session is hung up, and every process group of the session
        # gets SIGHUP, as when the login session that holds the terminal ends.
        os.close(terminal)
        for member in processes(lambda pid: os.getsid(pid) == shell.pid):
            try:
                os.kill(member, signal.SIGHUP)
            except ProcessLookupError:
                pass  # ended by the hang-up already
        shell.wait(10)
        time.sleep(1)
        assert processes_of(program) == [pid], "closing the terminal ended the program"

        # Still at work: it sends the missed mail on a key press...
        s.xdotool("windowfocus", "--sync", missed.id)
        s.xdotool("key", "space")  # "Envoyer maintenant" has the focus
        wait_for("the mail sent after the terminal closed", lambda: any(
            b"anne@exemple.fr" in open(sent, "rb").read() for sent in glob.glob(os.path.join(work, "sent.*"))), 20)
        # ...and a second start, by the same step, brings its main window back.
        s.close_box(main_window)
        wait_for("the main window to hide", lambda: not s.is_mapped(main_window), 10)
        again = subprocess.run([run_sh, "--start"], env=s.env, capture_output=True, text=True, timeout=20)
        assert again.returncode == 0 and "tournait déjà" in again.stdout, again.stdout + again.stderr
        wait_for("the main window shown by a second start", lambda: s.is_mapped(main_window), 10)
        assert processes_of(program) == [pid]

        # "Aide" on a desktop without a PDF viewer says so in a box, which Enter closes.
        if not has_pdf_viewer(s.env):
            s.xdotool("mousemove", "--window", main_window.id, 5460 // 15, 667 // 15, "click", "1")
            box = wait_for("the box about the PDF viewer", lambda: s.find(title="Tardello - Erreur"), 15)
            s.xdotool("windowfocus", "--sync", box.id)
            s.xdotool("key", "Return")
            wait_for("the box to close", lambda: not s.is_mapped(box), 10)
    finally:
        os.kill(pid, signal.SIGTERM)


if __name__ == "__main__":
    sys.exit(main())
