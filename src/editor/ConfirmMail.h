#pragma once

#include "EditorFields.h"

struct Program;

enum class ConfirmOutcome { StayOpen, Close };

// What "Confirmer" does with the editor's tidied fields: checks the required
// ones, fills the slot, saves the store, then places the mail's row.
//
// The scheduler may deliver the mail being changed while the editor is open.
// Its row is therefore looked up by slot, never by the position it had; a mail
// that already left is only stored again, in a new slot, if the user says so.
ConfirmOutcome ConfirmMail(Program &program, const EditorFields &fields);

extern const QString MissingFieldsPrompt;
extern const QString AlreadySentPrompt;
