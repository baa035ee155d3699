#pragma once

#include "MailItem.h"

#include <QList>
#include <QStringList>
#include <QStringView>

// The records of the store file.
//
// A record is "Titre=", "Dest=", "CC=", "BCC=", "Date=", "Attach=",
// "DebutContenu=", the body's lines and "=FinContenu". A mail whose texts this
// layout cannot carry (a line feed inside a one-line field or a lone one in the
// body, a body line that is exactly "=FinContenu") gets an "Echappement=1"
// line first, and in that record every value and body line is escaped:
// "\" as "\\", line feed as "\n", carriage return as "\r", and a leading "=" of
// a body line as "\=". Every other record keeps the plain layout.
namespace StoreRecords {

// The lines of one record.
QStringList recordLines(const MailItem &mail);

struct Loaded
{
    QList<MailItem> mails;  // in file order, each marked in use
    // False when something of the file is not in `mails`: records beyond the
    // limit, a record cut by the end of the file, a header line that is not
    // one of the record's keys (or repeats one), an unreadable date, bytes
    // that are no character.
    bool whole = true;
};

// Reads at most maxRecords records from the file's bytes (Windows-1252, or UTF-8 after a mark). A date is read day-first, a missing year
// being currentYear; an unreadable one gives the zero moment.
Loaded readRecords(const QByteArray &content, int maxRecords, int currentYear);

} // namespace StoreRecords
