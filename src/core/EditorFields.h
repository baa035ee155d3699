#pragma once

#include "MailTable.h"

#include <QString>

// The texts of the editor's fields, as the editor hands them over.
struct EditorFields
{
    QString txtTitre;
    QString txtContenu;
    QString txtDest;
    QString txtCC;
    QString txtBCC;
    QString txtAttach;
    QString txtDate;   // "dd/mm/yyyy"
    QString txtHeure;  // "hh:mm"
};

// Copies the fields into the slot and marks it in use. The date and time
// texts are read day-first; the editor has tidied them before.
void FillMailFromEditor(MailTable &table, qint16 slot, const EditorFields &fields);

// The fields that show a stored mail.
EditorFields EditorFieldsOf(const MailItem &mail);
