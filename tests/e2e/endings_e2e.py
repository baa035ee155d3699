"""The installed program ended every way but the menu while a mail leaves: a SIGTERM during a slow sendmail, a
SIGKILL while sendmail runs, a kill between the outbox write and the store save (the files as that kill leaves
them). After each restart the mail is sent exactly once and never offered again as missed."""
import datetime
import glob
import os
import signal
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import put_store, run_installed, wait_for  # noqa: E402

# One process, as msmtp is: notes its start, waits as long as the file "delay" says, then keeps the message.
SENDMAIL = """#!/usr/bin/python3
import os, sys, time
out = os.environ["OUT"]
with open(os.path.join(out, "started"), "a") as log:
    log.write(f"{os.getpid()}\\n")
delay = os.path.join(out, "delay")
time.sleep(float(open(delay).read()) if os.path.exists(delay) else 0)
message = sys.stdin.buffer.read()
with open(os.path.join(out, f"sent.{os.getpid()}"), "wb") as kept:
    kept.write(message)
"""


def run(s, prog, work):
    s.put_sendmail(work, SENDMAIL)
    # Neither gone nor a zombie.
    alive = lambda pid: subprocess.run(["ps", "-o", "stat=", "-p", pid], capture_output=True, text=True).stdout[:1] not in "Z"  # noqa: E731
    started = os.path.join(work, "started")
    starts = lambda: open(started).read().split() if os.path.exists(started) else []  # noqa: E731
    messages = lambda: glob.glob(os.path.join(prog, "Boîte d'envoi", "*.eml"))  # noqa: E731
    sent = lambda: glob.glob(os.path.join(work, "sent.*"))  # noqa: E731
    mail = ("Compte rendu", "anne@exemple.fr", "07/01/2020 09:30", "Bonjour,")
    store_path = put_store(prog, mail)
    Path(work, "delay").write_text("3")

    # 1. SIGTERM while a slow sendmail works: the quit path stops it. 2. SIGKILL while sendmail runs, on the
    # next start's try from the outbox: sendmail goes with the program. Each time the message stays.
    for tries, ending in enumerate((signal.SIGTERM, signal.SIGKILL), 1):
        tardello, _ = s.start_program(prog)
        if ending == signal.SIGTERM:
            s.send_missed_now()
        wait_for(f"sendmail to start before the {ending.name}", lambda: len(starts()) == tries, 15)
        tardello.send_signal(ending)
        tardello.wait(15)
        time.sleep(0.5)
        assert not alive(starts()[-1]), f"sendmail must end with the program on {ending.name}"
        assert not os.path.exists(store_path), "the mail handed over must leave the store"
    assert not sent() and len(messages()) == 1

    # 3. The files as a kill between the outbox write and the store save leaves them: the mail both in the
    # store (moved to the minute it was handed over, by "Envoyer maintenant") and in the outbox.
    handed = os.path.basename(messages()[0])[:15]  # yyyymmdd-HHMMSS, UTC
    moment = datetime.datetime.strptime(handed, "%Y%m%d-%H%M%S").replace(tzinfo=datetime.timezone.utc)
    put_store(prog, mail[:2] + (moment.astimezone().strftime("%d/%m/%Y %H:%M"), mail[3]))
    os.remove(os.path.join(work, "delay"))
    tardello, _ = s.start_program(prog)
    wait_for("the message to be sent and the outbox to empty", lambda: sent() and not messages(), 25)
    time.sleep(3)
    assert s.find(title="Tardello", wm_class="tardello") is None, "a mail already in the outbox must not be offered as missed"
    assert not os.path.exists(store_path) or b"Compte rendu" not in Path(store_path).read_bytes()
    tardello.send_signal(signal.SIGTERM)
    assert tardello.wait(10) == 0
    assert len(sent()) == 1, f"sent {len(sent())} times"


if __name__ == "__main__":
    sys.exit(run_installed(sys.argv[sys.argv.index("--build") + 1], run))
