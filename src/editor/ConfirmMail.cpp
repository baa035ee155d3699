#include "ConfirmMail.h"

#include "Desktop.h"
#include "MessageBox.h"
#include "MessageTexts.h"
#include "PendingRows.h"
#include "Program.h"

const QString MissingFieldsPrompt = MessageTexts::padded(
    {QStringLiteral("Il manque une information obligatoire."), QStringLiteral("Destinataire, date ou heure d'envoi.")});
const QString AlreadySentPrompt = MessageTexts::padded(
    {QStringLiteral("Ce mail a déjà été transmis au client de messagerie."),
     QStringLiteral("Faut-il le programmer à nouveau ?")});

namespace {

bool isSlot(qint16 slot)
{
    return slot >= 1 && slot <= MailSlots;
}

// Stores the fields as a pending mail of slot and gives it a row of its own.
// A row the slot still has (the mail's former place) is replaced.
void storeMail(Program &program, qint16 slot, const EditorFields &fields)
{
    FillMailFromEditor(program.mailTable, slot, fields);
    program.store.SaveMailStore(program.mailTable);
    const int row = program.lstHisto.indexOfItemData(slot);
    if (row >= 0)
        ReplacePendingRow(program.mailTable, program.lstHisto, qint16(row), slot);
    else
        InsertPendingRow(program.mailTable, program.lstHisto, slot);
}

// The lowest free slot as the new home of the mail, or 0 after telling the user
// that the table is full.
qint16 takeFreeSlot(Program &program)
{
    const qint16 slot = program.mailTable.FindFreeSlot();
    if (slot == 0)
        desktop().messageBox->show(MessageTexts::TableFull, MsgBox::Critical, MessageTexts::ErrorTitle);
    return slot;
}

} // namespace

ConfirmOutcome ConfirmMail(Program &program, const EditorFields &fields)
{
    if (fields.txtDest.isEmpty() || fields.txtHeure.isEmpty() || fields.txtDate.isEmpty()) {
        desktop().messageBox->show(MissingFieldsPrompt, MsgBox::Critical, MessageTexts::ErrorTitle);
        return ConfirmOutcome::StayOpen;
    }

    qint16 slot = program.EditSlot;
    if (program.EditRow < 0) {
        // Only the editor fills slots, so a new mail's slot is still free; should
        // it not be, another mail would lose its place, so take a free one.
        if (!isSlot(slot) || program.mailTable[slot].InUse)
            slot = takeFreeSlot(program);
    } else if (!isSlot(slot) || !program.mailTable[slot].InUse) {
        // Handed to the mail client while it was being changed.
        const MsgBox::Answer answer =
            desktop().messageBox->show(AlreadySentPrompt, MsgBox::YesNo, MessageTexts::Title);
        if (answer != MsgBox::Yes)
            return ConfirmOutcome::Close;
        slot = takeFreeSlot(program);
        if (slot != 0)
            program.EditRow = -1;
    }
    if (slot == 0)
        return ConfirmOutcome::StayOpen;

    program.EditSlot = slot;
    storeMail(program, slot, fields);
    return ConfirmOutcome::Close;
}
