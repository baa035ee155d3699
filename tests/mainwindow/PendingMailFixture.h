#pragma once

#include "Program.h"
#include "TestDesktop.h"
#include "frmMain.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// Puts `count` mails into the table, the pending list and the store, one a day
// from 01/01/2030 at 10:00, as the editor's confirm step would.
inline void addPendingMails(Program &program, int count)
{
    for (int n = 1; n <= count; ++n) {
        const qint16 slot = program.pending.table().FindFreeSlot();
        const EditorFields fields{.txtTitre = QStringLiteral("Sujet %1").arg(n),
                                  .txtDest = QStringLiteral("dest%1@exemple.fr").arg(n),
                                  .txtDate = QDate(2030, 1, 1).addDays(n - 1).toString(QStringLiteral("dd/MM/yyyy")),
                                  .txtHeure = QStringLiteral("10:00")};
        QVERIFY(program.pending.schedule(slot, fields));
    }
}

// The subjects the store file holds, in file order.
inline QStringList storedSubjects(const QString &storePath)
{
    const QString text = QString::fromLatin1(DiskTextFiles().read(storePath).value_or(""));
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

// A program in a temporary directory and its main window, on the test desktop.
struct MainWindowFixture
{
    TestDesktop desk;
    QTemporaryDir dir;
    Program program{dir.path()};
    frmMain window{program};
};
