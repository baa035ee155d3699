"""Kills the installed program with SIGKILL at random moments while its outbox empties through a sendmail that
takes 0 to 300 ms per message, starts it again, and so on until the outbox is empty; then counts how often each
message was taken. A message taken twice is one whose sendmail had accepted it when the kill came, before its
entry was gone.
Run: cmake --install build --prefix /tmp/tardello-probe && python3 bench/delivery/kill_probe.py /tmp/tardello-probe [messages]
[seed] [first]: the program runs on the offscreen platform; the random seed is printed; each kill comes `first`
(3 by default: at the end of the splash) to `first` + 2 seconds after the start."""
import collections
import glob
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SENDMAIL = """#!/usr/bin/python3
import os, random, sys, time
message = sys.stdin.buffer.read()
time.sleep(random.uniform(0, 0.3))
subject = next(line for line in message.split(b"\\n") if line.startswith(b"Subject: "))[9:].decode()
# Taken once written (a kill of the program does not undo a write), then gone at once: what remains of the
# window is the program's.
log = os.open(os.path.join(os.environ["OUT"], "taken"), os.O_WRONLY | os.O_APPEND | os.O_CREAT)
os.write(log, f"{subject} {os.environ['RUN']}\\n".encode())
os._exit(0)
"""


def main():
    installed = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 100
    seed = int(sys.argv[3]) if len(sys.argv) > 3 else random.randrange(1 << 30)
    first = float(sys.argv[4]) if len(sys.argv) > 4 else 3
    rng = random.Random(seed)
    work = tempfile.mkdtemp(prefix="tardello-probe-")
    try:
        prog = os.path.join(work, "prog")
        shutil.copytree(installed, prog)
        os.makedirs(os.path.join(work, "bin"))
        with open(os.path.join(work, "bin", "sendmail"), "w") as out:
            out.write(SENDMAIL)
        os.chmod(os.path.join(work, "bin", "sendmail"), 0o755)
        outbox = os.path.join(prog, "Boîte d'envoi")
        os.makedirs(outbox)
        for n in range(count):
            with open(os.path.join(outbox, f"20260101-000000000-{n:04d}.eml"), "w") as out:
                out.write(f"Date: Mon, 07 Dec 2026 10:00:00 +0100\nTo: a@example.org\nSubject: m{n:04d}\n\nCorps\n")
        env = dict(os.environ, OUT=work, PATH=os.path.join(work, "bin") + ":" + os.environ["PATH"],
                   QT_QPA_PLATFORM="offscreen")
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        taken = os.path.join(work, "taken")
        kills = 0
        after = []  # seconds from each start to its kill
        while glob.glob(os.path.join(outbox, "*.eml")):
            program = subprocess.Popen([os.path.join(prog, "tardello")], cwd=prog, env=dict(env, RUN=str(kills)),
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            # The splash holds the start for 3 s; the outbox empties from then on.
            after.append(first + rng.uniform(0, 2))
            time.sleep(after[-1])
            program.send_signal(signal.SIGKILL)
            program.wait()
            kills += 1
            time.sleep(0.4)  # a sendmail that outlived the program would finish meanwhile
        with open(taken) as log:
            takes = [line.split() for line in log.read().splitlines()]
        counts = collections.Counter(subject for subject, _ in takes)
        twice = [subject for subject, n in counts.items() if n > 1]
        lost = count - len(counts)
        print(f"seed {seed}, kills {first}-{first + 2} s after each start: {kills} kills, {count} messages, "
              f"{len(twice)} taken more than once, {lost} never taken")
        for subject in twice:  # the run whose kill came after sendmail had taken it
            run = next(int(r) for s, r in takes if s == subject)
            print(f"  {subject}: taken in a run killed {after[run]:.2f} s after its start")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
