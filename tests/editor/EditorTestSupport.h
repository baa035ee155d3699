#pragma once

#include "EditorFields.h"
#include "PendingRows.h"
#include "Program.h"

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

// What the scheduler does once slot's mail is with the mail client.
inline void deliver(Program &program, qint16 slot)
{
    const int row = program.lstHisto.indexOfItemData(slot);
    program.mailTable.ReleaseSlot(slot);
    program.store.SaveMailStore(program.mailTable);
    program.lstSent.AddItem(program.lstHisto.List(row));
    program.lstHisto.RemoveItem(row);
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
