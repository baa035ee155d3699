#pragma once

#include "Program.h"
#include "RecordingAutomation.h"
#include "TestDesktop.h"

#include <QtTest>

// A program in a temporary directory, on the test desktop, with recording mail clients.
struct TestProgram
{
    TestProgram() { desktop().automation = &mailClients; }
    TestDesktop desk;
    RecordingFactory mailClients;
    QTemporaryDir dir;
    Program program{dir.path()};
};

// Schedules a mail as the editor's Confirmer does: a free slot, its pending row, the store saved.
// `when` is "dd/mm/yyyy hh:mm".
inline qint16 addPendingMail(Program &program, const QString &when, const QString &subject,
                             const QString &to = QStringLiteral("a@x.fr"))
{
    const qint16 slot = program.pending.table().FindFreeSlot();
    program.pending.schedule(slot, {.txtTitre = subject, .txtDest = to, .txtDate = when.left(10), .txtHeure = when.mid(11)});
    return slot;
}

// "Sujet n" to "destn@exemple.fr", one a day from 01/01/2030 at 10:00.
inline void addPendingMails(Program &program, int count)
{
    for (int n = 1; n <= count; ++n)
        addPendingMail(program, QDate(2030, 1, 1).addDays(n - 1).toString(u"dd/MM/yyyy") + " 10:00", QStringLiteral("Sujet %1").arg(n),
                       QStringLiteral("dest%1@exemple.fr").arg(n));
}

// The subjects the store file holds, in file order.
inline QStringList storedSubjects(const Program &program)
{
    const QString text = QString::fromLatin1(DiskTextFiles().read(program.pending.store().path()).value_or(""));
    return text.split(QRegularExpression("\r?\n")).filter(QRegularExpression("^Titre=")).replaceInStrings("Titre=", "");
}

// The message boxes shown, one "title|buttons|prompt" each.
inline QStringList shownBoxes(const TestMessageBox &box)
{
    QStringList shown;
    for (const auto &one : box.shown)
        shown << one.title + '|' + QString::number(one.buttons) + '|' + one.prompt;
    return shown;
}
