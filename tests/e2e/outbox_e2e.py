"""The installed program's outbox in a real X session: a mail whose minute passed while the program was stopped
is offered at start-up, sent on "Envoyer maintenant", refused by sendmail, kept, and delivered once sendmail
recovers."""
import glob
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import main_title, run_installed, wait_for  # noqa: E402

STORE = "\r\n".join([
    "Titre=Compte rendu", "Dest=anne@exemple.fr", "CC=", "BCC=", "Date=07/01/2020 09:30",
    "Attach=", "DebutContenu=", "Bonjour,", "=FinContenu", ""]).encode("cp1252")
# Refuses while the file "down" exists, saying why, as msmtp does without a server.
SENDMAIL = """#!/bin/sh
echo try >> "$OUT/attempts"
if [ -e "$OUT/down" ]; then cat >/dev/null; echo "msmtp: cannot connect to smtp.exemple.fr" >&2; exit 75; fi
cat > "$OUT/sent.$$"
"""


def main():
    return run_installed(sys.argv[sys.argv.index("--build") + 1], run)


def run(s, prog, work):
    s.put_on_path(os.path.join(work, "bin"), "sendmail", SENDMAIL)
    open(os.path.join(work, "down"), "w").close()
    s.env["OUT"] = work
    with open(os.path.join(prog, "Tardello.tmp"), "wb") as out:
        out.write(STORE)
    outbox = os.path.join(prog, "Boîte d'envoi")
    program = os.path.join(prog, "tardello")

    tardello = s.start("tardello", [program], cwd=prog)
    wait_for("the main window", lambda: s.find(title=main_title()), 20)
    missed = wait_for("the missed-mail window", lambda: s.find(title="Tardello", wm_class="tardello"), 10)
    s.xdotool("windowfocus", "--sync", missed.id)
    s.xdotool("key", "space")  # "Envoyer maintenant" has the focus
    wait_for("the missed-mail window to close", lambda: not s.is_mapped(missed), 10)

    attempts = os.path.join(work, "attempts")
    wait_for("a first try of sendmail", lambda: os.path.exists(attempts), 15)
    time.sleep(1)
    assert len(glob.glob(os.path.join(outbox, "*.eml"))) == 1, "the refused message must stay in the outbox"
    assert not os.path.exists(os.path.join(prog, "Tardello.tmp")), "the mail handed over must leave the store"
    assert tardello.poll() is None

    os.remove(os.path.join(work, "down"))  # the server is back: the retry a minute later delivers it
    wait_for("the retry to deliver", lambda: glob.glob(os.path.join(work, "sent.*")), 90)
    wait_for("the outbox to empty", lambda: not glob.glob(os.path.join(outbox, "*.eml")), 10)
    time.sleep(2)
    sent = glob.glob(os.path.join(work, "sent.*"))
    assert len(sent) == 1, f"delivered {len(sent)} times"
    with open(sent[0], "rb") as message:
        assert b"Subject: Compte rendu" in message.read()
    with open(attempts) as tries:
        assert len(tries.read().split()) == 2, "one refusal, one delivery"
    assert tardello.poll() is None


if __name__ == "__main__":
    sys.exit(main())
