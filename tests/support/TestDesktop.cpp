#include "TestDesktop.h"

#include "DateText.h"

void TestClock::set(const QString &dayFirst)
{
    const QStringList parts = dayFirst.split(QLatin1Char(' '));
    const QDate date = *DateText::readDate(parts.value(0), 2026);
    const QStringList hms = parts.value(1).split(QLatin1Char(':'));
    now_ = QDateTime(date, QTime(hms.value(0).toInt(), hms.value(1).toInt(), hms.value(2).toInt()));
}

int TestMessageBox::show(const QString &prompt, int buttons, const QString &title)
{
    shown.append({prompt, buttons, title, true});
    if (whileShown)
        whileShown();
    if (answers.isEmpty())
        return (buttons & 7) == MsgBox::YesNo ? MsgBox::No : MsgBox::Ok;
    return answers.takeFirst();
}

void TestMessageBox::notifyError(const QString &title, const QString &text)
{
    shown.append({text, MsgBox::Critical, title, false});
}

bool TestFiles::write(const QString &path, const QByteArray &content)
{
    ++writes;
    return !failWrites && DiskTextFiles::write(path, content);
}

bool TestFiles::writeFrom(const QString &path, const ByteSource &source)
{
    ++writes;
    return !failWrites && DiskTextFiles::writeFrom(path, source);
}

bool TestFiles::remove(const QString &path)
{
    ++writes;
    return !failWrites && DiskTextFiles::remove(path);
}

bool TestFiles::rename(const QString &from, const QString &to)
{
    return !failWrites && DiskTextFiles::rename(from, to);
}

TestDesktop::TestDesktop() : previous(desktop())
{
    Desktop services;
    services.clock = &clock;
    services.messageBox = &messageBox;
    services.notifier = &messageBox;
    services.files = &files;
    services.launcher = &launcher;
    services.shell = &shell;
    setDesktop(services);
}

TestDesktop::~TestDesktop()
{
    setDesktop(previous);
}
