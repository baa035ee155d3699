#pragma once

#include "ListRows.h"
#include "MailClientChoice.h"
#include "MailStore.h"
#include "MailTable.h"
#include "ProgramPaths.h"

// The state of one run of the program, shared by its windows and the scheduler.
struct Program
{
    explicit Program(const QString &programDir)
        : paths(ProgramPaths::inDirectory(programDir)), store(paths.StorePath)
    {
    }

    ProgramPaths paths;
    MailTable mailTable;
    qint16 EditSlot = 0;
    qint16 EditRow = -1;          // -1 while a new mail is written
    qint16 RecipientTarget = 0;   // 1 To, 2 CC, 3 BCC
    ListRows lstHisto;            // pending rows, ItemData = slot
    ListRows lstSent;             // rows of the mails handed to the mail client
    ListRows AddressBook;         // what the recipients picker shows as lstDest
    MailClientChoice mailClient;
    MailStore store;
};
