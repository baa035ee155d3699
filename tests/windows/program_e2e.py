"""The installed tardello.exe under Wine in a real X session: a due mail leaves in its minute through
Express (Simple MAPI) and Outlook (automation), against stand-ins in the Wine prefix; the store is rewritten
in the ANSI code page; quitting from the tray menu writes Tardello.ini. Notes goes through the same
automation code as Outlook, whose values the cross-built tests check one by one."""
import datetime
import glob
import os
import re
import shutil
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from xsession import XSession, main_title, wait_for  # noqa: E402

ATTACHMENT = r"C:\windows\win.ini"
LATER = ["Titre=Résumé à relire", "Dest=zoé@exemple.fr", "CC=", "BCC=", "Date=07/01/2030 09:30", "Attach=",
         "DebutContenu=", "Prévu pour 2030 : 5 €", "=FinContenu"]
EXPECTED = {
    "Outlook": "\n".join([
        "Outlook.application created", "Outlook.application.createitem call i2[0]",
        "createitem.Subject put str[Réunion de lundi]", "createitem.To put str[anne@exemple.fr;paul@exemple.fr]",
        "createitem.cc put str[chef@exemple.fr]", "createitem.bcc put str[zoe@exemple.fr]",
        r"createitem.Body put str[Bonjour à tous,\r\nà lundi.]", "createitem.Attachments call",
        "Attachments.Add call str[" + ATTACHMENT + "]", "createitem.Send call", ""]).encode("utf-8"),
    # Simple MAPI as the substitute MAPI32.DLL receives it, in the ANSI code page.
    "Express": ("MAPILogon profile=(null) password=(null) flags=2\n"
                "MAPISendMail session flags=0\n"
                "subject=[Réunion de lundi] note=[Bonjour à tous,\r\nà lundi.\r\n ]\n"
                "recipient class=1 name=[anne@exemple.fr] address=[SMTP:anne@exemple.fr]\n"
                "recipient class=1 name=[paul@exemple.fr] address=[SMTP:paul@exemple.fr]\n"
                "recipient class=2 name=[chef@exemple.fr] address=[SMTP:chef@exemple.fr]\n"
                "recipient class=3 name=[zoe@exemple.fr] address=[SMTP:zoe@exemple.fr]\n"
                "file flags=0 position=27 path=[" + ATTACHMENT + "] name=(null)\n"
                "MAPILogoff session\n").encode("cp1252"),
}


def main():
    work, standins = sys.argv[sys.argv.index("--work") + 1], sys.argv[sys.argv.index("--standins") + 1]
    wineprefix = sys.argv[sys.argv.index("--wineprefix") + 1]
    shutil.rmtree(work, ignore_errors=True)
    prog = os.path.join(work, "Tardello")
    shutil.copytree(sys.argv[sys.argv.index("--program") + 1], prog)
    shutil.copy(os.path.join(standins, "TD_OutlookTool.exe"), prog)
    shutil.copy(os.path.join(standins, "fakemapi32.dll"), os.path.join(prog, "MAPI32.DLL"))
    shutil.copy(os.path.join(standins, "recordingserver.dll"), work)

    with XSession() as session:
        env = session.env
        env.pop("QT_QPA_PLATFORM")
        env.update(WINEPREFIX=wineprefix, WINEDEBUG="-all", LC_ALL="C.UTF-8",
                   # The MAPI32.DLL beside the program, not Wine's own.
                   WINEDLLOVERRIDES="mscoree,mshtml=;mapi32=n;winemenubuilder.exe=d")
        # Locks left in the prefix by an interrupted earlier run of this test.
        for lock in glob.glob(os.path.join(wineprefix, "drive_c/users/*/Temp/tardello-*.lock")):
            os.remove(lock)
        try:
            # The recording server stands for "Outlook.application", under a class identifier of its own.
            clsid, reg = "{6A1F3C52-9E0B-4C1D-8F27-3B5E1D7A0C11}", os.path.join(work, "standins.reg")
            server = windows_path(os.path.join(work, "recordingserver.dll")).replace("\\", "\\\\")
            Path(reg).write_text("\r\n".join(["REGEDIT4", "", r"[HKEY_LOCAL_MACHINE\Software\Classes\Outlook.application\CLSID]",
                                              f'@="{clsid}"', "", rf"[HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{clsid}\InprocServer32]",
                                              f'@="{server}"', '"ThreadingModel"="Apartment"', ""]))
            subprocess.run(["wine", "regedit", "/S", windows_path(reg)], env=env, check=True, timeout=120,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            for client in ("Express", "Outlook"):
                deliver(session, prog, client)
        finally:
            subprocess.run(["wineserver", "-k"], env=env, timeout=30)
    print("PASS")


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def deliver(s, prog, client):
    """One start of the program with the given mail client, ended from the tray menu."""
    calls, tool, store, settings = (os.path.join(prog, name)
                                    for name in ("calls.log", "outlooktool.log", "Tardello.tmp", "Tardello.ini"))
    for name in (calls, tool, settings):
        Path(name).unlink(missing_ok=True)
    if client != "Outlook":  # Outlook's run starts without settings: it is the default
        Path(settings).write_bytes(f"\ufeffClient={client}\r\n".encode("utf-8"))  # as UTF-8, so that the quit's rewrite shows
    # The mail is due in the next minute. Started between :15 and :45, the program's
    # first tick, 50 s on, falls in that minute: one tick's wait, never two.
    while not 15 <= datetime.datetime.now().second <= 45:
        time.sleep(1)
    when = datetime.datetime.now().replace(second=0, microsecond=0) + datetime.timedelta(minutes=1)
    due = ["Titre=Réunion de lundi", "Dest=anne@exemple.fr;paul@exemple.fr", "CC=chef@exemple.fr", "BCC=zoe@exemple.fr",
           "Date=" + when.strftime("%d/%m/%Y %H:%M"), "Attach=" + ATTACHMENT, "DebutContenu=", "Bonjour à tous,",
           "à lundi.", "=FinContenu"]
    # Stored as UTF-8: the rewrite must come in the ANSI code page.
    Path(store).write_bytes(b"\xef\xbb\xbf" + "\r\n".join(due + LATER + [""]).encode("utf-8"))
    tardello = s.start("tardello.exe", ["wine", "tardello.exe"], cwd=prog)
    main_window = wait_for("the main window", lambda: s.find(title=main_title()), 60)
    icon = wait_for("the tray icon", lambda: s.docked("explorer.exe"), 15)

    rewritten = "\r\n".join(LATER + [""]).encode("cp1252")
    wait_for(f"the mail to leave through {client}", lambda: read(store) == rewritten and finished(client, read(calls)),
             150)
    if client == "Outlook":
        # Started detached and not waited for: under load it notes its start after the mail has left.
        wait_for("TD_OutlookTool.exe to note its start", lambda: read(tool), 30)
    started = read(tool).decode().splitlines().count("TD_OutlookTool.exe started")
    assert started == (client == "Outlook"), f"TD_OutlookTool.exe started {started} times"
    made = b"".join(line for line in read(calls).splitlines(True) if not line.endswith(b" released\n"))
    assert made == EXPECTED[client], f"{client} received:\n{made.decode('cp1252' if client == 'Express' else 'utf-8')}"

    # Quitting from the tray menu, as a user does. A killed Wine session would
    # leave a lock whose process number the next session soon gives again.
    for _ in range(5):  # the button held a moment, until the menu shows: Wine's tray can miss a click
        s.xdotool("mousemove", *s.centre(icon), "mousedown", "3", "sleep", "0.3", "mouseup", "3")
        try:
            menu = wait_for("the tray menu", lambda: s.popup(icon, main_window), 3)
            break
        except TimeoutError:
            continue
    else:
        raise TimeoutError("the tray menu did not open")
    s.quit_from(menu)
    assert tardello.wait(30) == 0, "the program did not end well"
    assert read(settings) == f"Client={client}\r\n".encode(), f"settings file holds {read(settings)!r}"


def read(path):
    return Path(path).read_bytes() if os.path.exists(path) else b""


def finished(client, log):
    if client == "Express":
        return log.endswith(b"MAPILogoff session\n")
    # Sent, and every object given back: the root and each one a call returned.
    return b".Send call" in log and log.count(b" released\n") == 1 + len(re.findall(rb"\.(createitem|Attachments) call", log))


if __name__ == "__main__":
    sys.exit(main())
