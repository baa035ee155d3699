#pragma once

#include "EditorFields.h"
#include "PendingRows.h"
#include "Program.h"

#include <QFile>
#include <QtTest>

// Puts `count` mails into the table, the pending list and the store, one a day
// from 01/01/2030 at 10:00, as the editor's confirm step would.
inline void addPendingMails(Program &program, int count)
{
    for (int n = 1; n <= count; ++n) {
        const qint16 slot = program.mailTable.FindFreeSlot();
        EditorFields fields;
        fields.txtTitre = QStringLiteral("Sujet %1").arg(n);
        fields.txtDest = QStringLiteral("dest%1@exemple.fr").arg(n);
        fields.txtDate = QDate(2030, 1, 1).addDays(n - 1).toString(QStringLiteral("dd/MM/yyyy"));
        fields.txtHeure = QStringLiteral("10:00");
        FillMailFromEditor(program.mailTable, slot, fields);
        InsertPendingRow(program.mailTable, program.lstHisto, slot);
    }
    QVERIFY(count == 0 || program.store.SaveMailStore(program.mailTable));
}

// The subjects the store file holds, in file order.
inline QStringList storedSubjects(const QString &storePath)
{
    QFile file(storePath);
    QStringList subjects;
    if (!file.open(QIODevice::ReadOnly))
        return subjects;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith("Titre="))
            subjects << QString::fromLatin1(line.mid(6).trimmed());
    }
    return subjects;
}
