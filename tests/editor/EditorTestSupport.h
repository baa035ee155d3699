#pragma once

#include "EditorFields.h"
#include "PendingRows.h"
#include "Program.h"

#include <QList>

// A mail as the editor would hand it over.
inline EditorFields mailFields(const QString &date, const QString &time, const QString &titre = QStringLiteral("t"))
{
    EditorFields fields;
    fields.txtTitre = titre;
    fields.txtDest = QStringLiteral("a@x.fr");
    fields.txtDate = date;
    fields.txtHeure = time;
    return fields;
}

// Puts a pending mail into slot with its row, as loading the store does.
inline void addPending(Program &program, qint16 slot, const EditorFields &fields)
{
    FillMailFromEditor(program.mailTable, slot, fields);
    InsertPendingRow(program.mailTable, program.lstHisto, slot);
}

// What the scheduler does once it has handed slot's mail to the mail client.
inline void deliver(Program &program, qint16 slot)
{
    const int row = program.lstHisto.indexOfItemData(slot);
    program.mailTable.ReleaseSlot(slot);
    program.store.SaveMailStore(program.mailTable);
    program.lstSent.AddItem(program.lstHisto.List(row));
    program.lstHisto.RemoveItem(row);
}

inline QList<qint32> rowSlots(const Program &program)
{
    QList<qint32> result;
    for (int row = 0; row < program.lstHisto.ListCount(); ++row)
        result << program.lstHisto.ItemData(row);
    return result;
}

// One row per slot in use, in strictly ascending time, none pointing at a free slot.
inline bool rowsMatchTable(const Program &program)
{
    if (program.lstHisto.ListCount() != program.mailTable.inUseCount())
        return false;
    for (int row = 0; row < program.lstHisto.ListCount(); ++row) {
        const qint16 slot = qint16(program.lstHisto.ItemData(row));
        if (!program.mailTable[slot].InUse)
            return false;
        if (row > 0 && !(program.mailTable[qint16(program.lstHisto.ItemData(row - 1))].Date < program.mailTable[slot].Date))
            return false;
    }
    return true;
}
