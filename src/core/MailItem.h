#pragma once

#include "MailBody.h"
#include "SendMoment.h"

#include <QString>

// One pending mail. Recipient fields are ";"-separated lists; the body's
// lines are separated by CR LF.
struct MailItem
{
    SendMoment Date;
    QString Titre;
    QString Dest;
    QString CC;
    QString BCC;
    MailBody Contenu;
    QString Attach;
    bool InUse = false;
};
