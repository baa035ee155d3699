#pragma once

#include "Clock.h"
#include "Desktop.h"
#include "MessageBox.h"
#include "ProgramLauncher.h"
#include "ShellOpener.h"
#include "TextFiles.h"

#include <QStringList>

#include <functional>

// A clock the test sets, to "dd/mm/yyyy hh:mm[:ss]" (seconds 00 when not given).
struct TestClock : Clock
{
    QDateTime now() const override { return moment; }
    void set(const QString &dayFirst) { moment = QDateTime::fromString((dayFirst + ":00").left(19), u"dd/MM/yyyy hh:mm:ss"); }
    QDateTime moment{QDate(2026, 12, 4), QTime(9, 0)};
};

// Answers message boxes from a queue (No when it is empty) and keeps what was shown.
struct TestMessageBox : MessageBox, Notifier
{
    struct Shown
    {
        QString prompt;
        MsgBox::Buttons buttons = MsgBox::OkOnly;
        QString title;
        bool modal = true;
    };
    MsgBox::Answer show(const QString &prompt, MsgBox::Buttons buttons, const QString &title) override
    {
        shown.append({prompt, buttons, title, true});
        if (whileOpen)
            whileOpen();
        const MsgBox::Answer unanswered = MsgBox::buttonSet(buttons) == MsgBox::YesNo ? MsgBox::No : MsgBox::Ok;
        return answers.isEmpty() ? unanswered : answers.takeFirst();
    }
    void notifyError(const QString &title, const QString &text) override { shown.append({text, MsgBox::Critical, title, false}); }
    void notifyInfo(const QString &title, const QString &text) override { shown.append({text, MsgBox::OkOnly, title, false}); }

    QList<MsgBox::Answer> answers;
    QList<Shown> shown;
    // Runs while a modal box is open, as the timers of the real box's event loop would.
    std::function<void()> whileOpen;
};

struct TestLauncher : ProgramLauncher
{
    bool launch(const QString &executablePath) override { launched << executablePath; return succeeds; }
    QStringList launched;
    bool succeeds = true;
};

// Records what it opens; while `fails`, says that no application took it.
struct TestShell : ShellOpener
{
    void open(const QString &target, const QString &workingDirectory, const Failed &failed) override
    {
        opened << target, directories << workingDirectory;
        if (fails && failed)
            failed();
    }
    QStringList opened, directories;
    bool fails = false;
};

// Real files, with writes, removals and renames that the test can make fail.
struct TestFiles : DiskTextFiles
{
    bool write(const QString &path, const QByteArray &content) override { return tried() && DiskTextFiles::write(path, content); }
    bool writeFrom(const QString &path, const ByteSource &source) override { return tried() && DiskTextFiles::writeFrom(path, source); }
    bool remove(const QString &path) override { return tried() && DiskTextFiles::remove(path); }
    bool rename(const QString &from, const QString &to) override { return !failWrites && DiskTextFiles::rename(from, to); }
    bool failWrites = false;
    int writes = 0;  // writes and removals tried, renames not counted

private:
    bool tried() { ++writes; return !failWrites; }
};

// The substitutes above, installed as the program's desktop for one test.
struct TestDesktop
{
    TestDesktop()
    {
        setDesktop({.clock = &clock, .messageBox = &messageBox, .notifier = &messageBox, .files = &files,
                    .launcher = &launcher, .shell = &shell});
    }
    ~TestDesktop() { setDesktop(previous); }
    Desktop previous = desktop();
    TestClock clock;
    TestMessageBox messageBox;
    TestLauncher launcher;
    TestShell shell;
    TestFiles files;
};
