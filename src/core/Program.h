#pragma once

#include "ListRows.h"
#include "MailClientChoice.h"
#include "PendingMails.h"
#include "ProgramPaths.h"

// The state of one run of the program, shared by its windows and the scheduler.
struct Program
{
    explicit Program(const QString &programDir)
        : paths(ProgramPaths::inDirectory(programDir)), pending(paths.StorePath)
    {
    }

    ProgramPaths paths;
    PendingMails pending;         // the MailTable, its store file and lstHisto's rows
    qint16 EditSlot = 0;
    qint16 EditRow = -1;          // -1 while a new mail is written
    qint16 RecipientTarget = 0;   // 1 To, 2 CC, 3 BCC
    ListRows lstSent;             // rows of the mails handed to the mail client
    ListRows AddressBook;         // what the recipients picker shows as lstDest
    MailClientChoice mailClient;
};
