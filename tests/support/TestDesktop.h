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
    void set(const QDateTime &moment) { now_ = moment; }
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
        int buttons = 0;
        QString title;
        bool modal = true;
    };
    int show(const QString &prompt, int buttons, const QString &title) override;
    void notifyError(const QString &title, const QString &text) override;

    QList<int> answers;
    QList<Shown> shown;
    // Runs inside show(), as a user would act while the box is open.
    std::function<void()> whileShown;
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
        opened << target;
        directories << workingDirectory;
    }
    QStringList opened;
    QStringList directories;
};

// Real files, with writes, removals and renames that the test can make fail.
class TestFiles : public DiskTextFiles
{
public:
    bool write(const QString &path, const QByteArray &content) override;
    bool writeFrom(const QString &path, const ByteSource &source) override;
    bool remove(const QString &path) override;
    bool rename(const QString &from, const QString &to) override;
    bool failWrites = false;
    int writes = 0;
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
