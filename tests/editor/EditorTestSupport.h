#pragma once

#include "EditorFields.h"
#include "PendingRows.h"
#include "Program.h"
#include "RecordingAutomation.h"
#include "Scheduler.h"
#include "TestDesktop.h"

// A mail as the editor would hand it over.
inline EditorFields mailFields(const QString &time, const QString &titre = QStringLiteral("t"))
{
    EditorFields fields;
    fields.txtTitre = titre;
    fields.txtDest = QStringLiteral("a@x.fr");
    fields.txtDate = QStringLiteral("04/12/2026");
    fields.txtHeure = time;
    return fields;
}

// A pending mail in slot with its row, as loading the store gives it.
inline void addPending(Program &program, qint16 slot, const EditorFields &fields)
{
    FillMailFromEditor(program.mailTable, slot, fields);
    InsertPendingRow(program.mailTable, program.lstHisto, slot);
}

// A scheduler tick in slot's minute: the mail goes to the mail client, its
// slot is freed and its row moves to the sent list. True when it left.
inline bool deliver(Program &program, TestDesktop &test, qint16 slot)
{
    static RecordingFactory factory;
    factory.scriptMailClients();
    desktop().automation = &factory;
    test.clock.set(program.mailTable[slot].Date.dateTimeText());
    Scheduler(program).SendDueMail();
    return !program.mailTable[slot].InUse && program.lstHisto.indexOfItemData(slot) < 0;
}

// The slots of the pending rows, top to bottom; empty when a row points at a free slot.
inline QList<qint32> rowSlots(const Program &program)
{
    QList<qint32> result;
    for (int row = 0; row < program.lstHisto.ListCount(); ++row) {
        if (!program.mailTable[qint16(program.lstHisto.ItemData(row))].InUse)
            return {};
        result << program.lstHisto.ItemData(row);
    }
    return result;
}
