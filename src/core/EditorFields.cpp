#include "EditorFields.h"

#include "DateText.h"
#include "Desktop.h"

void FillMailFromEditor(MailTable &table, qint16 slot, const EditorFields &fields)
{
    MailItem &mail = table[slot];
    mail.InUse = true;
    mail.Attach = fields.txtAttach;
    mail.Contenu = fields.txtContenu;
    const QString moment = fields.txtDate + QLatin1Char(' ') + fields.txtHeure;
    const auto read = DateText::readDateTime(moment, desktopNow().date().year());
    mail.Date = read ? SendMoment::fromDateTime(*read) : SendMoment();
    mail.Dest = fields.txtDest;
    mail.CC = fields.txtCC;
    mail.BCC = fields.txtBCC;
    mail.Titre = fields.txtTitre;
}

EditorFields EditorFieldsOf(const MailItem &mail)
{
    EditorFields fields;
    fields.txtTitre = mail.Titre;
    fields.txtContenu = mail.Contenu.text();
    fields.txtDest = mail.Dest;
    fields.txtCC = mail.CC;
    fields.txtBCC = mail.BCC;
    fields.txtAttach = mail.Attach;
    fields.txtDate = mail.Date.dateText();
    fields.txtHeure = mail.Date.timeText();
    return fields;
}
