#pragma once

#include "Clock.h"
#include "Desktop.h"
#include "MessageBox.h"
#include "ProgramLauncher.h"
#include "ShellOpener.h"
#include "TextFiles.h"

#include <QList>
#include <QStringList>

#include <functional>

// A clock the test sets.
class TestClock : public Clock
{
public:
    QDateTime now() const override { return now_; }
    void set(const QString &dayFirst);  // "dd/mm/yyyy hh:mm[:ss]"

private:
    QDateTime now_{QDate(2026, 12, 4), QTime(9, 0)};
};

// Answers message boxes from a queue (No when it is empty) and keeps what was shown.
class TestMessageBox : public MessageBox, public Notifier
{
public:
    struct Shown
    {
        QString prompt;
        MsgBox::Buttons buttons = MsgBox::OkOnly;
        QString title;
        bool modal = true;
    };
    MsgBox::Answer show(const QString &prompt, MsgBox::Buttons buttons, const QString &title) override;
    void notifyError(const QString &title, const QString &text) override;
    void notifyInfo(const QString &title, const QString &text) override;

    QList<MsgBox::Answer> answers;
    QList<Shown> shown;
    // Runs while a modal box is open, as the timers of the real box's event loop would.
    std::function<void()> whileOpen;
};

class TestLauncher : public ProgramLauncher
{
public:
    bool launch(const QString &executablePath) override
    {
        launched << executablePath;
        return succeeds;
    }
    QStringList launched;
    bool succeeds = true;
};

class TestShell : public ShellOpener
{
public:
    void open(const QString &target, const QString &workingDirectory) override
    {
        opened << target, directories << workingDirectory;
    }
    QStringList opened, directories;
};

// Real files, with writes, removals and renames that the test can make fail.
class TestFiles : public DiskTextFiles
{
public:
    bool write(const QString &path, const QByteArray &content) override { return go(1) && DiskTextFiles::write(path, content); }
    bool writeFrom(const QString &path, const ByteSource &source) override { return go(1) && DiskTextFiles::writeFrom(path, source); }
    bool remove(const QString &path) override { return go(1) && DiskTextFiles::remove(path); }
    bool rename(const QString &from, const QString &to) override { return go(0) && DiskTextFiles::rename(from, to); }
    bool failWrites = false;
    int writes = 0;  // writes and removals tried, renames not counted

private:
    bool go(int counted)
    {
        writes += counted;
        return !failWrites;
    }
};

// The substitutes above, installed as the program's desktop for one test.
struct TestDesktop
{
    TestDesktop();
    ~TestDesktop();
    TestClock clock;
    TestMessageBox messageBox;
    TestLauncher launcher;
    TestShell shell;
    TestFiles files;
    Desktop previous;
};
