#include "ConfirmMail.h"

#include "AttachmentSize.h"
#include "Desktop.h"
#include "MessageBox.h"
#include "MessageTexts.h"
#include "Program.h"

const QString MissingFieldsPrompt = MessageTexts::padded(
    {QStringLiteral("Il manque une information obligatoire."), QStringLiteral("Destinataire, date ou heure d'envoi.")});
const QString AlreadySentPrompt = MessageTexts::padded(
    {QStringLiteral("Ce mail a déjà été transmis au client de messagerie."),
     QStringLiteral("Faut-il le programmer à nouveau ?")});

namespace {

// The lowest free slot as the new home of the mail, or 0 after telling the user
// that the table is full.
qint16 takeFreeSlot(Program &program)
{
    const qint16 slot = program.pending.table().FindFreeSlot();
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
    // Checked again here: the path may have been typed, or the file grown since it was picked.
    if (const std::optional<QString> refusal = AttachmentSize::check(fields.txtAttach)) {
        desktop().messageBox->show(MessageTexts::padded(*refusal), MsgBox::Critical, MessageTexts::ErrorTitle);
        return ConfirmOutcome::StayOpen;
    }

    qint16 slot = program.EditSlot;
    if (program.EditRow < 0) {
        // Only the editor fills slots, so a new mail's slot is still free; should
        // it not be, another mail would lose its place, so take a free one.
        if (!isMailSlot(slot) || program.pending[slot].InUse)
            slot = takeFreeSlot(program);
    } else if (!isMailSlot(slot) || !program.pending[slot].InUse) {
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
    program.pending.schedule(slot, fields);
    return ConfirmOutcome::Close;
}
