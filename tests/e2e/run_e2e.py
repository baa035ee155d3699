"""scripts/run.sh's start step, typed in a terminal's shell: the program it starts outlives the terminal's session.
The terminal is a pseudo-terminal whose shell leads a session of its own; closing it hangs the session up, and
every process of the session gets SIGHUP. The program then still sends and answers a second start; its "Aide" tells a missing PDF viewer."""
import fcntl
import glob
import os
import signal
import subprocess
import sys
import termios
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import main_title, put_store, run_installed, wait_for  # noqa: E402

RUN_SH = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))), "scripts", "run.sh")


def run(s, prog, work):
    home = os.path.join(work, "home")
    os.makedirs(home)
    s.env.update(HOME=home, TARDELLO_HOME=prog)
    s.put_sendmail(work, '#!/bin/sh\ncat > "$OUT/sent.$$"\n')
    s.start_bus()
    put_store(prog, ("Après le terminal", "anne@exemple.fr", "07/01/2020 09:30", "Bonjour,"))
    program = os.path.realpath(os.path.join(prog, "tardello"))
    ours = lambda: sorted(map(int, subprocess.run(["pidof", program], capture_output=True).stdout.split()))  # noqa: E731

    # An interactive shell on a terminal of its own, as a terminal window runs it.
    terminal, tty = os.openpty()
    shell = subprocess.Popen(["bash", "--norc", "--noprofile", "-i"], stdin=tty, stdout=tty, stderr=tty, env=s.env,
                             cwd=work, start_new_session=True,
                             preexec_fn=lambda: fcntl.ioctl(0, termios.TIOCSCTTY, 0))
    os.close(tty)
    os.write(terminal, f"'{RUN_SH}' --start; echo $? > ended\n".encode())
    ended = os.path.join(work, "ended")
    wait_for("the start step to end", lambda: os.path.exists(ended) and open(ended).read().endswith("\n"), 20)
    assert open(ended).read() == "0\n", f"the start step ended with {open(ended).read()}"
    [pid] = wait_for("the program", ours, 5)  # one, and only one
    try:
        assert os.getsid(pid) != shell.pid, "the program is in the terminal's session"
        assert os.readlink(f"/proc/{pid}/cwd") == home, "the program does not work from the home folder"
        assert os.readlink(f"/proc/{pid}/fd/0") == "/dev/null"
        main_window = wait_for("the main window", lambda: s.find(title=main_title()), 20)

        # The terminal window closes: its session is hung up, and every process group of the session
        # gets SIGHUP, as when the login session that holds the terminal ends.
        os.close(terminal)
        subprocess.run(["pkill", "--signal", "HUP", "--session", str(shell.pid)])
        shell.wait(10)
        time.sleep(1)  # time for a SIGHUP to end it, which would close the missed-mail window

        # Still at work: it sends the missed mail on a key press...
        s.send_missed_now()
        wait_for("the mail sent after the terminal closed", lambda: any(
            b"anne@exemple.fr" in open(sent, "rb").read() for sent in glob.glob(os.path.join(work, "sent.*"))), 20)
        # ...and a second start, by the same step, brings its main window back.
        s.close_box(main_window)
        wait_for("the main window to hide", lambda: not s.is_mapped(main_window), 10)
        again = subprocess.run([RUN_SH, "--start"], env=s.env, capture_output=True, text=True, timeout=20)
        assert again.returncode == 0 and "tournait déjà" in again.stdout, again.stdout + again.stderr
        wait_for("the main window shown by a second start", lambda: s.is_mapped(main_window), 10)

        # "Aide" on a desktop without a PDF viewer: the shell's late failure reaches a box, which Enter closes.
        viewer = subprocess.run(["xdg-mime", "query", "default", "application/pdf"], env=s.env, capture_output=True)
        if not viewer.stdout.strip():
            s.xdotool("mousemove", "--window", main_window.id, 5460 // 15, 667 // 15, "click", "1")
            box = wait_for("the box about the PDF viewer", lambda: s.find(title="Tardello - Erreur"), 15)
            s.xdotool("windowfocus", "--sync", box.id)
            s.xdotool("key", "Return")
            wait_for("the box to close", lambda: not s.is_mapped(box), 10)
    finally:
        os.kill(pid, signal.SIGTERM)


if __name__ == "__main__":
    sys.exit(run_installed(sys.argv[sys.argv.index("--build") + 1], run))
