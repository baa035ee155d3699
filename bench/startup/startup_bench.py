"""Start-up footprint of the installed program (50 pending mails) against a minimal
Qt Widgets program (a window and a tray icon), both under the same X server:
peak memory and CPU time until the main window is shown, then wake-ups while idle."""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))
from xsession import XSession, wait_for  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")


def store_with_mails(count):
    lines = []
    for n in range(count):
        lines += [f"Titre=Mail numéro {n + 1}", f"Dest=dest{n}@exemple.fr;copie{n}@exemple.fr", "CC=", "BCC=",
                  f"Date={1 + n % 28:02d}/{1 + n // 28:02d}/2030 {8 + n % 10:02d}:{n % 60:02d}", "Attach=",
                  "DebutContenu=", "Bonjour,", "Ceci est un mail programmé.", "=FinContenu"]
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def cpu_seconds(pid):
    """CPU time of all the process's threads: nanoseconds from schedstat where
    the kernel keeps it, else utime + stime in clock ticks."""
    try:
        total = 0
        for task in os.listdir(f"/proc/{pid}/task"):
            with open(f"/proc/{pid}/task/{task}/schedstat") as schedstat:
                total += int(schedstat.read().split()[0])
        return total / 1e9
    except (FileNotFoundError, ValueError):
        with open(f"/proc/{pid}/stat") as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / TICKS


def peak_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def wakeups(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        with open(f"/proc/{pid}/task/{task}/status") as status:
            for line in status:
                if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                    total += int(line.split()[1])
    return total


def measure(session, command, cwd, title, idle_seconds):
    process = session.start(title, command, cwd=cwd)
    try:
        # Poll often: the idle splash costs no CPU, so the poll's latency does not count.
        end = time.monotonic() + 30
        while not session.find(title=title):
            if time.monotonic() > end:
                raise TimeoutError(f"{title} not shown")
            time.sleep(0.02)
        cpu = cpu_seconds(process.pid)
        time.sleep(1)
        peak = peak_kib(process.pid)
        before, idle_cpu = wakeups(process.pid), cpu_seconds(process.pid)
        time.sleep(idle_seconds)
        woke = wakeups(process.pid) - before
        idle_cpu = cpu_seconds(process.pid) - idle_cpu
        return cpu, peak, woke, idle_cpu
    finally:
        process.terminate()
        process.wait(10)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--minimal", required=True)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--idle", type=float, default=10)
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="tardello-bench-")
    installed = os.path.join(work, "installed")
    subprocess.run(["cmake", "--install", args.build, "--prefix", installed], check=True,
                   stdout=subprocess.DEVNULL)
    results = {"tardello": [], "minimal": [], "minimal+text": []}
    try:
        with XSession() as session:
            for run in range(args.runs):
                fresh = os.path.join(work, f"run{run}")
                shutil.copytree(installed, fresh)
                with open(os.path.join(fresh, "Tardello.tmp"), "wb") as store:
                    store.write(store_with_mails(50))
                results["tardello"].append(measure(session, [os.path.join(fresh, "tardello")], fresh,
                                                   "Tardello - v 1.15", args.idle))
                results["minimal"].append(measure(session, [args.minimal], work, "Minimal window", args.idle))
                results["minimal+text"].append(measure(session, [args.minimal, "--text"], work, "Minimal window",
                                                       args.idle))
    finally:
        shutil.rmtree(work, ignore_errors=True)

    medians = {}
    for name, runs in results.items():
        cpu, peak, woke, idle_cpu = (statistics.median(column) for column in zip(*runs))
        medians[name] = (cpu, peak, woke, idle_cpu)
        print(f"{name:12} runs={len(runs)}  CPU until shown {cpu * 1000:6.0f} ms   peak memory {peak / 1024:6.1f} MiB"
              f"   idle {args.idle:.0f} s: {woke:4.0f} wake-ups, {idle_cpu * 1000:4.0f} ms CPU")
        for cpu_run, peak_run, woke_run, _ in runs:
            print(f"          {cpu_run * 1000:6.0f} ms {peak_run / 1024:6.1f} MiB {woke_run:4d} wake-ups")
    t = medians["tardello"]
    for name in ("minimal", "minimal+text"):
        m = medians[name]
        print(f"ratio to {name:12}  CPU {t[0] / m[0]:.2f} (target <= 2)   peak memory {t[1] / m[1]:.2f} (target <= 1.3)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
