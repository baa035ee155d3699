#include "TestDesktop.h"

#include "DateText.h"

void TestClock::set(const QString &dayFirst)
{
    const QStringList parts = dayFirst.split(QLatin1Char(' '));
    const QDate date = *DateText::readDate(parts.value(0), 2026);
    const QStringList hms = parts.value(1).split(QLatin1Char(':'));
    now_ = QDateTime(date, QTime(hms.value(0).toInt(), hms.value(1).toInt(), hms.value(2).toInt()));
}

MsgBox::Answer TestMessageBox::show(const QString &prompt, MsgBox::Buttons buttons, const QString &title)
{
    shown.append({prompt, buttons, title, true});
    if (whileOpen)
        whileOpen();
    const MsgBox::Answer unanswered = MsgBox::buttonSet(buttons) == MsgBox::YesNo ? MsgBox::No : MsgBox::Ok;
    return answers.isEmpty() ? unanswered : answers.takeFirst();
}

void TestMessageBox::notifyError(const QString &title, const QString &text)
{
    shown.append({text, MsgBox::Critical, title, false});
}

void TestMessageBox::notifyInfo(const QString &title, const QString &text)
{
    shown.append({text, MsgBox::OkOnly, title, false});
}

TestDesktop::TestDesktop() : previous(desktop())
{
    setDesktop({.clock = &clock, .messageBox = &messageBox, .notifier = &messageBox, .files = &files,
                .launcher = &launcher, .shell = &shell});
}

TestDesktop::~TestDesktop()
{
    setDesktop(previous);
}
