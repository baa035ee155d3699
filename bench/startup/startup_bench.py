"""Start-up footprint of the installed program against the yardstick (a QMainWindow whose
QListWidget shows 50 rows of text, and a tray icon), under the same X server and tray host.

Each round starts, one after the other: the program with 50 pending mails of 100 KB, the
yardstick, the program with no pending mail, the yardstick with an empty list. CPU time is
the whole process's (every thread, ended ones too), recorded by the process itself when its
main window is first exposed (TARDELLO_MAPPED_REPORT); peak memory is VmHWM a few seconds
later. A sendmail is on the path, as on a machine that sends mail. Then the program and the yardstick run side by side and their wake-ups are counted
over a window that starts after the start-up tail."""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))
from xsession import XSession  # noqa: E402

TIMER_SECONDS = 50
LINE = "Voici une ligne du message programmé, avec des accents é à ç, des guillemets « » et 5 €."


def store_with_mails(count, body_bytes):
    body = []
    size = 0
    while size < body_bytes:
        text = f"{LINE} ({len(body) + 1})"
        body.append(text)
        size += len(text.encode("cp1252")) + 2
    lines = []
    for n in range(count):
        lines += [f"Titre=Mail numéro {n + 1}", f"Dest=dest{n}@exemple.fr;copie{n}@exemple.fr", "CC=", "BCC=",
                  f"Date={1 + n % 28:02d}/{1 + n // 28:02d}/2030 {8 + n % 10:02d}:{n % 60:02d}", "Attach=",
                  "DebutContenu="] + body + ["=FinContenu"]
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def status_value(pid, key):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith(key):
                return int(line.split()[1])
    return 0


def wakeups(pid):
    """Context switches of each thread, by thread id."""
    counts = {}
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            counts[task] = (status_value(f"{pid}/task/{task}", "voluntary_ctxt_switches")
                            + status_value(f"{pid}/task/{task}", "nonvoluntary_ctxt_switches"))
        except FileNotFoundError:
            pass  # the thread ended meanwhile
    return counts


def woken(before, after):
    """Wake-ups between two readings of wakeups(); a thread that ended in between is not counted."""
    return sum(count - before.get(task, 0) for task, count in after.items())


class Started:
    """A program started with its report file; mapped() waits until it has written it."""

    def __init__(self, session, command, cwd, report):
        if os.path.exists(report):
            os.remove(report)
        session.env["TARDELLO_MAPPED_REPORT"] = report
        self.started = time.monotonic()
        self.process = session.start(command[0], command, cwd=cwd)
        self.report = report

    def mapped(self, timeout=60):
        end = time.monotonic() + timeout
        while not (os.path.exists(self.report) and open(self.report).read().endswith("\n")):
            if time.monotonic() > end or self.process.poll() is not None:
                raise TimeoutError(f"{self.report}: no main window")
            time.sleep(0.05)  # only tells when to go on: the figures come from the process
        self.mapped_at = time.monotonic()
        fields = dict(item.split("=") for item in open(self.report).read().split())
        return int(fields["cpu_us"]) / 1000, int(fields["hwm_kib"])

    def stop(self):
        self.process.terminate()
        self.process.wait(10)


def measure(session, command, cwd, report, settle):
    program = Started(session, command, cwd, report)
    try:
        cpu_ms, _ = program.mapped()
        time.sleep(settle)
        return cpu_ms, status_value(program.process.pid, "VmHWM:")
    finally:
        program.stop()


def fresh_copy(installed, work, name, mails, body_bytes):
    directory = os.path.join(work, name)
    shutil.rmtree(directory, ignore_errors=True)
    shutil.copytree(installed, directory)
    if mails:
        with open(os.path.join(directory, "Tardello.tmp"), "wb") as store:
            store.write(store_with_mails(mails, body_bytes))
    return directory


def summary(values):
    return statistics.median(values), min(values), max(values)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--minimal", required=True)
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--mails", type=int, default=50)
    parser.add_argument("--body-kib", type=int, default=100)
    parser.add_argument("--settle", type=float, default=2, help="seconds after mapping before reading VmHWM")
    parser.add_argument("--tail", type=float, default=30, help="start-up tail before counting wake-ups")
    parser.add_argument("--idle", type=float, default=60, help="seconds of wake-up counting; 0 skips it")
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="tardello-bench-")
    installed = os.path.join(work, "installed")
    subprocess.run(["cmake", "--install", args.build, "--prefix", installed], check=True, stdout=subprocess.DEVNULL)
    report = os.path.join(work, "mapped.txt")
    full = f"tardello, {args.mails} x {args.body_kib} KB"
    names = [full, "yardstick, 50 rows", "tardello, 0 pending", "yardstick, empty list"]
    results = {name: [] for name in names}
    idle = None
    try:
        with XSession() as session:
            # A machine that sends mail has a sendmail: without one the program's start-up
            # notice about it (a message box) would be measured too.
            bin_dir = os.path.join(work, "bin")
            os.makedirs(bin_dir)
            with open(os.path.join(bin_dir, "sendmail"), "w") as script:
                script.write("#!/bin/sh\ncat >/dev/null\n")
            os.chmod(os.path.join(bin_dir, "sendmail"), 0o755)
            session.env["PATH"] = bin_dir + os.pathsep + session.env.get("PATH", "")
            for run in range(args.runs):
                loaded = fresh_copy(installed, work, "full", args.mails, args.body_kib * 1024)
                empty = fresh_copy(installed, work, "empty", 0, 0)
                commands = {full: ([os.path.join(loaded, "tardello")], loaded),
                            "yardstick, 50 rows": ([args.minimal], work),
                            "tardello, 0 pending": ([os.path.join(empty, "tardello")], empty),
                            "yardstick, empty list": ([args.minimal, "--empty"], work)}
                for name in names:
                    command, cwd = commands[name]
                    results[name].append(measure(session, command, cwd, report, args.settle))
            if args.idle > 0:
                loaded = fresh_copy(installed, work, "idle", args.mails, args.body_kib * 1024)
                program = Started(session, [os.path.join(loaded, "tardello")], loaded, report)
                program.mapped()
                yardstick = Started(session, [args.minimal], work, report + ".yardstick")
                yardstick.mapped()
                time.sleep(args.tail)
                window_start = time.monotonic()
                before = wakeups(program.process.pid), wakeups(yardstick.process.pid)
                time.sleep(args.idle)
                after = wakeups(program.process.pid), wakeups(yardstick.process.pid)
                window_end = time.monotonic()
                # The timer starts about when the process does.
                ticks = int((window_end - program.started) // TIMER_SECONDS) - int(
                    (window_start - program.started) // TIMER_SECONDS)
                idle = (woken(before[0], after[0]), woken(before[1], after[1]), ticks,
                        status_value(program.process.pid, "VmHWM:"), status_value(yardstick.process.pid, "VmHWM:"))
                program.stop()
                yardstick.stop()
    finally:
        shutil.rmtree(work, ignore_errors=True)

    medians = {}
    print(f"{args.runs} interleaved rounds; median [min - max]")
    for name in names:
        cpu = summary([run[0] for run in results[name]])
        peak = summary([run[1] / 1024 for run in results[name]])
        medians[name] = (cpu[0], peak[0])
        print(f"{name:24} CPU until mapped {cpu[0]:6.1f} ms [{cpu[1]:.1f} - {cpu[2]:.1f}]"
              f"   peak memory {peak[0]:5.1f} MiB [{peak[1]:.1f} - {peak[2]:.1f}]")
    yard = medians["yardstick, 50 rows"]
    checks = [("peak memory, 0 pending", medians["tardello, 0 pending"][1] / yard[1], 1.05),
              (f"peak memory, {args.mails} x {args.body_kib} KB", medians[full][1] / yard[1], 1.25),
              (f"CPU until mapped, {args.mails} x {args.body_kib} KB", medians[full][0] / yard[0], 1.3)]
    for what, ratio, target in checks:
        print(f"ratio to the yardstick, {what:32} {ratio:.2f}  (target <= {target}: {'met' if ratio <= target else 'NOT met'})")
    # Per-round ratios, each against the yardstick run next to it.
    for what, index, program in (("peak memory", 1, full), ("peak memory", 1, "tardello, 0 pending"), ("CPU", 0, full)):
        ratios = [p[index] / y[index] for p, y in zip(results[program], results["yardstick, 50 rows"])]
        print(f"  per round, {what} of {program}: {' '.join(f'{r:.2f}' for r in ratios)}")
    if idle:
        print(f"idle {args.idle:.0f} s after a {args.tail:.0f} s tail: tardello {idle[0]} wake-ups (its {TIMER_SECONDS} s timer"
              f" ticked {idle[2]} time(s) in that window), yardstick {idle[1]}; peak memory at the end"
              f" {idle[3] / 1024:.1f} / {idle[4] / 1024:.1f} MiB")
    return 0


if __name__ == "__main__":
    sys.exit(main())
